// The two arena maker windows, driven as the user drives them.
#include "arena.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tavrin;

Q_DECLARE_METATYPE(tavrin::WindowId)

namespace {
const QString incomplete = QStringLiteral("You must fill in all the fields or it will not compile correctly");

struct Maker {
    QMainWindow *window;
    QLineEdit *map;
    QLineEdit *longname;
    QComboBox *gametype;

    static Maker open(WindowId id)
    {
        auto *w = qobject_cast<QMainWindow *>(WindowRegistry::instance().show(id));
        const bool cod2 = id == WindowId::Arena;
        return {w, w->findChild<QLineEdit *>(QStringLiteral("txtMap")),
                w->findChild<QLineEdit *>(cod2 ? QStringLiteral("txtLongName") : QStringLiteral("txtGame")),
                w->findChild<QComboBox *>(cod2 ? QStringLiteral("cboGameType") : QStringLiteral("cboGt"))};
    }
    void fill(const QString &m, const QString &l, const QString &g) const
    {
        map->setText(m);
        longname->setText(l);
        gametype->setEditText(g);
    }
    void pick(const QString &entry) const { gametype->setCurrentIndex(gametype->findText(entry)); }
    QAction *item(const char *name) const { return window->findChild<QAction *>(QLatin1String(name)); }
    void saveAs() const { item("mnuSaveAs")->trigger(); }
    QStringList boxes() const { return {map->text(), longname->text(), gametype->currentText()}; }
};

// The record a window fills, read through the field values.
QStringList record(WindowId id)
{
    auto &registry = WindowRegistry::instance();
    const ArenaRecord &r = id == WindowId::Arena ? static_cast<ArenaRecord &>(registry.state<Arena>(id))
                                                 : registry.state<ArenaCOD>(id);
    return {r.map, r.longname, r.gametype};
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void bothWindows()
{
    QTest::addColumn<WindowId>("id");
}
} // namespace

class TestArenaWindow : public QObject
{
    Q_OBJECT
    QTemporaryDir *m_dir = nullptr;
    QString path(const char *name) const { return m_dir->filePath(QLatin1String(name)); }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        registerWindows();
    }
    void cleanup()
    {
        WindowRegistry::instance().reset();
        delete m_dir;
    }

    void opensEmpty_data()
    {
        bothWindows();
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("labels"); // name=caption
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QStringList>("menu");   // name|caption|shortcut
        QTest::newRow("COD2") << WindowId::Arena << "COD 2 Arena GSC Maker"
                              << QStringList{"lblMap=Map:", "lblLongname=Longname:", "Label3=Gametype:"}
                              << QStringList{"dm", "ctf", "tdm", "hq", "sd", "dm tdm", "dm tdm ctf",
                                             "dm tdm ctf hq", "dm tdm hq ctf", "dm tdm ctf hq sd"}
                              << QStringList{"mnuNew|&New|", "mnuSaveAs|S&ave As|", "mnuExit|&Exit|"};
        QTest::newRow("COD") << WindowId::ArenaCOD << "Tavrin (COD) Arena CFG"
                             << QStringList{"M=Map:", "Label2=Longname:", "Label3=Gametypes:"}
                             << QStringList{"tdm", "dm", "hq", "bel", "sd", "re", "tdm dm", "tdm dm bel",
                                            "sd re hq", "tdm dm hq bel sd re"}
                             << QStringList{"mnuSaveAs|Save As|"};
    }
    void opensEmpty()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, caption);
        QFETCH(QStringList, labels);
        QFETCH(QStringList, list);
        QFETCH(QStringList, menu);
        Maker m = Maker::open(id);
        QCOMPARE(m.window->windowTitle(), caption);
        QVERIFY(!m.window->parentWidget());
        for (const QString &label : labels) {
            auto *l = m.window->findChild<QLabel *>(label.section(QLatin1Char('='), 0, 0));
            QVERIFY2(l, qPrintable(label));
            QCOMPARE(l->text(), label.section(QLatin1Char('='), 1));
        }
        QCOMPARE(m.boxes(), QStringList({"", "", ""}));
        QVERIFY(m.gametype->isEditable());
        QCOMPARE(m.gametype->currentIndex(), -1);
        QStringList shown;
        for (int i = 0; i < m.gametype->count(); ++i)
            shown << m.gametype->itemText(i);
        QCOMPARE(shown, list);

        auto *file = m.window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuFile"));
        QCOMPARE(file->title(), QStringLiteral("&File"));
        QStringList items;
        for (QAction *a : file->actions())
            items << a->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('|') + a->shortcut().toString();
        QCOMPARE(items, menu);
        QAction *about = m.item("mnuAbout");
        QCOMPARE(about != nullptr, id == WindowId::Arena);
        if (about) {
            QCOMPARE(about->text(), QStringLiteral("About"));
            QVERIFY(m.window->menuBar()->actions().contains(about)); // beside File, not in it
        }

        // Focus runs map, long name, gametype.
        QVERIFY(QTest::qWaitForWindowActive(m.window));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(m.map));
        QTest::keyClick(m.map, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(m.longname));
        QTest::keyClick(m.longname, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() == m.gametype || QApplication::focusWidget() == m.gametype->lineEdit());
    }

    void savesTheArenaFile_data()
    {
        bothWindows();
        QTest::addColumn<QString>("pick");
        QTest::newRow("COD2") << WindowId::Arena << "dm tdm";
        QTest::newRow("COD") << WindowId::ArenaCOD << "tdm dm";
    }
    void savesTheArenaFile()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, pick);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        Maker m = Maker::open(id);
        m.fill(QStringLiteral("mp_toujane"), QStringLiteral("Toujane"), QString());
        m.pick(pick);
        // A name without an extension gets none; an older, longer file is replaced whole.
        const QString target = path("toujane");
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(200, 'x')) == 200);
        old.close();
        dialogs.accept(target);
        m.saveAs();

        QCOMPARE(contents(target), QByteArray("{\r\nmap \"mp_toujane\"\r\nlongname \"Toujane\"\r\ngametype \"")
                                       + pick.toLatin1() + QByteArray("\"\r\n}\r\n"));
        QVERIFY(!QFile::exists(target + QStringLiteral(".arena")));
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(dialogs.shown.size(), 1);
        const DialogRequest &request = dialogs.shown.first();
        QCOMPARE(request.kind, DialogRequest::Save);
        QCOMPARE(request.title, QStringLiteral("Arena CFG"));
        QCOMPARE(request.flags, 3);
        QCOMPARE(request.filter, QStringLiteral("Arena Files (*.arena)"));
        QCOMPARE(request.fileName, QString());
        // The window stays as it was.
        QVERIFY(m.window->isVisible());
        QCOMPARE(m.boxes(), QStringList({"mp_toujane", "Toujane", pick}));
        QCOMPARE(record(id), m.boxes());
    }

    // What the boxes hold is written verbatim: blanks, quotes, typed gametypes.
    void verbatim_data()
    {
        bothWindows();
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QByteArray>("expected");
        for (WindowId id : {WindowId::Arena, WindowId::ArenaCOD}) {
            const char *game = id == WindowId::Arena ? "COD2" : "COD";
            QTest::addRow("%s blanks only", game) << id << QStringList{" ", "  ", " "}
                                                  << QByteArray("{\r\nmap \" \"\r\nlongname \"  \"\r\ngametype \" \"\r\n}\r\n");
            QTest::addRow("%s quote and typed gametype", game)
                << id << QStringList{"mp_x", "Say \"hi\"", "dm custom"}
                << QByteArray("{\r\nmap \"mp_x\"\r\nlongname \"Say \"hi\"\"\r\ngametype \"dm custom\"\r\n}\r\n");
            QTest::addRow("%s beyond ASCII", game) << id << QStringList{"mp_caf\u00e9", "\u20ac", "dm"}
                                                   << QByteArray("{\r\nmap \"mp_caf\xe9\"\r\nlongname \"\x80\"\r\ngametype \"dm\"\r\n}\r\n");
        }
    }
    void verbatim()
    {
        QFETCH(WindowId, id);
        QFETCH(QStringList, boxes);
        QFETCH(QByteArray, expected);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        Maker m = Maker::open(id);
        m.fill(boxes[0], boxes[1], boxes[2]);
        dialogs.accept(path("out.arena"));
        m.saveAs();
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(contents(path("out.arena")), expected);
    }

    void incompleteEntry_data()
    {
        bothWindows();
        QTest::addColumn<int>("emptyBox"); // -1: all three
        QTest::addColumn<QString>("title");
        for (WindowId id : {WindowId::Arena, WindowId::ArenaCOD}) {
            const char *game = id == WindowId::Arena ? "COD2" : "COD";
            const QString title = id == WindowId::Arena ? QStringLiteral("Error") : QStringLiteral("Tavrin");
            QTest::addRow("%s map empty", game) << id << 0 << title;
            QTest::addRow("%s long name empty", game) << id << 1 << title;
            QTest::addRow("%s gametype empty", game) << id << 2 << title;
            QTest::addRow("%s all empty", game) << id << -1 << title;
        }
    }
    void incompleteEntry()
    {
        QFETCH(WindowId, id);
        QFETCH(int, emptyBox);
        QFETCH(QString, title);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        dialogs.accept(path("never.arena"));
        Maker m = Maker::open(id);
        QStringList values{QStringLiteral("mp_a"), QStringLiteral("A"), QStringLiteral("dm")};
        for (int i = 0; i < 3; ++i) {
            if (emptyBox == -1 || emptyBox == i)
                values[i].clear();
        }
        m.fill(values[0], values[1], values[2]);
        m.saveAs();

        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown.first().text, incomplete);
        QCOMPARE(messages.shown.first().title, title);
        QCOMPARE(messages.shown.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(messages.shown.first().icon, QMessageBox::Critical);
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());
        QCOMPARE(record(id), values); // the copy happens before the check
    }

    void newThenSaveAs()
    {
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        Maker m = Maker::open(WindowId::Arena);
        m.fill(QStringLiteral("mp_a"), QStringLiteral("A"), QString());
        m.pick(QStringLiteral("ctf"));
        m.item("mnuNew")->trigger();
        QCOMPARE(m.boxes(), QStringList({"", "", ""}));
        QCOMPARE(m.gametype->count(), 10); // the list stays
        QCOMPARE(m.gametype->currentIndex(), -1);
        dialogs.accept(path("never.arena"));
        m.saveAs();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown.first().title, QStringLiteral("Error"));
        QVERIFY(dialogs.shown.isEmpty());
    }

    void twoSavesInARow_data() { savesTheArenaFile_data(); }
    void twoSavesInARow()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, pick);
        test::ScriptedDialogs dialogs;
        Maker m = Maker::open(id);
        m.fill(QStringLiteral("mp_b"), QStringLiteral("B"), QString());
        m.pick(pick);
        dialogs.accept(path("first.arena"));
        dialogs.accept(path("second.arena"));
        m.saveAs();
        m.saveAs();
        QCOMPARE(contents(path("second.arena")), contents(path("first.arena")));
        QVERIFY(contents(path("first.arena")).startsWith("{\r\nmap \"mp_b\""));
        // Each save offers an empty name, not the one before.
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown.at(1).fileName, QString());

        // A changed field reaches the next file; nothing of the earlier save stays.
        m.longname->setText(QStringLiteral("Changed"));
        dialogs.accept(path("third.arena"));
        m.saveAs();
        QVERIFY(contents(path("third.arena")).contains("longname \"Changed\"\r\n"));
    }

    void cancelIsSilent_data() { bothWindows(); QTest::newRow("COD2") << WindowId::Arena; QTest::newRow("COD") << WindowId::ArenaCOD; }
    void cancelIsSilent()
    {
        QFETCH(WindowId, id);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        Maker m = Maker::open(id);
        m.fill(QStringLiteral("mp_c"), QStringLiteral("C"), QStringLiteral("dm"));
        dialogs.cancel();
        m.saveAs();
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    // A file that cannot be written: the user is told which and why, and
    // whatever stood at that name is left alone.
    void unwritableFile_data()
    {
        bothWindows();
        QTest::addColumn<QString>("name");
        for (WindowId id : {WindowId::Arena, WindowId::ArenaCOD}) {
            const char *game = id == WindowId::Arena ? "COD2" : "COD";
            QTest::addRow("%s missing folder", game) << id << "missing/x.arena";
            QTest::addRow("%s name of a folder", game) << id << "folder";
            QTest::addRow("%s under a file", game) << id << "keep.arena/x.arena";
        }
    }
    void unwritableFile()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, name);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("folder")));
        QFile keep(path("keep.arena"));
        QVERIFY(keep.open(QIODevice::WriteOnly) && keep.write("old") == 3);
        keep.close();
        QFile inside(path("folder/inside.arena"));
        QVERIFY(inside.open(QIODevice::WriteOnly) && inside.write("inside") == 6);
        inside.close();

        Maker m = Maker::open(id);
        m.fill(QStringLiteral("mp_d"), QStringLiteral("D"), QStringLiteral("dm"));
        const QString target = m_dir->filePath(name);
        dialogs.accept(target);
        m.saveAs();

        QCOMPARE(messages.shown.size(), 1);
        const MessageRequest &message = messages.shown.first();
        QVERIFY2(message.text.contains(QDir::toNativeSeparators(target)), qPrintable(message.text));
        QVERIFY2(message.text.section(QDir::toNativeSeparators(target), 1).size() > 5, qPrintable(message.text));
        QCOMPARE(message.icon, QMessageBox::Critical);
        QCOMPARE(contents(path("keep.arena")), QByteArray("old"));
        QCOMPARE(contents(path("folder/inside.arena")), QByteArray("inside"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({"folder", "keep.arena"}));
        QVERIFY(m.window->isVisible());
    }

    void exitClosesTheMaker()
    {
        Maker m = Maker::open(WindowId::Arena);
        QWidget *launcher = WindowRegistry::instance().show(WindowId::MenuOptions);
        m.item("mnuExit")->trigger();
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::Arena));
        QVERIFY(launcher->isVisible()); // the rest of the program goes on
    }

    void aboutShowsTheAboutBox()
    {
        auto &registry = WindowRegistry::instance();
        registry.registerWindow(WindowId::About, [] {
            auto *w = new QWidget;
            w->setObjectName(QStringLiteral("frmAbout"));
            return w;
        });
        Maker m = Maker::open(WindowId::Arena);
        m.fill(QStringLiteral("mp_e"), QStringLiteral("E"), QStringLiteral("sd"));
        m.item("mnuAbout")->trigger();
        QVERIFY(registry.isLoaded(WindowId::About));
        QVERIFY(registry.widget(WindowId::About)->isVisible());
        QVERIFY(m.window->isVisible());
        QCOMPARE(m.boxes(), QStringList({"mp_e", "E", "sd"}));
    }

    void reopening_data() { cancelIsSilent_data(); }
    void reopening()
    {
        QFETCH(WindowId, id);
        auto &registry = WindowRegistry::instance();
        Maker m = Maker::open(id);
        m.fill(QStringLiteral("mp_f"), QStringLiteral("F"), QStringLiteral("dm"));
        // Shown again while loaded: the same window as the user left it.
        registry.hide(id);
        Maker again = Maker::open(id);
        QCOMPARE(again.window, m.window);
        QCOMPARE(again.boxes(), QStringList({"mp_f", "F", "dm"}));
        // Closed and opened: empty boxes, the list filled once.
        m.window->close();
        QTRY_VERIFY(!registry.isLoaded(id));
        Maker fresh = Maker::open(id);
        QCOMPARE(fresh.boxes(), QStringList({"", "", ""}));
        QCOMPARE(fresh.gametype->count(), 10);
    }

    void launcherOpensTheMakers_data()
    {
        bothWindows();
        QTest::addColumn<QString>("button");
        QTest::newRow("Arena &Maker") << WindowId::Arena << "Command2";
        QTest::newRow("&Arena Maker") << WindowId::ArenaCOD << "Command4";
    }
    void launcherOpensTheMakers()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, button);
        QWidget *launcher = WindowRegistry::instance().show(WindowId::MenuOptions);
        launcher->findChild<QPushButton *>(button)->click();
        QWidget *maker = WindowRegistry::instance().widget(id);
        QVERIFY(maker && maker->isVisible());
        launcher->findChild<QPushButton *>(button)->click();
        QCOMPARE(WindowRegistry::instance().widget(id), maker);
    }
};

QTEST_MAIN(TestArenaWindow)
#include "tst_arena_window.moc"

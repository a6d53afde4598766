// The two arena maker windows, driven as the user drives them.
#include "arena.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace tavrin;

Q_DECLARE_METATYPE(tavrin::WindowId)

namespace {
struct Maker {
    QMainWindow *window;
    QLineEdit *map, *longname;
    QComboBox *gametype;

    static Maker open(WindowId id)
    {
        auto *w = qobject_cast<QMainWindow *>(WindowRegistry::instance().show(id));
        const bool cod2 = id == WindowId::Arena;
        return {w, w->findChild<QLineEdit *>("txtMap"), w->findChild<QLineEdit *>(cod2 ? "txtLongName" : "txtGame"),
                w->findChild<QComboBox *>(cod2 ? "cboGameType" : "cboGt")};
    }
    // A gametype from the list is chosen from it, any other is typed.
    void fill(const QStringList &values) const
    {
        map->setText(values[0]);
        longname->setText(values[1]);
        gametype->findText(values[2]) >= 0 ? test::pick(gametype, values[2]) : gametype->setEditText(values[2]);
    }
    QAction *item(const char *name) const { return window->findChild<QAction *>(QLatin1String(name)); }
    void saveAs() const { item("mnuSaveAs")->trigger(); }
    QStringList boxes() const { return {map->text(), longname->text(), gametype->currentText()}; }
};

// The record a window fills.
QStringList record(WindowId id)
{
    auto &registry = WindowRegistry::instance();
    const ArenaRecord &r =
        id == WindowId::Arena ? static_cast<ArenaRecord &>(registry.state<Arena>(id)) : registry.state<ArenaCOD>(id);
    return {r.map, r.longname, r.gametype};
}

// A table row for one game, named "<game> <name>", with the window's id filled in.
QTestData &row(WindowId id, const char *name)
{
    return QTest::addRow("%s %s", id == WindowId::Arena ? "COD2" : "COD", name) << id;
}
const WindowId games[] = {WindowId::Arena, WindowId::ArenaCOD};
} // namespace

class TestArenaWindow : public QObject
{
    Q_OBJECT
    QTemporaryDir *m_dir = nullptr;
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QStringList entries() const { return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

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
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QStringList>("shown"); // title, labels, list, File menu
        QTest::newRow("COD2") << WindowId::Arena
                              << QStringList{
                                     "COD 2 Arena GSC Maker",
                                     "lblMap=Map: lblLongname=Longname: Label3=Gametype: lblCheck=",
                                     "dm,ctf,tdm,hq,sd,dm tdm,dm tdm ctf,dm tdm ctf hq,dm tdm hq ctf,dm tdm ctf hq sd",
                                     "mnuNew|&New| mnuSaveAs|S&ave As| mnuExit|&Exit|"};
        QTest::newRow("COD") << WindowId::ArenaCOD
                             << QStringList{"Tavrin (COD) Arena CFG",
                                            "M=Map: Label2=Longname: Label3=Gametypes: lblCheck=",
                                            "tdm,dm,hq,bel,sd,re,tdm dm,tdm dm bel,sd re hq,tdm dm hq bel sd re",
                                            "mnuSaveAs|Save As|"};
    }
    void opensEmpty()
    {
        QFETCH(WindowId, id);
        QFETCH(QStringList, shown);
        Maker m = Maker::open(id);
        QCOMPARE((QStringList{m.window->windowTitle(), test::labelTexts(m.window).join(' '),
                              test::comboItems(m.gametype).join(','),
                              test::menuEntries(m.window->findChild<QMenu *>("mnuFile")).join(' ')}),
                 shown);
        QCOMPARE(m.boxes(), QStringList({"", "", ""}));
        QVERIFY(m.gametype->isEditable());
    }

    // What the boxes hold is written verbatim, plus one CR LF; the name gets
    // no extension and an older, longer file there is replaced whole.
    void saves_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QByteArray>("expected");
        row(WindowId::Arena, "mp_toujane")
            << QStringList{"mp_toujane", "Toujane", "dm tdm"}
            << QByteArray("{\r\nmap \"mp_toujane\"\r\nlongname \"Toujane\"\r\ngametype \"dm tdm\"\r\n}\r\n");
        row(WindowId::ArenaCOD, "mp_toujane")
            << QStringList{"mp_toujane", "Toujane", "tdm dm"}
            << QByteArray("{\r\nmap \"mp_toujane\"\r\nlongname \"Toujane\"\r\ngametype \"tdm dm\"\r\n}\r\n");
    }
    void saves()
    {
        QFETCH(WindowId, id);
        QFETCH(QStringList, boxes);
        QFETCH(QByteArray, expected);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        Maker m = Maker::open(id);
        m.fill(boxes);
        QVERIFY(test::writeBytes(path("toujane"), QByteArray(200, 'x')));
        dialogs.accept(path("toujane"));
        m.saveAs();
        QCOMPARE(test::fileBytes(path("toujane")), expected);
        QCOMPARE(entries(), QStringList{"toujane"});
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(test::describe(dialogs.shown.value(0)), QStringLiteral("Save|Arena CFG|Arena Files (*.arena)|3|"));
        QCOMPARE(m.boxes(), boxes);
        QCOMPARE(record(id), boxes);
    }

    // The check line follows the typing in each box, and says nothing once
    // all is well; a save goes ahead whatever it says.
    void checkLineAsTheUserTypes_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QString>("unknown"); // a word of the other game's list
        QTest::addColumn<QString>("caption");
        row(WindowId::Arena, "bel") << "bel"
                                    << "Gametype:";
        row(WindowId::ArenaCOD, "ctf") << "ctf"
                                       << "Gametypes:";
    }
    void checkLineAsTheUserTypes()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, unknown);
        QFETCH(QString, caption);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        Maker m = Maker::open(id);
        auto *line = m.window->findChild<QLabel *>("lblCheck");
        QVERIFY(QTest::qWaitForWindowActive(m.window));
        m.map->setFocus();
        QTest::keyClicks(m.map, "mp toujane");
        QCOMPARE(line->text(), QStringLiteral("Map: \"mp toujane\" may hold only letters, digits and _, no blanks."));
        m.longname->setText("Toujane");
        test::typeInto(m.gametype, "sd tmd " + unknown);
        QCOMPARE(line->text().split('\n'),
                 (QStringList{"Map: \"mp toujane\" may hold only letters, digits and _, no blanks.",
                              caption + " \"tmd\" is not a gametype of the game.",
                              caption + " \"" + unknown + "\" is not a gametype of the game."}));
        dialogs.accept(path("toujane.arena"));
        m.saveAs();
        QVERIFY(test::fileBytes(path("toujane.arena")).contains("gametype \"sd tmd " + unknown.toLatin1() + "\""));
        QVERIFY(messages.shown.isEmpty());

        // Put right box by box; a picked item is checked as a typed one.
        m.map->setSelection(2, 1);
        QTest::keyClick(m.map, Qt::Key_Underscore);
        QCOMPARE(line->text().count('\n'), 1);
        test::pick(m.gametype, "sd");
        QCOMPARE(line->text(), QString());
        // New empties the boxes, and the line with them.
        if (id == WindowId::Arena) {
            m.gametype->setEditText("tmd");
            QVERIFY(!line->text().isEmpty());
            m.item("mnuNew")->trigger();
            QCOMPARE(line->text(), QString());
        }
    }

    // Typed gametypes are saved as typed, whatever the list holds: neither
    // completed to a longer item nor folded to an item's case.
    void typedGametypeIsSavedVerbatim_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QString>("keys");
        row(WindowId::ArenaCOD, "start of an item") << "tdm dm hq";
        row(WindowId::ArenaCOD, "item in capitals") << "TDM";
        row(WindowId::ArenaCOD, "start of a word") << "b";
        row(WindowId::Arena, "start of an item") << "dm tdm c";
        row(WindowId::Arena, "item in mixed case") << "Dm Tdm";
        row(WindowId::Arena, "not in the list") << "ctf sd koth";
    }
    void typedGametypeIsSavedVerbatim()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, keys);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        Maker m = Maker::open(id);
        m.map->setText("mp_harbor");
        m.longname->setText("Harbor");
        test::typeInto(m.gametype, keys);
        QCOMPARE(m.gametype->currentText(), keys);
        dialogs.accept(path("harbor"));
        m.saveAs();
        QCOMPARE(test::fileBytes(path("harbor")),
                 "{\r\nmap \"mp_harbor\"\r\nlongname \"Harbor\"\r\ngametype \"" + keys.toLatin1() + "\"\r\n}\r\n");
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(m.gametype->count(), 10); // nothing added to the list
    }

    // Nothing is written when a box is empty (the fields are still copied to
    // the record first), when the save is cancelled (silently), or when the
    // file cannot be written: the message then names the file and the reason,
    // and whatever stood there is left alone.
    void saveThatDoesNotHappen_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<int>("emptyBox"); // -1: all filled
        QTest::addColumn<QString>("name"); // empty: cancelled
        QTest::addColumn<QString>("message");
        row(WindowId::Arena, "map empty") << 0 << "x.arena"
                                          << "Error|You must fill in all the fields or it will not compile correctly";
        row(WindowId::ArenaCOD, "gametype empty")
            << 2 << "x.arena"
            << "Tavrin|You must fill in all the fields or it will not compile correctly";
        for (WindowId id : games)
            row(id, "cancelled") << -1 << QString() << QString();
        row(WindowId::Arena, "missing folder") << -1 << "missing/x.arena"
                                               << "file";
        row(WindowId::ArenaCOD, "name of a folder") << -1 << "folder"
                                                    << "file";
        row(WindowId::ArenaCOD, "under a file") << -1 << "keep.arena/x.arena"
                                                << "file";
    }
    void saveThatDoesNotHappen()
    {
        QFETCH(WindowId, id);
        QFETCH(int, emptyBox);
        QFETCH(QString, name);
        QFETCH(QString, message);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        QVERIFY(QDir(m_dir->path()).mkpath("folder"));
        QVERIFY(test::writeBytes(path("keep.arena"), "old") && test::writeBytes(path("folder/inside.arena"), "inside"));
        Maker m = Maker::open(id);
        QStringList values{"mp_d", "D", "dm"};
        if (emptyBox >= 0)
            values[emptyBox].clear();
        m.fill(values);
        name.isEmpty() ? dialogs.cancel() : dialogs.accept(path(name));
        m.saveAs();
        QCOMPARE(messages.shown.size(), message.isEmpty() ? 0 : 1);
        QCOMPARE(dialogs.shown.size(), emptyBox >= 0 ? 0 : 1);
        if (message == QLatin1String("file")) {
            const QString text = messages.shown.first().text, native = QDir::toNativeSeparators(path(name));
            QVERIFY2(text.contains(native) && text.section(native, 1).size() > 5, qPrintable(text));
        } else if (!message.isEmpty()) {
            QCOMPARE(messages.shown.first().title + '|' + messages.shown.first().text, message);
        }
        QCOMPARE(test::fileBytes(path("keep.arena")) + test::fileBytes(path("folder/inside.arena")), "oldinside");
        QCOMPARE(entries(), QStringList({"folder", "keep.arena"}));
        QCOMPARE(record(id), values);
    }

    // A save that runs out of room names the file and the system's reason,
    // and leaves the old file byte for byte.
    void saveWithoutRoom_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<test::NoRoomCase>("limit");
        for (WindowId id : games) {
            for (const test::NoRoomCase &c : test::noRoomCases())
                row(id, c.name) << c;
        }
    }
    void saveWithoutRoom()
    {
        QFETCH(WindowId, id);
        QFETCH(test::NoRoomCase, limit);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        const QString file = path("mp_d.arena");
        Maker m = Maker::open(id);
        m.fill({"mp_d", QString(limit.size, 'D'), "dm"});
        const auto report = test::inChildWithoutRoom(
            limit, m_dir->path(), [&] { test::writeBytes(file, "old"); },
            [&] {
                dialogs.accept(file);
                m.saveAs();
                QStringList lines;
                for (const MessageRequest &shown : messages.shown)
                    lines << shown.text;
                return lines << test::fileBytes(file) << test::entriesBesideFiller(m_dir->path()).join(' ');
            });
        if (!report)
            QSKIP("no right to mount a file system here");
        QCOMPARE(report->size(), 3);
        QVERIFY2(report->at(0).contains('"' + file + '"') && report->at(0).endsWith(test::noRoomReason(limit.how)),
                 qPrintable(report->at(0)));
        QCOMPARE(report->mid(1), QStringList({"old", "mp_d.arena"}));
    }

    void newAboutAndExit()
    {
        auto &registry = WindowRegistry::instance();
        registry.registerWindow(WindowId::About, [] { return new QWidget; });
        QWidget *launcher = registry.show(WindowId::MenuOptions);
        Maker m = Maker::open(WindowId::Arena);
        m.fill({"mp_e", "E", "sd"});
        m.item("mnuAbout")->trigger(); // on the menu bar beside File
        QVERIFY(m.window->menuBar()->actions().contains(m.item("mnuAbout")));
        QVERIFY(registry.isLoaded(WindowId::About) && registry.widget(WindowId::About)->isVisible());
        m.item("mnuNew")->trigger();
        QCOMPARE(m.boxes(), QStringList({"", "", ""}));
        QCOMPARE(m.gametype->count(), 10); // the list stays
        // Exit closes the maker only; the rest of the program goes on.
        m.item("mnuExit")->trigger();
        QTRY_VERIFY(!registry.isLoaded(WindowId::Arena));
        QVERIFY(launcher->isVisible());
    }

    void reopening_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QString>("button");
        QTest::newRow("COD2") << WindowId::Arena << "Command2";
        QTest::newRow("COD") << WindowId::ArenaCOD << "Command4";
    }
    void reopening()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, button);
        auto &registry = WindowRegistry::instance();
        auto *open = registry.show(WindowId::MenuOptions)->findChild<QPushButton *>(button);
        open->click();
        Maker m = Maker::open(id);
        m.fill({"mp_f", "F", "dm"});
        // Shown again while loaded: the same window as the user left it.
        registry.hide(id);
        open->click();
        QVERIFY(m.window->isVisible() && registry.widget(id) == m.window);
        QCOMPARE(m.boxes(), QStringList({"mp_f", "F", "dm"}));
        // Closed and opened: empty boxes, the list filled once.
        m.window->close();
        QTRY_VERIFY(!registry.isLoaded(id));
        Maker fresh = Maker::open(id);
        QCOMPARE(fresh.boxes(), QStringList({"", "", ""}));
        QCOMPARE(fresh.gametype->count(), 10);
    }
};

QTEST_MAIN(TestArenaWindow)
#include "tst_arena_window.moc"

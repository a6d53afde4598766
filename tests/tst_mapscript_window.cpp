// The map script maker window, driven as the user drives it.
#include "copybox.h"
#include "frmMapGsc.h"
#include "mymapgsc.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tavrin;

namespace {
// The brecourt example as saved: the 31-line script and one CR LF.
QByteArray brecourtFile() { return test::fileBytes(QStringLiteral(TAVRIN_TEST_DATA "/mp_brecourt.gsc")); }

struct Maker {
    QWidget *window = nullptr;
    static Maker open() { return {WindowRegistry::instance().show(WindowId::MapGsc)}; }

    template<class T = QWidget>
    T *get(const QString &name) const { return window->findChild<T *>(name); }
    QLineEdit *box(const QString &name) const { return get<QLineEdit>(name); }
    CopyBox *script() const { return get<CopyBox>("Text12"); }
    QStringList lines() const { return script()->text().split("\r\n"); }
    void checkWork() const { get<QPushButton>("Command1")->click(); }
    void save() const { get<QAction>("mnuSave")->trigger(); }
    void pick(const QString &name, const QString &item) const { test::pick(get<QComboBox>(name), item); }
    void chooseBrecourt() const
    {
        for (const auto &[list, item] : {std::pair{"cboAmbient", "ambient_mp_brecourt"}, {"CboAllies", "british"},
                                         {"cboSoldier", "british_soldiertype"}, {"cboSoldierV", "british_soldiervariation"},
                                         {"cboDivision", "airborne"}, {"cboWeather", "normal"},
                                         {"cboGerman", "german_soldiertype"}, {"cboG_Sold_Var", "german_soldiervariation"},
                                         {"cboG_Division", "wehrmacht"}, {"cboG_Weather", "normal"}})
            pick(list, item);
        box("txtLayoutImage")->setText("mp_brecourt");
    }
};
} // namespace

class TestMapScriptWindow : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        registerWindows();
    }
    void cleanup()
    {
        WindowRegistry::instance().reset();
        QLocale::setDefault(QLocale::c());
    }

    void opens()
    {
        Maker m = Maker::open();
        QCOMPARE(m.window->windowTitle(), QStringLiteral("Tavrin COD & COD2 Revevi Tools (Alpha 1.5)"));
        const std::pair<const char *, int> counts[] = {
            {"cboAmbient", 16}, {"cboSoldier", 3}, {"cboSoldierV", 3}, {"cboWeather", 2}, {"cboDivision", 4},
            {"cboG_Weather", 2}, {"cboG_Sold_Var", 1}, {"cboG_Division", 4}, {"cboGerman", 1}, {"CboAllies", 3}};
        for (const auto &[name, count] : counts) { // editable lists, nothing chosen
            auto *c = m.get<QComboBox>(name);
            QCOMPARE(c->count(), count);
            QVERIFY(c->isEditable() && c->isEnabled());
            QCOMPARE(c->currentText(), QString());
        }
        QStringList menus;
        for (QAction *top : qobject_cast<QMainWindow *>(m.window)->menuBar()->actions())
            menus << top->text() + ": " + test::menuEntries(top->menu()).join(' ');
        QCOMPARE(menus, (QStringList{"&File: mnuSave|&Save|Ctrl+S mnuExit|&Exit|Ctrl+E",
                                     "Config: mnuArena|Cod &Arena Cfg| mnuCod2|CoD 2 Config|Ctrl+F2",
                                     "Options: mnuCod_Options|CodOptions|Ctrl+O",
                                     "Internet: mnuWebUpdates|WebUpdates|", "&Help: "}));
    }

    void workedExampleFromCheckWorkToFile()
    {
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        QTemporaryDir dir;
        const QByteArray expected = brecourtFile();
        QCOMPARE(expected.size(), 698);
        const QString text = QString::fromLatin1(expected.chopped(2));

        Maker m = Maker::open();
        m.chooseBrecourt();
        m.checkWork();
        QCOMPARE(m.script()->text(), text);
        QCOMPARE(m.get<QLabel>("Label2")->text(), text);

        dialogs.accept(dir.filePath("mymap"));
        m.save();
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(test::describe(dialogs.shown.first()), QStringLiteral("Save|Tavrin COD, COD2 Revevi Tools|GSC Files (*.gsc)|3|"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"mymap"}); // no extension added
        QCOMPARE(test::fileBytes(dir.filePath("mymap")), expected);
        QVERIFY(messages.shown.isEmpty());
    }

    void checkWorkRightAfterOpening()
    {
        Maker m = Maker::open();
        m.checkWork();
        const QString key = QStringLiteral(" game[\"\"] = \"\";");
        QCOMPARE(m.lines().mid(16, 12), (QStringList{" game[\"allies\"] = \"\";", " game[\"axis\"] = \"german\";",
                                                    " game[\"attackers\"] = \"allies\";", " game[\"defenders\"] = \"axis\";",
                                                    "", "", key, key, key, key, "", " game[\"layoutimage\"] = \"\";"}));
        QCOMPARE(m.lines().at(10), QStringLiteral(" ambientPlay (\"\");"));
    }

    void modelOutlivesAClose()
    {
        test::ScriptedDialogs dialogs;
        QTemporaryDir dir;
        Maker m = Maker::open();
        m.chooseBrecourt(); // Save writes the model, not the boxes
        dialogs.accept(dir.filePath("empty.gsc"));
        m.save();
        QCOMPARE(test::fileBytes(dir.filePath("empty.gsc")), (mymapgsc().sHead() + "\r\n").toLatin1());

        m.checkWork();
        m.get<QAction>("mnuExit")->trigger();
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::MapGsc));
        // Reopened: the controls start afresh, the model keeps the last Check Work.
        Maker again = Maker::open();
        QCOMPARE(again.get<QComboBox>("cboAmbient")->count(), 16);
        QCOMPARE(again.get<QComboBox>("cboAmbient")->currentText(), QString());
        QVERIFY(again.script()->toPlainText().isEmpty());
        dialogs.accept(dir.filePath("mymap"));
        again.save();
        QCOMPARE(test::fileBytes(dir.filePath("mymap")), brecourtFile());
        again.window->close(); // the close box unloads it too
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::MapGsc));
    }

    void typedTextIsUsedAsTyped()
    {
        Maker m = Maker::open();
        // Enter neither adds typed text to the list nor swaps it for an item
        // that differs only in case.
        for (const char *name : {"CboAllies", "cboWeather"}) {
            QTest::keyClicks(m.get<QComboBox>(name)->lineEdit(), name == QLatin1String("CboAllies") ? "Brit\"ish" : "Winter");
            QTest::keyClick(m.get<QComboBox>(name)->lineEdit(), Qt::Key_Return);
        }
        m.checkWork();
        QCOMPARE(m.get<QComboBox>("CboAllies")->count(), 3);
        QCOMPARE(m.lines().at(16), QStringLiteral(" game[\"allies\"] = \"Brit\"ish\";"));
        QCOMPARE(m.lines().at(23), QStringLiteral(" game[\"\"] = \"Winter\";"));
    }

    void coordinates_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written"); // empty: not a number
        const QLocale en(QLocale::English, QLocale::UnitedStates), de(QLocale::German, QLocale::Germany);
        QTest::newRow("en trailing group separator") << en << "16," << "16";
        QTest::newRow("en decimal") << en << "2.5" << "2.5";
        QTest::newRow("en grouped") << en << "1,000" << "1000";
        QTest::newRow("en blanks, sign") << en << " -16 " << "-16";
        QTest::newRow("de trailing comma") << de << "16," << "16";
        QTest::newRow("de decimal comma") << de << "-2,5" << "-2.5";
        QTest::newRow("de grouped") << de << "1.000" << "1000";
        QTest::newRow("empty") << en << "" << "";
        QTest::newRow("letters") << en << "abc" << "";
        QTest::newRow("en separator alone") << en << "," << "";
        QTest::newRow("en point alone") << en << "." << "";
        QTest::newRow("de comma alone") << de << "," << "";
        QTest::newRow("two points") << en << "1.2.3" << "";
        QTest::newRow("too large") << en << "1e40" << "";
        QTest::newRow("infinity") << en << "inf" << "";
        QTest::newRow("nan") << de << "nan" << "";
    }
    void coordinates()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(QString, written);
        QLocale::setDefault(locale);
        test::ScriptedMessages messages;
        Maker m = Maker::open();
        m.checkWork();
        const QString before = m.script()->text();

        m.pick("CboAllies", "russian");
        m.box("txtZthree")->setText(text);
        m.checkWork();
        if (!written.isEmpty()) {
            QVERIFY(messages.shown.isEmpty());
            QCOMPARE(m.lines().at(6), QStringLiteral(" maps\\mp\\_fx::loopfx(\"smoke\", (16, 24, %1),0.7);").arg(written));
            return;
        }
        // The message names the box and its text; nothing else changes.
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown.first().text.contains("txtZthree") && messages.shown.first().text.contains('"' + text + '"'));
        QCOMPARE(m.script()->text(), before);
        QCOMPARE(frmMapGsc::model().sHead(), before);
        QCOMPARE(m.get<QLabel>("Label2")->text(), before);
    }

    void saveThatFails_data()
    {
        QTest::addColumn<QString>("name"); // empty: the dialog is cancelled
        QTest::newRow("cancelled") << "";
        QTest::newRow("missing folder") << "no/such/folder/mymap.gsc";
        QTest::newRow("a folder of that name") << "taken";
    }
    void saveThatFails()
    {
        QFETCH(QString, name);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        Maker m = Maker::open();
        m.checkWork();
        name.isEmpty() ? dialogs.cancel() : dialogs.accept(dir.filePath(name));
        m.save();
        QCOMPARE(messages.shown.size(), name.isEmpty() ? 0 : 1);
        if (!name.isEmpty()) {
            QVERIFY(messages.shown.first().text.contains(dir.filePath(name) + "\": "));
            QVERIFY(!messages.shown.first().text.endsWith("\": ")); // the reason follows
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void menuItemsShowTheirWindows()
    {
        auto &registry = WindowRegistry::instance();
        for (WindowId other : {WindowId::Arena, WindowId::ArenaCOD, WindowId::Cod2Efx, WindowId::Options, WindowId::WebBrowser})
            registry.registerWindow(other, [] { return new QWidget; }); // stand-ins
        Maker m = Maker::open();
        for (const auto &[item, id] : {std::pair{"mnuArena", WindowId::Arena}, {"mnuCod2", WindowId::Cod2Efx},
                                       {"mnuCod_Options", WindowId::Options}, {"mnuWebUpdates", WindowId::WebBrowser}}) {
            m.get<QAction>(item)->trigger();
            QVERIFY2(registry.isLoaded(id) && registry.widget(id)->isVisible(), item);
        }
        QVERIFY(!registry.isLoaded(WindowId::ArenaCOD));
        QVERIFY(registry.widget(WindowId::MapGsc)->isVisible());
    }
};

QTEST_MAIN(TestMapScriptWindow)
#include "tst_mapscript_window.moc"

// The map script maker window, driven as the user drives it.
#include "copybox.h"
#include "frmMapGsc.h"
#include "mymapgsc.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tavrin;

namespace {
QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The worked example's script, as saved: the text followed by one CR LF.
QByteArray brecourtFile()
{
    return readFile(QStringLiteral(TAVRIN_TEST_DATA "/mp_brecourt.gsc"));
}

struct Maker {
    QWidget *window = nullptr;

    static Maker open() { return {WindowRegistry::instance().show(WindowId::MapGsc)}; }

    template<class T = QWidget>
    T *get(const char *name) const
    {
        T *w = window->findChild<T *>(QLatin1String(name));
        if (!w)
            qWarning("no control %s", name);
        return w;
    }
    QComboBox *combo(const char *name) const { return get<QComboBox>(name); }
    QLineEdit *box(const char *name) const { return get<QLineEdit>(name); }
    CopyBox *script() const { return get<CopyBox>("Text12"); }
    QString caption() const { return get<QLabel>("Label2")->text(); }
    QAction *action(const char *name) const { return get<QAction>(name); }
    void checkWork() const { get<QPushButton>("Command1")->click(); }
    void save() const { action("mnuSave")->trigger(); }

    void pick(const char *name, const QString &item) const
    {
        QComboBox *c = combo(name);
        const int index = c->findText(item);
        QVERIFY2(index >= 0, qPrintable(item));
        c->setCurrentIndex(index);
    }
    // The choices of the brecourt example; every other box keeps its initial text.
    void chooseBrecourt() const
    {
        pick("cboAmbient", "ambient_mp_brecourt");
        pick("CboAllies", "british");
        pick("cboSoldier", "british_soldiertype");
        pick("cboSoldierV", "british_soldiervariation");
        pick("cboDivision", "airborne");
        pick("cboWeather", "normal");
        pick("cboGerman", "german_soldiertype");
        pick("cboG_Sold_Var", "german_soldiervariation");
        pick("cboG_Division", "wehrmacht");
        pick("cboG_Weather", "normal");
        box("txtLayoutImage")->setText("mp_brecourt");
    }
    QStringList lines() const { return script()->text().split("\r\n"); }
};

void close(Maker &maker)
{
    maker.action("mnuExit")->trigger();
    QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::MapGsc));
}

// The menu bar as "menu: name|caption|shortcut, ...".
QStringList menus(QMainWindow *window)
{
    QStringList out;
    for (QAction *top : window->menuBar()->actions()) {
        QMenu *menu = top->menu();
        QString entry = menu->objectName() + QLatin1Char('|') + menu->title() + QLatin1Char(':');
        for (QAction *a : menu->actions())
            entry += QLatin1Char(' ') + a->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('|')
                     + a->shortcut().toString();
        out << entry;
    }
    return out;
}

const char *const elevenControls[] = {"cboAmbient", "cboSoldier", "cboSoldierV", "cboWeather",
                                      "cboDivision", "cboG_Weather", "cboG_Sold_Var",
                                      "cboG_Division", "cboGerman", "CboAllies", "txtLayoutImage"};
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

    void initialTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const char *const rows[][2] = {
            {"txtMain", "main()"}, {"lblEffect", "level._effect"}, {"txtAlias", "[\"fire\"]"},
            {"lblLoadfx", "= loadfx"}, {"txtPath", "(\"fx/fire/tinybon.efx\");"},
            {"lblMaps", "maps\\mp\\_fx::loopfx"}, {"txtAliasOne", "\"fire\","},
            {"Label16", "X:"}, {"Label17", "Y:"}, {"Label18", "Z:"},
            {"txtX", "16,"}, {"txtY", "24,"}, {"txtZ", "0"}, {"txtWait", ",0.6"},
            {"lblEffect1", "level._effect"}, {"txtAliasTwo", "[\"smoke\"]"}, {"lblLoadfx1", "= loadfx"},
            {"txtPathFx", "(\"fx/smoke/ash_smoke.efx\");"}, {"lblMaps1", "maps\\mp\\_fx::loopfx"},
            {"txtAliasThree", "\"smoke\","}, {"Label22", "X:"}, {"Label23", "Y:"}, {"Label24", "Z:"},
            {"txtXone", "16,"}, {"txtYtwo", "24,"}, {"txtZthree", "32"}, {"txtWaitFx", ",0.7"},
            {"lblScf", "setCullFog"}, {"Text5", "0,"}, {"Text7", "6000,"}, {"Text8", ".32,"},
            {"Text9", ".33,"}, {"Text10", ".40,"}, {"Text11", "0"}, {"Label3", "ambientPlay"},
            {"Label15", "maps\\mp\\_load::main();"}, {"Label1", "Allies"}, {"Label19", "Axis"},
            {"Label9", "Allies"}, {"Label5", "Soldier types"}, {"Label6", "Soldier Variation"},
            {"Label7", "Soldier Division"}, {"Label8", "Weather"}, {"Label10", "German Soldier"},
            {"Label11", "German Variation"}, {"Label12", "German Division"}, {"Label13", "German Weather"},
            {"Label14", "LayoutImage"}, {"txtLayoutImage", ""}, {"Label2", ""},
            {"Text2", "allies"}, {"Text3", "defenders"}, {"Text1", "attackers"}, {"Text4", "axis"},
            {"Text6", "german"},
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
    }
    void initialTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        Maker m = Maker::open();
        QWidget *w = m.window->findChild<QWidget *>(name);
        QVERIFY(w);
        if (auto *label = qobject_cast<QLabel *>(w))
            QCOMPARE(label->text(), text);
        else
            QCOMPARE(qobject_cast<QLineEdit *>(w)->text(), text);
        // Every choice lies in the frame; only the side words are hidden.
        QVERIFY(m.get<QGroupBox>("Frame1")->isAncestorOf(w) || name == QLatin1String("Label2"));
        const bool sideWord = QStringList{"Text1", "Text2", "Text3", "Text4", "Text6"}.contains(name);
        QCOMPARE(w->isVisible(), !sideWord);
    }

    void lists_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("cboAmbient") << "cboAmbient" << QStringList{
            "ambient_mp_berlin", "ambient_mp_brecourt", "ambient_mp_burnville", "ambient_mp_chateau",
            "ambient_mp_dam", "ambient_mp_factory", "ambient_mp_harbor", "ambient_mp_night",
            "ambient_mp_ocean", "ambient_mp_pegasusnight", "ambient_mp_powcamp", "ambient_mp_sewer",
            "ambient_mp_ship", "ambient_mp_snowy", "ambient_mp_staligrad", "ambient_mp_training"};
        QTest::newRow("cboSoldier") << "cboSoldier"
            << QStringList{"american_soldiertype", "british_soldiertype", "russian_soldiertype"};
        QTest::newRow("cboSoldierV") << "cboSoldierV"
            << QStringList{"american_soldiervariation", "british_soldiervariation", "russian_soldiervariation"};
        QTest::newRow("cboDivision") << "cboDivision" << QStringList{"commando", "veteran", "airborne", "conscript"};
        QTest::newRow("cboWeather") << "cboWeather" << QStringList{"normal", "winter"};
        QTest::newRow("cboGerman") << "cboGerman" << QStringList{"german_soldiertype"};
        QTest::newRow("cboG_Sold_Var") << "cboG_Sold_Var" << QStringList{"german_soldiervariation"};
        QTest::newRow("cboG_Division") << "cboG_Division"
            << QStringList{"waffen", "fallschirmjagercamo", "wehrmacht", "kriegsmarine"};
        QTest::newRow("CboAllies") << "CboAllies" << QStringList{"american", "british", "russian"};
        QTest::newRow("cboG_Weather") << "cboG_Weather" << QStringList{"normal", "winter"};
    }
    void lists()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, items);
        Maker m = Maker::open();
        auto *c = m.window->findChild<QComboBox *>(name);
        QVERIFY(c);
        QVERIFY(c->isEditable());
        QStringList actual;
        for (int i = 0; i < c->count(); ++i)
            actual << c->itemText(i);
        QCOMPARE(actual, items);
        QCOMPARE(c->currentIndex(), -1);
        QCOMPARE(c->currentText(), QString());
        QVERIFY(c->isEnabled());
    }

    void frame()
    {
        Maker m = Maker::open();
        QCOMPARE(m.window->windowTitle(), QStringLiteral("Tavrin COD & COD2 Revevi Tools (Alpha 1.5)"));
        QCOMPARE(m.get<QGroupBox>("Frame1")->title(), QStringLiteral("CoD GSC and FX_GSC Settings"));
        QCOMPARE(m.get<QPushButton>("Command1")->text(), QStringLiteral("<< Check Work >>"));
        QCOMPARE(m.get<QFrame>("Line1")->frameShape(), QFrame::VLine);
        QVERIFY(m.script()->toPlainText().isEmpty());
        QCOMPARE(menus(qobject_cast<QMainWindow *>(m.window)), (QStringList{
            "mnuFile|&File: mnuSave|&Save|Ctrl+S mnuExit|&Exit|Ctrl+E",
            "mnuConfig|Config: mnuArena|Cod &Arena Cfg| mnuCod2|CoD 2 Config|Ctrl+F2",
            "mnuOptions|Options: mnuCod_Options|CodOptions|Ctrl+O",
            "mnuInternet|Internet: mnuWebUpdates|WebUpdates|",
            "mnuHelp|&Help:"}));
        for (const char *name : elevenControls)
            QVERIFY2(m.get(name)->isEnabled(), name);

        // Label2 lies under the script box, at its top right, covered by it.
        QWidget *text = m.script();
        QWidget *label = m.get("Label2");
        QCOMPARE(label->parentWidget(), text->parentWidget());
        QVERIFY(text->geometry().contains(label->geometry().topRight()));
        const QObjectList siblings = text->parentWidget()->children();
        QVERIFY(siblings.indexOf(text) > siblings.indexOf(label));
        // The button stands below the box, right of the frame.
        QVERIFY(m.get("Command1")->geometry().top() >= text->geometry().bottom());
        QVERIFY(text->geometry().left() > m.get("Frame1")->geometry().right());
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
        QCOMPARE(m.caption(), text);
        QCOMPARE(text.size(), 696);

        const QString path = dir.filePath("mymap");
        dialogs.accept(path);
        m.save();
        QCOMPARE(dialogs.shown.size(), 1);
        const DialogRequest &request = dialogs.shown.first();
        QCOMPARE(request.kind, DialogRequest::Save);
        QCOMPARE(request.title, QStringLiteral("Tavrin COD, COD2 Revevi Tools"));
        QCOMPARE(request.flags, 3);
        QCOMPARE(request.filter, QStringLiteral("GSC Files (*.gsc)"));
        QCOMPARE(request.fileName, QString());
        QCOMPARE(readFile(path), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"mymap"}); // no extension added
        QVERIFY(messages.shown.isEmpty());

        // The dialog offers an empty name again next time.
        dialogs.cancel();
        m.save();
        QCOMPARE(dialogs.shown.last().fileName, QString());
    }

    void checkWorkRightAfterOpening_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("ambient") << 11 << " ambientPlay (\"\");";
        QTest::newRow("allies") << 17 << " game[\"allies\"] = \"\";";
        QTest::newRow("axis") << 18 << " game[\"axis\"] = \"german\";";
        QTest::newRow("attackers") << 19 << " game[\"attackers\"] = \"allies\";";
        QTest::newRow("defenders") << 20 << " game[\"defenders\"] = \"axis\";";
        for (int key : {23, 24, 25, 26})
            QTest::addRow("soldier %d", key) << key << " game[\"\"] = \"\";";
        QTest::newRow("layout") << 28 << " game[\"layoutimage\"] = \"\";";
        QTest::newRow("first loop") << 5 << " maps\\mp\\_fx::loopfx(\"fire\", (16, 24, 0),0.6);";
    }
    void checkWorkRightAfterOpening()
    {
        QFETCH(int, line);
        QFETCH(QString, text);
        Maker m = Maker::open();
        m.checkWork();
        QCOMPARE(m.lines().size(), 31);
        QCOMPARE(m.lines().at(line - 1), text);
        QCOMPARE(m.caption(), m.script()->text());
    }

    void saveBeforeCheckWorkWritesTheEmptyModel()
    {
        test::ScriptedDialogs dialogs;
        QTemporaryDir dir;
        Maker m = Maker::open();
        m.chooseBrecourt(); // the boxes are not read by Save
        dialogs.accept(dir.filePath("empty.gsc"));
        m.save();
        const QByteArray written = readFile(dir.filePath("empty.gsc"));
        QCOMPARE(written, (mymapgsc().sHead() + "\r\n").toLatin1());
        QVERIFY(written.startsWith("\r\n{\r\n \r\n \r\n ( (0, 0, 0));\r\n"));
    }

    void modelOutlivesAClose()
    {
        test::ScriptedDialogs dialogs;
        QTemporaryDir dir;
        Maker m = Maker::open();
        m.chooseBrecourt();
        m.checkWork();
        close(m);

        // Reopened: the controls start afresh, the model keeps the last Check Work.
        Maker again = Maker::open();
        QVERIFY(again.window != nullptr);
        QCOMPARE(again.combo("cboAmbient")->currentText(), QString());
        QCOMPARE(again.combo("cboAmbient")->count(), 16);
        QVERIFY(again.script()->toPlainText().isEmpty());
        dialogs.accept(dir.filePath("mymap"));
        again.save();
        QCOMPARE(readFile(dir.filePath("mymap")), brecourtFile());

        // The close box unloads the window the same way.
        again.window->close();
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::MapGsc));
        QVERIFY(WindowRegistry::instance().hasState(WindowId::MapGsc));
    }

    void typedTextIsUsedAsTyped()
    {
        Maker m = Maker::open();
        // Not in the list, differing only in case from an item, with a quote:
        // Enter neither adds it to the list nor swaps it for the item.
        QLineEdit *edit = m.combo("CboAllies")->lineEdit();
        QTest::keyClicks(edit, "Brit\"ish");
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(m.combo("cboWeather")->lineEdit(), "Winter");
        QTest::keyClick(m.combo("cboWeather")->lineEdit(), Qt::Key_Return);
        m.box("txtMain")->setText("main( )  ");
        m.checkWork();
        QCOMPARE(m.combo("CboAllies")->count(), 3);
        QCOMPARE(m.lines().at(0), QStringLiteral("main( )  "));
        QCOMPARE(m.lines().at(16), QStringLiteral(" game[\"allies\"] = \"Brit\"ish\";"));
        QCOMPARE(m.lines().at(23), QStringLiteral(" game[\"\"] = \"Winter\";"));
    }

    void coordinates_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("written");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("en trailing group separator") << english << "16," << 16.0f << "16";
        QTest::newRow("en decimal") << english << "2.5" << 2.5f << "2.5";
        QTest::newRow("en grouped") << english << "1,000" << 1000.0f << "1000";
        QTest::newRow("en negative") << english << "-16" << -16.0f << "-16";
        QTest::newRow("en blanks around") << english << " 7 " << 7.0f << "7";
        QTest::newRow("en third") << english << "0.33333333" << 1.0f / 3.0f << "0.3333333";
        QTest::newRow("de trailing comma") << german << "16," << 16.0f << "16";
        QTest::newRow("de decimal comma") << german << "2,5" << 2.5f << "2.5";
        QTest::newRow("de grouped") << german << "1.000" << 1000.0f << "1000";
        QTest::newRow("de negative fraction") << german << "-0,5" << -0.5f << "-0.5";
    }
    void coordinates()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(float, value);
        QFETCH(QString, written);
        QLocale::setDefault(locale);
        test::ScriptedMessages messages;
        Maker m = Maker::open();
        m.box("txtY")->setText(text);
        m.box("txtZthree")->setText(text);
        m.checkWork();
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(frmMapGsc::model().y, value);
        QCOMPARE(frmMapGsc::model().z3, value);
        QCOMPARE(m.lines().at(4), QStringLiteral(" maps\\mp\\_fx::loopfx(\"fire\", (16, %1, 0),0.6);").arg(written));
        QCOMPARE(m.lines().at(6), QStringLiteral(" maps\\mp\\_fx::loopfx(\"smoke\", (16, 24, %1),0.7);").arg(written));
    }

    void notANumberChangesNothing_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("empty") << english << "txtX" << "";
        QTest::newRow("letters") << english << "txtZ" << "abc";
        QTest::newRow("group separator alone") << english << "txtXone" << ",";
        QTest::newRow("decimal point alone") << english << "txtYtwo" << ".";
        QTest::newRow("de comma alone") << german << "txtZthree" << ",";
        QTest::newRow("two decimal points") << english << "txtY" << "1.2.3";
        QTest::newRow("too large") << english << "txtX" << "1e40";
        QTest::newRow("infinity") << english << "txtX" << "inf";
        QTest::newRow("not a number") << german << "txtZ" << "nan";
    }
    void notANumberChangesNothing()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QLocale::setDefault(locale);
        test::ScriptedMessages messages;
        Maker m = Maker::open();
        m.chooseBrecourt();
        m.checkWork();
        const QString before = frmMapGsc::model().sHead();
        QCOMPARE(m.script()->text(), before);

        m.pick("CboAllies", "russian"); // would change line 17
        m.window->findChild<QLineEdit *>(box)->setText(text);
        m.checkWork();
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown.first().text.contains(box));
        QVERIFY(messages.shown.first().text.contains(QLatin1Char('"') + text + QLatin1Char('"')));
        QCOMPARE(messages.shown.first().icon, QMessageBox::Warning);
        QCOMPARE(frmMapGsc::model().sHead(), before);
        QCOMPARE(m.script()->text(), before);
        QCOMPARE(m.caption(), before);
    }

    void cancelledSaveIsSilent()
    {
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        Maker m = Maker::open();
        m.checkWork();
        dialogs.cancel();
        m.save();
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(messages.shown.isEmpty());
    }

    void failedSaveIsReported_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing folder") << "no/such/folder/mymap.gsc";
        QTest::newRow("a folder of that name") << "taken";
    }
    void failedSaveIsReported()
    {
        QFETCH(QString, name);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        Maker m = Maker::open();
        m.checkWork();
        const QString path = dir.filePath(name);
        dialogs.accept(path);
        m.save();
        QCOMPARE(messages.shown.size(), 1);
        const MessageRequest &shown = messages.shown.first();
        QVERIFY(shown.text.contains(path));
        QVERIFY(shown.text.size() > path.size() + 40); // a reason follows the name
        QCOMPARE(shown.icon, QMessageBox::Critical);
        // Nothing half-written is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(QFileInfo(dir.filePath("taken")).isDir());
    }

    void menuItemsShowTheirWindows_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<WindowId>("id");
        QTest::newRow("arena") << "mnuArena" << WindowId::Arena;
        QTest::newRow("effects") << "mnuCod2" << WindowId::Cod2Efx;
        QTest::newRow("options") << "mnuCod_Options" << WindowId::Options;
        QTest::newRow("updates") << "mnuWebUpdates" << WindowId::WebBrowser;
    }
    void menuItemsShowTheirWindows()
    {
        QFETCH(QString, item);
        QFETCH(WindowId, id);
        auto &registry = WindowRegistry::instance();
        // A stand-in for each window that the menus open.
        for (WindowId other : {WindowId::Arena, WindowId::ArenaCOD, WindowId::Cod2Efx,
                               WindowId::Options, WindowId::WebBrowser})
            registry.registerWindow(other, [] { return new QWidget; });
        Maker m = Maker::open();
        m.checkWork();
        const QString script = m.script()->text();
        m.window->findChild<QAction *>(item)->trigger();
        QVERIFY(registry.isLoaded(id));
        QVERIFY(registry.widget(id)->isVisible());
        QVERIFY(!registry.isLoaded(WindowId::ArenaCOD));
        QVERIFY(registry.isLoaded(WindowId::MapGsc));
        QCOMPARE(m.script()->text(), script);
    }
};

QTEST_MAIN(TestMapScriptWindow)
#include "tst_mapscript_window.moc"

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
#include <QTest>

using namespace tavrin;

namespace {
// The brecourt example as saved: the 31-line script and one CR LF.
QByteArray brecourtFile()
{
    return test::fileBytes(QStringLiteral(TAVRIN_TEST_DATA "/mp_brecourt.gsc"));
}

struct Maker {
    QWidget *window = nullptr;
    static Maker open() { return {WindowRegistry::instance().show(WindowId::MapGsc)}; }

    template <class T = QWidget> T *get(const QString &name) const { return window->findChild<T *>(name); }
    CopyBox *script() const { return get<CopyBox>("Text12"); }
    void checkWork() const { get<QPushButton>("Command1")->click(); }
    void save() const { get<QAction>("mnuSave")->trigger(); }
    void chooseBrecourt() const
    {
        for (const auto &[list, item] : {std::pair{"cboAmbient", "ambient_mp_brecourt"},
                                         {"CboAllies", "british"},
                                         {"cboSoldier", "british_soldiertype"},
                                         {"cboSoldierV", "british_soldiervariation"},
                                         {"cboDivision", "airborne"},
                                         {"cboWeather", "normal"},
                                         {"cboGerman", "german_soldiertype"},
                                         {"cboG_Sold_Var", "german_soldiervariation"},
                                         {"cboG_Division", "wehrmacht"},
                                         {"cboG_Weather", "normal"}})
            test::pick(get<QComboBox>(list), item);
        get<QLineEdit>("txtLayoutImage")->setText("mp_brecourt");
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
        QStringList lists; // editable, nothing chosen
        for (const char *name : {"cboAmbient", "cboSoldier", "cboSoldierV", "cboWeather", "cboDivision", "cboG_Weather",
                                 "cboG_Sold_Var", "cboG_Division", "cboGerman", "CboAllies"}) {
            auto *c = m.get<QComboBox>(name);
            lists << QString::number(c->count()) + (c->isEditable() && c->currentText().isEmpty() ? "" : "!");
        }
        QCOMPARE(lists.join(' '), QStringLiteral("16 3 3 2 4 2 1 4 1 3"));
        QStringList menus;
        for (QAction *top : qobject_cast<QMainWindow *>(m.window)->menuBar()->actions())
            menus << top->text() + ": " + test::menuEntries(top->menu()).join(' ');
        QCOMPARE(menus, (QStringList{"&File: mnuSave|&Save|Ctrl+S mnuExit|&Exit|Ctrl+E",
                                     "Config: mnuArena|Cod &Arena Cfg| mnuCod2|CoD 2 Config|Ctrl+F2",
                                     "Options: mnuCod_Options|CodOptions|Ctrl+O", "Internet: mnuWebUpdates|WebUpdates|",
                                     "&Help: "}));
    }

    void workedExampleFromCheckWorkToFile()
    {
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        QTemporaryDir dir;
        const QByteArray expected = brecourtFile();
        QCOMPARE(expected.size(), 698);
        const QString text = QString::fromLatin1(expected.chopped(2));
        QCOMPARE(text.size(), 696);

        Maker m = Maker::open();
        m.chooseBrecourt();
        m.checkWork();
        QCOMPARE(m.script()->text(), text);
        QCOMPARE(m.get<QLabel>("Label2")->text(), text);

        dialogs.accept(dir.filePath("mymap"));
        m.save();
        QCOMPARE(test::describe(dialogs.shown.value(0)),
                 QStringLiteral("Save|Tavrin COD, COD2 Revevi Tools|GSC Files (*.gsc)|3|"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"mymap"}); // no extension added
        QCOMPARE(test::fileBytes(dir.filePath("mymap")), expected);
        QVERIFY(messages.shown.isEmpty());
    }

    // A text typed into a combo box reaches the file as typed, in place of
    // the worked example's choice: not completed from the list, not folded
    // to an item's case.
    // Each Check Work tells what would break the saved script, or that nothing
    // would; Save still writes it.
    void checkLine()
    {
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        QTemporaryDir dir;
        Maker m = Maker::open();
        auto *line = m.get<QLabel>("lblCheck");
        QVERIFY(line && line->text().isEmpty());
        m.chooseBrecourt();
        m.checkWork();
        QCOMPARE(line->text(), QStringLiteral("No problems found."));

        m.get<QLineEdit>("txtLayoutImage")->setText("mp_\"brecourt");
        m.get<QLineEdit>("txtAlias")->clear();
        test::pick(m.get<QComboBox>("CboAllies"), "russian");
        m.get<QLineEdit>("txtZthree")->setText("70,000");
        m.checkWork();
        QCOMPARE(
            line->text().split('\n'),
            (QStringList{"First effect: the alias is empty, so the game cannot load the effect.",
                         "Z of the second effect: 70000 lies beyond \u00b165536, outside any map.",
                         "LayoutImage: \"mp_\"brecourt\" holds a double quote, which breaks the script's text there.",
                         "Soldier types: \"british_soldiertype\" is not of the allies chosen, \"russian\".",
                         "Soldier Variation: \"british_soldiervariation\" is not of the allies chosen, \"russian\"."}));
        dialogs.accept(dir.filePath("broken.gsc"));
        m.save();
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(test::fileBytes(dir.filePath("broken.gsc")).contains("game[\"layoutimage\"] = \"mp_\"brecourt\";"));

        // Put right, the line says so at the next Check Work.
        m.chooseBrecourt();
        m.get<QLineEdit>("txtAlias")->setText("[\"fire\"]");
        m.get<QLineEdit>("txtZthree")->setText("32");
        m.checkWork();
        QCOMPARE(line->text(), QStringLiteral("No problems found."));
    }

    void typedChoiceIsSavedVerbatim_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("line"); // counted from 0
        QTest::addColumn<QString>("text");
        QTest::newRow("ambient, start of an item") << "cboAmbient"
                                                   << "ambient_mp_b" << 10 << " ambientPlay (\"ambient_mp_b\");";
        QTest::newRow("allies, item in capitals") << "CboAllies"
                                                  << "British" << 16 << " game[\"allies\"] = \"British\";";
        QTest::newRow("soldier type, start of an item") << "cboSoldier"
                                                        << "brit" << 22 << " game[\"brit\"] = \"airborne\";";
        QTest::newRow("german weather, upper case")
            << "cboG_Weather"
            << "NORMAL" << 25 << " game[\"german_soldiervariation\"] = \"NORMAL\";";
    }
    void typedChoiceIsSavedVerbatim()
    {
        QFETCH(QString, box);
        QFETCH(QString, keys);
        QFETCH(int, line);
        QFETCH(QString, text);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        QTemporaryDir dir;
        Maker m = Maker::open();
        m.chooseBrecourt();
        auto *combo = m.get<QComboBox>(box);
        combo->clearEditText();
        test::typeInto(combo, keys);
        QCOMPARE(combo->currentText(), keys);
        m.checkWork();
        dialogs.accept(dir.filePath("mymap"));
        m.save();
        QList<QByteArray> lines = brecourtFile().split('\n');
        lines[line] = text.toLatin1() + '\r';
        QCOMPARE(test::fileBytes(dir.filePath("mymap")), lines.join('\n'));
        QVERIFY(messages.shown.isEmpty());
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
        QCOMPARE(again.get<QComboBox>("cboAmbient")->currentText(), QString());
        QVERIFY(again.script()->toPlainText().isEmpty());
        dialogs.accept(dir.filePath("mymap"));
        again.save();
        QCOMPARE(test::fileBytes(dir.filePath("mymap")), brecourtFile());
    }

    void coordinates_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written"); // empty: not a number
        const QLocale en(QLocale::English, QLocale::UnitedStates), de(QLocale::German, QLocale::Germany);
        QTest::newRow("en trailing group separator") << en << "16,"
                                                     << "16";
        QTest::newRow("en decimal") << en << "2.5"
                                    << "2.5";
        QTest::newRow("en grouped, blanks, sign") << en << " -1,000 "
                                                  << "-1000";
        QTest::newRow("de decimal comma") << de << "-2,5"
                                          << "-2.5";
        QTest::newRow("de grouped") << de << "1.000"
                                    << "1000";
        QTest::newRow("empty") << en << ""
                               << "";
        QTest::newRow("de comma alone") << de << ","
                                        << "";
        QTest::newRow("too large") << en << "1e40"
                                   << "";
        QTest::newRow("nan") << de << "nan"
                             << "";
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

        test::pick(m.get<QComboBox>("CboAllies"), "russian");
        m.get<QLineEdit>("txtZthree")->setText(text);
        m.checkWork();
        if (!written.isEmpty()) {
            QVERIFY(messages.shown.isEmpty());
            QCOMPARE(m.script()->text().split("\r\n").at(6),
                     QStringLiteral(" maps\\mp\\_fx::loopfx(\"smoke\", (16, 24, %1),0.7);").arg(written));
            return;
        }
        // The message names the box and its text; nothing else changes.
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown.first().text.contains("txtZthree")
                && messages.shown.first().text.contains('"' + text + '"'));
        QCOMPARE(m.script()->text(), before);
        QCOMPARE(frmMapGsc::model().sHead(), before);
    }

    void saveThatFails_data()
    {
        QTest::addColumn<QString>("name"); // empty: the dialog is cancelled
        QTest::newRow("cancelled") << "";
        QTest::newRow("missing folder") << "no/such/folder/mymap.gsc";
    }
    void saveThatFails()
    {
        QFETCH(QString, name);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        QTemporaryDir dir;
        Maker m = Maker::open();
        m.checkWork();
        name.isEmpty() ? dialogs.cancel() : dialogs.accept(dir.filePath(name));
        m.save();
        QCOMPARE(messages.shown.size(), name.isEmpty() ? 0 : 1);
        if (!name.isEmpty()) { // the file, then the reason
            QVERIFY(messages.shown.first().text.contains(dir.filePath(name) + "\": "));
            QVERIFY(!messages.shown.first().text.endsWith("\": "));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // A save that runs out of room names the file and the system's reason,
    // and leaves the old file byte for byte.
    void saveWithoutRoom_data()
    {
        QTest::addColumn<test::NoRoomCase>("limit");
        for (const test::NoRoomCase &c : test::noRoomCases())
            QTest::newRow(c.name) << c;
    }
    void saveWithoutRoom()
    {
        QFETCH(test::NoRoomCase, limit);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        QTemporaryDir dir;
        const QString file = dir.filePath("mymap.gsc");
        Maker m = Maker::open();
        m.get<QLineEdit>("txtLayoutImage")->setText(QString(limit.size, 'l'));
        m.checkWork();
        const auto report = test::inChildWithoutRoom(
            limit, dir.path(), [&] { test::writeBytes(file, "old"); },
            [&] {
                dialogs.accept(file);
                m.save();
                QStringList lines;
                for (const MessageRequest &shown : messages.shown)
                    lines << shown.text;
                return lines << test::fileBytes(file) << test::entriesBesideFiller(dir.path()).join(' ');
            });
        if (!report)
            QSKIP("no right to mount a file system here");
        QCOMPARE(report->size(), 3);
        QVERIFY2(report->at(0).contains('"' + file + '"') && report->at(0).endsWith(test::noRoomReason(limit.how)),
                 qPrintable(report->at(0)));
        QCOMPARE(report->mid(1), QStringList({"old", "mymap.gsc"}));
    }
};

QTEST_MAIN(TestMapScriptWindow)
#include "tst_mapscript_window.moc"

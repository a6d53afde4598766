// The map script model and the text it composes.
#include "mapscriptcheck.h"
#include "mymapgsc.h"

#include <QFile>
#include <QTest>

#include <cmath>
#include <functional>

using namespace tavrin;

namespace {
QStringList lines(const mymapgsc &m)
{
    return m.sHead().split(QStringLiteral("\r\n"));
}

// The model as the maker fills it for the worked example.
mymapgsc workedExample()
{
    mymapgsc m;
    m.sMain = "main()";
    m.effect = m.effect1 = "level._effect";
    m.alias = "[\"fire\"]";
    m.loadfx = m.loadfx1 = "= loadfx";
    m.pathfx = "(\"fx/fire/tinybon.efx\");";
    m.maps = m.maps1 = "maps\\mp\\_fx::loopfx";
    m.alias1 = "\"fire\",";
    m.x = m.x1 = 16;
    m.y = m.y2 = 24;
    m.z = 0;
    m.z3 = 32;
    m.waitT = ",0.6";
    m.alias2 = "[\"smoke\"]";
    m.pathfx1 = "(\"fx/smoke/ash_smoke.efx\");";
    m.alias3 = "\"smoke\",";
    m.waitV = ",0.7";
    m.sCF = "setCullFog";
    m.a = "0,";
    m.b = "6000,";
    m.c = ".32,";
    m.d = ".33,";
    m.e = ".40,";
    m.f = "0";
    m.mp = "ambientPlay";
    m.Ambient = "ambient_mp_brecourt";
    m.mMP = "maps\\mp\\_load::main();";
    m.attackers = m.allies1 = "allies";
    m.defenders = m.axis1 = "axis";
    m.attackers1 = "attackers";
    m.defender1 = "defenders";
    m.axis = "german";
    m.allies = "british";
    m.soldierT = "british_soldiertype";
    m.soldierV = "british_soldiervariation";
    m.division = "airborne";
    m.weather = "normal";
    m.germanT = "german_soldiertype";
    m.germanV = "german_soldiervariation";
    m.germanD = "wehrmacht";
    m.germanW = "normal";
    m.layoutimage = "layoutimage";
    m.layout1 = "mp_brecourt";
    return m;
}
} // namespace

class TestMapScript : public QObject
{
    Q_OBJECT
private slots:
    // What Save writes before any Check Work: the bare frame, no line break after it.
    void freshInstance()
    {
        const QString key = QStringLiteral(" game[\"\"] = \"\";");
        const QString loop = QStringLiteral(" ( (0, 0, 0));");
        QCOMPARE(
            lines(mymapgsc()),
            (QStringList{"",  "{", " ", " ", loop, " ", loop, "",  "",  " (     );", "  (\"\");", "",  "", " ", "",  "",
                         key, key, key, key, "",   "",  key,  key, key, key,         "",          key, "", "",  " }"}));
    }

    // The script language reads only '.' as a decimal point, whatever the
    // user's regional settings say, and no exponent.
    void coordinates_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("negative zero") << -0.0f << "0";
        QTest::newRow("negative") << -16.0f << "-16";
        QTest::newRow("half") << 2.5f << "2.5";
        QTest::newRow("third") << 1.0f / 3.0f << "0.3333333";
        QTest::newRow("seven digits") << 1234567.0f << "1234567";
        QTest::newRow("large, no exponent") << 123456789.0f << "123456792";
        QTest::newRow("small, no exponent") << -0.00009f << "-0.00009";
    }
    void coordinates()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        mymapgsc m;
        m.x = m.y2 = value;
        const QStringList composed = lines(m);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(composed.at(4), QStringLiteral(" ( (%1, 0, 0));").arg(text));
        QCOMPARE(composed.at(6), QStringLiteral(" ( (0, %1, 0));").arg(text));
    }

    void fieldsAreCopiedVerbatim_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("double quote") << "brit\"ish";
        QTest::newRow("line break") << "one\r\ntwo";
        QTest::newRow("backslash and placeholder") << "a\\b %1";
    }
    void fieldsAreCopiedVerbatim()
    {
        QFETCH(QString, value);
        mymapgsc m;
        m.allies = value;
        m.sMain = value;
        const QString text = m.sHead();
        QVERIFY(text.startsWith(value + "\r\n{\r\n"));
        QVERIFY(text.contains("\r\n game[\"\"] = \"" + value + "\";\r\n"));
        QCOMPARE(text.size(), mymapgsc().sHead().size() + 2 * value.size()); // nothing else moves
    }

    // The worked example is the saved file, and nothing in it stops the game.
    void workedExampleHasNoProblem()
    {
        QFile saved(QStringLiteral(TAVRIN_TEST_DATA "/mp_brecourt.gsc"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(workedExample().sHead().toLatin1() + "\r\n", saved.readAll());
        QCOMPARE(CheckMapScript(workedExample()), QStringList());
    }

    // Each thing that would break the saved script, one change to the worked example.
    void problems_data()
    {
        QTest::addColumn<std::function<void(mymapgsc &)>>("change");
        QTest::addColumn<QStringList>("problems");
        using F = std::function<void(mymapgsc &)>;
        QTest::newRow("quote in the layout image") << F([](mymapgsc &m) {
            m.layout1 = "mp_\"brecourt";
        }) << QStringList{"LayoutImage: \"mp_\"brecourt\" holds a double quote, which breaks the script's text there."};
        QTest::newRow("backslash in the ambient sound")
            << F([](mymapgsc &m) { m.Ambient = "sound\\mp"; })
            << QStringList{"ambientPlay: \"sound\\mp\" holds a backslash, which breaks the script's text there."};
        QTest::newRow("both in the German division")
            << F([](mymapgsc &m) { m.germanD = "\\\""; })
            << QStringList{"German Division: \"\\\"\" holds a double quote and a backslash, which break the script's "
                           "text there."};
        QTest::newRow("quote in a side word")
            << F([](mymapgsc &m) { m.axis = "ger\"man"; })
            << QStringList{"side word: \"ger\"man\" holds a double quote, which breaks the script's text there."};
        QTest::newRow("empty alias") << F([](mymapgsc &m) {
            m.alias.clear();
        }) << QStringList{"First effect: the alias is empty, so the game cannot load the effect."};
        QTest::newRow("blank second file, empty loadfx")
            << F([](mymapgsc &m) {
                   m.pathfx1 = "  ";
                   m.loadfx1.clear();
               })
            << QStringList{"Second effect: the loadfx text is empty, so the game cannot load the effect.",
                           "Second effect: the effect file is empty, so the game cannot load the effect."};
        QTest::newRow("empty loop alias")
            << F([](mymapgsc &m) { m.alias3.clear(); })
            << QStringList{"Second effect: the loop's alias is empty, so the game cannot load the effect."};
        QTest::newRow("soldier type of another nation")
            << F([](mymapgsc &m) { m.soldierT = "russian_soldiertype"; })
            << QStringList{"Soldier types: \"russian_soldiertype\" is not of the allies chosen, \"british\"."};
        QTest::newRow("variation of the Germans")
            << F([](mymapgsc &m) { m.soldierV = "german_soldiervariation"; })
            << QStringList{"Soldier Variation: \"german_soldiervariation\" is not of the allies chosen, \"british\"."};
        QTest::newRow("allies changed, soldiers not")
            << F([](mymapgsc &m) { m.allies = "american"; })
            << QStringList{
                   "Soldier types: \"british_soldiertype\" is not of the allies chosen, \"american\".",
                   "Soldier Variation: \"british_soldiervariation\" is not of the allies chosen, \"american\"."};
        QTest::newRow("no allies chosen") << F([](mymapgsc &m) { m.allies.clear(); }) << QStringList();
        QTest::newRow("coordinates at the limit") << F([](mymapgsc &m) {
            m.x = 65536;
            m.z3 = -65536;
        }) << QStringList();
        QTest::newRow("coordinates beyond the limit")
            << F([](mymapgsc &m) {
                   m.y = 70000;
                   m.z3 = -65537;
               })
            << QStringList{"Y of the first effect: 70000 lies beyond \u00b165536, outside any map.",
                           "Z of the second effect: -65537 lies beyond \u00b165536, outside any map."};
        QTest::newRow("not a finite coordinate")
            << F([](mymapgsc &m) { m.x1 = NAN; })
            << QStringList{"X of the second effect: the value lies beyond \u00b165536, outside any map."};
    }
    void problems()
    {
        QFETCH(std::function<void(mymapgsc &)>, change);
        QFETCH(QStringList, problems);
        mymapgsc m = workedExample();
        change(m);
        QCOMPARE(CheckMapScript(m), problems);
    }

    // A fresh model: every effect piece is empty, nothing else is wrong.
    void freshInstanceProblems()
    {
        const QStringList problems = CheckMapScript(mymapgsc());
        QCOMPARE(problems.size(), 8);
        QCOMPARE(problems.filter("is empty").size(), 8);
    }
};

QTEST_GUILESS_MAIN(TestMapScript)
#include "tst_mapscript.moc"

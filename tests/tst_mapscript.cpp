// The map script model and the text it composes.
#include "mymapgsc.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace tavrin;

namespace {
// The model as the maker window fills it for the brecourt example.
mymapgsc brecourt()
{
    mymapgsc m;
    m.sMain = "main()";
    m.effect = m.effect1 = "level._effect";
    m.alias = "[\"fire\"]";
    m.loadfx = m.loadfx1 = "= loadfx";
    m.pathfx = "(\"fx/fire/tinybon.efx\");";
    m.maps = m.maps1 = "maps\\mp\\_fx::loopfx";
    m.alias1 = "\"fire\",";
    m.x = 16; m.y = 24; m.z = 0;
    m.waitT = ",0.6";
    m.alias2 = "[\"smoke\"]";
    m.pathfx1 = "(\"fx/smoke/ash_smoke.efx\");";
    m.alias3 = "\"smoke\",";
    m.x1 = 16; m.y2 = 24; m.z3 = 32;
    m.waitV = ",0.7";
    m.sCF = "setCullFog";
    m.a = "0,"; m.b = "6000,"; m.c = ".32,"; m.d = ".33,"; m.e = ".40,"; m.f = "0";
    m.mp = "ambientPlay";
    m.Ambient = "ambient_mp_brecourt";
    m.mMP = "maps\\mp\\_load::main();";
    m.attackers = m.allies1 = "allies";
    m.allies = "british";
    m.defenders = m.axis1 = "axis";
    m.axis = "german";
    m.attackers1 = "attackers";
    m.defender1 = "defenders";
    m.soldierT = "british_soldiertype";
    m.division = "airborne";
    m.soldierV = "british_soldiervariation";
    m.weather = "normal";
    m.germanT = "german_soldiertype";
    m.germanD = "wehrmacht";
    m.germanV = "german_soldiervariation";
    m.germanW = "normal";
    m.layoutimage = "layoutimage";
    m.layout1 = "mp_brecourt";
    return m;
}

// True when every (, [ and { of the line is closed in order, outside quoted text.
bool balanced(const QString &line)
{
    QString open;
    bool quoted = false;
    for (QChar ch : line) {
        if (ch == u'"') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        const int kind = QStringLiteral("([{").indexOf(ch);
        if (kind >= 0) {
            open += ch;
            continue;
        }
        const int closing = QStringLiteral(")]}").indexOf(ch);
        if (closing >= 0) {
            if (open.isEmpty() || open.back() != QStringLiteral("([{").at(closing))
                return false;
            open.chop(1);
        }
    }
    return open.isEmpty() && !quoted;
}
} // namespace

class TestMapScript : public QObject
{
    Q_OBJECT
private slots:
    void workedExample()
    {
        const QString expected = QStringLiteral(
            "main()\r\n"
            "{\r\n"
            " \r\n"
            " level._effect[\"fire\"]= loadfx(\"fx/fire/tinybon.efx\");\r\n"
            " maps\\mp\\_fx::loopfx(\"fire\", (16, 24, 0),0.6);\r\n"
            " level._effect[\"smoke\"]= loadfx(\"fx/smoke/ash_smoke.efx\");\r\n"
            " maps\\mp\\_fx::loopfx(\"smoke\", (16, 24, 32),0.7);\r\n"
            "\r\n"
            "\r\n"
            " setCullFog(0, 6000, .32, .33, .40, 0);\r\n"
            " ambientPlay (\"ambient_mp_brecourt\");\r\n"
            "\r\n"
            "\r\n"
            " maps\\mp\\_load::main();\r\n"
            "\r\n"
            "\r\n"
            " game[\"allies\"] = \"british\";\r\n"
            " game[\"axis\"] = \"german\";\r\n"
            " game[\"attackers\"] = \"allies\";\r\n"
            " game[\"defenders\"] = \"axis\";\r\n"
            "\r\n"
            "\r\n"
            " game[\"british_soldiertype\"] = \"airborne\";\r\n"
            " game[\"british_soldiervariation\"] = \"normal\";\r\n"
            " game[\"german_soldiertype\"] = \"wehrmacht\";\r\n"
            " game[\"german_soldiervariation\"] = \"normal\";\r\n"
            "\r\n"
            " game[\"layoutimage\"] = \"mp_brecourt\";\r\n"
            "\r\n"
            "\r\n"
            " }");
        const mymapgsc m = brecourt();
        QCOMPARE(m.sHead(), expected);
        QCOMPARE(m.sHead().size(), 696);
        QCOMPARE(m.sHead(), m.sHead()); // reading composes anew and changes nothing
    }

    void everyLineIsBalanced()
    {
        for (const mymapgsc &m : {brecourt(), mymapgsc()}) {
            const QStringList lines = m.sHead().split(QStringLiteral("\r\n"));
            QCOMPARE(lines.size(), 31);
            for (const QString &line : lines) {
                if (line == QLatin1String("{") || line == QLatin1String(" }"))
                    continue; // the function body's braces span lines
                QVERIFY2(balanced(line), qPrintable(line));
                QVERIFY2(!line.contains(u'\r') && !line.contains(u'\n'), qPrintable(line));
            }
            QVERIFY(!m.sHead().endsWith(QLatin1String("\r\n")));
        }
    }

    void freshInstanceFrame_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("head") << 1 << "";
        QTest::newRow("brace") << 2 << "{";
        QTest::newRow("space line") << 3 << " ";
        QTest::newRow("first effect") << 4 << " ";
        QTest::newRow("first loop") << 5 << " ( (0, 0, 0));";
        QTest::newRow("second effect") << 6 << " ";
        QTest::newRow("second loop") << 7 << " ( (0, 0, 0));";
        QTest::newRow("fog") << 10 << " (     );";
        QTest::newRow("ambient") << 11 << "  (\"\");";
        QTest::newRow("load") << 14 << " ";
        for (int key : {17, 18, 19, 20, 23, 24, 25, 26, 28})
            QTest::addRow("key %d", key) << key << " game[\"\"] = \"\";";
        for (int blank : {8, 9, 12, 13, 15, 16, 21, 22, 27, 29, 30})
            QTest::addRow("empty %d", blank) << blank << "";
        QTest::newRow("end") << 31 << " }";
    }
    void freshInstanceFrame()
    {
        QFETCH(int, line);
        QFETCH(QString, text);
        const QStringList lines = mymapgsc().sHead().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 31);
        QCOMPARE(lines.at(line - 1), text);
    }

    void coordinates_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("negative zero") << -0.0f << "0";
        QTest::newRow("negative") << -16.0f << "-16";
        QTest::newRow("half") << 2.5f << "2.5";
        QTest::newRow("third") << 1.0f / 3.0f << "0.3333333";
        QTest::newRow("large whole") << -512.0f << "-512";
        QTest::newRow("seven digits") << 1234567.0f << "1234567";
    }
    void coordinates()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        // The decimal point is always '.', whatever the user's locale: the
        // script language reads no other.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        mymapgsc m;
        m.x = value;
        m.y2 = value;
        const QStringList lines = m.sHead().split(QStringLiteral("\r\n"));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(lines.at(4), QStringLiteral(" ( (%1, 0, 0));").arg(text));
        QCOMPARE(lines.at(6), QStringLiteral(" ( (0, %1, 0));").arg(text));
    }

    void fieldsAreCopiedVerbatim_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("double quote") << "brit\"ish";
        QTest::newRow("line break") << "one\r\ntwo";
        QTest::newRow("leading and trailing blanks") << "  spaced  ";
        QTest::newRow("backslash and percent") << "a\\b %1";
    }
    void fieldsAreCopiedVerbatim()
    {
        QFETCH(QString, value);
        mymapgsc m = brecourt();
        m.allies = value;
        m.sMain = value;
        const QString text = m.sHead();
        QVERIFY(text.startsWith(value + QLatin1String("\r\n{\r\n")));
        QVERIFY(text.contains(QLatin1String("\r\n game[\"allies\"] = \"") + value + QLatin1String("\";\r\n")));
        // Nothing else moves: the text grows by exactly what the fields added.
        QCOMPARE(text.size(), 696 - 6 - 7 + 2 * value.size());
    }
};

QTEST_GUILESS_MAIN(TestMapScript)
#include "tst_mapscript.moc"

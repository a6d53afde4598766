// The arena records and their text.
#include "arena.h"
#include "arenacheck.h"
#include <QTest>

using namespace tavrin;

class TestArena : public QObject
{
    Q_OBJECT
private slots:
    void text_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("longname");
        QTest::addColumn<QString>("gametype");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("mp_toujane")
            << "mp_toujane"
            << "Toujane"
            << "dm tdm" << QByteArray("{\r\nmap \"mp_toujane\"\r\nlongname \"Toujane\"\r\ngametype \"dm tdm\"\r\n}");
        QTest::newRow("empty fields") << ""
                                      << ""
                                      << "" << QByteArray("{\r\nmap \"\"\r\nlongname \"\"\r\ngametype \"\"\r\n}");
        QTest::newRow("blanks kept") << " "
                                     << "  "
                                     << " dm "
                                     << QByteArray("{\r\nmap \" \"\r\nlongname \"  \"\r\ngametype \" dm \"\r\n}");
        QTest::newRow("quote unescaped")
            << "mp_x"
            << "The \"Big\" One"
            << "ctf" << QByteArray("{\r\nmap \"mp_x\"\r\nlongname \"The \"Big\" One\"\r\ngametype \"ctf\"\r\n}");
        QTest::newRow("line break verbatim")
            << "a\nb"
            << "L"
            << "sd" << QByteArray("{\r\nmap \"a\nb\"\r\nlongname \"L\"\r\ngametype \"sd\"\r\n}");
    }
    void text()
    {
        QFETCH(QString, map);
        QFETCH(QString, longname);
        QFETCH(QString, gametype);
        QFETCH(QByteArray, expected);
        Arena cod2;
        ArenaCOD cod;
        for (ArenaRecord *r : {static_cast<ArenaRecord *>(&cod2), static_cast<ArenaRecord *>(&cod)}) {
            r->map = map;
            r->longname = longname;
            r->gametype = gametype;
        }
        QCOMPARE(cod2.ArenaString().toLatin1(), expected);
        // Both games' records give the same bytes.
        QCOMPARE(cod.sCompleteString().toLatin1(), expected);
    }

    // The gametype words of each game's list are known; anything else is
    // named, once; a map name must be letters, digits and '_'.
    void check_data()
    {
        const QStringList cod2{"dm", "ctf", "tdm", "hq", "sd", "dm tdm", "dm tdm ctf hq sd"};
        const QStringList cod{"tdm", "dm", "hq", "bel", "sd", "re", "tdm dm hq bel sd re"};
        QTest::addColumn<QStringList>("boxes"); // map, long name, gametype
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("COD2 all known") << QStringList{"mp_toujane", "Toujane", "dm tdm ctf hq sd"} << cod2
                                        << QStringList();
        QTest::newRow("COD all known") << QStringList{"mp_Harbor2", "Harbor", "sd re bel"} << cod << QStringList();
        QTest::newRow("tmd") << QStringList{"mp_toujane", "Toujane", "dm tmd"} << cod2
                             << QStringList{"Gametype: \"tmd\" is not a gametype of the game."};
        QTest::newRow("COD word in COD2")
            << QStringList{"mp_x", "X", "re"} << cod2 << QStringList{"Gametype: \"re\" is not a gametype of the game."};
        QTest::newRow("capitals, told once") << QStringList{"mp_x", "X", "TDM dm  TDM"} << cod
                                             << QStringList{"Gametype: \"TDM\" is not a gametype of the game."};
        QTest::newRow("blank in the map")
            << QStringList{"mp toujane", "Toujane", "dm"} << cod2
            << QStringList{"Map: \"mp toujane\" may hold only letters, digits and _, no blanks."};
        QTest::newRow("other characters in the map")
            << QStringList{"mp-tou\u00e9jane.bsp", "T", "koth"} << cod2
            << QStringList{"Map: \"mp-tou\u00e9jane.bsp\" may hold only letters, digits and _, no blanks.",
                           "Gametype: \"koth\" is not a gametype of the game."};
        QTest::newRow("quote in the long name")
            << QStringList{"mp_x", "The \"Big\" One", "dm"} << cod2
            << QStringList{"Longname: a double quote ends the name early in the file."};
        QTest::newRow("empty boxes") << QStringList{"", "", ""} << cod2 << QStringList();
    }
    void check()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, list);
        QFETCH(QStringList, problems);
        QCOMPARE(CheckArena(boxes[0], boxes[1], boxes[2], "Gametype:", list), problems);
    }
};

QTEST_APPLESS_MAIN(TestArena)
#include "tst_arena.moc"

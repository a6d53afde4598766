// The arena records and their text.
#include "arena.h"
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
        QTest::newRow("mp_toujane") << "mp_toujane" << "Toujane" << "dm tdm"
                                    << QByteArray("{\r\nmap \"mp_toujane\"\r\nlongname \"Toujane\"\r\ngametype \"dm tdm\"\r\n}");
        QTest::newRow("empty fields") << "" << "" << ""
                                      << QByteArray("{\r\nmap \"\"\r\nlongname \"\"\r\ngametype \"\"\r\n}");
        QTest::newRow("blanks kept") << " " << "  " << " dm "
                                     << QByteArray("{\r\nmap \" \"\r\nlongname \"  \"\r\ngametype \" dm \"\r\n}");
        QTest::newRow("quote unescaped") << "mp_x" << "The \"Big\" One" << "ctf"
                                         << QByteArray("{\r\nmap \"mp_x\"\r\nlongname \"The \"Big\" One\"\r\ngametype \"ctf\"\r\n}");
        QTest::newRow("line break verbatim") << "a\nb" << "L" << "sd"
                                             << QByteArray("{\r\nmap \"a\nb\"\r\nlongname \"L\"\r\ngametype \"sd\"\r\n}");
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
};

QTEST_APPLESS_MAIN(TestArena)
#include "tst_arena.moc"

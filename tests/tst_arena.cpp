// The arena records and their text.
#include "arena.h"
#include "textfile.h"

#include <QTemporaryDir>
#include <QFile>
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
        cod2.map = map;
        cod2.longname = longname;
        cod2.gametype = gametype;
        ArenaCOD cod;
        cod.map = map;
        cod.longname = longname;
        cod.gametype = gametype;
        QCOMPARE(cod2.ArenaString().toLatin1(), expected);
        // Both games' records give the same bytes.
        QCOMPARE(cod.sCompleteString().toLatin1(), cod2.ArenaString().toLatin1());
    }

    void startsEmptyAndRendersAfresh()
    {
        Arena a;
        QVERIFY(a.map.isEmpty() && a.longname.isEmpty() && a.gametype.isEmpty());
        a.map = QStringLiteral("one");
        const QString first = a.ArenaString();
        QCOMPARE(a.ArenaString(), first); // reading changes nothing
        a.map = QStringLiteral("two");
        QVERIFY(a.ArenaString().contains(QStringLiteral("map \"two\"")));
        QVERIFY(!a.ArenaString().contains(QStringLiteral("one")));
    }

    void fileIsTheTextPlusOneLineEnd()
    {
        QTemporaryDir dir;
        ArenaCOD a;
        a.map = QStringLiteral("mp_toujane");
        a.longname = QStringLiteral("Toujane");
        a.gametype = QStringLiteral("dm tdm");
        const QString path = dir.filePath(QStringLiteral("toujane.arena"));
        QVERIFY(writeAnsiText(path, a.sCompleteString()).ok);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes, QByteArray("{\r\nmap \"mp_toujane\"\r\nlongname \"Toujane\"\r\ngametype \"dm tdm\"\r\n}\r\n"));
        QCOMPARE(bytes.size(), 63);
    }
};

QTEST_APPLESS_MAIN(TestArena)
#include "tst_arena.moc"

// The worldspawn table and its settings texts.
#include "worldspawn.h"

#include <QRegularExpression>
#include <QTest>

using namespace tavrin;

namespace {
QString crlf(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

QString render(const char *name)
{
    const MapRow *row = FindMap(QString::fromLatin1(name));
    return row ? RenderSettings(*row) : QStringLiteral("<no row>");
}
} // namespace

class TestWorldspawn : public QObject
{
    Q_OBJECT
private slots:
    void workedExample()
    {
        const QString text = render("mp_breakout");
        QCOMPARE(text, crlf({"{", "Northyaw -> 90", "_color -> 1 .95 .95", "ambient -> 0.05",
                             "sundiffusecolor -> 0.80 0.82 0.85", "diffusefraction -> 0.31",
                             "classname -> worldspawn", "sundirection -> -137.8 305 0",
                             "suncolor -> 0.9 0.95 1", "sunlight -> 1.5", "}"}));
        QCOMPARE(text.size(), 214);
        QCOMPARE(text.count(QStringLiteral("\r\n")), 10);
    }

    void secondExample()
    {
        QCOMPARE(render("sp_bergstein"),
                 crlf({"{", "Northyaw -> ", "_color -> ", "ambient -> .02",
                       "sundiffusecolor -> 100 100 100", "diffusefraction -> .6",
                       "classname -> worldspawn", "sundirection -> -80 355 0",
                       "suncolor -> 100 100 105", "sunlight -> .65", "origin ->0 0 0", "}"}));
    }

    void mapList()
    {
        const QStringList list = tavrin::mapList();
        QCOMPARE(list.size(), 42);
        QCOMPARE(list.at(0), QStringLiteral("mp_breakout"));
        QCOMPARE(list.at(12), QStringLiteral("mp_trainstation"));
        QCOMPARE(list.mid(13, 3), QStringList({"", "--SP_LEVELS--", ""}));
        QCOMPARE(list.at(16), QStringLiteral("sp_88ridge"));
        QCOMPARE(list.at(41), QStringLiteral("sp_trainyard"));
        QVERIFY(!list.contains(QStringLiteral("sp_hill400_assault")));
        // Every listed map finds its own row; the separators find none.
        int found = 0;
        for (const QString &name : list) {
            const MapRow *row = FindMap(name);
            if (row) {
                QCOMPARE(QString::fromUtf16(row->name), name);
                ++found;
            }
        }
        QCOMPARE(found, 39);
        QCOMPARE(int(mapRows().size()), 40);
    }

    void findMapMisses_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("separator") << QStringLiteral("--SP_LEVELS--");
        QTest::newRow("initial text") << QStringLiteral("MP/SP_LEVELS");
        QTest::newRow("capitals") << QStringLiteral("MP_BREAKOUT");
        QTest::newRow("trailing blank") << QStringLiteral("mp_breakout ");
        QTest::newRow("leading blank") << QStringLiteral(" mp_breakout");
        QTest::newRow("prefix") << QStringLiteral("mp_break");
    }
    void findMapMisses()
    {
        QFETCH(QString, name);
        QVERIFY(!FindMap(name));
    }

    void unlistedRowIsFound()
    {
        QCOMPARE(render("sp_hill400_assault"),
                 crlf({"{", "script_delay ->2", "Northyaw -> ", "_color -> ", "ambient -> ",
                       "sundiffusecolor -> 0.247059 0.282353 0.349020", "diffusefraction -> .5",
                       "classname -> worldspawn", "sundirection -> -45 200 0",
                       "suncolor -> 0.545098 0.596078 0.631373", "sunlight -> 1", "origin ->", "}"}));
    }

    // Where each row's further lines stand: after the brace, after Northyaw,
    // after sunlight, and the origin line.
    void extraLines_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("line");
        QTest::newRow("brecourt spawnflags") << "mp_brecourt" << 12 << 10 << "spawnflags ->8";
        QTest::newRow("downtown contrastgain") << "mp_downtown" << 12 << 2 << "-contrastgain ->.4";
        QTest::newRow("matmata Model") << "mp_matmata" << 12 << 1 << "Model ->xmodel/dome_04";
        QTest::newRow("cityhall model") << "sp_cityhall" << 13 << 1 << "model ->xmodel/prop_barrel_silver_snow";
        QTest::newRow("decoytown dronelag") << "sp_decoytown" << 13 << 1 << "script_dronelag -> 1.7";
        QTest::newRow("demolition noteworthy") << "sp_demolition" << 13 << 1 << "script_noteworthy -> has_explosives";
        QTest::newRow("duhoc_defend wait") << "sp_duhoc_defend" << 13 << 1 << "script_wait -> 15";
        QTest::newRow("newvillers bounce") << "sp_newvillers" << 13 << 1 << "bouncefraction ->.4";
        QTest::newRow("toujane_ride bounce") << "sp_toujane_ride" << 13 << 1 << "bouncefraction ->.1";
        QTest::newRow("breakout sp origin") << "sp_breakout" << 12 << 10 << "origin ->";
        QTest::newRow("88ridge no origin") << "sp_88ridge" << 11 << 9 << "sunlight -> 1.8";
        QTest::newRow("beltot no origin") << "sp_beltot" << 11 << 9 << "sunlight -> 1.4";
        QTest::newRow("rhine hides its values") << "sp_rhine" << 12 << 10 << "origin ->";
        QTest::newRow("empty northyaw") << "mp_burgundy" << 11 << 1 << "Northyaw -> ";
        QTest::newRow("empty sunlight") << "mp_dawnville" << 11 << 9 << "sunlight -> ";
        QTest::newRow("suncolor verbatim") << "mp_dawnville" << 11 << 8 << "suncolor -> 1.2";
        QTest::newRow("four numbers") << "sp_newvillers" << 13 << 3 << "_color -> 0.5 0.5 .62 1";
        QTest::newRow("0.00 verbatim") << "mp_brecourt" << 12 << 3 << "ambient -> 0.00";
        QTest::newRow(".0 verbatim") << "mp_carentan" << 11 << 3 << "ambient -> .0";
    }
    void extraLines()
    {
        QFETCH(QString, map);
        QFETCH(int, lineCount);
        QFETCH(int, index);
        QFETCH(QString, line);
        const QStringList lines = render(map.toLatin1()).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), lineCount);
        QCOMPARE(lines.at(index), line);
    }

    // The shape every row shares: braces around, the nine standard lines in
    // order, one origin line for the single-player rows that carry it.
    void everyRowHasItsShape()
    {
        static const char *standard[] = {"Northyaw -> ", "_color -> ", "ambient -> ",
                                         "sundiffusecolor -> ", "diffusefraction -> ",
                                         "classname -> ", "sundirection -> ", "suncolor -> ",
                                         "sunlight -> "};
        for (const MapRow &row : mapRows()) {
            const QString name = QString::fromUtf16(row.name);
            const QString text = RenderSettings(row);
            QVERIFY2(!text.endsWith(QLatin1Char('\n')), qPrintable(name));
            const QStringList lines = text.split(QStringLiteral("\r\n"));
            QVERIFY2(lines.size() >= 11 && lines.size() <= 13, qPrintable(name));
            QCOMPARE(lines.first(), QStringLiteral("{"));
            QCOMPARE(lines.last(), QStringLiteral("}"));
            int next = 0;
            for (const QString &line : lines) {
                if (next < 9 && line.startsWith(QLatin1String(standard[next])))
                    ++next;
            }
            QVERIFY2(next == 9, qPrintable(name));
            const bool sp = name.startsWith(QLatin1String("sp_"));
            const bool origin = sp && name != QLatin1String("sp_88ridge") && name != QLatin1String("sp_beltot");
            QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^origin ->"))).size(), origin ? 1 : 0);
            if (origin)
                QVERIFY2(lines.at(lines.size() - 2).startsWith(QLatin1String("origin ->")), qPrintable(name));
        }
    }

    void noStateBetweenRenders()
    {
        render("mp_breakout");
        const QStringList lines = render("sp_hill400_defend").split(QStringLiteral("\r\n"));
        QCOMPARE(lines.at(1), QStringLiteral("Northyaw -> "));
        QCOMPARE(lines.at(2), QStringLiteral("_color -> "));
        QCOMPARE(lines.at(3), QStringLiteral("ambient -> "));
    }

    void spBreakoutMatchesMpBreakout()
    {
        QStringList mp = render("mp_breakout").split(QStringLiteral("\r\n"));
        QStringList sp = render("sp_breakout").split(QStringLiteral("\r\n"));
        QCOMPARE(sp.takeAt(10), QStringLiteral("origin ->"));
        QCOMPARE(sp, mp);
    }
};

QTEST_GUILESS_MAIN(TestWorldspawn)
#include "tst_worldspawn.moc"

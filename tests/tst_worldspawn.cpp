// The worldspawn table and its settings texts.
#include "worldspawn.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace tavrin;

namespace {
QString render(const char *name)
{
    const MapRow *row = FindMap(QString::fromLatin1(name));
    return row ? RenderSettings(*row) : QStringLiteral("<no row>");
}

// The entities written out by hand in data/worldspawn_entities.txt: a line
// "// name", then the entity's lines.
QList<std::pair<QString, QStringList>> writtenEntities()
{
    QFile file(QStringLiteral(TAVRIN_TEST_DATA "/worldspawn_entities.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression head(QStringLiteral("^// ([a-z0-9_]+)$"));
    QList<std::pair<QString, QStringList>> entities;
    for (const QByteArray &bytes : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(bytes);
        if (const QRegularExpressionMatch m = head.match(line); m.hasMatch())
            entities.append({m.captured(1), {}});
        else if (!entities.isEmpty() && !line.isEmpty())
            entities.last().second << line;
    }
    return entities;
}
} // namespace

class TestWorldspawn : public QObject
{
    Q_OBJECT
private slots:
    // The two worked examples, and the one row the list leaves out, in full.
    void fullTexts_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("mp_breakout") << "mp_breakout"
                                     << QStringList{"{",
                                                    "Northyaw -> 90",
                                                    "_color -> 1 .95 .95",
                                                    "ambient -> 0.05",
                                                    "sundiffusecolor -> 0.80 0.82 0.85",
                                                    "diffusefraction -> 0.31",
                                                    "classname -> worldspawn",
                                                    "sundirection -> -137.8 305 0",
                                                    "suncolor -> 0.9 0.95 1",
                                                    "sunlight -> 1.5",
                                                    "}"};
        QTest::newRow("sp_bergstein") << "sp_bergstein"
                                      << QStringList{"{",
                                                     "Northyaw -> ",
                                                     "_color -> ",
                                                     "ambient -> .02",
                                                     "sundiffusecolor -> 100 100 100",
                                                     "diffusefraction -> .6",
                                                     "classname -> worldspawn",
                                                     "sundirection -> -80 355 0",
                                                     "suncolor -> 100 100 105",
                                                     "sunlight -> .65",
                                                     "origin ->0 0 0",
                                                     "}"};
        QTest::newRow("sp_hill400_assault") << "sp_hill400_assault"
                                            << QStringList{"{",
                                                           "script_delay ->2",
                                                           "Northyaw -> ",
                                                           "_color -> ",
                                                           "ambient -> ",
                                                           "sundiffusecolor -> 0.247059 0.282353 0.349020",
                                                           "diffusefraction -> .5",
                                                           "classname -> worldspawn",
                                                           "sundirection -> -45 200 0",
                                                           "suncolor -> 0.545098 0.596078 0.631373",
                                                           "sunlight -> 1",
                                                           "origin ->",
                                                           "}"};
    }
    void fullTexts()
    {
        QFETCH(QString, map);
        QFETCH(QStringList, lines);
        QCOMPARE(render(map.toLatin1()), lines.join(QStringLiteral("\r\n")));
        QVERIFY(map != "mp_breakout" || render("mp_breakout").size() == 214);
    }

    void mapList()
    {
        const QStringList list = tavrin::mapList();
        QCOMPARE(list.size(), 42);
        QCOMPARE(list.mid(12, 5), QStringList({"mp_trainstation", "", "--SP_LEVELS--", "", "sp_88ridge"}));
        QCOMPARE(list.first() + ' ' + list.last(), QStringLiteral("mp_breakout sp_trainyard"));
        // Every listed map finds its own row, the separators none; names match exactly.
        int found = 0;
        for (const QString &name : list) {
            const MapRow *row = FindMap(name);
            QVERIFY(!row || QString::fromUtf16(row->name) == name);
            found += row != nullptr;
        }
        QCOMPARE(found, 39);
        QCOMPARE(int(mapRows().size()), 40);
        for (const char *miss : {"MP/SP_LEVELS", "MP_BREAKOUT", "mp_breakout ", "mp_break"})
            QVERIFY2(!FindMap(QLatin1String(miss)), miss);
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
        QTest::newRow("suncolor verbatim") << "mp_dawnville" << 11 << 8 << "suncolor -> 1.2";
        QTest::newRow("four numbers") << "sp_newvillers" << 13 << 3 << "_color -> 0.5 0.5 .62 1";
        QTest::newRow("0.00 verbatim") << "mp_brecourt" << 12 << 3 << "ambient -> 0.00";
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
        static const char *standard[] = {"Northyaw -> ",        "_color -> ",          "ambient -> ",
                                         "sundiffusecolor -> ", "diffusefraction -> ", "classname -> ",
                                         "sundirection -> ",    "suncolor -> ",        "sunlight -> "};
        for (const MapRow &row : mapRows()) {
            const QString name = QString::fromUtf16(row.name);
            const QStringList lines = RenderSettings(row).split(QStringLiteral("\r\n"));
            QVERIFY2(lines.first() == "{" && lines.last() == "}", qPrintable(name));
            int next = 0;
            for (const QString &line : lines)
                next += next < 9 && line.startsWith(QLatin1String(standard[next]));
            QVERIFY2(next == 9, qPrintable(name));
            const bool origin = name.startsWith("sp_") && name != "sp_88ridge" && name != "sp_beltot";
            QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^origin ->"))).size(), origin ? 1 : 0);
            QVERIFY2(!origin || lines.at(lines.size() - 2).startsWith("origin ->"), qPrintable(name));
        }
    }

    void spBreakoutMatchesMpBreakout()
    {
        QStringList sp = render("sp_breakout").split(QStringLiteral("\r\n"));
        QCOMPARE(sp.takeAt(10), QStringLiteral("origin ->"));
        QCOMPARE(sp.join(QStringLiteral("\r\n")), render("mp_breakout"));
    }

    // Every row's entity text, byte for byte, the keys its settings text
    // leaves out included, in the table's order of rows.
    void entityTexts_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QStringList>("lines");
        const auto written = writtenEntities();
        QCOMPARE(written.size(), 40);
        for (int i = 0; i < written.size(); ++i) {
            QCOMPARE(written[i].first, QString::fromUtf16(mapRows()[i].name));
            QTest::newRow(qPrintable(written[i].first)) << written[i].first << written[i].second;
        }
    }
    void entityTexts()
    {
        QFETCH(QString, map);
        QFETCH(QStringList, lines);
        QCOMPARE(RenderEntity(*FindMap(map)), lines.join(QStringLiteral("\r\n")));
    }

    // Three numbers make a colour, 0 to 1 each, or 0 to 255 where any is above 1.
    void colors_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QStringList>("colors"); // _color, sundiffusecolor, suncolor; "-" for none
        QTest::newRow("mp_matmata, 0 to 1") << "mp_matmata" << QStringList{"#ffc746", "#ffdbe3", "#ffe0d9"};
        QTest::newRow("mp_railyard, 0 to 255") << "mp_railyard" << QStringList{"#646469", "#646464", "#646469"};
        QTest::newRow("sp_bergstein, empty _color") << "sp_bergstein" << QStringList{"-", "#646464", "#646469"};
        QTest::newRow("mp_dawnville, one number") << "mp_dawnville" << QStringList{"#000000", "#d9e6ff", "-"};
        QTest::newRow("sp_newvillers, four numbers") << "sp_newvillers" << QStringList{"-", "#8cbfcc", "#8cbfcc"};
        QTest::newRow("mp_brecourt, six decimals") << "mp_brecourt" << QStringList{"#788fa0", "#e8f3ff", "#ffffff"};
    }
    void colors()
    {
        QFETCH(QString, map);
        QFETCH(QStringList, colors);
        const auto keys = colorKeys(*FindMap(map));
        QCOMPARE(QString::fromLatin1(keys[0].key) + ' ' + keys[1].key + ' ' + keys[2].key,
                 QStringLiteral("_color sundiffusecolor suncolor"));
        QStringList found;
        for (const ColorKey &key : keys) {
            const std::optional<QColor> color = WorldspawnColor(key.value);
            found << (color ? color->name() : QStringLiteral("-"));
        }
        QCOMPARE(found, colors);
    }

    void colorValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("color");
        QTest::newRow("1 is the top of 0 to 1") << "1 1 1"
                                                << "#ffffff";
        QTest::newRow("255 scale held to its range") << "300 -4 128"
                                                     << "#ff0080";
        QTest::newRow("blanks around and between") << "  .5   .5 .5 "
                                                   << "#808080";
        QTest::newRow("two numbers") << "0.5 0.5"
                                     << "-";
        QTest::newRow("not a number") << "1 red 1"
                                      << "-";
        QTest::newRow("decimal comma") << "0,5 0,5 0,5"
                                       << "-";
        QTest::newRow("infinite") << "inf 0 0"
                                  << "-";
        QTest::newRow("empty") << ""
                               << "-";
    }
    void colorValues()
    {
        QFETCH(QString, value);
        QFETCH(QString, color);
        const std::optional<QColor> parsed = WorldspawnColor(value);
        QCOMPARE(parsed ? parsed->name() : QStringLiteral("-"), color);
    }
};

QTEST_GUILESS_MAIN(TestWorldspawn)
#include "tst_worldspawn.moc"

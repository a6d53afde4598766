// The effects catalogue: its shape and every category's listing, checked
// against the published table rows in data/effects_catalogue.txt.
#include "effectscatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace tavrin;

namespace {
struct TableRow {
    QString category;
    QStringList files;
};

// The rows as published: | "Category" | "file.efx", "file.efx" |
QList<TableRow> tableRows()
{
    QFile file(QStringLiteral(TAVRIN_TEST_DATA "/effects_catalogue.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]*)\""));
    QList<TableRow> rows;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QStringList cells = QString::fromUtf8(line).split(QLatin1Char('|'), Qt::SkipEmptyParts);
        if (cells.size() < 2)
            continue;
        TableRow row;
        row.category = quoted.match(cells.at(0)).captured(1);
        for (const auto &m : quoted.globalMatch(cells.at(1)))
            row.files << m.captured(1);
        rows << row;
    }
    return rows;
}
} // namespace

class TestEffects : public QObject
{
    Q_OBJECT
private slots:
    void shape()
    {
        const auto categories = effectCategories();
        QCOMPARE(int(categories.size()), 68);
        QCOMPARE(effectCategoryNames().size(), 68);
        QSet<QString> names;
        QSet<QString> files;
        int total = 0;
        QStringList withBlank;
        for (const EffectCategory &c : categories) {
            const QString name = QString::fromUtf16(c.name);
            QVERIFY2(name.endsWith(QStringLiteral("_Effects")), qPrintable(name));
            QVERIFY2(name.at(0).isUpper() && !name.contains(QLatin1Char(' ')), qPrintable(name));
            QVERIFY2(!names.contains(name), qPrintable(name));
            names.insert(name);
            QVERIFY2(c.fileCount() >= 1 && c.fileCount() <= 30, qPrintable(name));
            for (const QString &f : c.fileNames()) {
                QVERIFY2(f.endsWith(QStringLiteral(".efx")), qPrintable(f));
                QVERIFY2(!f.contains(QLatin1Char('/')) && !f.contains(QLatin1Char('\\'))
                             && !f.contains(QLatin1Char('"')),
                         qPrintable(f));
                QVERIFY2(!files.contains(f), qPrintable(f)); // each name in one category only
                files.insert(f);
                if (f.contains(QLatin1Char(' ')))
                    withBlank << f;
                ++total;
            }
        }
        QCOMPARE(total, 371);
        QCOMPARE(withBlank, QStringList{QStringLiteral("20 mm_wallexplode.efx")});
    }

    void listing_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QStringList>("files");
        const QList<TableRow> rows = tableRows();
        QCOMPARE(rows.size(), 68);
        for (const TableRow &row : rows)
            QTest::newRow(qPrintable(row.category)) << row.category << row.files;
    }
    void listing()
    {
        QFETCH(QString, category);
        QFETCH(QStringList, files);
        const std::optional<QString> text = EffectListing(category);
        QVERIFY(text);
        QCOMPARE(*text, files.join(QStringLiteral("\r\n")));
    }

    void categoriesInTableOrder()
    {
        QStringList table;
        for (const TableRow &row : tableRows())
            table << row.category;
        QCOMPARE(effectCategoryNames(), table);
    }

    void exactTexts_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("single name, no line end") << "Ammo_Effects" << QByteArray("ammo_supply_exp.efx");
        QTest::newRow("two names") << "Mil_Effects" << QByteArray("20mil_concrete.efx\r\n20mil_dirthit_libya.efx");
        QTest::newRow("blank kept") << "Mm_Effects" << QByteArray("20mm_metalhit.efx\r\n20 mm_wallexplode.efx");
        QTest::newRow("impact") << "Impact_Effects"
                                << QByteArray("gravelimpact_em.efx\r\ngravelimpact_em2.efx\r\nimpact_em.efx\r\nimpact_em_night.efx");
    }
    void exactTexts()
    {
        QFETCH(QString, category);
        QFETCH(QByteArray, text);
        QCOMPARE(EffectListing(category).value().toLatin1(), text);
    }

    void longestListingKeepsItsOrder()
    {
        const QStringList misc = EffectListing(QStringLiteral("Misc_Effects")).value().split(QStringLiteral("\r\n"));
        QCOMPARE(misc.size(), 30);
        QCOMPARE(misc.first(), QStringLiteral("cliff_dust_rocks_duhoc.efx"));
        QCOMPARE(misc.at(4), QStringLiteral("bunker_cavein_duhoc.efx")); // not alphabetical
        QCOMPARE(misc.last(), QStringLiteral("tincan_bounce.efx"));
    }

    void unknownNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("lower case") << "fire_effects";
        QTest::newRow("upper case") << "FIRE_EFFECTS";
        QTest::newRow("leading blank") << " Fire_Effects";
        QTest::newRow("trailing blank") << "Fire_Effects ";
        QTest::newRow("empty") << "";
        QTest::newRow("file name") << "ammo_supply_exp.efx";
    }
    void unknownNames()
    {
        QFETCH(QString, name);
        QVERIFY(!EffectListing(name).has_value());
    }
};

QTEST_APPLESS_MAIN(TestEffects)
#include "tst_effects.moc"

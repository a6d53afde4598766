// The effects catalogue: every category's listing, checked against the
// published table rows in data/effects_catalogue.txt.
#include "effectscatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace tavrin;

namespace {
// The rows as published: | "Category" | "file.efx", "file.efx" |
QList<QStringList> tableRows()
{
    QFile file(QStringLiteral(TAVRIN_TEST_DATA "/effects_catalogue.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]*)\""));
    QList<QStringList> rows;
    for (const QByteArray &line : file.readAll().split('\n')) {
        QStringList row;
        for (const auto &m : quoted.globalMatch(QString::fromUtf8(line)))
            row << m.captured(1);
        if (row.size() >= 2)
            rows << row;
    }
    return rows;
}
} // namespace

class TestEffects : public QObject
{
    Q_OBJECT
private slots:
    void categoriesInTableOrder()
    {
        QStringList table;
        for (const QStringList &row : tableRows())
            table << row.first();
        QCOMPARE(table.size(), 68);
        QCOMPARE(effectCategoryNames(), table);
    }

    // Each listing is the category's file names in the table's order, apart
    // by CR LF with none after the last; names match exactly or not at all.
    void listing_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QStringList>("files"); // empty: no such category
        for (const QStringList &row : tableRows())
            QTest::newRow(qPrintable(row.first())) << row.first() << row.mid(1);
        for (const char *miss :
             {"fire_effects", "FIRE_EFFECTS", " Fire_Effects", "Fire_Effects ", "", "ammo_supply_exp.efx"})
            QTest::addRow("unknown '%s'", miss) << miss << QStringList();
    }
    void listing()
    {
        QFETCH(QString, category);
        QFETCH(QStringList, files);
        const std::optional<QString> text = EffectListing(category);
        QCOMPARE(text.has_value(), !files.isEmpty());
        if (text)
            QCOMPARE(*text, files.join(QStringLiteral("\r\n")));
    }

    // The search looks at every file name and every category name, without
    // regard to case; a category's name brings all its files.
    void search_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("one category by its name") << "wine" << QStringList{"wine_bottle.efx  (Wine_Effects)"};
        QTest::newRow("several categories")
            << "tunnel"
            << QStringList{"toujane_tunnel_collapse.efx  (Toujane_Effects)",
                           "toujane_tunnel_collapse_trail.efx  (Toujane_Effects)", "tunnel_dust.efx  (Tunnel_Effects)",
                           "tunnel_dust_duhoc.efx  (Tunnel_Effects)", "tunnel_dust_impact.efx  (Tunnel_Effects)"};
        QTest::newRow("upper case, blanks around")
            << "  HEATWAVE "
            << QStringList{"distortion_playereffect_4k_heatwave.efx  (Distortion_Effects)",
                           "distortion_playereffect_6k_heatwave.efx  (Distortion_Effects)"};
        QTest::newRow("a category name and file names")
            << "mil" << QStringList{"20mil_concrete.efx  (Mil_Effects)", "20mil_dirthit_libya.efx  (Mil_Effects)"};
        QTest::newRow("a blank inside a name") << "20 mm" << QStringList{"20 mm_wallexplode.efx  (Mm_Effects)"};
        QTest::newRow("none") << "gasoline" << QStringList();
        QTest::newRow("blanks alone") << "   " << QStringList();
    }
    void search()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(SearchEffects(text), lines);
    }

    // "smoke" against the table: every file of Smoke_Effects, and each file
    // elsewhere whose name holds the word in any case, in the table's order.
    void searchAgainstTheTable()
    {
        QStringList expected;
        for (const QStringList &row : tableRows()) {
            for (const QString &file : row.mid(1)) {
                if (row.first() == "Smoke_Effects" || file.contains("smoke", Qt::CaseInsensitive))
                    expected << file + "  (" + row.first() + ")";
            }
        }
        QCOMPARE(SearchEffects("Smoke"), expected);
        QCOMPARE(expected.filter("(Smoke_Effects)").size(), 25);
        QCOMPARE(expected.size(), 39); // from 11 categories
        QVERIFY(!expected.join("").contains(".efx.efx"));
    }
};

QTEST_APPLESS_MAIN(TestEffects)
#include "tst_effects.moc"

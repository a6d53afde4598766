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
        for (const char *miss : {"fire_effects", "FIRE_EFFECTS", " Fire_Effects", "Fire_Effects ", "", "ammo_supply_exp.efx"})
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
};

QTEST_APPLESS_MAIN(TestEffects)
#include "tst_effects.moc"

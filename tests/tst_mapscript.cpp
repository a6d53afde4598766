// The map script model and the text it composes.
#include "mymapgsc.h"

#include <QTest>

using namespace tavrin;

namespace {
QStringList lines(const mymapgsc &m) { return m.sHead().split(QStringLiteral("\r\n")); }
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
        QCOMPARE(lines(mymapgsc()),
                 (QStringList{"", "{", " ", " ", loop, " ", loop, "", "", " (     );", "  (\"\");", "", "", " ", "", "",
                              key, key, key, key, "", "", key, key, key, key, "", key, "", "", " }"}));
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
};

QTEST_GUILESS_MAIN(TestMapScript)
#include "tst_mapscript.moc"

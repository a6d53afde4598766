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
    void freshInstanceFrame_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("head") << 1 << "";
        QTest::newRow("brace") << 2 << "{";
        for (int space : {3, 4, 6, 14})
            QTest::addRow("space %d", space) << space << " ";
        QTest::newRow("first loop") << 5 << " ( (0, 0, 0));";
        QTest::newRow("second loop") << 7 << " ( (0, 0, 0));";
        QTest::newRow("fog") << 10 << " (     );";
        QTest::newRow("ambient") << 11 << "  (\"\");";
        for (int key : {17, 18, 19, 20, 23, 24, 25, 26, 28})
            QTest::addRow("key %d", key) << key << " game[\"\"] = \"\";";
        for (int blank : {8, 9, 12, 13, 15, 16, 21, 22, 27, 29, 30})
            QTest::addRow("empty %d", blank) << blank << "";
        QTest::newRow("end, no line break after it") << 31 << " }";
    }
    void freshInstanceFrame()
    {
        QFETCH(int, line);
        QFETCH(QString, text);
        QCOMPARE(lines(mymapgsc()).size(), 31);
        QCOMPARE(lines(mymapgsc()).at(line - 1), text);
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
        QTest::newRow("seven digits") << 1234567.0f << "1234567";
    }
    void coordinates()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        // The script language reads only '.' as a decimal point, whatever the
        // user's regional settings say.
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
        QTest::newRow("blanks around") << "  spaced  ";
        QTest::newRow("backslash and placeholder") << "a\\b %1";
    }
    void fieldsAreCopiedVerbatim()
    {
        QFETCH(QString, value);
        mymapgsc m;
        m.allies = value;
        m.sMain = value;
        const QString text = m.sHead();
        QVERIFY(text.startsWith(value + QLatin1String("\r\n{\r\n")));
        QVERIFY(text.contains(QLatin1String("\r\n game[\"\"] = \"") + value + QLatin1String("\";\r\n")));
        QCOMPARE(text.size(), mymapgsc().sHead().size() + 2 * value.size()); // nothing else moves
        QCOMPARE(m.sHead(), text); // composing again gives the same text
    }
};

QTEST_GUILESS_MAIN(TestMapScript)
#include "tst_mapscript.moc"

// The platform layer: window lifetime, texts and files, dialogs.
#include "commondialog.h"
#include "testsupport.h"
#include "textfile.h"
#include "windowregistry.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QLineEdit>
#include <QTest>

#include <bit>
#include <cmath>
#include <limits>

using namespace tavrin;

class TestCommon : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { WindowRegistry::instance().reset(); }

    void registryKeepsOneInstance()
    {
        auto &reg = WindowRegistry::instance();
        int built = 0;
        reg.registerWindow(WindowId::About, [&] {
            ++built;
            auto *w = new QWidget;
            new QLineEdit(w);
            return w;
        });
        QWidget *loaded = reg.load(WindowId::About);
        QVERIFY(loaded && !loaded->isVisible());
        QCOMPARE(reg.show(WindowId::About), loaded);
        QVERIFY(loaded->isVisible());

        // Hidden but loaded: showing it again brings back the same widget with its state.
        loaded->findChild<QLineEdit *>()->setText(QStringLiteral("kept"));
        reg.hide(WindowId::About);
        QVERIFY(!loaded->isVisible() && reg.isLoaded(WindowId::About));
        QCOMPARE(reg.show(WindowId::About), loaded);
        QCOMPARE(loaded->findChild<QLineEdit *>()->text(), QStringLiteral("kept"));
        QCOMPARE(built, 1);

        // Closing unloads; the next showing builds it afresh, the slot's state survives.
        reg.state<QString>(WindowId::About) = QStringLiteral("model");
        QPointer<QWidget> guard(loaded);
        loaded->close();
        QTRY_VERIFY(guard.isNull());
        QVERIFY(!reg.isLoaded(WindowId::About));
        QWidget *again = reg.show(WindowId::About);
        QCOMPARE(built, 2);
        QCOMPARE(again->findChild<QLineEdit *>()->text(), QString());
        QCOMPARE(reg.state<QString>(WindowId::About), QStringLiteral("model"));
        QVERIFY(!reg.show(WindowId::WebBrowser)); // never registered
    }

    void ansi_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("latin1") << QStringLiteral("caf\u00e9 \u00ff\r\n") << QByteArray("caf\xe9 \xff\r\n");
        QTest::newRow("cp1252 range") << QStringLiteral("\u20ac\u2019\u0178") << QByteArray("\x80\x92\x9f");
        QTest::newRow("not encodable") << QStringLiteral("\u0151\u4e2d") << QByteArray("??");
        QTest::newRow("surrogate pair") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
    }
    void ansi()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toAnsi(text), bytes);
    }

    // The text plus one CR LF; a write that fails says why and leaves the old file.
    void writeAnsiText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("locked/old.arena");
        QVERIFY(QDir(dir.path()).mkdir("locked"));
        QVERIFY(tavrin::writeAnsiText(path, "{\r\n}").ok);
        QCOMPARE(test::fileBytes(path), QByteArray("{\r\n}\r\n"));
        const WriteResult missing = tavrin::writeAnsiText(dir.filePath("no/such/folder/x.gsc"), "x");
        QVERIFY(!missing.ok && !missing.error.isEmpty());

        QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
        const WriteResult denied = tavrin::writeAnsiText(path, "new");
        QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (denied.ok)
            QSKIP("running with rights that ignore folder permissions");
        QCOMPARE(test::fileBytes(path), QByteArray("{\r\n}\r\n"));
    }

    // Plain decimal, never an exponent: the map script's coordinates and the
    // stored window placement are read by programs that know no other form.
    void formatSingle_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        const QString zeros37(37, '0'), zeros44(44, '0');
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("negative zero") << -0.0f << "0";
        QTest::newRow("whole") << -512.0f << "-512";
        QTest::newRow("half") << 2.5f << "2.5";
        QTest::newRow("third") << 1.0f / 3.0f << "0.3333333";
        QTest::newRow("next after one") << std::nextafter(1.0f, 2.0f) << "1";
        QTest::newRow("seven digits, rounded up") << 8388607.5f << "8388608";
        QTest::newRow("ten million") << 1.0e7f << "10000000";
        QTest::newRow("9999999.5, held as ten million") << 9999999.5f << "10000000";
        QTest::newRow("123456789, held as 123456792") << 123456789.0f << "123456792";
        QTest::newRow("negative, large") << -123456789.0f << "-123456792";
        QTest::newRow("largest") << std::numeric_limits<float>::max() << "340282346638528859811704183484516925440";
        QTest::newRow("1e-4") << 1.0e-4f << "0.0001";
        QTest::newRow("below 1e-4") << std::nextafter(1.0e-4f, 0.0f) << "0.00009999999";
        QTest::newRow("9e-5") << 9.0e-5f << "0.00009";
        QTest::newRow("-1e-5") << -1.0e-5f << "-0.00001";
        QTest::newRow("rounds up to 1e-6") << 9.9999999e-7f << "0.000001";
        QTest::newRow("smallest normal") << std::numeric_limits<float>::min() << "0." + zeros37 + "1175494";
        QTest::newRow("smallest denormal") << std::numeric_limits<float>::denorm_min() << "0." + zeros44 + "1401298";
    }
    void formatSingle()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString written = tavrin::formatSingle(value);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(written, text);
    }

    // Over floats of every magnitude and both signs: what seven significant
    // digits wrote without an exponent is written the same; what they wrote
    // with one is now written plain, as the same number (a whole number as
    // the exact value held).
    void formatSingleSweep()
    {
        QStringList wrong;
        for (quint32 bits = 1; bits < 0x7f800000u && wrong.size() < 5; bits += 39989) {
            for (float value : {std::bit_cast<float>(bits), -std::bit_cast<float>(bits)}) {
                const double held = value;
                const QString before = QString::number(held, 'g', 7), now = tavrin::formatSingle(value);
                const bool same = before.contains('e')
                                      ? !now.contains('e') && now.toDouble() == (std::trunc(held) == held ? held : before.toDouble())
                                      : now == before;
                if (!same)
                    wrong << before + " -> " + now;
            }
        }
        QCOMPARE(wrong, QStringList());
    }

    void qtFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("pair") << "All Files (*.*)|*.*" << QStringList{"All Files (*.*) (*)"};
        QTest::newRow("description only") << "GSC Files (*.gsc)" << QStringList{"GSC Files (*.gsc) (*.gsc)"};
        QTest::newRow("description without patterns") << "Arena Files" << QStringList{"Arena Files (*)"};
        QTest::newRow("two pairs") << "Text|*.txt;*.log|All|*.*"
                                   << QStringList{"Text (*.txt *.log) (*.txt *.log)", "All (*.*) (*)"};
    }
    void qtFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(CommonDialog::qtFilters(filter), expected);
    }

    // The real open dialog, as the user sees it: the filter's caption as the
    // window gave it, and the files it lets through. "All Files (*.*)" lists
    // files without an extension, as the tools save them.
    void openDialogListsWhatTheFilterLetsThrough_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("all files") << "All Files (*.*)|*.*" << "All Files (*.*)"
                                   << QStringList{"harbor", "mymap", "notes.rtf", "x.gsc"};
        QTest::newRow("description only") << "GSC Files (*.gsc)" << "GSC Files (*.gsc)" << QStringList{"x.gsc"};
        QTest::newRow("two patterns") << "Text|*.txt;*.rtf" << "Text (*.txt *.rtf)" << QStringList{"notes.rtf"};
    }
    void openDialogListsWhatTheFilterLetsThrough()
    {
        QFETCH(QString, filter);
        QFETCH(QString, caption);
        QFETCH(QStringList, listed);
        QTemporaryDir dir;
        for (const char *name : {"harbor", "mymap", "notes.rtf", "x.gsc"})
            QVERIFY(test::writeBytes(dir.filePath(name), "x"));
        CommonDialog cd;
        cd.DialogTitle = QStringLiteral("Open");
        cd.Filter = filter;
        const test::FileDialogListing shown = test::readFileDialog(dir.path(), [&] { QVERIFY(!cd.ShowOpen()); });
        QCOMPARE(shown.caption, caption);
        QCOMPARE(shown.names.join(','), listed.join(','));
    }

    void dialogFileNameCarriesOver()
    {
        test::ScriptedDialogs dialogs;
        CommonDialog cd;
        dialogs.accept("/tmp/a.rtf");
        QVERIFY(cd.ShowOpen());
        QVERIFY(!cd.ShowSave()); // cancelled: the name stays
        QCOMPARE(cd.FileName, QStringLiteral("/tmp/a.rtf"));
        QCOMPARE(dialogs.shown.value(1).kind, DialogRequest::Save);
        QCOMPARE(dialogs.shown.value(1).fileName, QStringLiteral("/tmp/a.rtf"));
    }
};

QTEST_MAIN(TestCommon)
#include "tst_common.moc"

// The platform layer: window lifetime, texts and files, dialogs.
#include "commondialog.h"
#include "testsupport.h"
#include "textfile.h"
#include "windowregistry.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

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

    void qtFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("pair") << "All Files (*.*)|*.*" << QStringList{"All Files (*.*)"};
        QTest::newRow("description only") << "GSC Files (*.gsc)" << QStringList{"GSC Files (*.gsc)"};
        QTest::newRow("two pairs") << "Text|*.txt;*.log|All|*.*" << QStringList{"Text (*.txt *.log)", "All (*.*)"};
    }
    void qtFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(CommonDialog::qtFilters(filter), expected);
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

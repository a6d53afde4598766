// The platform layer: window lifetime, texts and files, settings, dialogs.
#include "commondialog.h"
#include "messagebox.h"
#include "settingsstore.h"
#include "testsupport.h"
#include "textfile.h"
#include "windowregistry.h"

#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QSettings>
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
        QVERIFY(!reg.isLoaded(WindowId::About));
        QWidget *loaded = reg.load(WindowId::About);
        QVERIFY(loaded && !loaded->isVisible());
        QCOMPARE(reg.show(WindowId::About), loaded);
        QVERIFY(loaded->isVisible());
        QCOMPARE(built, 1);

        // Hidden but loaded: showing it again brings back the same widget with its state.
        loaded->findChild<QLineEdit *>()->setText(QStringLiteral("kept"));
        reg.hide(WindowId::About);
        QVERIFY(!loaded->isVisible() && reg.isLoaded(WindowId::About));
        QCOMPARE(reg.show(WindowId::About), loaded);
        QCOMPARE(loaded->findChild<QLineEdit *>()->text(), QStringLiteral("kept"));

        // Closing unloads; the next showing builds it afresh, the slot's state survives.
        reg.state<QString>(WindowId::About) = QStringLiteral("model");
        QPointer<QWidget> guard(loaded);
        loaded->close();
        QTRY_VERIFY(guard.isNull());
        QVERIFY(!reg.isLoaded(WindowId::About));
        QWidget *again = reg.show(WindowId::About);
        QCOMPARE(built, 2);
        QCOMPARE(again->findChild<QLineEdit *>()->text(), QString());
        QVERIFY(reg.hasState(WindowId::About));
        QCOMPARE(reg.state<QString>(WindowId::About), QStringLiteral("model"));
    }

    void unregisteredWindowIsIgnored()
    {
        QVERIFY(!WindowRegistry::instance().show(WindowId::WebBrowser));
        QVERIFY(!WindowRegistry::instance().isLoaded(WindowId::WebBrowser));
    }

    void unloadAllDiscardsHiddenWindows()
    {
        auto &reg = WindowRegistry::instance();
        reg.registerWindow(WindowId::Tavrin, [] { return new QWidget; });
        QPointer<QWidget> hidden = reg.load(WindowId::Tavrin);
        reg.unloadAll();
        QVERIFY(hidden.isNull());
    }

    void joinLines()
    {
        QCOMPARE(tavrin::joinLines({}), QString());
        QCOMPARE(tavrin::joinLines({"a"}), QStringLiteral("a"));
        QCOMPARE(tavrin::joinLines({"a", "", "b"}), QStringLiteral("a\r\n\r\nb"));
    }

    void ansi_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("map \"x\"\\") << QByteArray("map \"x\"\\");
        QTest::newRow("latin1") << QStringLiteral("caf\u00e9 \u00ff") << QByteArray("caf\xe9 \xff");
        QTest::newRow("cp1252 range") << QStringLiteral("\u20ac\u2019\u0178") << QByteArray("\x80\x92\x9f");
        QTest::newRow("not encodable") << QStringLiteral("\u0151\u4e2d") << QByteArray("??");
        QTest::newRow("surrogate pair") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("control bytes kept") << QStringLiteral("\r\n\t") << QByteArray("\r\n\t");
    }
    void ansi()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toAnsi(text), bytes);
    }

    void writesTextPlusOneCrLf()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mymap"));
        QVERIFY(writeAnsiText(path, QStringLiteral("{\r\n}")).ok);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("{\r\n}\r\n"));
    }

    void failedWriteKeepsOldFile()
    {
        QTemporaryDir dir;
        const WriteResult missing = writeAnsiText(dir.filePath(QStringLiteral("no/such/folder/x.gsc")), QStringLiteral("x"));
        QVERIFY(!missing.ok);
        QVERIFY(!missing.error.isEmpty());
        QVERIFY(!writeAnsiText(QString(), QStringLiteral("x")).ok);

        // A file in a folder we may not write to: the old content stays.
        const QString path = dir.filePath(QStringLiteral("locked/old.arena"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
        QVERIFY(writeAnsiText(path, QStringLiteral("old")).ok);
        QFile::setPermissions(dir.filePath(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner);
        const WriteResult denied = writeAnsiText(path, QStringLiteral("new"));
        QFile::setPermissions(dir.filePath(QStringLiteral("locked")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (denied.ok)
            QSKIP("running with rights that ignore folder permissions");
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old\r\n"));
    }

    void formatSingle_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("negative zero") << -0.0f << "0";
        QTest::newRow("whole") << 16.0f << "16";
        QTest::newRow("negative") << -16.0f << "-16";
        QTest::newRow("big whole") << -512.0f << "-512";
        QTest::newRow("half") << 2.5f << "2.5";
        QTest::newRow("third") << float(1.0 / 3.0) << "0.3333333";
        QTest::newRow("twips") << 1200.0f << "1200";
        QTest::newRow("seven digits") << 1234567.0f << "1234567";
        QTest::newRow("point one") << 0.1f << "0.1";
    }
    void formatSingle()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(tavrin::formatSingle(value), text);
    }

    void settingsRoundTrip()
    {
        test::TemporarySettings settings;
        QCOMPARE(GetSetting(QStringLiteral("Tavrin"), QStringLiteral("Settings"), QStringLiteral("MainLeft"), QStringLiteral("1000")),
                 QStringLiteral("1000"));
        SaveSetting(QStringLiteral("Tavrin"), QStringLiteral("Settings"), QStringLiteral("MainLeft"), QStringLiteral("-60"));
        QCOMPARE(GetSetting(QStringLiteral("Tavrin"), QStringLiteral("Settings"), QStringLiteral("MainLeft"), QStringLiteral("1000")),
                 QStringLiteral("-60"));
        QSettings file(settings.file(), QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("Settings/MainLeft")).toString(), QStringLiteral("-60"));
    }

    void messageBoxTitle()
    {
        test::ScriptedMessages messages;
        messages.answers.push_back(QMessageBox::Cancel);
        QCOMPARE(messageBox(nullptr, QStringLiteral("text")), QMessageBox::Cancel);
        messageBox(nullptr, QStringLiteral("t2"), QMessageBox::Ok, QMessageBox::Critical, QStringLiteral("Error"));
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown[0].title, QStringLiteral("Tavrin"));
        QCOMPARE(messages.shown[1].title, QStringLiteral("Error"));
        QCOMPARE(messages.shown[1].icon, QMessageBox::Critical);
    }

    void qtFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("pair") << "All Files (*.*)|*.*" << QStringList{"All Files (*.*)"};
        QTest::newRow("description only") << "GSC Files (*.gsc)" << QStringList{"GSC Files (*.gsc)"};
        QTest::newRow("two pairs") << "Text|*.txt;*.log|All|*.*" << QStringList{"Text (*.txt *.log)", "All (*.*)"};
        QTest::newRow("empty") << "" << QStringList{};
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
        cd.DialogTitle = QStringLiteral("Open");
        dialogs.accept(QStringLiteral("/tmp/a.rtf"));
        QVERIFY(cd.ShowOpen());
        QCOMPARE(cd.FileName, QStringLiteral("/tmp/a.rtf"));
        cd.DialogTitle = QStringLiteral("Save");
        QVERIFY(!cd.ShowSave()); // cancelled: the name stays
        QCOMPARE(cd.FileName, QStringLiteral("/tmp/a.rtf"));
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown[1].kind, DialogRequest::Save);
        QCOMPARE(dialogs.shown[1].fileName, QStringLiteral("/tmp/a.rtf"));
        QCOMPARE(dialogs.shown[1].title, QStringLiteral("Save"));
    }
};

QTEST_MAIN(TestCommon)
#include "tst_common.moc"

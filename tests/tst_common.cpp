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
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

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

        // A slot's state has one type; asking for another fails loudly, and
        // the state stays as it was.
        QVERIFY_THROWS_EXCEPTION(std::bad_any_cast, reg.state<int>(WindowId::About));
        QVERIFY_THROWS_EXCEPTION(std::bad_any_cast, reg.state<QByteArray>(WindowId::About));
        QCOMPARE(reg.state<QString>(WindowId::About), QStringLiteral("model"));
        // The state stays in place while other slots come and go.
        QString *kept = &reg.state<QString>(WindowId::About);
        for (WindowId id : {WindowId::Main, WindowId::Tavrin, WindowId::Cod2Efx, WindowId::MapGsc, WindowId::Arena,
                            WindowId::ArenaCOD, WindowId::Options, WindowId::MenuOptions})
            reg.state<int>(id) = int(id);
        QCOMPARE(&reg.state<QString>(WindowId::About), kept);
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

    // The text plus one CR LF; a write that cannot start says why.
    void writeAnsiText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("old.arena");
        QVERIFY(tavrin::writeAnsiText(path, "{\r\n}").ok);
        QCOMPARE(test::fileBytes(path), QByteArray("{\r\n}\r\n"));
        const WriteResult missing = tavrin::writeAnsiText(dir.filePath("no/such/folder/x.gsc"), "x");
        QVERIFY(!missing.ok && !missing.error.isEmpty());
    }

    // A write that runs out of room, however much of it fits, leaves the old
    // file byte for byte and no stray file beside it, and gives the system's
    // reason; one that fits to the last byte is written whole.
    void writeWithoutRoom_data()
    {
        QTest::addColumn<test::NoRoomCase>("limit");
        QTest::addColumn<bool>("fits");
        for (const test::NoRoomCase &c : test::noRoomCases())
            QTest::newRow(c.name) << c << false;
        QTest::newRow("disk with 12 KiB free, 12 KiB save")
            << test::NoRoomCase{"", test::NoRoom::FullDisk, 12288, 12288} << true;
        QTest::newRow("size limit 12 KiB, 12 KiB save")
            << test::NoRoomCase{"", test::NoRoom::SizeLimit, 12288, 12288} << true;
    }
    void writeWithoutRoom()
    {
        QFETCH(test::NoRoomCase, limit);
        QFETCH(bool, fits);
        QTemporaryDir dir;
        const QString path = dir.filePath("old.rtf");
        const QByteArray old(5000, 'o'), bytes(limit.size, 'n');
        const auto report = test::inChildWithoutRoom(
            limit, dir.path(), [&] { test::writeBytes(path, old); },
            [&] {
                const WriteResult result = writeFileAtomically(path, bytes);
                const QByteArray now = test::fileBytes(path);
                return QStringList{result.ok ? "written" : result.error,
                                   now == old     ? "old"
                                   : now == bytes ? "new"
                                                  : "cut to " + QString::number(now.size()),
                                   test::entriesBesideFiller(dir.path()).join(' ')};
            });
        if (!report)
            QSKIP("no right to mount a file system here");
        QCOMPARE(*report,
                 (QStringList{fits ? "written" : test::noRoomReason(limit.how), fits ? "new" : "old", "old.rtf"}));
    }

    // Only regular files are replaced: anything else is refused, and stays
    // as it was. A symbolic link stays a link; its target takes the text.
    void specialTargets_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason"); // empty: saved
        QTest::newRow("folder") << "folder"
                                << "It is a folder, not a file.";
        QTest::newRow("named pipe") << "pipe"
                                    << "It is a named pipe, not a file.";
        QTest::newRow("socket") << "socket"
                                << "It is a socket, not a file.";
        QTest::newRow("device") << "device"
                                << "It is a device, not a file.";
        QTest::newRow("under a file") << "under a file" << QString::fromLocal8Bit(std::strerror(ENOTDIR));
        QTest::newRow("symbolic link") << "link" << QString();
    }
    void specialTargets()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString target = dir.filePath(kind == "under a file" ? "target/x" : "target");
        const QByteArray name = QFile::encodeName(dir.filePath("target"));
        QVERIFY(test::writeBytes(dir.filePath("real"), "old"));
        if (kind == "folder") {
            QVERIFY(QDir(dir.path()).mkdir("target"));
        } else if (kind == "pipe") {
            QCOMPARE(::mkfifo(name.constData(), 0644), 0);
        } else if (kind == "socket") {
            const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            QVERIFY(size_t(name.size()) < sizeof address.sun_path);
            std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
            QCOMPARE(::bind(s, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
            ::close(s);
        } else if (kind == "device") {
            // A node like /dev/null's, made here, so nothing of the system is at stake.
            if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
                QSKIP("no right to make a device node here");
        } else if (kind == "under a file") {
            QVERIFY(test::writeBytes(dir.filePath("target"), "file"));
        } else {
            QVERIFY(QFile::link(dir.filePath("real"), dir.filePath("target")));
        }
        const auto type = [&name] {
            struct stat st {};
            ::lstat(name.constData(), &st);
            return st.st_mode & S_IFMT;
        };
        const auto typeBefore = type();
        const WriteResult result = writeFileAtomically(target, "new");
        QCOMPARE(result.ok ? QString() : result.error, reason);
        QCOMPARE(type(), typeBefore);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                 QStringList({"real", "target"}));
        QCOMPARE(test::fileBytes(dir.filePath("real")), reason.isEmpty() ? "new" : "old");
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
                const bool same =
                    before.contains('e')
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
        QTest::newRow("all files") << "All Files (*.*)|*.*"
                                   << "All Files (*.*)" << QStringList{"harbor", "mymap", "notes.rtf", "x.gsc"};
        QTest::newRow("description only") << "GSC Files (*.gsc)"
                                          << "GSC Files (*.gsc)" << QStringList{"x.gsc"};
        QTest::newRow("two patterns") << "Text|*.txt;*.rtf"
                                      << "Text (*.txt *.rtf)" << QStringList{"notes.rtf"};
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

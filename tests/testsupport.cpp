#include "testsupport.h"

#include "settingsstore.h"
#include "twips.h"

#include <QApplication>
#include <QComboBox>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavrin::test {

ScriptedMessages::ScriptedMessages()
{
    setMessageBackend([this](const MessageRequest &request) {
        shown.append(request);
        if (answers.empty())
            return QMessageBox::Ok;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    });
}
ScriptedMessages::~ScriptedMessages()
{
    setMessageBackend({});
}

ScriptedDialogs::ScriptedDialogs()
{
    CommonDialog::setBackend([this](const DialogRequest &request, QPrinter *printer) {
        shown.append(request);
        if (printer && !printerOutput.isEmpty()) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printerOutput);
        }
        if (printer && choose)
            choose(printer);
        if (answers.empty())
            return DialogAnswer{};
        const DialogAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    });
}
ScriptedDialogs::~ScriptedDialogs()
{
    CommonDialog::setBackend({});
}

ScriptedFormatDialogs::ScriptedFormatDialogs()
{
    setFormatDialogBackend([this](const FormatDialogRequest &request) {
        shown.append(request);
        if (answers.empty())
            return FormatDialogAnswer{};
        const FormatDialogAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    });
}
ScriptedFormatDialogs::~ScriptedFormatDialogs()
{
    setFormatDialogBackend({});
}

TemporarySettings::TemporarySettings()
    : m_oldDataHome(qgetenv("XDG_DATA_HOME"))
    , m_hadDataHome(qEnvironmentVariableIsSet("XDG_DATA_HOME"))
{
    setSettingsFolder(m_dir.path());
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataFolder()));
}

TemporarySettings::~TemporarySettings()
{
    setSettingsFolder(QString());
    if (m_hadDataHome)
        qputenv("XDG_DATA_HOME", m_oldDataHome);
    else
        qunsetenv("XDG_DATA_HOME");
}

QString TemporarySettings::stored(const char *key) const
{
    return QSettings(file(), QSettings::IniFormat).value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
}

void TemporarySettings::store(const char *key, const QString &value)
{
    SaveSetting(QStringLiteral("Tavrin"), QStringLiteral("Settings"), QLatin1String(key), value);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString describe(const DialogRequest &request)
{
    static const char *const kinds[] = {"Open", "Save", "Printer", "PageSetup"};
    return QStringList{QLatin1String(kinds[request.kind]), request.title, request.filter,
                       QString::number(request.flags), request.fileName}
        .join(QLatin1Char('|'));
}

QStringList labelTexts(const QWidget *window)
{
    QStringList out;
    for (const QLabel *label : window->findChildren<QLabel *>())
        out << label->objectName() + QLatin1Char('=') + label->text();
    return out;
}

QStringList menuEntries(const QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (!a->objectName().isEmpty())
            out << a->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('|') + a->shortcut().toString();
    }
    return out;
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

void pick(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(combo->findText(text));
}

void typeInto(QComboBox *combo, const QString &keys)
{
    QWidget *window = combo->window();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    combo->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(combo->hasFocus());
    QWidget *focused = QApplication::focusWidget();
    QTest::keyClicks(focused, keys);
    QTest::keyClick(focused, Qt::Key_Return);
    QTest::keyClick(focused, Qt::Key_Tab);
}

FileDialogListing readFileDialog(const QString &folder, const std::function<void()> &open)
{
    QTemporaryDir qtSettings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, qtSettings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, qtSettings.path());
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);

    FileDialogListing listing;
    QStringList before;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        before = listing.names;
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            if (QDir(dialog->directory()) != QDir(folder))
                dialog->setDirectory(folder);
            const auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
            listing.names.clear();
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                listing.names << view->model()->index(row, 0, view->rootIndex()).data().toString();
            listing.names.sort();
            listing.caption = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))->currentText();
        }
        if (modal && ((!listing.names.isEmpty() && listing.names == before) || clock.elapsed() > 5000))
            modal->close();
    });
    poll.start(25);
    open();
    return listing;
}

int pxX(double twips)
{
    return twipsToPixels(twips, QGuiApplication::primaryScreen()->logicalDotsPerInchX());
}
int pxY(double twips)
{
    return twipsToPixels(twips, QGuiApplication::primaryScreen()->logicalDotsPerInchY());
}

void switchAwayAndBack(QWidget *window, QWidget *other)
{
    other->show();
    other->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(other));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

QList<NoRoomCase> noRoomCases()
{
    return {{"full disk", NoRoom::FullDisk, 0, 2000},
            {"disk with 8 KiB free, 12 KiB save", NoRoom::FullDisk, 8192, 12288},
            {"size limit 0", NoRoom::SizeLimit, 0, 2000},
            {"size limit 8 KiB, 12 KiB save", NoRoom::SizeLimit, 8192, 12288}};
}

QString noRoomReason(NoRoom how)
{
    return QString::fromLocal8Bit(std::strerror(how == NoRoom::FullDisk ? ENOSPC : EFBIG));
}

QStringList entriesBesideFiller(const QString &folder)
{
    QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    entries.removeOne(QStringLiteral(".filler"));
    return entries;
}

namespace {
constexpr int CannotMount = 77; // the child's exit code when it may not mount

bool writeProcFile(const char *path, const QByteArray &text)
{
    const int fd = ::open(path, O_WRONLY);
    const bool ok = fd >= 0 && ::write(fd, text.constData(), size_t(text.size())) == text.size();
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// In the child: a mount namespace of its own (through a user namespace when
// the user may not mount), with a small tmpfs on folder.
bool mountOwnTmpfs(const QByteArray &folder)
{
    if (::unshare(CLONE_NEWNS) != 0) {
        const QByteArray uid = QByteArray::number(::getuid()), gid = QByteArray::number(::getgid());
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !writeProcFile("/proc/self/setgroups", "deny")
            || !writeProcFile("/proc/self/uid_map", uid + ' ' + uid + " 1")
            || !writeProcFile("/proc/self/gid_map", gid + ' ' + gid + " 1"))
            return false;
    }
    // Private, so the mount is seen by no other process.
    return ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
           && ::mount("tmpfs", folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k") == 0;
}

// Fills the file system of folder until exactly room bytes are free.
bool fillLeaving(const QByteArray &folder, qint64 room)
{
    const int fd = ::open((folder + "/.filler").constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    static const char block[4096] = {};
    qint64 size = 0;
    for (ssize_t n; (n = ::write(fd, block, sizeof block)) > 0;)
        size += n;
    const bool full = errno == ENOSPC && size >= room && ::ftruncate(fd, size - room) == 0;
    ::close(fd);
    struct statvfs fs;
    return full && ::statvfs(folder.constData(), &fs) == 0 && qint64(fs.f_bavail) * qint64(fs.f_frsize) == room;
}

[[noreturn]] void reportAndExit(int fd, const QStringList &lines)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream << lines;
    for (qsizetype done = 0; done < out.size();) {
        const ssize_t n = ::write(fd, out.constData() + done, size_t(out.size() - done));
        if (n <= 0)
            ::_exit(1);
        done += n;
    }
    ::_exit(0); // no exit handlers: the parent's objects are the parent's to end
}
} // namespace

std::optional<QStringList> inChildWithoutRoom(const NoRoomCase &limit, const QString &folder,
                                              const std::function<void()> &prepare,
                                              const std::function<QStringList()> &save)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringList{QStringLiteral("no pipe")};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const QByteArray where = QFile::encodeName(folder);
        if (limit.how == NoRoom::FullDisk && !mountOwnTmpfs(where))
            ::_exit(CannotMount);
        prepare();
        if (limit.how == NoRoom::SizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
            const struct rlimit size = {rlim_t(limit.room), rlim_t(limit.room)};
            if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
                reportAndExit(channel[1], {QStringLiteral("no file-size limit")});
        } else if (!fillLeaving(where, limit.room)) {
            reportAndExit(channel[1], {QStringLiteral("the disk could not be filled")});
        }
        reportAndExit(channel[1], save());
    }
    ::close(channel[1]);
    if (child < 0) {
        ::close(channel[0]);
        return QStringList{QStringLiteral("no child process")};
    }
    QByteArray in;
    QElapsedTimer clock;
    clock.start();
    bool hung = false;
    for (;;) {
        struct pollfd ready = {channel[0], POLLIN, 0};
        const qint64 left = 30000 - clock.elapsed();
        const int polled = left > 0 ? ::poll(&ready, 1, int(left)) : 0;
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled == 0) {
            hung = true;
            ::kill(child, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        in.append(buffer, n);
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    if (WIFEXITED(status) && WEXITSTATUS(status) == CannotMount)
        return std::nullopt;
    if (hung || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringList{QStringLiteral("the child process %1 (status %2)")
                               .arg(hung ? QStringLiteral("hung") : QStringLiteral("failed"))
                               .arg(status)};
    QStringList lines;
    QDataStream stream(in);
    stream >> lines;
    return lines;
}

int runEventLoop(int timeoutMs)
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(timeoutMs);
    return QCoreApplication::exec();
}

} // namespace tavrin::test

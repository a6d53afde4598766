#include "textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cmath>
#include <cstring>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavrin {

QString joinLines(const QStringList &lines)
{
    return lines.join(CRLF);
}

namespace {
// Windows-1252 in the range 0x80-0x9F; 0 marks the five unassigned bytes.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

QByteArray toWindows1252(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.append(char(c));
            continue;
        }
        char byte = '?';
        for (int k = 0; k < 32; ++k) {
            if (cp1252High[k] && cp1252High[k] == c) {
                byte = char(0x80 + k);
                break;
            }
        }
        // A surrogate pair is one character, so it becomes one '?'.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        out.append(byte);
    }
    return out;
}
} // namespace

QByteArray toAnsi(const QString &text)
{
#ifdef Q_OS_WIN
    if (text.isEmpty())
        return {};
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, int(text.size()), nullptr, 0, "?", nullptr);
    QByteArray out(size, Qt::Uninitialized);
    WideCharToMultiByte(CP_ACP, 0, wide, int(text.size()), out.data(), size, "?", nullptr);
    return out;
#else
    return toWindows1252(text);
#endif
}

namespace {
#ifdef Q_OS_UNIX
QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
#endif

// Why the path must not be written: empty when it names a regular file
// (directly or through symbolic links) or nothing yet. Saving replaces the
// file by renaming a new one over it, which would put a plain file in the
// place of a device, a pipe or a socket, so those are refused up front.
QString refusalFor(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT ? QString() : systemReason(errno);
    if (S_ISREG(st.st_mode))
        return {};
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("It is a folder, not a file.");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("It is a device, not a file.");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("It is a named pipe, not a file.");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("It is a socket, not a file.");
    return QStringLiteral("It is not a regular file.");
#else
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return {};
    return info.isDir() ? QStringLiteral("It is a folder, not a file.") : QStringLiteral("It is not a regular file.");
#endif
}

// The reason the last operation on the file failed, never empty.
QString failure(const QSaveFile &file)
{
    return file.error() == QFileDevice::NoError || file.errorString().isEmpty()
               ? QStringLiteral("The file could not be written in full.")
               : file.errorString();
}
} // namespace

WriteResult writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return {false, QStringLiteral("No file name was given.")};
    if (const QString refusal = refusalFor(path); !refusal.isEmpty())
        return {false, refusal};
    // QSaveFile writes a new file beside the old one and renames it over the
    // old one only at commit, so until then the old file is untouched. It
    // follows symbolic links, so a link keeps pointing at its target.
    QSaveFile file(path);
    // Unbuffered, so every write reaches the system at once and a full disk
    // or a size limit shows in the write's own result, with the system's
    // reason; a buffered write would only fail in the flush at commit, which
    // QSaveFile does not report.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    const auto fail = [&file](const QString &reason) {
        file.cancelWriting();
        return WriteResult{false, reason};
    };
    // The system may take part of a write; the rest is written again, and
    // the write that cannot go on gives the reason.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return fail(failure(file));
        done += written;
    }
#ifdef Q_OS_UNIX
    // On disk before the rename, so a power cut leaves the old file or the
    // whole new one, never an empty one. QSaveFile syncs too, but ignores
    // a failure, which on some file systems is where a full disk shows. A
    // file system that cannot sync at all (EINVAL) has nothing to wait for.
    if (::fsync(file.handle()) != 0 && errno != EINVAL)
        return fail(systemReason(errno));
#endif
    if (file.size() != bytes.size())
        return fail(QStringLiteral("The file could not be written in full."));
    if (!file.commit())
        return {false, failure(file)};
    return {true, {}};
}

WriteResult writeAnsiText(const QString &path, const QString &text)
{
    return writeFileAtomically(path, toAnsi(text + CRLF));
}

QString formatSingle(float value)
{
    if (value == 0.0f)
        return QStringLiteral("0"); // also for -0
    const double v = value;         // exact: every float is a double
    if (!std::isfinite(v))
        return QString::number(v);
    // A whole number is written with all its digits: from 2^24 on, every
    // float is whole, and its digits are those of the value it holds.
    if (std::trunc(v) == v)
        return QString::number(v, 'f', 0);
    // Otherwise seven significant digits, which is what a float holds, placed
    // around the decimal point with no exponent and no trailing zeros.
    const QString scientific = QString::number(std::fabs(v), 'e', 6); // "d.dddddde+XX"
    const qsizetype e = scientific.indexOf(QLatin1Char('e'));
    const int exponent = QStringView(scientific).mid(e + 1).toInt();
    const QString digits = scientific.left(1) + scientific.mid(2, e - 2);
    QString text;
    if (exponent < 0) {
        text = QLatin1String("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else {
        const QString padded = digits.leftJustified(exponent + 1, QLatin1Char('0'));
        text = padded.left(exponent + 1) + QLatin1Char('.') + padded.mid(exponent + 1);
    }
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return v < 0 ? QLatin1Char('-') + text : text;
}

} // namespace tavrin

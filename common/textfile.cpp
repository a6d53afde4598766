#include "textfile.h"

#include <QSaveFile>

#include <cmath>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace tavrin {

QString joinLines(const QStringList &lines)
{
    return lines.join(CRLF);
}

namespace {
// Windows-1252 in the range 0x80-0x9F; 0 marks the five unassigned bytes.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
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

WriteResult writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return {false, QStringLiteral("No file name was given.")};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, file.errorString()};
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
    // Seven significant digits is what a float holds; 'g' drops trailing zeros.
    return QString::number(double(value), 'g', 7);
}

} // namespace tavrin

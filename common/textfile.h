#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tavrin {

// The line end of every text the program composes or writes.
inline constexpr QLatin1StringView CRLF{"\r\n"};

// Lines joined by CR LF, with no line end after the last.
QString joinLines(const QStringList &lines);

// The text in the system's ANSI code page: the Windows code page there, and
// Windows-1252 elsewhere. A character the code page lacks becomes '?'.
QByteArray toAnsi(const QString &text);

// Outcome of a write; error names the reason when ok is false.
struct WriteResult {
    bool ok = false;
    QString error;
};

// Writes the text followed by one CR LF, as ANSI text, as writeFileAtomically does.
WriteResult writeAnsiText(const QString &path, const QString &text);
// Writes bytes as they are, atomically: every byte is written to a new file
// beside the old one and on disk before that file takes the old one's name,
// so a failed write (a full disk, a size limit) leaves any earlier file of
// that name as it was, byte for byte, and error gives the system's reason.
// Only a regular file is replaced: a folder, device, named pipe or socket of
// that name is refused and left alone. A symbolic link stays as it is and
// its target takes the bytes.
WriteResult writeFileAtomically(const QString &path, const QByteArray &bytes);

// A single-precision number as plain decimal text, never with an exponent and
// always with '.' as the decimal point: a whole number with all its digits
// ("0", "-16", "123456792"), any other with at most seven significant digits
// and no trailing zeros ("2.5", "0.3333333", "0.00009").
QString formatSingle(float value);

} // namespace tavrin

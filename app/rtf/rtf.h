#pragma once

// Our own reader and writer of the rich text format (RTF), the file format of
// the document windows. Qt reads and writes HTML and Markdown but not RTF.
//
// Reading fills a QTextDocument: text, character formats (bold, italic,
// underline, strikeout, font family, size, text and background colour,
// hyperlinks), paragraph formats (alignment, indents, spacing), PNG and JPEG
// pictures (as image resources of the document) and tables (QTextTable;
// nested tables are flattened into the outer cell). Everything else in a file,
// such as headers, footers, style sheets, lists' numbering and other pictures,
// is skipped. The reader is a single pass with an explicit group stack: any
// input, however broken, is read in linear time and bounded memory, and
// yields the text it could read.
//
// Writing produces pure ASCII RTF 1.x with Windows-1252 as its code page and
// every other character as \uN, readable by Word, WordPad and LibreOffice.
// What we write, we read back with the same text and formats.
//
// Neither side needs a QGuiApplication, except that writing an image held as
// a QPixmap resource needs one to convert it.

#include <QByteArray>
#include <QString>

#include <functional>

class QTextCursor;
class QTextDocument;

namespace tavrin::rtf {

// True when the data, after any leading white space (and a UTF-8 byte order
// mark), opens with "{\rtf": the test Paste uses to tell RTF markup from
// plain text.
bool isRtf(const QByteArray &data);

// Outcome of a read. When ok is false, error is a sentence fit to show the
// user and the document was not touched, unless the read was cancelled: then
// cancelled is true, error is empty and the document holds part of the data.
struct ReadResult {
    bool ok = false;
    QString error;
    bool cancelled = false;
};

// Told how many of the total bytes a read has gone through, every 32 KiB or
// so; returning false stops the read. A caller uses it to show progress and
// to keep its windows answering while a large file is read.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Replaces the document's content with the RTF in data. The data must hold
// an RTF group "{\rtf"; up to 1 KiB of junk before it and anything after its
// closing brace are ignored. A file cut short yields what was read (ok).
// Data that is not RTF gives ok = false and leaves the document as it was.
// Safe on any bytes, so a fuzz target can call it directly:
//     QTextDocument doc; tavrin::rtf::read(QByteArray::fromRawData(p, n), doc);
ReadResult read(const QByteArray &data, QTextDocument &doc, const Progress &progress = {});

// Inserts the RTF in data at the cursor, replacing its selection (Paste).
// The cursor ends up after the inserted content. The whole insertion is one
// undo step. Not RTF: ok = false and nothing is changed.
ReadResult insert(const QByteArray &data, QTextCursor &cursor);

// The whole document as RTF.
QByteArray write(const QTextDocument &doc);

// The cursor's selection alone as RTF (Copy); images are taken from the
// cursor's document. An empty selection gives an RTF file with no text.
QByteArray write(const QTextCursor &selection);

} // namespace tavrin::rtf

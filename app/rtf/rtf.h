#pragma once

// Our own reader and writer of the rich text format (RTF), the file format of
// the document windows. Qt reads and writes HTML and Markdown but not RTF.
//
// Reading fills a QTextDocument: text, character formats (bold, italic,
// underline, strikeout, font family, size, text and background colour,
// hyperlinks), paragraph formats (alignment, indents, spacing, line
// spacing, tab stops), lists (QTextList, from the list tables and from the
// older \pn numbering; see rtflists.h), PNG and JPEG pictures (as image
// resources of the document) and tables (QTextTable, with their column
// widths, merged cells, cell shading and borders, and tables nested one deep
// in their cells; deeper ones go into the nested table's cells). A picture Qt cannot draw (WMF, EMF, PICT,
// device-dependent bitmaps, data that does not decode) stands as a
// placeholder of its size that says what it is, and its group is written back
// as it stood; the page's paper, orientation and margins are kept with the
// document and written back. Headers and footers are read as text where they stand, footnotes and
// comments in brackets where they are referred to; everything else in a
// file, such as style sheets, is skipped. Qt 6.4's lists have no
// start number: a list is shown numbered from 1 whatever its start, which is
// kept and written back; so are tab leaders and bar tabs, which Qt does not
// draw. A list of more than 1,000 items goes on in a new list, numbered on in
// the file (Qt adds an item in time that grows with its list). The reader is
// a single pass with an explicit group stack: any
// input, however broken, is read in linear time and bounded memory, and
// yields the text it could read.
//
// What it reads, Qt can lay out, in any window: Qt's layout never ends on a
// line more than 2^25 pixels down a document or a table cell, and lays out a
// table or a paragraph in one piece. So a table has at most 63 columns (as in
// Word; further cells go into the last, a paragraph each) and at most 16,000
// cells and paragraphs in all, and its content at most 2^22 pixels tall
// should every character take a line of its own at its own size: at most
// 16,000 paragraphs in a cell, and about 200,000 characters at 12 points
// (1,440 at 1638 points, the largest size taken). A table half full goes on
// in a new table from its next row; the rest of a cell that fills it goes on
// after it as ordinary paragraphs, and the row's next cell starts the next
// table. A paragraph goes on in a new one after 100,000 characters, or after
// 10,000 without a space (Qt breaks such a run in time that grows with the
// square of its length). Indents and spacing are taken up to 22 inches, line
// spacing up to five lines, pictures shown up to 22 inches on either side. None of the text is dropped
// by these limits. A document of more than 500,000 paragraphs and cells, one
// over 2^24 pixels tall laid out 480 pixels wide, or one whose pictures would
// take more than 512 MiB decoded, is refused (ok = false, with the reason).
//
// Writing produces pure ASCII RTF 1.x with Windows-1252 as its code page and
// every other character as \uN, readable by Word, WordPad and LibreOffice.
// What we write, we read back with the same text and formats.
//
// Neither side needs a QGuiApplication, except that writing an image held as
// a QPixmap resource needs one to convert it.

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <functional>
#include <optional>

class QTextCursor;
class QTextDocument;

namespace tavrin::rtf {

// True when the data, after any leading white space (and a UTF-8 byte order
// mark), opens with "{\rtf": the test Paste uses to tell RTF markup from
// plain text.
bool isRtf(const QByteArray &data);

// Outcome of a read. When ok is false, error is a sentence fit to show the
// user; data that is not RTF leaves the document untouched, and a document
// too large to show leaves it empty (read) or as it was (insert). A read
// cancelled has cancelled true, error empty and the document holding part of
// the data.
struct ReadResult {
    bool ok = false;
    QString error;
    bool cancelled = false;
    // Some paragraph or table went on in a new one to stay within what Qt
    // lays out in good time (see the README's limits). Read again, such a
    // document may break in other places; its text is the same.
    bool continued = false;
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

// The paper, orientation and margins the document's file gave, or that were
// set on it since; nothing when it has none of its own (a new document, a
// file without page settings). Setting them marks nothing changed by itself.
std::optional<QPageLayout> pageLayout(const QTextDocument &doc);
void setPageLayout(QTextDocument &doc, const QPageLayout &layout);

} // namespace tavrin::rtf

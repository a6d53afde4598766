// What the reader keeps while it reads: the limits it reads within, the
// state of each group, and the measures of what it has put into the document.
#pragma once

#include "rtfformat.h"
#include "rtflists.h"
#include "rtfpictures.h"
#include "rtftables.h"

#include <QByteArray>
#include <QString>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <optional>

namespace tavrin::rtf::reading {

// Limits that keep hostile input in bounded time and memory.
constexpr int MaxDepth = 1000;          // groups kept on the stack; deeper ones share the top state
constexpr int MaxWordLength = 32;       // letters of a control word that count; the rest are read and dropped
constexpr int MaxParam = 1'000'000'000; // numbers saturate here
constexpr int MaxTwips = 31680;         // 22 inches, the widest indent or spacing we take
constexpr int MaxUnicodeSkip = 16;      // \ucN beyond this is taken as 16
constexpr qsizetype MaxJunk = 1024;     // bytes before "{\rtf" that are ignored
constexpr size_t MaxFonts = 65536;      // font table entries kept
constexpr size_t MaxColors = 65536;     // colour table entries kept
// Columns of a table, as in Word. A row with more cells puts the rest into its
// last cell, a paragraph each: a table's cell grid is its rows times its
// widest row, so one long row under many short ones would otherwise cost
// memory and time far beyond the size of the file.
constexpr int MaxColumns = 63;
constexpr qsizetype ReportEvery = 32 * 1024; // bytes between two calls of a read's progress
constexpr int MaxListItems = 1000;           // items of one list; more go on in a new list (see setParagraphFormat)
constexpr qsizetype MaxFallback = 64;        // characters of a list item's marker text and a level's text kept

// Limits on what the document holds once laid out. Qt lays text out in
// fixed-point numbers (26.6 bits), so nothing can lie more than 2^25 pixels
// (about 33.5 million) below the top of the document, or of a table cell:
// a line past that point is never placed, and the layout never ends. Qt also
// lays out a table, and a paragraph, in one piece, while the window waits.
constexpr qint64 QtLayoutLimit = qint64(1) << 25;
// A paragraph longer than this goes on in a new paragraph with the same
// formats (at a character's end, so no character is cut in two), and so does
// one with this many characters since its last space or tab: Qt breaks such
// a run into lines in time that grows with the square of its length (100,000
// characters take it 0.35 s, 10,000 3 ms).
constexpr qint64 MaxParagraphChars = 100'000;
constexpr qint64 MaxUnbrokenChars = 10'000;
// A table, and so each of its cells, is bounded twice:
// - by its weight: its cell grid (rows times columns, spare columns
//   included) plus one for each cell with something in it and each further
//   paragraph in a cell, at most MaxTableWeight. Qt lays a table out as a
//   whole, several times over when it is first shown: 16,000 cells take it
//   about a second;
// - by its height should every character take a line of its own (as in a
//   column one character wide) at its own font size, and every paragraph
//   its spacing: at most 2^22 pixels, an eighth of Qt's limit, whatever the
//   font sizes and the window's width.
// A table that has reached half of either goes on in a new table from its
// next row (so does a row that widens the grid that far). The row that fills
// it is cut where it does: the rest of the cell being read goes on after the
// table as ordinary paragraphs, and the row's next cell starts the next
// table, in its own column (cells folded into the last column stay
// paragraphs after the table, to the end of the row). Nothing is dropped:
// the text keeps its order, outside the grid. So a cell holds at most 16,000
// paragraphs, and as many characters as fit in 2^22 pixels at one a line:
// about 200,000 at 12 points, 1,440 at 1638 points, the largest size we take.
// The table we write of what we read, every row as wide as the widest, never
// weighs more in any row than what we read, so it reads back cut in the same
// places.
constexpr int MaxTableWeight = 16'000;
constexpr qint64 MaxTableHeight = QtLayoutLimit / 8;
// The document as a whole: its blocks (paragraphs and table cells), and its
// height estimated at ReferenceWidth pixels wide, a narrow window (see
// Extent); beyond either the document is refused, with nothing shown of it.
constexpr int MaxParagraphs = 500'000;
constexpr qint64 MaxDocumentHeight = QtLayoutLimit / 2;
constexpr int ReferenceWidth = 480;
constexpr int RowPixels = 8; // a table row's borders, spacing and padding
// Pictures: each is shown at most 22 inches (2112 pixels) on either side, as
// in Word, and all of a document's together may take 512 MiB once decoded.
constexpr int MaxPictureSide = MaxTwips / TwipsPerPixel;
constexpr qint64 MaxPictureBytes = qint64(512) << 20;

inline const QString NotRtfError = QStringLiteral("The file is not in rich text format.");
inline const QString TooManyParagraphsError =
    QStringLiteral("The document is too large to show: it has more than 500,000 paragraphs and table cells.");
inline const QString TooLongError =
    QStringLiteral("The document is too long to show: laid out, it would be more than 16 million pixels tall.");
inline const QString TooManyPicturesError =
    QStringLiteral("The document's pictures are too large to show: together they would take more than 512 MiB.");

// The em and the line of a font size in half-points, in pixels at 96 DPI.
// A line is taken as 1.5 em, more than common fonts need (DejaVu Sans 1.16,
// Noto Sans CJK 1.45).
inline int emPixels(int halfPoints)
{
    return std::max(1, (halfPoints * 2 + 2) / 3);
}
inline int linePixels(int halfPoints)
{
    return std::max(1, emPixels(halfPoints) * 4 / 3);
}
inline int twipsToPixels(int twips)
{
    return (twips + TwipsPerPixel - 1) / TwipsPerPixel;
}

// ListTable holds the list override table too; ListText is an item's
// fallback marker (\listtext, \pntext), kept until its paragraph ends.
enum class Dest : quint8 {
    Text,
    FontTable,
    ColorTable,
    Picture,
    FieldInst,
    ListTable,
    LevelText,
    LevelNumbers,
    Pn,
    PnText,
    ListText
};

struct CharProps {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    qint8 vertical = 0; // 1 superscript, -1 subscript
    int font = -1;      // font number; -1 is the default font
    int halfPoints = 24;
    int fg = 0; // colour table indexes; 0 is automatic
    int bg = 0;
    int link = -1; // index into the reader's link targets
    bool operator==(const CharProps &) const = default;
};

struct ParaProps {
    Qt::Alignment align = Qt::AlignLeft;
    int left = 0, right = 0, first = 0, before = 0, after = 0; // twips
    bool inTable = false;
    bool hasLeft = false, hasFirst = false; // \li and \fi given: a list level's do not apply
    int ls = 0, ilvl = 0;                   // the list override and level of a list item
    Pn pn;                                  // or its older numbering
    int lineTwips = 0;                      // \sl
    bool lineMultiple = false;              // \slmult1
    QList<Tab> tabs;
    QTextOption::TabType tabType = QTextOption::LeftTab; // of the next \tx
    int tabLeader = NoLeader;
    bool nested = false; // in a table nested in a cell (\itap2 and deeper)
};

// A side of a cell's border as its words say.
struct Border {
    bool set = false;  // \clbrdrX seen
    bool line = false; // with a line (\brdrs and the like)
    int width = 15;    // \brdrw, twips
    int color = 0;     // \brdrcf, colour table index
};

// The definition of a row's next cell, being read.
struct PendingCell {
    CellDef def;
    int background = 0, pattern = 0, shading = 0; // \clcbpat, \clcfpat, \clshdng
    std::array<Border, 4> borders;                // top, left, bottom, right
    int side = -1;                                // the side the \brdr words are of
};

enum class GroupKind : quint8 { Plain, Upr, FontEntry, Note, List, ListLevel, ListOverride, LfoLevel };

struct State {
    CharProps chr;
    ParaProps para;
    Dest dest = Dest::Text;
    GroupKind kind = GroupKind::Plain;
    bool star = false;      // "\*" seen: an unknown destination word skips the group
    bool firstWord = true;  // no control word, text or subgroup yet in this group
    bool nestedRow = false; // in a nested table's row properties
    int uc = 1;             // characters after \uN to skip
    int field = -1;         // index of the field this group belongs to
    int childGroups = 0;
};

struct Font {
    QString family;
    int charset = -1; // -1: none given
    int codePage = 0; // from \cpg; 0: none given
};

struct Picture {
    std::optional<PictureFormat> format;
    const char *start = nullptr; // the group's opening brace
    QByteArray data;             // PNG and JPEG only: others are kept as they stand in the file
    int hexHigh = -1;
    int w = 0, h = 0, wGoal = 0, hGoal = 0, scaleX = 100, scaleY = 100;
};

// What a paragraph takes when laid out: its lines at a width are as many as
// its characters take at 0.6 em each (or one each, when one is wider than the
// line), and its line breaks.
struct Extent {
    qint64 chars = 0;    // characters (a byte of a code page counting as one) and pictures
    qint64 width = 0;    // their width, in fifths of a pixel
    qint64 breaks = 0;   // line breaks
    qint64 unbroken = 0; // characters since the last space or tab
    int line = 0;        // the tallest line, pixels
    // The line spacing in force at its first character, which it keeps.
    bool ruled = false;
    int lineTwips = 0;
    bool lineMultiple = false;
    qint64 lines(int available) const
    {
        const qint64 fifths = 5 * qint64(std::max(available, 1));
        return std::max<qint64>(1, std::min(chars, (width + fifths - 1) / fifths) + breaks);
    }
};

// A paragraph of the table being read.
struct CellParagraph {
    int row, column;
    int spacing, indent; // pixels
    Extent extent;
};

inline int clampInt(int v, int lo, int hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

// Characters that never reach the document (see Reader::flushRun): they
// take no room in it either.
inline bool isDropped(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC;
}
inline qsizetype controlBytes(const char *s, qsizetype n)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < n; ++i)
        count += isDropped(uchar(s[i])) ? 1 : 0;
    return count;
}

} // namespace tavrin::rtf::reading

#pragma once

// Lists and tab stops, for the reader and the writer: the list table a file
// defines (Word 97 and later, LibreOffice) and the older paragraph numbering
// of WordPad and Word 6, made into QTextListFormats; and on the way out, the
// list tables and each item's fallback text, and a paragraph's tab stops and
// line spacing.

#include "rtfformat.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTextListFormat>

#include <functional>
#include <unordered_map>
#include <vector>

class QTextBlock;
class QTextBlockFormat;
class QTextList;

namespace tavrin::rtf {

// Our properties (see rtfformat.h).
enum ListProperty : int {
    // int on a QTextListFormat: the number of the list's first item as the
    // file gives it. Qt numbers every list from 1; the start is written back.
    ListStart = ListFirst,
};
enum ParagraphProperty : int {
    // QList<int> on a QTextBlockFormat, one for each of its tabPositions(): the
    // tab's leader (TabLeader), plus BarTab for a bar tab. Qt draws neither.
    ParagraphTabLeaders = ParagraphFirst,
    // int on a list item's QTextBlockFormat: its \fi in twips when negative
    // (the marker hangs before the text), which Qt has no place for.
    ParagraphItemFirstIndent = ParagraphFirst + 1,
};

enum TabLeader : int { NoLeader, DotLeader, HyphenLeader, UnderlineLeader, ThickLeader, EqualLeader, MiddleDotLeader };
constexpr int BarTab = 8;
constexpr int MaxTabs = 64;  // tab stops a paragraph keeps, as in Word
constexpr int MaxLevels = 9; // levels of a list
// Line spacing in multiples of a line is taken up to five lines (\sl1200\slmult1):
// beyond that, a page holds a line or two.
constexpr int MaxLineMultiple = 5 * 240;

// The numbering of the format's \levelnfc.
enum Numbering : int { Decimal = 0, UpperRoman = 1, LowerRoman = 2, UpperAlpha = 3, LowerAlpha = 4, Bullet = 23 };

// ---- reading --------------------------------------------------------------------

// One level of a list as the file defines it.
struct ListLevel {
    bool defined = false; // false: an override that leaves the level alone
    int numbering = Decimal;
    int start = 1;
    QString text;            // \leveltext: its own characters, the level numbers as \'00 to \'08
    QByteArray numbers;      // \levelnumbers: where those are in text, counted from 1
    QString font;            // the family of the level's \f (a bullet's font)
    int left = 0, first = 0; // twips
    bool hasLeft = false, hasFirst = false;
    int startOverride = -1; // \listoverridestartat with \levelstartat
};

// A tab stop of a paragraph.
struct Tab {
    int twips = 0;
    QTextOption::TabType type = QTextOption::LeftTab;
    int leader = NoLeader;
    bool bar = false;
    bool operator==(const Tab &) const = default;
};

// The older numbering (\pn): of a paragraph, or none.
struct Pn {
    enum Kind : quint8 { None, Bullets, Numbers } kind = None;
    quint8 level = 0; // 0 to 8
    int numbering = Decimal;
    int start = 1;
    int font = -1;         // \pnf
    int indent = 0;        // \pnindent, twips
    QString before, after; // \pntxtb, \pntxta
    bool operator==(const Pn &) const = default;
};

// The lists and overrides of a file's list tables.
class ListTable
{
public:
    void addList(int id, std::vector<ListLevel> levels);
    void addOverride(int ls, int listId, std::vector<ListLevel> levels);
    // The level that paragraphs with \lsN\ilvlM take, or none.
    const ListLevel *level(int ls, int ilvl) const;

private:
    std::unordered_map<int, std::vector<ListLevel>> m_lists; // by \listid
    struct Override {
        int listId;
        std::vector<ListLevel> levels;
        mutable std::vector<ListLevel> merged;
    };
    std::unordered_map<int, Override> m_overrides; // by \ls
};

// The list format of a level (at 0 to 8) of the file's list table, and of
// the older numbering; the level is the list's indent, less one.
QTextListFormat listFormat(const ListLevel &level, int at);
QTextListFormat listFormat(const Pn &pn, const QString &font);

// The paragraph's tab stops as Qt keeps them, leaders and bar tabs in our property.
void setTabs(QTextBlockFormat &format, const QList<Tab> &tabs);
// The paragraph's \sl and \slmult as its line height.
void setLineSpacing(QTextBlockFormat &format, int twips, bool multiple);
// How tall a line of text of the given height is under that rule.
int ruledLine(int pixels, int twips, bool multiple);

// ---- writing --------------------------------------------------------------------

// What the writer writes of a list item.
struct ListItem {
    int ls = 0, level = 0;
    QString font;     // of the fallback text; empty: the text's own
    QByteArray bytes; // the fallback as RTF (a bullet), or empty
    QString text;     // the fallback as text (a number)
};

// Gives the lists of a document, as the writer meets their items, numbers
// from 1 and writes their tables.
class ListWriter
{
public:
    bool isEmpty() const { return m_lists.empty(); }
    // The item, counted in the order items are met.
    ListItem item(const QTextBlock &block);
    // The list table and the list override table, fonts as indexes of the font table.
    QByteArray tables(const std::function<int(const QString &)> &fontIndex) const;

private:
    struct Entry {
        const QTextList *list;
        QTextListFormat format;
        int count = 0;
    };
    std::vector<Entry> m_lists;
    std::unordered_map<const QTextList *, size_t> m_index;
};

// The level a list is written at (0 to 8), and the width Qt indents its items by.
int listLevel(const QTextListFormat &format);
qreal listIndentPixels(const QTextListFormat &format, qreal indentWidth);
// The \fi of a list item whose text starts at its \li.
int itemFirstIndent(const QTextBlockFormat &format, int leftTwips);
// \sl, \slmult and the tab stops of a paragraph; nothing when it has none.
void writeSpacingAndTabs(QByteArray &out, const QTextBlockFormat &format);

} // namespace tavrin::rtf

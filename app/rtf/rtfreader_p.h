// The RTF reader: one pass over the bytes, with the group state on an explicit
// stack, straight into a QTextDocument through a cursor. Text is gathered in
// runs of equal character format and inserted a run at a time. Its work is
// shared by concern: rtfreader.cpp reads the tokens, groups, destinations and
// text; rtfreaderformat.cpp the character and paragraph formats, fonts,
// colours and lists; rtfreadertables.cpp the tables; rtfreaderpictures.cpp
// the pictures.
#pragma once

#include "rtf.h"
#include "rtfreaderstate.h"
#include "rtftext.h"
#include "rtfwords.h"
#include "rtfpage.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPointer>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <memory>
#include <cmath>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tavrin::rtf::reading {

class Reader
{
public:
    Reader(QTextCursor &cursor, bool replacing);

    // Calls progress as the read goes on (see rtf::Progress).
    void reportTo(const Progress &progress, const char *begin);
    bool cancelled() const { return m_cancelled; }

    void run(const char *p, const char *end);

    // The page settings the file gave, if any.
    std::optional<PageSettings> page() const { return m_hasPage ? std::optional(m_page) : std::nullopt; }

    // Why the document cannot be shown; empty when it can.
    const QString &error() const { return m_error; }
    // Whether a paragraph or a table went on in a new one (see ReadResult).
    bool continued() const { return m_continued; }
    // The names of the pictures added to the document as its resources.
    const std::vector<QString> &images() const { return m_images; }

private:
    // ---- tokens, groups, destinations and text (rtfreader.cpp) -------------------

    State &top() { return m_stack.back(); }
    // Tells the progress callback where the read is; false when it says stop.
    // Called when p reaches m_nextReport, which stays at m_end without a callback.
    bool report(const char *p);
    // Opens a group; true when the group is to be skipped whole.
    bool pushGroup();
    void popGroup();
    // Skips from p (inside a group) to just past its closing brace, then
    // closes the group. \bin data is stepped over by its length.
    const char *skipGroup(const char *p);
    const char *controlWord(const char *p);
    // A control word: its concern's handler acts on it.
    void handleWord(const WordEntry &entry, bool hasParam, int param);
    // The words of destinations, and of the document as a whole.
    void destinationWord(State &s, Word word, bool first);
    void documentWord(State &s, Word word, int param);
    // The target of a HYPERLINK field instruction: its address, or "#name"
    // for a \l bookmark; empty for other fields.
    static QString hyperlinkTarget(const QString &instruction);
    // Plain text bytes [s, e) in the current destination.
    void text(const char *s, const char *e);
    // One character in the current destination.
    void addChar(char16_t c);
    // Text in the current destination, whatever it is: the bytes [s, e) in
    // the code page of their font, or, when s is null, the character c.
    void deliver(const char *s, const char *e, char16_t c);
    // Into a sink: n bytes from s, or, when s is null, the character c.
    void addTo(TextSink &sink, int codePage, const char *s, qsizetype n, char16_t c);
    // Text of the document itself, at the cursor.
    void documentText(const State &st, const char *s, const char *e);
    void documentChar(const State &st, char16_t c);
    // The outermost group ends: the last paragraph takes its properties, and
    // the empty paragraph a final \par opened is dropped.
    void endDocument();
    void finish();

    // ---- output and the document's extent (rtfreader.cpp) ------------------------

    // Called before anything goes into the document: moves into, through or out
    // of a table as the paragraph properties say, and ends the pending run when
    // the character format changed.
    void prepareOutput() { prepareOutput(top()); }
    void prepareOutput(const State &s);
    void flushRun();
    void paragraph();
    // The format of the paragraph being read, in its table or the document.
    void setBlockFormat(const QTextBlockFormat &format);
    // True when the cursor is at the start of a block (an empty one if asked)
    // that may be merged into the block before it, in the same frame.
    bool blockMergeable(bool empty) const;
    // Joins the cursor's block to the one before it, the joined block taking
    // the given format (Qt keeps the second block's format when the first is empty).
    void mergeWithPrevious(const QTextBlockFormat &format);
    // Characters of a font went into the paragraph at the cursor.
    void grow(qint64 n, const CharProps &c);
    // A line of text of a font in the paragraph at the cursor, under its line spacing.
    int textLine(int halfPoints) const;
    // Characters of a font that still fit in the paragraph, and in the table.
    qint64 roomFor(const CharProps &c) const;
    // The paragraph, or the table, has no room for more text: the paragraph
    // goes on in a new one, or the cell after the table.
    void makeRoom();
    void openParagraph();
    // The paragraph at the cursor is complete: its extent goes to its table,
    // or to the document's height.
    void closeParagraph();
    void addHeight(qint64 pixels);
    void checkParagraphs();
    // The document is not shown: the read stops here.
    void refuse(const QString &error);

    // ---- character and paragraph formats, fonts, colours and lists (rtfreaderformat.cpp) ---

    // The words of character formats, and of the font and colour tables.
    void characterWord(State &s, Word word, bool hasParam, int param);
    // The words of paragraph formats and tab stops, and paragraph ends.
    void paragraphWord(State &s, Word word, int param);
    const Font *fontFor(int number) const;
    int fontCodePage(int number) const;
    int codePageOf(int font) const;
    void endFontName();
    void endColor();
    QColor colorAt(int index) const;
    QTextCharFormat charFormat(const CharProps &p);
    QTextBlockFormat blockFormat(const ParaProps &p) const;
    // The words of the list tables, of the older numbering and of list items.
    void listWord(State &s, Word word, int param);
    void pnWord(Word word, int param);
    // A group of the list tables or of the older numbering closes.
    void endListGroup(const State &leaving, Dest parentDest);
    // The paragraph at the cursor takes its format, and its place in a list:
    // paragraphs of the same list override and level are items of one list,
    // and those of the older numbering of one list while they follow each
    // other. An item's text starts at its \li, Qt's list indent included,
    // and its fallback marker is dropped; a paragraph that is no item keeps
    // the marker as text.
    void setParagraphFormat(const ParaProps &props);
    // The held marker text, without the characters that never reach the
    // document (see flushRun), as any other text.
    QString markerText();
    // The paragraph at the cursor is no list item: its marker text, if it
    // has one, is shown at its start.
    void keepFallback();

    // ---- tables (rtfreadertables.cpp) --------------------------------------------

    // The words of rows and cells: their definitions, their ends.
    void tableWord(State &s, Word word, int param);
    // A word of the definition of the row's next cell (up to its \cellx).
    void cellWord(Word word, int param, RowDef &row, PendingCell &c);
    // \cellx: the cell's definition is complete, its right edge at x twips.
    void endCellDef(int x, RowDef &row, PendingCell &pending);
    // The height of the closed table at ReferenceWidth: its rows' tallest
    // cells, the columns sharing the width equally.
    qint64 tableExtent() const;
    void placeInTable(bool inTable);
    // Where the content of a table cell goes: the table nested in it, or the cell.
    TableBuilder *out() const { return m_nested ? m_nested : m_table.get(); }
    // Moves into, through or out of a table nested in the current cell as
    // the paragraph properties say. Deeper tables go into its cells.
    void placeInNested(bool nested);
    void endNested();
    // \nestcell: the end of a cell of the nested table; without one, of a
    // paragraph. It counts as a paragraph of the outer cell.
    void nestCell();
    // Opens a table at the cursor, its first row starting at m_resumeColumn
    // (a new row starts at the first).
    void beginTable();
    // Closes the table: drops its spare columns, adds its height to the
    // document's, puts the table into the document and moves the cursor
    // after it.
    void endTable();
    void trimTable();
    // The table read goes into the document, the cursor at the end of its
    // current cell. A grid of its rows' cell edges may have more cells than
    // the reader's, within what is left of the table's weight.
    const QTextTable *buildTable();
    // See MaxTableWeight. The cell grid counts as it is, spare columns too:
    // never less than the grid of the table we write and read back.
    qint64 tableWeight() const { return qint64(m_row + 1) * m_table->columns() + m_tableContent; }
    bool tableFull(int more) const;
    // Before the first text or picture goes into the current cell: a full
    // table ends here, and the cell starts the next one.
    void admitContent();
    // A paragraph break in the current cell. False when it would fill the
    // table, which ends instead, and that ends the paragraph too.
    bool breakInCell();
    // The table is full before anything went into the current cell: it ends,
    // and the next table starts with this cell, in its column. A row left
    // empty by that is not kept.
    void continueTable();
    // The table is full within a cell: it ends, and the rest of the cell goes
    // on after it as ordinary paragraphs. The row's next cell starts the next
    // table; in the last column, its further cells are paragraphs too.
    void spill();
    void endCell();
    void endRow();

    // ---- pictures (rtfreaderpictures.cpp) ----------------------------------------

    // The words of a picture's format and size.
    void pictureWord(State &s, Word word, int param, bool first);
    void pictureFormat(PictureFormat format);
    // A picture's group has closed: a PNG or JPEG is shown, any other picture
    // (or one that does not decode) gets a placeholder that keeps its group.
    void endPicture();
    void growByPicture(double w, double h);
    QTextCursor &m_cursor;
    QTextDocument *m_doc;
    const bool m_replacing;
    int m_startPosition = 0;
    QTextBlockFormat m_targetBlockFormat;
    const char *m_end = nullptr;
    const Progress *m_progress = nullptr;
    const char *m_begin = nullptr;      // the first byte of the data, for progress
    const char *m_nextReport = nullptr; // where progress is next told; m_end without a callback
    bool m_cancelled = false;

    std::vector<State> m_stack;
    int m_overflow = 0; // groups opened beyond MaxDepth
    int m_skip = 0;     // characters of a \u fallback still to skip
    bool m_skipRestOfGroup = false;

    CodePages m_pages;
    int m_codePage = 1252;
    int m_defaultFont = 0;
    std::unordered_map<int, Font> m_fonts;
    int m_fontEntry = INT_MIN;
    TextSink m_fontName;
    std::vector<QColor> m_colors;
    QColor m_color{0, 0, 0};
    bool m_colorPending = false;
    int m_fieldCount = 0;
    TextSink m_fieldText;
    QString m_fieldInstruction;    // the last field instruction read
    int m_fieldInstructionOf = -1; // and the field it belongs to
    std::vector<QString> m_links;
    Picture m_picture;
    const char *m_groupOpen = nullptr; // the last group's opening brace
    const char *m_groupClose =
        nullptr; // just past the closing brace of the group being closed; null when it did not close
    PageSettings m_page;
    bool m_hasPage = false;

    TextSink m_run;
    CharProps m_runProps;
    bool m_propsChanged = true;
    bool m_lastWasParagraph = false;

    std::unique_ptr<TableBuilder> m_table; // the table being read, built when it ends
    TableBuilder *m_nested = nullptr;      // the table nested in its current cell, if any
    int m_nestedRow = 0, m_nestedColumn = 0;
    bool m_nestedRowEnded = false, m_nestedCellEnded = false;
    RowDef m_nestRowDef;       // the definition of the nested table's row
    PendingCell m_nestCellDef; // and of its next cell
    RowDef m_rowDef;           // the definition of the row being read
    PendingCell m_cellDef;     // and of its next cell
    int m_row = 0, m_column = 0, m_lastColumn = 0;
    int m_cellxCount = 0;
    bool m_rowOpen = false; // \trowd seen, \row not yet
    bool m_rowEnded = false;
    bool m_cellEnded = false;
    bool m_cellHasContent = false, m_rowHasContent = false;
    int m_tableContent = 0;   // cells with something in them, further paragraphs in cells
    qint64 m_tableHeight = 0; // pixels should every character take a line
    std::vector<CellParagraph> m_cellParagraphs;
    bool m_spill = false;   // the rest of a cell goes on after its full table
    int m_spillColumn = 0;  // and the cell's column
    int m_resumeColumn = 0; // where the next table's first row starts

    int m_largestHalfPoints = 0; // of any text so far
    bool m_continued = false;    // see continued()
    Extent m_para;               // the paragraph at the cursor
    bool m_paraPending = true;   // and it is not counted yet
    qint64 m_height = 0;         // the document's estimated height so far, pixels
    int m_startBlocks = 0;
    qint64 m_pictureBytes = 0;
    std::vector<QString> m_images; // the pictures' resource names

    ListTable m_listTable;               // the file's lists and overrides
    std::vector<ListLevel> m_listLevels; // of the list or override being read
    ListLevel m_level;                   // the level being read
    TextSink m_levelText;
    int m_listId = 0, m_listLs = 0;
    int m_lfoLevel = -1, m_lfoStart = -1;                    // the override's level being read, and its start
    std::unordered_map<qint64, QPointer<QTextList>> m_lists; // by \ls and level
    Pn m_pn;                                                 // the older numbering being read
    TextSink m_pnText;
    bool m_pnAfter = false;
    QPointer<QTextList> m_pnList; // the list of the older numbering's last item
    Pn m_pnOf;                    // and its numbering
    int m_pnLastBlock = -2;       // and the block of its last item
    TextSink m_fallback;          // the marker text of the paragraph being read
    qsizetype m_fallbackChars = 0;
    CharProps m_fallbackProps;
    QString m_error; // why the document is refused
};

} // namespace tavrin::rtf::reading

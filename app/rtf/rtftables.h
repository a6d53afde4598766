#pragma once

// Tables between the reader and the document, and the writer's row
// definitions. The reader collects a table's rows and cells here as it reads
// them and the table goes into the document in one piece when it ends: Qt
// rebuilds a table's cell grid after every change of its rows or columns, so
// growing it row by row would take time that grows with the square of its
// size.

#include "rtfformat.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextTableCellFormat>
#include <QTextTableFormat>

#include <memory>
#include <vector>

class QTextCursor;
class QTextTable;

namespace tavrin::rtf {

enum TableProperty : int {
    // On a QTextTableFormat: the grid columns' widths in twips as read (a
    // QVariantList of int), so that they are written back exactly rather
    // than rounded through pixels.
    TableColumnTwips = TableFirst,
    // On a QTextTableFormat: where the rows start (\trleft), twips.
    TableLeftTwips,
};

// One cell of a row's definition: the cell words up to its \cellx.
struct CellDef {
    int right = 0;               // its right edge, twips
    bool mergeFirst = false;     // \clmgf: first of cells merged across
    bool merged = false;         // \clmrg: merged into the cell before it
    bool vFirst = false;         // \clvmgf: first of cells merged down
    bool vMerged = false;        // \clvmrg: merged into the cell above it
    QTextTableCellFormat format; // shading, borders, vertical alignment
};

// A row's definition: where it starts and its cells.
struct RowDef {
    int left = 0; // \trleft, twips
    std::vector<CellDef> cells;
};

// A table being read. Its grid is the reader's: rows of cells in the order
// they come, as many columns as the reader asks for. Content goes into the
// current cell, as it would through a cursor.
class TableBuilder
{
public:
    explicit TableBuilder(int columns);

    int rows() const { return int(m_rows.size()); }
    int columns() const { return m_columns; }
    void setColumns(int columns);
    void setRows(int rows);

    // Moves to the end of a cell's content; the row is added if it is new.
    void moveTo(int row, int column);
    void insertText(const QString &text, const QTextCharFormat &format);
    // Text put at the start of the current paragraph.
    void prependText(const QString &text, const QTextCharFormat &format);
    void insertImage(const QTextImageFormat &format);
    void insertBlock(const QTextBlockFormat &format, const QTextCharFormat &charFormat);
    void setBlockFormat(const QTextBlockFormat &format);
    // A new paragraph in the formats in force, as QTextCursor::insertBlock().
    void insertBlock();

    // A table nested in the current cell, from here on, after the cell's
    // last paragraph with something in it; what follows goes on in a new
    // paragraph after it. Returned to be filled as this one is.
    TableBuilder *beginNested();

    // The row's definition, as in force at its \row.
    void setRowDef(int row, const RowDef &def);

    // Blocks the table will add to the document: its cells and their
    // further paragraphs.
    qint64 blocks() const { return qint64(rows()) * m_columns + m_extraBlocks; }

    // Inserts the table at the cursor and fills it. A grid of the rows'
    // cell edges replaces the reader's when every row has its definition
    // and that grid has at most maxColumns columns and maxCells cells; its
    // cells span the columns they cover. The cursor is left at the end of
    // the current cell.
    QTextTable *build(QTextCursor &cursor, int maxColumns, qint64 maxCells);

private:
    struct Fragment {
        QString text;
        QTextCharFormat format;
    };
    struct Paragraph {
        QTextBlockFormat format;
        QTextCharFormat charFormat;
        bool hasCharFormat = false;
        std::vector<Fragment> fragments;
        std::unique_ptr<TableBuilder> tableAfter; // a table nested in the cell after it
    };
    struct Cell {
        std::vector<Paragraph> paragraphs;
    };
    struct Row {
        std::vector<Cell> cells;
        RowDef def;
        bool hasDef = false;
    };
    Paragraph &paragraph();

    std::vector<Row> m_rows;
    int m_columns = 1;
    int m_row = 0, m_column = 0;
    qint64 m_extraBlocks = 0;
};

// The \trowd ... \cellx definition of a row of the table, for the writer: the
// cells' merges, shading, borders and right edges, written through the
// colour index given.
class ColorIndexer
{
public:
    virtual ~ColorIndexer() = default;
    virtual int colorIndex(const QColor &color) = 0;
};
QByteArray rowDefinition(const QTextTable *table, int row, ColorIndexer &colors);

} // namespace tavrin::rtf

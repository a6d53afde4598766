// Tables: the reader's table builder and the writer's row definitions.
#include "rtftables.h"

#include <QTextCursor>
#include <QTextTable>

#include <algorithm>
#include <cmath>

namespace tavrin::rtf {

// ---- reading ------------------------------------------------------------------

TableBuilder::TableBuilder(int columns)
    : m_columns(std::max(columns, 1))
{
    moveTo(0, 0);
}

void TableBuilder::setColumns(int columns)
{
    m_columns = std::max(columns, 1);
    for (Row &row : m_rows)
        if (int(row.cells.size()) > m_columns)
            row.cells.resize(m_columns);
}

void TableBuilder::setRows(int rows)
{
    if (rows < int(m_rows.size()))
        m_rows.resize(std::max(rows, 1));
}

void TableBuilder::moveTo(int row, int column)
{
    if (row >= int(m_rows.size()))
        m_rows.resize(row + 1);
    std::vector<Cell> &cells = m_rows[row].cells;
    if (column >= int(cells.size()))
        cells.resize(column + 1);
    if (cells[column].paragraphs.empty())
        cells[column].paragraphs.emplace_back();
    m_row = row;
    m_column = column;
}

TableBuilder::Paragraph &TableBuilder::paragraph()
{
    return m_rows[m_row].cells[m_column].paragraphs.back();
}

void TableBuilder::insertText(const QString &text, const QTextCharFormat &format)
{
    paragraph().fragments.push_back({text, format});
}

void TableBuilder::prependText(const QString &text, const QTextCharFormat &format)
{
    auto &fragments = paragraph().fragments;
    fragments.insert(fragments.begin(), Fragment{text, format});
}

void TableBuilder::insertImage(const QTextImageFormat &format)
{
    paragraph().fragments.push_back({QString(QChar::ObjectReplacementCharacter), format});
}

void TableBuilder::insertBlock(const QTextBlockFormat &format, const QTextCharFormat &charFormat)
{
    Paragraph next;
    next.format = format;
    next.charFormat = charFormat;
    next.hasCharFormat = true;
    m_rows[m_row].cells[m_column].paragraphs.push_back(std::move(next));
    ++m_extraBlocks;
}

void TableBuilder::insertBlock()
{
    const Paragraph &last = paragraph();
    QTextCharFormat charFormat = last.charFormat;
    if (!last.fragments.empty() && !last.fragments.back().format.isImageFormat())
        charFormat = last.fragments.back().format;
    insertBlock(last.format, charFormat);
}

void TableBuilder::setBlockFormat(const QTextBlockFormat &format)
{
    paragraph().format = format;
}

TableBuilder *TableBuilder::beginNested()
{
    std::vector<Paragraph> &ps = m_rows[m_row].cells[m_column].paragraphs;
    if (ps.size() > 1 && ps.back().fragments.empty() && !ps.back().tableAfter) {
        ps.pop_back(); // the empty paragraph a \par opened: the table follows the one before
        --m_extraBlocks;
    }
    Paragraph &before = ps.back();
    before.tableAfter = std::make_unique<TableBuilder>(1);
    TableBuilder *nested = before.tableAfter.get();
    insertBlock(before.format, before.hasCharFormat ? before.charFormat : QTextCharFormat());
    return nested;
}

void TableBuilder::setRowDef(int row, const RowDef &def)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    m_rows[row].def = def;
    m_rows[row].hasDef = true;
}

namespace {

// Right edges that rise from the row's left edge: a usable definition.
bool risingEdges(const RowDef &def)
{
    int x = def.left;
    for (const CellDef &c : def.cells) {
        if (c.right <= x)
            return false;
        x = c.right;
    }
    return !def.cells.empty();
}

} // namespace

QTextTable *TableBuilder::build(QTextCursor &cursor, int maxColumns, qint64 maxCells)
{
    const int rowCount = rows();
    // The cells a row holds: up to the last with something in it.
    auto used = [](const Row &row) {
        int n = int(row.cells.size());
        while (n > 0) {
            const auto &ps = row.cells[n - 1].paragraphs;
            if (ps.size() > 1 || (!ps.empty() && !ps.front().fragments.empty()))
                break;
            --n;
        }
        return n;
    };

    // The grid: by the rows' cell edges where every row has them, else the
    // reader's, a column for each cell.
    std::vector<int> edges; // the grid columns' right edges, twips
    int left = 0;
    bool byEdges = rowCount > 0;
    for (const Row &row : m_rows) {
        if (!row.hasDef || !risingEdges(row.def) || used(row) > int(row.def.cells.size())) {
            byEdges = false;
            break;
        }
        for (const CellDef &c : row.def.cells)
            edges.push_back(c.right);
    }
    if (byEdges) {
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        left = m_rows.front().def.left;
        for (const Row &row : m_rows)
            left = std::min(left, row.def.left);
        if (int(edges.size()) > maxColumns || qint64(edges.size()) * rowCount > maxCells)
            byEdges = false;
    }
    if (!byEdges) {
        edges.clear();
        // The widths of a row with a cell for each column, if any.
        for (const Row &row : m_rows) {
            if (row.hasDef && int(row.def.cells.size()) == m_columns && risingEdges(row.def)) {
                left = row.def.left;
                for (const CellDef &c : row.def.cells)
                    edges.push_back(c.right);
                break;
            }
        }
    }
    const int columnCount = byEdges ? int(edges.size()) : m_columns;

    // Each cell's place in the grid: its first row and column, and the rows
    // and columns it spans; cells merged into it add their content to its.
    struct Placed {
        int row, column, rowSpan, columnSpan;
        const CellDef *def;
        std::vector<const Cell *> content;
    };
    std::vector<Placed> placed;
    placed.reserve(size_t(rowCount) * columnCount);
    std::vector<int> open(columnCount, -1);                     // the cell merged down to this row, by its first column
    std::vector<int> owner(size_t(rowCount) * columnCount, -1); // the cell covering each place
    auto free = [&](int r, int from, int to) {
        for (int c = from; c < to; ++c)
            if (owner[size_t(r) * columnCount + c] >= 0)
                return false;
        return true;
    };
    auto take = [&](int r, int from, int to, int cell) {
        for (int c = from; c < to; ++c)
            owner[size_t(r) * columnCount + c] = cell;
    };
    int current = -1; // the one holding the reader's current cell
    auto columnOf = [&](int edge) { return int(std::lower_bound(edges.begin(), edges.end(), edge) - edges.begin()); };
    for (int r = 0; r < rowCount; ++r) {
        const Row &row = m_rows[r];
        const int cells = byEdges ? int(row.def.cells.size()) : m_columns;
        int previous = -1; // the cell the one before went into
        for (int k = 0; k < cells; ++k) {
            const CellDef *def = row.hasDef && k < int(row.def.cells.size()) ? &row.def.cells[k] : nullptr;
            const Cell *cell = k < int(row.cells.size()) ? &row.cells[k] : nullptr;
            const int from = !byEdges ? k : k == 0 ? 0 : columnOf(row.def.cells[k - 1].right) + 1;
            const int to = !byEdges ? k + 1 : columnOf(def->right) + 1;
            int into = -1;
            if (def && def->merged && previous >= 0) {
                // Merged across: into the cell before, widening it in its first row.
                Placed &before = placed[previous];
                if (before.row == r && free(r, from, to)) {
                    take(r, from, to, previous);
                    before.columnSpan = to - before.column;
                    into = previous;
                } else if (before.row < r && to <= before.column + before.columnSpan) {
                    into = previous;
                }
            }
            if (into < 0 && def && def->vMerged && open[from] >= 0) {
                // Merged down: into the cell above, if it ends just above.
                Placed &above = placed[open[from]];
                if (above.row + above.rowSpan == r && to <= above.column + above.columnSpan
                    && free(r, above.column, above.column + above.columnSpan)) {
                    take(r, above.column, above.column + above.columnSpan, open[from]);
                    ++above.rowSpan;
                    into = open[from];
                }
            }
            if (into < 0 && !free(r, from, to))
                into = owner[size_t(r) * columnCount + from]; // overlapped: its text goes into the cell there
            if (into < 0) {
                into = int(placed.size());
                placed.push_back({r, from, 1, to - from, def, {}});
                take(r, from, to, into);
                open[from] = def && def->vFirst ? into : -1;
            }
            previous = into;
            if (cell)
                placed[into].content.push_back(cell);
            if (r == m_row && k == m_column)
                current = into;
        }
    }

    QTextTableFormat format;
    if (!edges.empty()) {
        QList<QTextLength> widths;
        QVariantList twips;
        int x = left;
        for (int edge : edges) {
            widths.append(QTextLength(QTextLength::FixedLength, (edge - x) / double(TwipsPerPixel)));
            twips.append(edge - x);
            x = edge;
        }
        format.setColumnWidthConstraints(widths);
        format.setProperty(TableColumnTwips, twips);
        if (left)
            format.setProperty(TableLeftTwips, left);
    }
    for (const Placed &p : placed)
        if (p.def && p.def->format.hasProperty(QTextFormat::TableCellTopBorder)) {
            format.setBorderCollapse(true);
            break;
        }

    QTextTable *table = cursor.insertTable(std::max(rowCount, 1), columnCount, format);
    for (const Placed &p : placed) {
        if (p.rowSpan > 1 || p.columnSpan > 1)
            table->mergeCells(p.row, p.column, p.rowSpan, p.columnSpan);
        if (p.def && !p.def->format.properties().isEmpty()) {
            QTextTableCell cell = table->cellAt(p.row, p.column);
            QTextTableCellFormat f = cell.format().toTableCellFormat();
            const auto properties = p.def->format.properties();
            for (auto it = properties.cbegin(); it != properties.cend(); ++it)
                f.setProperty(it.key(), it.value());
            cell.setFormat(f);
        }
    }
    for (const Placed &p : placed) {
        QTextCursor c = table->cellAt(p.row, p.column).firstCursorPosition();
        bool first = true;
        bool afterTable = false; // at the block Qt keeps after a nested table
        for (const Cell *cell : p.content) {
            for (const Paragraph &para : cell->paragraphs) {
                if (!first && &para == &cell->paragraphs.front() && cell->paragraphs.size() == 1
                    && para.fragments.empty())
                    continue; // an empty cell merged into another adds nothing
                if (first || afterTable) {
                    c.setBlockFormat(para.format);
                    if (para.hasCharFormat)
                        c.setBlockCharFormat(para.charFormat);
                } else if (para.hasCharFormat) {
                    c.insertBlock(para.format, para.charFormat);
                } else {
                    c.insertBlock(para.format);
                }
                first = false;
                for (const Fragment &f : para.fragments) {
                    if (f.format.isImageFormat())
                        c.insertImage(f.format.toImageFormat());
                    else
                        c.insertText(f.text, f.format);
                }
                afterTable = false;
                if (para.tableAfter) {
                    QTextCursor at = c;
                    TableBuilder &inner = *para.tableAfter;
                    const QTextTable *nested = inner.build(at, maxColumns, qint64(inner.rows()) * inner.columns());
                    c.setPosition(nested->lastPosition() + 1);
                    afterTable = true;
                }
            }
        }
    }
    if (current >= 0)
        cursor = table->cellAt(placed[current].row, placed[current].column).lastCursorPosition();
    else
        cursor = table->cellAt(table->rows() - 1, table->columns() - 1).lastCursorPosition();
    return table;
}

// ---- writing ------------------------------------------------------------------

namespace {

// Width of a table whose columns have no fixed width: 6.5 inches, the text
// width of a Letter page with one-inch margins.
constexpr int TableWidthTwips = 9360;

int toTwips(qreal pixels)
{
    return int(std::lround(pixels * TwipsPerPixel));
}

void append(QByteArray &out, const char *word, int n)
{
    out += word;
    out += QByteArray::number(n);
}

} // namespace

QByteArray rowDefinition(const QTextTable *table, int row, ColorIndexer &colors)
{
    const int columns = table->columns();
    const QTextTableFormat tf = table->format();
    // Right edges of the cells in twips: as read where the widths are still
    // those read, else from the widths Qt has.
    const QList<QTextLength> constraints = tf.columnWidthConstraints();
    const QVariantList twips = tf.property(TableColumnTwips).toList();
    const int left = tf.intProperty(TableLeftTwips);
    std::vector<int> edges(columns);
    int x = left;
    for (int c = 0; c < columns; ++c) {
        int w = TableWidthTwips / columns;
        if (c < constraints.size()) {
            const QTextLength &l = constraints.at(c);
            if (l.type() == QTextLength::FixedLength) {
                w = toTwips(l.rawValue());
                if (twips.size() == columns
                    && std::abs(twips.at(c).toInt() / double(TwipsPerPixel) - l.rawValue()) < 0.01)
                    w = twips.at(c).toInt();
            } else if (l.type() == QTextLength::PercentageLength) {
                w = int(std::lround(TableWidthTwips * l.rawValue() / 100.0));
            }
        }
        x += std::max(w, 1);
        edges[c] = x;
    }

    QByteArray out = "\\trowd\\trgaph108";
    if (left)
        append(out, "\\trleft", left);
    for (int c = 0; c < columns; ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        if (cell.row() != row)
            out += "\\clvmrg";
        else if (cell.rowSpan() > 1)
            out += "\\clvmgf";
        if (cell.column() != c)
            out += "\\clmrg";
        else if (cell.columnSpan() > 1)
            out += "\\clmgf";
        const QTextTableCellFormat f = cell.format().toTableCellFormat();
        if (f.hasProperty(QTextFormat::TextVerticalAlignment)) {
            switch (f.verticalAlignment()) {
            case QTextCharFormat::AlignMiddle: out += "\\clvertalc"; break;
            case QTextCharFormat::AlignBottom: out += "\\clvertalb"; break;
            default: break;
            }
        }
        // Borders, each side as it shows: a covered cell takes its cell's.
        struct Side {
            const char *word;
            QTextFormat::Property width, style, brush;
        };
        static const Side sides[] = {
            {"\\clbrdrt", QTextFormat::TableCellTopBorder, QTextFormat::TableCellTopBorderStyle,
             QTextFormat::TableCellTopBorderBrush},
            {"\\clbrdrl", QTextFormat::TableCellLeftBorder, QTextFormat::TableCellLeftBorderStyle,
             QTextFormat::TableCellLeftBorderBrush},
            {"\\clbrdrb", QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderStyle,
             QTextFormat::TableCellBottomBorderBrush},
            {"\\clbrdrr", QTextFormat::TableCellRightBorder, QTextFormat::TableCellRightBorderStyle,
             QTextFormat::TableCellRightBorderBrush},
        };
        for (const Side &s : sides) {
            if (!f.hasProperty(s.width))
                continue;
            out += s.word;
            const double width = f.doubleProperty(s.width);
            if (width <= 0 || f.intProperty(s.style) == QTextFrameFormat::BorderStyle_None) {
                out += "\\brdrnone";
                continue;
            }
            out += "\\brdrs";
            append(out, "\\brdrw", std::clamp(toTwips(width), 1, 255));
            const QBrush brush = f.brushProperty(s.brush);
            if (brush.style() != Qt::NoBrush)
                append(out, "\\brdrcf", colors.colorIndex(brush.color()));
        }
        if (f.background().style() != Qt::NoBrush)
            append(out, "\\clcbpat", colors.colorIndex(f.background().color()));
        append(out, "\\cellx", edges[c]);
    }
    out += "\r\n";
    return out;
}

} // namespace tavrin::rtf

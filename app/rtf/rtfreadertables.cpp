// The reader's tables.
#include "rtfreader_p.h"

namespace tavrin::rtf::reading {

void Reader::cellWord(Word word, int param, RowDef &row, PendingCell &c)
{
    switch (word) {
    case Word::TrLeft: row.left = clampInt(param, -MaxTwips, MaxTwips); break;
    case Word::ClMgf: c.def.mergeFirst = true; break;
    case Word::ClMrg: c.def.merged = true; break;
    case Word::ClVmgf: c.def.vFirst = true; break;
    case Word::ClVmrg: c.def.vMerged = true; break;
    case Word::ClCbPat: c.background = std::max(param, 0); break;
    case Word::ClCfPat: c.pattern = std::max(param, 0); break;
    case Word::ClShdng: c.shading = clampInt(param, 0, 10000); break;
    case Word::ClVertAlT: c.def.format.setVerticalAlignment(QTextCharFormat::AlignTop); break;
    case Word::ClVertAlC: c.def.format.setVerticalAlignment(QTextCharFormat::AlignMiddle); break;
    case Word::ClVertAlB: c.def.format.setVerticalAlignment(QTextCharFormat::AlignBottom); break;
    case Word::ClBrdrT:
    case Word::ClBrdrL:
    case Word::ClBrdrB:
    case Word::ClBrdrR:
        c.side = int(word) - int(Word::ClBrdrT);
        c.borders[c.side] = Border{.set = true};
        break;
    case Word::OtherBorder: c.side = -1; break;
    case Word::Brdrs:
        if (c.side >= 0)
            c.borders[c.side].line = true;
        break;
    case Word::BrdrNone:
        if (c.side >= 0)
            c.borders[c.side].line = false;
        break;
    case Word::BrdrW:
        if (c.side >= 0)
            c.borders[c.side].width = clampInt(param, 0, 255);
        break;
    case Word::BrdrCf:
        if (c.side >= 0)
            c.borders[c.side].color = std::max(param, 0);
        break;
    default: break;
    }
}

void Reader::endCellDef(int x, RowDef &row, PendingCell &pending)
{
    PendingCell c = std::exchange(pending, PendingCell());
    CellDef &def = c.def;
    def.right = clampInt(x, -MaxTwips * 10, MaxTwips * 10);
    // Shading is a percentage (in hundredths) of the pattern colour over
    // the background.
    QColor back = colorAt(c.background);
    if (c.shading > 0) {
        const QColor base = back.isValid() ? back : QColor(Qt::white);
        const QColor ink = colorAt(c.pattern).isValid() ? colorAt(c.pattern) : QColor(Qt::black);
        const double k = c.shading / 10000.0;
        back = QColor::fromRgbF(float(base.redF() + (ink.redF() - base.redF()) * k),
                                float(base.greenF() + (ink.greenF() - base.greenF()) * k),
                                float(base.blueF() + (ink.blueF() - base.blueF()) * k));
    }
    if (back.isValid())
        def.format.setBackground(back);
    static constexpr QTextFormat::Property widths[] = {
        QTextFormat::TableCellTopBorder, QTextFormat::TableCellLeftBorder, QTextFormat::TableCellBottomBorder,
        QTextFormat::TableCellRightBorder};
    static constexpr QTextFormat::Property styles[] = {
        QTextFormat::TableCellTopBorderStyle, QTextFormat::TableCellLeftBorderStyle,
        QTextFormat::TableCellBottomBorderStyle, QTextFormat::TableCellRightBorderStyle};
    static constexpr QTextFormat::Property brushes[] = {
        QTextFormat::TableCellTopBorderBrush, QTextFormat::TableCellLeftBorderBrush,
        QTextFormat::TableCellBottomBorderBrush, QTextFormat::TableCellRightBorderBrush};
    bool anyBorder = false;
    for (const Border &b : c.borders)
        anyBorder = anyBorder || b.set;
    // A cell with borders gets all four sides, those not given without a line.
    for (int i = 0; anyBorder && i < 4; ++i) {
        const Border &b = c.borders[i];
        const bool line = b.set && b.line && b.width > 0;
        def.format.setProperty(widths[i], line ? b.width / double(TwipsPerPixel) : 0.0);
        def.format.setProperty(styles[i],
                               line ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
        const QColor color = colorAt(b.color);
        if (line)
            def.format.setProperty(brushes[i], QBrush(color.isValid() ? color : QColor(Qt::black)));
    }
    if (row.cells.size() < size_t(MaxColumns) * 4)
        row.cells.push_back(std::move(def));
}

qint64 Reader::tableExtent() const
{
    const int columnWidth = ReferenceWidth / m_table->columns();
    qint64 height = qint64(m_table->rows()) * RowPixels, rowHeight = 0, cellHeight = 0;
    int row = -1, column = -1;
    for (const CellParagraph &p : m_cellParagraphs) {
        if (p.row != row || p.column != column) {
            rowHeight = std::max(rowHeight, cellHeight);
            cellHeight = 0;
            column = p.column;
            if (p.row != row) {
                height += rowHeight;
                rowHeight = 0;
                row = p.row;
            }
        }
        cellHeight += p.extent.lines(columnWidth - p.indent) * p.extent.line + p.spacing;
    }
    return height + std::max(rowHeight, cellHeight);
}

void Reader::placeInTable(bool inTable)
{
    if (!inTable) {
        m_spill = false; // the row is over, and whatever spilled from it
        m_resumeColumn = 0;
    }
    if (!inTable || m_spill) {
        if (m_table) {
            endTable();
            if (!inTable)
                m_cellxCount = 0;
        }
        if (m_spill && m_cellEnded) {
            // The next cell of a row spilled from its last column: a
            // paragraph of its own, as it would have been in that column.
            m_cellEnded = false;
            closeParagraph();
            m_cursor.insertBlock();
            openParagraph();
        }
        return;
    }
    if (!m_table) {
        beginTable();
    } else if (m_rowEnded) {
        closeParagraph();
        if (tableWeight() + m_table->columns() > MaxTableWeight / 2 || m_tableHeight >= MaxTableHeight / 2) {
            m_continued = true;
            endTable(); // the next row starts a new table
            beginTable();
            return;
        }
        ++m_row;
        m_column = 0;
        m_rowEnded = m_cellEnded = false;
        m_table->moveTo(m_row, 0);
        m_cellHasContent = m_rowHasContent = false;
        openParagraph();
    } else if (m_cellEnded) {
        closeParagraph();
        m_cellEnded = false;
        if (m_column + 1 >= MaxColumns) {
            // Cells beyond the last column go into it, a paragraph each.
            if (breakInCell()) {
                m_table->insertBlock();
                openParagraph();
            }
            return;
        }
        ++m_column;
        if (m_column >= m_table->columns()) {
            // The wider grid counts for the rows above too: if they would
            // now fill half the table, the row goes on in a new table.
            // Columns grow by doubling, as the grid's weight counts them.
            const int columns = std::min(2 * m_table->columns(), MaxColumns);
            if (qint64(m_row + 1) * columns + m_tableContent > MaxTableWeight / 2) {
                continueTable();
                return;
            }
            m_table->setColumns(columns);
        }
        m_lastColumn = std::max(m_lastColumn, m_column);
        m_table->moveTo(m_row, m_column);
        m_cellHasContent = false;
        openParagraph();
    }
}

void Reader::placeInNested(bool nested)
{
    if (!m_table || m_spill) {
        m_nested = nullptr;
        return;
    }
    if (!nested) {
        if (m_nested)
            endNested();
        return;
    }
    if (!m_nested) {
        flushRun();
        m_nested = m_table->beginNested();
        m_nestedRow = m_nestedColumn = 0;
        m_nestedRowEnded = m_nestedCellEnded = false;
    } else if (m_nestedRowEnded) {
        flushRun();
        m_nested->moveTo(++m_nestedRow, m_nestedColumn = 0);
        m_nestedRowEnded = m_nestedCellEnded = false;
    } else if (m_nestedCellEnded) {
        flushRun();
        m_nestedCellEnded = false;
        if (m_nestedColumn + 1 >= MaxColumns) {
            m_nested->insertBlock(); // as in the outer table, further cells go into the last
            return;
        }
        ++m_nestedColumn;
        if (m_nestedColumn >= m_nested->columns())
            m_nested->setColumns(m_nestedColumn + 1);
        m_nested->moveTo(m_nestedRow, m_nestedColumn);
    }
}

void Reader::endNested()
{
    flushRun();
    m_nested = nullptr;
}

void Reader::nestCell()
{
    if (m_stack.empty() || top().dest != Dest::Text || top().chr.hidden)
        return;
    prepareOutput();
    if (!m_nested) {
        paragraph();
        return;
    }
    flushRun();
    setBlockFormat(blockFormat(top().para));
    closeParagraph();
    if (!breakInCell())
        return; // the outer table was full: the rest goes on after it
    m_nestedCellEnded = true;
    openParagraph();
}

void Reader::beginTable()
{
    flushRun();
    // A table follows the block before it; the empty block that the
    // last \par opened is not kept in front of it.
    if (m_lastWasParagraph && blockMergeable(true)) {
        mergeWithPrevious(m_cursor.block().previous().blockFormat());
        m_paraPending = false;
    }
    closeParagraph();
    const int column = m_rowEnded ? 0 : m_resumeColumn;
    m_resumeColumn = 0;
    m_table = std::make_unique<TableBuilder>(std::clamp(std::max(m_cellxCount, column + 1), 1, MaxColumns));
    m_row = 0;
    m_column = m_lastColumn = column;
    if (column > 0)
        m_table->moveTo(0, column);
    m_rowEnded = m_cellEnded = false;
    m_cellHasContent = m_rowHasContent = false;
    m_tableContent = 0;
    m_tableHeight = 0;
    m_cellParagraphs.clear();
    openParagraph();
    checkParagraphs();
}

void Reader::endTable()
{
    closeParagraph();
    trimTable();
    addHeight(tableExtent());
    m_nested = nullptr;
    const QTextTable *table = buildTable();
    m_cursor.setPosition(table->lastPosition() + 1);
    m_cellParagraphs.clear();
    openParagraph();
}

void Reader::trimTable()
{
    m_table->setRows(m_row + 1);
    const int columns = std::min(std::max(m_lastColumn + 1, m_cellxCount), MaxColumns);
    if (m_table->columns() > columns)
        m_table->setColumns(columns);
}

const QTextTable *Reader::buildTable()
{
    std::unique_ptr<TableBuilder> builder = std::move(m_table);
    const qint64 room = MaxTableWeight - m_tableContent;
    return builder->build(m_cursor, MaxColumns, std::max<qint64>(room, qint64(builder->rows()) * builder->columns()));
}

bool Reader::tableFull(int more) const
{
    return tableWeight() + more > MaxTableWeight || m_tableHeight >= MaxTableHeight;
}

void Reader::admitContent()
{
    if (!m_table || m_cellHasContent)
        return;
    if (tableFull(1))
        continueTable();
    m_cellHasContent = m_rowHasContent = true;
    ++m_tableContent;
}

bool Reader::breakInCell()
{
    if (tableFull(m_cellHasContent ? 1 : 2)) {
        if (m_cellHasContent) {
            spill();
            return false;
        }
        continueTable();
    }
    admitContent();
    ++m_tableContent;
    return true;
}

void Reader::continueTable()
{
    m_continued = true;
    const int column = m_column;
    if (!m_rowHasContent && m_row > 0)
        --m_row;
    endTable();
    m_rowEnded = false;
    m_resumeColumn = column;
    beginTable();
}

void Reader::spill()
{
    m_continued = true;
    flushRun();
    setParagraphFormat(top().para);
    closeParagraph();
    m_spillColumn = m_column;
    endTable();
    m_spill = true;
}

void Reader::endCell()
{
    if (m_stack.empty() || top().dest != Dest::Text)
        return;
    State &s = top();
    s.para.inTable = true;
    prepareOutput();
    flushRun();
    if (m_nested)
        endNested(); // the cell ends the table nested in it
    setParagraphFormat(s.para);
    closeParagraph();
    if (m_spill && m_spillColumn + 1 < MaxColumns) {
        m_spill = false;
        m_resumeColumn = m_spillColumn + 1;
    }
    m_cellEnded = true;
}

void Reader::endRow()
{
    if (m_stack.empty() || top().dest != Dest::Text)
        return;
    m_rowOpen = false;
    // After a cell that went on after its table, the row has no table.
    const bool spilled = std::exchange(m_spill, false) || std::exchange(m_resumeColumn, 0) > 0;
    if (!m_table && !spilled) {
        top().para.inTable = true;
        prepareOutput();
    }
    flushRun();
    if (m_table)
        m_table->setRowDef(m_row, m_rowDef);
    m_rowEnded = true;
    m_cellEnded = false;
}

void Reader::tableWord(State &s, Word word, int param)
{
    switch (word) {
    // A nested table's row properties, ended by \nestrow. Word keeps only
    // those there, but some writers put the nested cells' text in too:
    // it is shown.
    case Word::NestTableProps: s.nestedRow = true; break;
    case Word::Trowd:
        if (s.dest != Dest::Text)
            break; // rows are defined in the text, never in a picture or a table of fonts
        if (!s.nestedRow) {
            m_rowOpen = true;
            m_cellxCount = 0;
            m_rowDef = RowDef();
            m_cellDef = PendingCell();
        } else {
            m_nestRowDef = RowDef();
            m_nestCellDef = PendingCell();
        }
        break;
    case Word::Cellx:
        if (s.dest != Dest::Text)
            break;
        if (!s.nestedRow) {
            ++m_cellxCount;
            endCellDef(param, m_rowDef, m_cellDef);
        } else {
            endCellDef(param, m_nestRowDef, m_nestCellDef);
        }
        break;
    case Word::Intbl: s.para.inTable = true; break;
    case Word::Itap:
        s.para.inTable = param > 0;
        s.para.nested = param > 1;
        break;
    case Word::Cell: endCell(); break;
    case Word::Row: endRow(); break;
    case Word::NestCell: nestCell(); break;
    case Word::NestRow:
        if (m_nested && s.dest == Dest::Text) {
            m_nested->setRowDef(m_nestedRow, m_nestRowDef);
            m_nestedRowEnded = true;
            m_nestedCellEnded = false;
        }
        break;
    default: // the definition of the row's next cell
        if (s.dest != Dest::Text)
            break;
        if (!s.nestedRow)
            cellWord(word, param, m_rowDef, m_cellDef);
        else
            cellWord(word, param, m_nestRowDef, m_nestCellDef);
        break;
    }
}

} // namespace tavrin::rtf::reading

// The reader's tokens, groups, destinations and text, and the public entry points.
#include "rtfreader_p.h"

namespace tavrin::rtf::reading {

Reader::Reader(QTextCursor &cursor, bool replacing)
    : m_cursor(cursor)
    , m_doc(cursor.document())
    , m_replacing(replacing)
{
    m_startPosition = cursor.position();
    m_startBlocks = m_doc->blockCount();
    m_targetBlockFormat = cursor.blockFormat();
    m_stack.reserve(64);
}

void Reader::reportTo(const Progress &progress, const char *begin)
{
    m_progress = &progress;
    m_begin = begin;
}

void Reader::run(const char *p, const char *end)
{
    m_end = end;
    m_nextReport = m_progress ? p : end;
    while (p < end) {
        if (p >= m_nextReport && !report(p))
            return; // cancelled: the document is left as it is
        const char c = *p;
        if (c == '{') {
            m_groupOpen = p;
            ++p;
            m_skip = 0;
            if (pushGroup())
                p = skipGroup(p);
        } else if (c == '}') {
            ++p;
            m_skip = 0;
            m_groupClose = p;
            popGroup();
            m_groupClose = nullptr;
        } else if (c == '\\') {
            p = controlWord(p);
        } else if (c == '\r' || c == '\n') {
            ++p;
        } else {
            // At most ReportEvery bytes at a time, so that progress is
            // told within a long run of text too.
            const char *s = p;
            const char *stop = end - p > ReportEvery ? p + ReportEvery : end;
            while (p < stop && !Specials[uchar(*p)])
                ++p;
            text(s, p);
        }
        if (m_skipRestOfGroup) {
            m_skipRestOfGroup = false;
            p = skipGroup(p);
        }
        if (m_stack.empty())
            break; // the outer group is closed: what follows is not ours
        if (!m_error.isEmpty())
            break;
    }
    if (!m_cancelled)
        finish();
}

bool Reader::report(const char *p)
{
    m_nextReport = m_end - p > ReportEvery ? p + ReportEvery : m_end;
    if ((*m_progress)(p - m_begin, m_end - m_begin))
        return true;
    m_cancelled = true;
    m_nextReport = m_end;
    return false;
}

bool Reader::pushGroup()
{
    if (m_stack.empty()) {
        m_stack.emplace_back();
        return false;
    }
    // A word after a subgroup no longer starts its group (a picture's
    // group is kept whole from its brace only when \pict comes first).
    top().firstWord = false;
    if (int(m_stack.size()) >= MaxDepth || m_overflow > 0) {
        ++m_overflow;
        return false;
    }
    State &parent = top();
    ++parent.childGroups;
    const bool skipFirstOfUpr = parent.kind == GroupKind::Upr && parent.childGroups == 1;
    // Inside a picture every subgroup is picture metadata. Read before the
    // push, which may move the stack and with it the parent.
    const bool insidePicture = parent.dest == Dest::Picture;
    State child = parent;
    child.kind = parent.dest == Dest::FontTable ? GroupKind::FontEntry : GroupKind::Plain;
    child.star = false;
    child.firstWord = true;
    child.childGroups = 0;
    m_stack.push_back(std::move(child));
    m_propsChanged = true;
    return skipFirstOfUpr || insidePicture;
}

void Reader::popGroup()
{
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_stack.empty())
        return;
    const State &leaving = top();
    const Dest parentDest = m_stack.size() > 1 ? m_stack[m_stack.size() - 2].dest : Dest::Text;
    if (leaving.dest == Dest::FontTable && leaving.kind == GroupKind::FontEntry)
        endFontName();
    if (leaving.kind == GroupKind::Note)
        addChar(u']');
    if (leaving.dest == Dest::ColorTable && parentDest != Dest::ColorTable && m_colorPending)
        endColor();
    if (leaving.dest == Dest::Picture && parentDest != Dest::Picture)
        endPicture();
    if (leaving.dest == Dest::FieldInst && parentDest != Dest::FieldInst) {
        m_fieldInstruction = m_fieldText.take(m_pages);
        m_fieldInstructionOf = leaving.field;
    }
    endListGroup(leaving, parentDest);
    if (m_stack.size() == 1)
        endDocument();
    m_stack.pop_back();
    m_propsChanged = true;
}

const char *Reader::skipGroup(const char *p)
{
    int depth = 1;
    while (p < m_end) {
        // A skipped group can be most of a file.
        if (p >= m_nextReport && !report(p))
            return m_end;
        const char c = *p++;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                break;
        } else if (c == '\\' && p < m_end) {
            if (!isLetter(*p)) {
                ++p;
                continue;
            }
            const char *w = p;
            while (p < m_end && isLetter(*p))
                ++p;
            const bool bin = p - w == 3 && std::string_view(w, 3) == "bin";
            qint64 n = 0;
            while (p < m_end && isDigit(*p)) {
                if (n < MaxParam)
                    n = n * 10 + (*p - '0');
                ++p;
            }
            if (p < m_end && *p == ' ')
                ++p;
            if (bin)
                p += std::min<qint64>(n, m_end - p);
        }
    }
    m_skip = 0;
    m_groupClose = depth == 0 ? p : nullptr; // not closed when the data ends first
    popGroup();
    m_groupClose = nullptr;
    return p;
}

const char *Reader::controlWord(const char *p)
{
    ++p; // the backslash
    if (p >= m_end)
        return p;
    const char c = *p;
    if (!isLetter(c)) {
        ++p;
        if (c == '\'') {
            if (p + 1 < m_end && isHex(p[0]) && isHex(p[1])) {
                const char byte = char(hexValue(p[0]) * 16 + hexValue(p[1]));
                p += 2;
                if (m_skip > 0)
                    --m_skip;
                else
                    text(&byte, &byte + 1);
            } else {
                p = std::min(p + 2, m_end);
            }
            return p;
        }
        if (m_skip > 0) {
            --m_skip;
            return p;
        }
        if (const char16_t character = symbolCharacter(c)) {
            addChar(character);
        } else if (c == '\\' || c == '{' || c == '}') {
            text(p - 1, p);
        } else if (c == '*') {
            top().star = true;
        } else if (c == '\r' || c == '\n') {
            paragraph();
        }
        return p;
    }
    const char *w = p;
    while (p < m_end && isLetter(*p))
        ++p;
    const std::string_view name(w, std::min<qsizetype>(p - w, MaxWordLength));
    bool hasParam = false;
    bool negative = false;
    qint64 value = 0;
    if (p < m_end && *p == '-' && p + 1 < m_end && isDigit(p[1])) {
        negative = true;
        ++p;
    }
    while (p < m_end && isDigit(*p)) {
        hasParam = true;
        if (value < MaxParam)
            value = value * 10 + (*p - '0');
        ++p;
    }
    if (p < m_end && *p == ' ')
        ++p;
    int param = int(std::min<qint64>(value, MaxParam));
    if (negative)
        param = -param;
    const WordEntry &entry = lookup(name);
    if (entry.word == Word::Bin) {
        // Binary data: its length is bounded by what is left.
        const qint64 n = std::min<qint64>(std::max(param, 0), m_end - p);
        if (!m_stack.empty() && top().dest == Dest::Picture
            && (m_picture.format == PictureFormat::Png || m_picture.format == PictureFormat::Jpeg))
            m_picture.data.append(p, n);
        return p + n;
    }
    if (m_skip > 0) {
        --m_skip;
        return p;
    }
    handleWord(entry, hasParam, param);
    return p;
}

void Reader::handleWord(const WordEntry &entry, bool hasParam, int param)
{
    if (m_stack.empty())
        return;
    State &s = top();
    const bool first = std::exchange(s.firstWord, false);
    // A destination starred with \* that we do not know is skipped whole.
    if (s.star && first && !entry.starred) {
        m_skipRestOfGroup = true;
        return;
    }
    switch (entry.concern) {
    case Concern::None: break;
    case Concern::Special: addChar(entry.character); break;
    case Concern::Destination: destinationWord(s, entry.word, first); break;
    case Concern::Document: documentWord(s, entry.word, param); break;
    case Concern::Character: characterWord(s, entry.word, hasParam, param); break;
    case Concern::Paragraph: paragraphWord(s, entry.word, param); break;
    case Concern::Table: tableWord(s, entry.word, param); break;
    case Concern::Picture: pictureWord(s, entry.word, param, first); break;
    case Concern::List: listWord(s, entry.word, param); break;
    }
}

void Reader::destinationWord(State &s, Word word, bool first)
{
    switch (word) {
    case Word::Skip:
        if (first || s.star)
            m_skipRestOfGroup = true;
        break;
    case Word::Note:
        // A footnote or a comment: its text in brackets where it is referred to.
        if (first && s.kind == GroupKind::Plain) {
            s.kind = GroupKind::Note;
            addChar(u'[');
        }
        break;
    case Word::FontTable:
        s.dest = Dest::FontTable;
        m_fontEntry = -1;
        break;
    case Word::ColorTable: s.dest = Dest::ColorTable; break;
    case Word::Field: s.field = ++m_fieldCount; break;
    case Word::FldInst:
        if (s.field < 0) {
            m_skipRestOfGroup = true;
        } else {
            s.dest = Dest::FieldInst;
            m_fieldText.clear();
        }
        break;
    case Word::FldRslt:
        s.dest = Dest::Text;
        if (s.field >= 0 && s.field == m_fieldInstructionOf) {
            const QString href = hyperlinkTarget(m_fieldInstruction);
            if (!href.isEmpty()) {
                s.chr.link = int(m_links.size());
                m_links.push_back(href);
            }
        }
        m_propsChanged = true;
        break;
    case Word::Upr: s.kind = GroupKind::Upr; break;
    default: break; // \rtf, \ud, \shppict, \object: their content is read as it comes
    }
}

void Reader::documentWord(State &s, Word word, int param)
{
    switch (word) {
    case Word::Ansi: m_codePage = 1252; break;
    case Word::Mac: m_codePage = 10000; break;
    case Word::Pc: m_codePage = 437; break;
    case Word::Pca: m_codePage = 850; break;
    case Word::AnsiCpg:
        if (param > 0)
            m_codePage = param;
        break;
    case Word::Deff: m_defaultFont = param; break;
    case Word::Uc: s.uc = clampInt(param, 0, MaxUnicodeSkip); break;
    case Word::U:
        if (param < 0)
            param += 65536;
        if (param >= 0 && param <= 0xFFFF)
            addChar(char16_t(param));
        m_skip = s.uc;
        break;
    case Word::PaperW:
        m_page.paperWidth = clampInt(param, 1, MaxTwips);
        m_hasPage = true;
        break;
    case Word::PaperH:
        m_page.paperHeight = clampInt(param, 1, MaxTwips);
        m_hasPage = true;
        break;
    case Word::MargL:
        m_page.left = clampInt(param, 0, MaxTwips);
        m_hasPage = true;
        break;
    case Word::MargR:
        m_page.right = clampInt(param, 0, MaxTwips);
        m_hasPage = true;
        break;
    case Word::MargT:
        m_page.top = clampInt(param, 0, MaxTwips);
        m_hasPage = true;
        break;
    case Word::MargB:
        m_page.bottom = clampInt(param, 0, MaxTwips);
        m_hasPage = true;
        break;
    case Word::Landscape:
        m_page.landscape = true;
        m_hasPage = true;
        break;
    default: break;
    }
}

void Reader::text(const char *s, const char *e)
{
    if (m_skip > 0) {
        const qsizetype n = std::min<qsizetype>(m_skip, e - s);
        m_skip -= int(n);
        s += n;
    }
    if (s != e)
        deliver(s, e, 0);
}

void Reader::addChar(char16_t c)
{
    deliver(nullptr, nullptr, c);
}

void Reader::deliver(const char *s, const char *e, char16_t c)
{
    if (m_stack.empty())
        return;
    State &st = top();
    st.firstWord = false;
    switch (st.dest) {
    case Dest::Text:
        if (st.chr.hidden)
            break;
        if (s)
            documentText(st, s, e);
        else
            documentChar(st, c);
        break;
    case Dest::FontTable:
        if (!s) {
            if (m_fontEntry != INT_MIN)
                m_fontName.addChar(m_pages, c);
            break;
        }
        for (const char *q = s; q < e; ++q) {
            if (*q == ';') {
                endFontName();
            } else if (m_fontEntry != INT_MIN) {
                m_fontName.addBytes(m_pages, fontCodePage(m_fontEntry), QByteArrayView(q, 1));
            }
        }
        break;
    case Dest::ColorTable:
        for (const char *q = s; q < e; ++q)
            if (*q == ';')
                endColor();
        break;
    case Dest::Picture:
        if (m_picture.format != PictureFormat::Png && m_picture.format != PictureFormat::Jpeg)
            break; // kept as it stands in the file
        for (const char *q = s; q < e; ++q) {
            if (!isHex(*q))
                continue;
            const int v = hexValue(*q);
            if (m_picture.hexHigh < 0) {
                m_picture.hexHigh = v;
            } else {
                m_picture.data.append(char(m_picture.hexHigh * 16 + v));
                m_picture.hexHigh = -1;
            }
        }
        break;
    case Dest::FieldInst: addTo(m_fieldText, codePageOf(st.chr.font), s, e - s, c); break;
    case Dest::LevelText:
        addTo(m_levelText, codePageOf(st.chr.font), s, std::min<qsizetype>(e - s, MaxFallback), c);
        break;
    case Dest::LevelNumbers:
        if (s)
            m_level.numbers.append(s, std::min<qsizetype>(e - s, MaxLevels - m_level.numbers.size()));
        break;
    case Dest::PnText: addTo(m_pnText, codePageOf(m_pn.font), s, std::min<qsizetype>(e - s, MaxFallback), c); break;
    case Dest::ListText:
        if (!st.chr.hidden && m_fallbackChars < MaxFallback) {
            const qsizetype n = s ? std::min<qsizetype>(e - s, MaxFallback - m_fallbackChars) : 1;
            addTo(m_fallback, codePageOf(st.chr.font), s, n, c);
            m_fallbackChars += n;
        }
        break;
    case Dest::ListTable:
    case Dest::Pn: break;
    }
}

void Reader::addTo(TextSink &sink, int codePage, const char *s, qsizetype n, char16_t c)
{
    if (s)
        sink.addBytes(m_pages, codePage, QByteArrayView(s, n));
    else
        sink.addChar(m_pages, c);
}

void Reader::documentText(const State &st, const char *s, const char *e)
{
    // A piece at a time, as far as the paragraph and the table have room.
    const int codePage = codePageOf(st.chr.font);
    while (s < e && m_error.isEmpty()) {
        prepareOutput();
        admitContent();
        const qint64 room = roomFor(st.chr);
        if (room <= 0 && m_run.atCharBoundary()) {
            makeRoom();
            continue;
        }
        const qsizetype n = qsizetype(std::min<qint64>(e - s, std::max<qint64>(room, 1)));
        m_run.addBytes(m_pages, codePage, QByteArrayView(s, n));
        grow(n - controlBytes(s, n), st.chr);
        qsizetype space = n;
        while (space > 0 && s[space - 1] != ' ' && s[space - 1] != '\t')
            --space;
        m_para.unbroken = space > 0 ? n - space : m_para.unbroken + n;
        s += n;
    }
}

void Reader::documentChar(const State &st, char16_t c)
{
    prepareOutput();
    admitContent();
    if (roomFor(st.chr) <= 0) {
        makeRoom();
        prepareOutput();
        admitContent();
    }
    m_run.addChar(m_pages, c);
    grow(isDropped(c) ? 0 : 1, st.chr);
    m_para.unbroken = c == u' ' || c == u'\t' || c == 0x2028 ? 0 : m_para.unbroken + 1;
}

QString Reader::hyperlinkTarget(const QString &instruction)
{
    const QString t = instruction.trimmed();
    if (!t.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
        return QString();
    QString target;
    bool bookmark = false;
    qsizetype i = 9;
    while (i < t.size()) {
        const QChar c = t.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == u'\\') {
            if (i + 1 < t.size() && t.at(i + 1) == u'l')
                bookmark = true;
            i += 2;
            // Switches other than \l take an argument we do not need.
            if (!bookmark) {
                while (i < t.size() && t.at(i).isSpace())
                    ++i;
                if (i < t.size() && t.at(i) == u'"') {
                    const qsizetype close = t.indexOf(u'"', i + 1);
                    i = close < 0 ? t.size() : close + 1;
                }
            }
        } else if (c == u'"') {
            const qsizetype close = t.indexOf(u'"', i + 1);
            const qsizetype stop = close < 0 ? t.size() : close;
            target = t.mid(i + 1, stop - i - 1);
            i = stop + 1;
            if (!target.isEmpty())
                break;
        } else {
            qsizetype j = i;
            while (j < t.size() && !t.at(j).isSpace())
                ++j;
            target = t.mid(i, j - i);
            break;
        }
    }
    if (target.isEmpty())
        return QString();
    return bookmark ? QLatin1Char('#') + target : target;
}

void Reader::prepareOutput(const State &s)
{
    placeInTable(s.para.inTable || m_rowOpen);
    placeInNested(s.para.inTable && s.para.nested);
    if (m_propsChanged) {
        m_propsChanged = false;
        if (!(s.chr == m_runProps)) {
            flushRun();
            m_runProps = s.chr;
        }
    }
    m_lastWasParagraph = false;
}

void Reader::flushRun()
{
    if (m_run.isEmpty())
        return;
    QString t = m_run.take(m_pages);
    // Characters that would break the document's structure: the frame
    // markers, the object placeholder and paragraph breaks other than \par.
    qsizetype i = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t.at(i).unicode();
        if ((c < 0x20 && c != u'\t') || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC)
            break;
    }
    if (i < t.size()) {
        QString clean;
        clean.reserve(t.size());
        for (QChar qc : std::as_const(t)) {
            const char16_t c = qc.unicode();
            if (c == u'\n' || c == 0x2029)
                clean.append(QChar(0x2028));
            else if (!((c < 0x20 && c != u'\t') || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC))
                clean.append(qc);
        }
        t = clean;
    }
    if (t.isEmpty())
        return;
    m_para.breaks += t.count(QChar(0x2028));
    if (m_table)
        out()->insertText(t, charFormat(m_runProps));
    else
        m_cursor.insertText(t, charFormat(m_runProps));
}

void Reader::paragraph()
{
    if (m_stack.empty())
        return;
    State &s = top();
    if (s.dest != Dest::Text || s.chr.hidden)
        return;
    prepareOutput();
    if (m_table && !breakInCell()) {
        m_lastWasParagraph = true; // the table's end ends the paragraph too
        return;
    }
    flushRun();
    setParagraphFormat(s.para);
    closeParagraph();
    if (m_table)
        out()->insertBlock(QTextBlockFormat(), charFormat(s.chr));
    else
        m_cursor.insertBlock(QTextBlockFormat(), charFormat(s.chr));
    openParagraph();
    m_lastWasParagraph = true;
}

void Reader::setBlockFormat(const QTextBlockFormat &format)
{
    if (m_table)
        out()->setBlockFormat(format);
    else
        m_cursor.setBlockFormat(format);
}

bool Reader::blockMergeable(bool empty) const
{
    const QTextBlock block = m_cursor.block();
    if (!m_cursor.atBlockStart() || (empty && block.length() != 1))
        return false;
    const QTextBlock previous = block.previous();
    // The paragraph break between them must be one we inserted.
    if (!previous.isValid() || m_cursor.position() - 1 < m_startPosition)
        return false;
    QTextCursor before(previous);
    return before.currentFrame() == m_cursor.currentFrame();
}

void Reader::mergeWithPrevious(const QTextBlockFormat &format)
{
    m_cursor.deletePreviousChar();
    m_cursor.setBlockFormat(format);
}

void Reader::grow(qint64 n, const CharProps &c)
{
    if (n == 0)
        return;
    m_largestHalfPoints = std::max(m_largestHalfPoints, c.halfPoints);
    if (!m_para.ruled && !m_stack.empty()) {
        m_para.ruled = true;
        m_para.lineTwips = top().para.lineTwips;
        m_para.lineMultiple = top().para.lineMultiple;
    }
    const int line = textLine(c.halfPoints);
    m_para.chars += n;
    m_para.width += n * emPixels(c.halfPoints) * 3;
    m_para.line = std::max(m_para.line, line);
    m_paraPending = true;
    if (m_table)
        m_tableHeight += n * line;
}

int Reader::textLine(int halfPoints) const
{
    if (m_para.ruled || m_stack.empty())
        return ruledLine(linePixels(halfPoints), m_para.lineTwips, m_para.lineMultiple);
    return ruledLine(linePixels(halfPoints), m_stack.back().para.lineTwips, m_stack.back().para.lineMultiple);
}

qint64 Reader::roomFor(const CharProps &c) const
{
    qint64 room = std::min(MaxParagraphChars - m_para.chars, MaxUnbrokenChars - m_para.unbroken);
    if (m_table)
        room = std::min(room, (MaxTableHeight - m_tableHeight) / textLine(c.halfPoints));
    return room;
}

void Reader::makeRoom()
{
    m_continued = true;
    if (m_para.chars >= MaxParagraphChars || m_para.unbroken >= MaxUnbrokenChars || !m_table)
        paragraph();
    else
        spill();
}

void Reader::openParagraph()
{
    m_para = Extent();
    m_paraPending = true;
}

void Reader::closeParagraph()
{
    flushRun();
    if (!std::exchange(m_paraPending, false))
        return;
    Extent e = std::exchange(m_para, Extent());
    const ParaProps p = m_stack.empty() ? ParaProps() : top().para;
    // An empty paragraph's line has the size in force at its end. What we
    // write of it may end in the size of any text before it, so it is
    // taken at least as large as the largest of those too: it never
    // counts for less read back than it did here.
    if (e.chars == 0)
        e.line = linePixels(std::max({24, m_largestHalfPoints, m_stack.empty() ? 24 : top().chr.halfPoints}));
    if (e.ruled)
        e.line = ruledLine(e.line, e.lineTwips, e.lineMultiple);
    else
        e.line = ruledLine(e.line, p.lineTwips, p.lineMultiple);
    const int spacing = twipsToPixels(p.before) + twipsToPixels(p.after);
    const int indent = twipsToPixels(p.left) + twipsToPixels(p.right) + twipsToPixels(std::max(p.first, 0));
    if (m_table) {
        if (!m_cellHasContent)
            return; // an empty cell, as those that fill out a short row
        m_tableHeight += spacing + (e.chars == 0 ? e.line : 0);
        m_cellParagraphs.push_back({m_row, m_column, spacing, indent, e});
    } else {
        addHeight(e.lines(ReferenceWidth - indent) * e.line + spacing);
    }
    checkParagraphs();
}

void Reader::addHeight(qint64 pixels)
{
    m_height += pixels;
    if (m_height > MaxDocumentHeight)
        refuse(TooLongError);
}

void Reader::checkParagraphs()
{
    if (m_doc->blockCount() + (m_table ? m_table->blocks() : 0) - m_startBlocks > MaxParagraphs)
        refuse(TooManyParagraphsError);
}

void Reader::refuse(const QString &error)
{
    if (m_error.isEmpty())
        m_error = error;
}

void Reader::endDocument()
{
    const State &s = top();
    flushRun();
    // A last paragraph without its \par takes the format in force at the end.
    bool formatLast = m_replacing && !m_lastWasParagraph && s.dest == Dest::Text;
    if (m_table) { // the document ends inside a table
        if (std::exchange(formatLast, false))
            setParagraphFormat(s.para); // in its cell, as a cell's end would
        closeParagraph();
        trimTable();
        addHeight(tableExtent());
        m_nested = nullptr;
        buildTable();
    } else if (m_para.chars > 0) {
        closeParagraph();
    }
    if (m_lastWasParagraph && blockMergeable(false)) {
        // Pasted text ends in the paragraph it went into, which keeps its format.
        mergeWithPrevious(m_replacing ? m_cursor.block().previous().blockFormat() : m_targetBlockFormat);
    } else if (formatLast) {
        setParagraphFormat(s.para);
    }
    keepFallback(); // of a last paragraph that takes no format of its own
}

void Reader::finish()
{
    m_overflow = 0;
    if (!m_error.isEmpty()) {
        m_stack.clear(); // refused: nothing more goes into the document
        return;
    }
    while (!m_stack.empty())
        popGroup();
}

} // namespace tavrin::rtf::reading

namespace tavrin::rtf {

using reading::MaxJunk;
using reading::NotRtfError;
using reading::Reader;

namespace {

// Where the RTF group starts in data, or -1.
qsizetype rtfStart(const QByteArray &data)
{
    const QByteArrayView head = QByteArrayView(data).first(std::min<qsizetype>(data.size(), MaxJunk + 5));
    return head.indexOf("{\\rtf");
}

} // namespace

bool isRtf(const QByteArray &data)
{
    QByteArrayView v(data);
    if (v.startsWith("\xEF\xBB\xBF"))
        v = v.sliced(3);
    qsizetype i = 0;
    while (i < v.size() && (v[i] == ' ' || v[i] == '\t' || v[i] == '\r' || v[i] == '\n'))
        ++i;
    return v.sliced(i).startsWith("{\\rtf");
}

ReadResult read(const QByteArray &data, QTextDocument &doc, const Progress &progress)
{
    const qsizetype start = rtfStart(data);
    if (start < 0)
        return {false, NotRtfError};
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    bool cancelled = false, continued = false;
    QString error;
    {
        QTextCursor cursor(&doc);
        cursor.beginEditBlock();
        Reader reader(cursor, true);
        if (progress)
            reader.reportTo(progress, data.constData());
        reader.run(data.constData() + start, data.constData() + data.size());
        cancelled = reader.cancelled();
        continued = reader.continued();
        cursor.endEditBlock();
        error = reader.error();
        setPageSettings(doc, error.isEmpty() ? reader.page() : std::nullopt);
    }
    if (!error.isEmpty())
        doc.clear(); // and its pictures with it
    doc.setUndoRedoEnabled(undo);
    doc.setModified(false);
    if (cancelled)
        return {false, QString(), true};
    return {error.isEmpty(), error, false, continued};
}

ReadResult insert(const QByteArray &data, QTextCursor &cursor)
{
    const qsizetype start = rtfStart(data);
    if (start < 0 || cursor.isNull())
        return {false, NotRtfError};
    QTextDocument *doc = cursor.document();
    cursor.beginEditBlock();
    const QTextDocumentFragment replaced = cursor.selection();
    cursor.removeSelectedText();
    const int from = cursor.position();
    const int after = doc->characterCount() - from; // the text after the insertion
    QString error;
    {
        Reader reader(cursor, false);
        reader.run(data.constData() + start, data.constData() + data.size());
        error = reader.error();
        if (!error.isEmpty()) {
            // Refused: what was inserted goes, the selection comes back.
            cursor.setPosition(from);
            cursor.setPosition(doc->characterCount() - after, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            cursor.insertFragment(replaced);
            cursor.setPosition(from, QTextCursor::KeepAnchor);
            for (const QString &name : reader.images())
                doc->addResource(QTextDocument::ImageResource, QUrl(name), QVariant());
        }
    }
    cursor.endEditBlock();
    return {error.isEmpty(), error};
}

} // namespace tavrin::rtf

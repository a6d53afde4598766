// The reader's character and paragraph formats, fonts, colours and lists.
#include "rtfreader_p.h"

namespace tavrin::rtf::reading {

void Reader::listWord(State &s, Word word, int param)
{
    const bool inTable = s.dest == Dest::ListTable;
    switch (word) {
    case Word::ListTable: s.dest = Dest::ListTable; break;
    case Word::List:
    case Word::ListOverride:
        if (inTable) {
            s.kind = word == Word::List ? GroupKind::List : GroupKind::ListOverride;
            m_listLevels.clear();
            m_listId = m_listLs = 0;
            m_lfoLevel = -1;
        }
        break;
    case Word::ListId:
        if (inTable)
            m_listId = param;
        break;
    case Word::ListLevel:
        if (inTable) {
            s.kind = GroupKind::ListLevel;
            s.para = ParaProps();
            s.chr.font = -1;
            m_level = ListLevel();
            m_level.defined = true;
        }
        break;
    case Word::LevelNfc:
        if (inTable)
            m_level.numbering = param;
        break;
    case Word::LevelStartAt:
        if (inTable && s.kind == GroupKind::LfoLevel)
            m_lfoStart = clampInt(param, 0, 32767);
        else if (inTable)
            m_level.start = clampInt(param, 0, 32767);
        break;
    case Word::LevelText:
        if (inTable) {
            s.dest = Dest::LevelText;
            m_levelText.clear();
        }
        break;
    case Word::LevelNumbers:
        if (inTable) {
            s.dest = Dest::LevelNumbers;
            m_level.numbers.clear();
        }
        break;
    case Word::LevelFollow: break; // Qt always puts a space after the marker
    case Word::LfoLevel:
        if (inTable) {
            s.kind = GroupKind::LfoLevel;
            m_lfoLevel = std::min(m_lfoLevel + 1, MaxLevels - 1);
            m_lfoStart = -1;
        }
        break;
    case Word::Ls:
        if (s.kind == GroupKind::ListOverride)
            m_listLs = param;
        else
            s.para.ls = std::max(param, 0);
        break;
    case Word::Ilvl: s.para.ilvl = clampInt(param, 0, MaxLevels - 1); break;
    case Word::ListText:
        if (s.dest == Dest::Text) {
            s.dest = Dest::ListText;
            m_fallback.clear();
            m_fallbackChars = 0;
            m_fallbackProps = s.chr;
        }
        break;
    case Word::Pn:
        s.dest = Dest::Pn;
        m_pn = Pn();
        break;
    case Word::PnTxtA:
    case Word::PnTxtB:
        if (s.dest == Dest::Pn) {
            s.dest = Dest::PnText;
            m_pnAfter = word == Word::PnTxtA;
            m_pnText.clear();
        }
        break;
    default:
        if (s.dest == Dest::Pn)
            pnWord(word, param);
        break;
    }
}

void Reader::pnWord(Word word, int param)
{
    switch (word) {
    case Word::PnLvlBlt:
        m_pn.kind = Pn::Bullets;
        m_pn.level = 0;
        break;
    case Word::PnLvlBody:
        m_pn.kind = Pn::Numbers;
        m_pn.level = 0;
        break;
    case Word::PnLvl:
        m_pn.kind = Pn::Numbers;
        m_pn.level = quint8(clampInt(param - 1, 0, MaxLevels - 1));
        break;
    case Word::PnLvlCont: m_pn.kind = Pn::None; break;
    case Word::PnDec: m_pn.numbering = Decimal; break;
    case Word::PnUcrm: m_pn.numbering = UpperRoman; break;
    case Word::PnLcrm: m_pn.numbering = LowerRoman; break;
    case Word::PnUcltr: m_pn.numbering = UpperAlpha; break;
    case Word::PnLcltr: m_pn.numbering = LowerAlpha; break;
    case Word::PnStart: m_pn.start = clampInt(param, 0, 32767); break;
    case Word::PnIndent: m_pn.indent = clampInt(param, -MaxTwips, MaxTwips); break;
    case Word::PnF: m_pn.font = param; break;
    default: break;
    }
}

void Reader::endListGroup(const State &leaving, Dest parentDest)
{
    if (leaving.dest == Dest::LevelText && parentDest != Dest::LevelText) {
        // Its first character is the length of the rest.
        const QString t = m_levelText.take(m_pages);
        if (!t.isEmpty()) {
            const qsizetype n = std::min<qsizetype>(t.at(0).unicode(), t.size() - 1);
            m_level.text = t.mid(1, n);
            if (n < t.at(0).unicode() && m_level.text.endsWith(u';'))
                m_level.text.chop(1);
        }
    }
    if (leaving.dest == Dest::PnText && parentDest == Dest::Pn)
        (m_pnAfter ? m_pn.after : m_pn.before) = m_pnText.take(m_pages).left(MaxFallback);
    if (leaving.dest == Dest::Pn && parentDest != Dest::Pn && m_stack.size() > 1)
        m_stack[m_stack.size() - 2].para.pn = m_pn;
    switch (leaving.kind) {
    case GroupKind::ListLevel: {
        m_level.left = leaving.para.left;
        m_level.first = leaving.para.first;
        m_level.hasLeft = leaving.para.hasLeft;
        m_level.hasFirst = leaving.para.hasFirst;
        if (const Font *f = fontFor(leaving.chr.font))
            m_level.font = f->family;
        // In an override, the level its \lfolevel stands for.
        const size_t at = m_lfoLevel >= 0 ? size_t(m_lfoLevel) : m_listLevels.size();
        if (at < size_t(MaxLevels)) {
            if (m_listLevels.size() <= at)
                m_listLevels.resize(at + 1);
            m_level.startOverride = m_listLevels[at].startOverride;
            m_listLevels[at] = std::move(m_level);
        }
        m_level = ListLevel();
        break;
    }
    case GroupKind::LfoLevel:
        if (m_lfoStart >= 0 && m_lfoLevel >= 0) {
            if (m_listLevels.size() <= size_t(m_lfoLevel))
                m_listLevels.resize(size_t(m_lfoLevel) + 1);
            m_listLevels[size_t(m_lfoLevel)].startOverride = m_lfoStart;
        }
        break;
    case GroupKind::List: m_listTable.addList(m_listId, std::exchange(m_listLevels, {})); break;
    case GroupKind::ListOverride:
        m_listTable.addOverride(m_listLs, m_listId, std::exchange(m_listLevels, {}));
        m_lfoLevel = -1;
        break;
    default: break;
    }
}

void Reader::setParagraphFormat(const ParaProps &props)
{
    ParaProps p = props;
    if (m_para.ruled) {
        p.lineTwips = m_para.lineTwips;
        p.lineMultiple = m_para.lineMultiple;
    }
    QTextBlockFormat f = blockFormat(p);
    if (m_table) {
        // Qt's lists do not go into a table built in one piece: an item
        // in a cell is a paragraph led by its marker text.
        setBlockFormat(f);
        if (!m_fallback.isEmpty()) {
            const QString marker = markerText();
            out()->prependText(marker, charFormat(m_fallbackProps));
            m_para.chars += marker.size();
        }
        m_fallback.clear();
        return;
    }
    QTextListFormat format;
    QPointer<QTextList> *slot = nullptr;
    int left = p.left, first = p.first;
    if (p.ls > 0) {
        if (const ListLevel *level = m_listTable.level(p.ls, p.ilvl)) {
            format = listFormat(*level, p.ilvl);
            slot = &m_lists[(qint64(p.ls) << 4) | p.ilvl];
            left = p.hasLeft || !level->hasLeft ? left : level->left;
            first = p.hasFirst || !level->hasFirst ? first : level->first;
        }
    }
    if (!slot && p.pn.kind != Pn::None) {
        const Font *font = fontFor(p.pn.font);
        format = listFormat(p.pn, font ? font->family : QString());
        slot = &m_pnList;
        const int block = m_cursor.blockNumber();
        if (!(m_pnOf == p.pn) || block != m_pnLastBlock + 1)
            m_pnList = nullptr; // a new list
        m_pnOf = p.pn;
        m_pnLastBlock = block;
        left = p.hasLeft ? left : p.pn.indent;
    }
    if (slot) {
        const qreal margin = left / double(TwipsPerPixel) - format.indent() * m_doc->indentWidth();
        if (margin != 0)
            f.setLeftMargin(margin);
        else
            f.clearProperty(QTextFormat::BlockLeftMargin);
        if (first > 0) {
            f.setTextIndent(first / double(TwipsPerPixel));
        } else {
            f.clearProperty(QTextFormat::TextIndent);
            f.setProperty(ParagraphItemFirstIndent, first);
        }
    }
    m_cursor.setBlockFormat(f);
    if (slot) {
        if (*slot && (*slot)->count() >= MaxListItems) {
            // Qt adds an item in time that grows with its list: a long
            // list goes on in a new one, numbered on where it ends.
            format = (*slot)->format();
            format.setProperty(ListStart,
                               (format.hasProperty(ListStart) ? format.intProperty(ListStart) : 1) + (*slot)->count());
            *slot = nullptr;
        }
        if (*slot)
            (*slot)->add(m_cursor.block());
        else
            *slot = m_cursor.createList(format);
    } else {
        keepFallback();
    }
    m_fallback.clear();
}

QString Reader::markerText()
{
    QString marker = m_fallback.take(m_pages);
    marker.removeIf([](QChar c) { return isDropped(c.unicode()); });
    return marker;
}

void Reader::keepFallback()
{
    if (m_fallback.isEmpty())
        return;
    const QString marker = markerText();
    // Pasted into a paragraph, it starts where the paste does.
    QTextCursor at(m_cursor.block());
    at.setPosition(std::max(at.position(), m_startPosition));
    at.insertText(marker, charFormat(m_fallbackProps));
    m_para.chars += marker.size();
}

const Font *Reader::fontFor(int number) const
{
    auto it = m_fonts.find(number < 0 ? m_defaultFont : number);
    if (it == m_fonts.end() && number >= 0)
        it = m_fonts.find(m_defaultFont);
    return it == m_fonts.end() ? nullptr : &it->second;
}

int Reader::fontCodePage(int number) const
{
    auto it = m_fonts.find(number);
    if (it == m_fonts.end())
        return m_codePage;
    if (it->second.codePage > 0)
        return it->second.codePage;
    return it->second.charset < 0 ? m_codePage : codePageOfCharset(it->second.charset, m_codePage);
}

int Reader::codePageOf(int font) const
{
    if (const Font *f = fontFor(font)) {
        if (f->codePage > 0)
            return f->codePage;
        if (f->charset >= 0)
            return codePageOfCharset(f->charset, m_codePage);
    }
    return m_codePage;
}

void Reader::endFontName()
{
    if (m_fontEntry == INT_MIN || m_fontName.isEmpty())
        return;
    const QString name = m_fontName.take(m_pages).trimmed();
    Font &font = m_fonts[m_fontEntry];
    if (!name.isEmpty() && font.family.isEmpty())
        font.family = name;
}

void Reader::endColor()
{
    if (m_colors.size() < MaxColors)
        m_colors.push_back(m_colorPending ? m_color : QColor());
    m_color = QColor(0, 0, 0);
    m_colorPending = false;
}

QColor Reader::colorAt(int index) const
{
    return index > 0 && index < int(m_colors.size()) ? m_colors[index] : QColor();
}

QTextCharFormat Reader::charFormat(const CharProps &p)
{
    QTextCharFormat f;
    if (const Font *font = fontFor(p.font); font && !font->family.isEmpty())
        f.setFontFamilies(QStringList{font->family});
    f.setFontPointSize(p.halfPoints / 2.0);
    if (p.bold)
        f.setFontWeight(QFont::Bold);
    if (p.italic)
        f.setFontItalic(true);
    if (p.underline)
        f.setFontUnderline(true);
    if (p.strike)
        f.setFontStrikeOut(true);
    if (p.vertical)
        f.setVerticalAlignment(p.vertical > 0 ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignSubScript);
    if (const QColor c = colorAt(p.fg); c.isValid())
        f.setForeground(c);
    if (const QColor c = colorAt(p.bg); c.isValid())
        f.setBackground(c);
    if (p.link >= 0 && p.link < int(m_links.size())) {
        f.setAnchor(true);
        f.setAnchorHref(m_links[p.link]);
    }
    return f;
}

QTextBlockFormat Reader::blockFormat(const ParaProps &p) const
{
    QTextBlockFormat f;
    if (p.align != Qt::AlignLeft)
        f.setAlignment(p.align);
    // 15 twips to a pixel at 96 DPI, the unit of Qt's rich text margins.
    if (p.left)
        f.setLeftMargin(p.left / double(TwipsPerPixel));
    if (p.right)
        f.setRightMargin(p.right / double(TwipsPerPixel));
    if (p.first)
        f.setTextIndent(p.first / double(TwipsPerPixel));
    if (p.before)
        f.setTopMargin(p.before / double(TwipsPerPixel));
    if (p.after)
        f.setBottomMargin(p.after / double(TwipsPerPixel));
    setLineSpacing(f, p.lineTwips, p.lineMultiple);
    setTabs(f, p.tabs);
    return f;
}

void Reader::characterWord(State &s, Word word, bool hasParam, int param)
{
    const bool on = !hasParam || param != 0;
    switch (word) {
    case Word::F:
        if (s.dest == Dest::FontTable) {
            endFontName();
            m_fontEntry = param;
            if (m_fonts.size() < MaxFonts)
                m_fonts.try_emplace(param);
            else if (!m_fonts.count(param))
                m_fontEntry = INT_MIN;
        } else {
            s.chr.font = param;
            m_propsChanged = true;
        }
        break;
    case Word::FCharset:
        if (s.dest == Dest::FontTable && m_fontEntry != INT_MIN)
            m_fonts[m_fontEntry].charset = param;
        break;
    case Word::Cpg:
        if (s.dest == Dest::FontTable && m_fontEntry != INT_MIN)
            m_fonts[m_fontEntry].codePage = param;
        break;
    case Word::Red:
        m_color.setRed(clampInt(param, 0, 255));
        m_colorPending = true;
        break;
    case Word::Green:
        m_color.setGreen(clampInt(param, 0, 255));
        m_colorPending = true;
        break;
    case Word::Blue:
        m_color.setBlue(clampInt(param, 0, 255));
        m_colorPending = true;
        break;
    case Word::Plain:
        s.chr = CharProps{.link = s.chr.link};
        m_propsChanged = true;
        break;
    case Word::B:
        s.chr.bold = on;
        m_propsChanged = true;
        break;
    case Word::I:
        s.chr.italic = on;
        m_propsChanged = true;
        break;
    case Word::Ul:
        s.chr.underline = on;
        m_propsChanged = true;
        break;
    case Word::UlNone:
        s.chr.underline = false;
        m_propsChanged = true;
        break;
    case Word::Strike:
        s.chr.strike = on;
        m_propsChanged = true;
        break;
    case Word::V:
        s.chr.hidden = on;
        m_propsChanged = true;
        break;
    case Word::Super:
        s.chr.vertical = 1;
        m_propsChanged = true;
        break;
    case Word::Sub:
        s.chr.vertical = -1;
        m_propsChanged = true;
        break;
    case Word::NoSuperSub:
        s.chr.vertical = 0;
        m_propsChanged = true;
        break;
    case Word::Fs:
        s.chr.halfPoints = hasParam ? clampInt(param, 2, 3276) : 24;
        m_propsChanged = true;
        break;
    case Word::Cf:
        s.chr.fg = std::max(param, 0);
        m_propsChanged = true;
        break;
    case Word::Cb:
    case Word::Highlight:
        s.chr.bg = std::max(param, 0);
        m_propsChanged = true;
        break;
    default: break;
    }
}

void Reader::paragraphWord(State &s, Word word, int param)
{
    switch (word) {
    case Word::Pard:
    case Word::Par:
        // Paragraphs have no place in a font table: a writer forgot to
        // close it, and the document's text starts here.
        if (s.dest == Dest::FontTable && s.kind != GroupKind::FontEntry) {
            endFontName();
            s.dest = Dest::Text;
        }
        if (word == Word::Pard)
            s.para = ParaProps();
        else
            paragraph();
        break;
    case Word::Ql: s.para.align = Qt::AlignLeft; break;
    case Word::Qc: s.para.align = Qt::AlignHCenter; break;
    case Word::Qr: s.para.align = Qt::AlignRight; break;
    case Word::Qj: s.para.align = Qt::AlignJustify; break;
    case Word::Li:
        s.para.left = clampInt(param, -MaxTwips, MaxTwips);
        s.para.hasLeft = true;
        break;
    case Word::Ri: s.para.right = clampInt(param, -MaxTwips, MaxTwips); break;
    case Word::Fi:
        s.para.first = clampInt(param, -MaxTwips, MaxTwips);
        s.para.hasFirst = true;
        break;
    case Word::Sb: s.para.before = clampInt(param, 0, MaxTwips); break;
    case Word::Sa: s.para.after = clampInt(param, 0, MaxTwips); break;
    case Word::Sl: s.para.lineTwips = clampInt(param, -MaxTwips, MaxTwips); break;
    case Word::SlMult: s.para.lineMultiple = param == 1; break;
    case Word::Tqr: s.para.tabType = QTextOption::RightTab; break;
    case Word::Tqc: s.para.tabType = QTextOption::CenterTab; break;
    case Word::Tqdec: s.para.tabType = QTextOption::DelimiterTab; break;
    case Word::TlDot: s.para.tabLeader = DotLeader; break;
    case Word::TlHyph: s.para.tabLeader = HyphenLeader; break;
    case Word::TlUl: s.para.tabLeader = UnderlineLeader; break;
    case Word::TlTh: s.para.tabLeader = ThickLeader; break;
    case Word::TlEq: s.para.tabLeader = EqualLeader; break;
    case Word::TlMdot: s.para.tabLeader = MiddleDotLeader; break;
    case Word::Tx:
    case Word::Tb:
        // A bar tab is kept as a left stop; it draws no line here.
        if (s.para.tabs.size() < MaxTabs)
            s.para.tabs.append(Tab{clampInt(param, 0, MaxTwips), s.para.tabType, s.para.tabLeader, word == Word::Tb});
        s.para.tabType = QTextOption::LeftTab;
        s.para.tabLeader = NoLeader;
        break;
    default: break;
    }
}

} // namespace tavrin::rtf::reading

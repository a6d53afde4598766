// Lists and tab stops: what the file's list tables and older numbering mean
// as Qt's list formats, and how the writer gives them back.
#include "rtflists.h"

#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextList>

#include <algorithm>
#include <cmath>

namespace tavrin::rtf {

namespace {

constexpr size_t MaxLists = 4096; // lists and overrides a file's tables keep

int toTwips(qreal pixels)
{
    return int(std::lround(pixels * TwipsPerPixel));
}

// A bullet's look from its character and font. Word draws a disc as
// Symbol's U+F0B7 (or the byte B7), a circle as "o" in Courier New and a
// square as Wingdings' U+F0A7 (or the byte A7); other writers use the
// Unicode shapes.
QTextListFormat::Style bulletStyle(const QString &text, const QString &font)
{
    const char16_t c = text.isEmpty() ? u'\x2022' : text.at(0).unicode();
    switch (c) {
    case u'o':
    case 0x25CB:
    case 0x25E6:
    case 0xF06F: return QTextListFormat::ListCircle;
    case 0x25A0:
    case 0x25AA:
    case 0xF0A7:
    case 0xF06E: return QTextListFormat::ListSquare;
    case 0xA7:
    case u'n':
        if (font.contains(QLatin1String("Wingdings"), Qt::CaseInsensitive))
            return QTextListFormat::ListSquare;
        break;
    default: break;
    }
    return QTextListFormat::ListDisc;
}

QTextListFormat::Style numberStyle(int numbering)
{
    switch (numbering) {
    case UpperRoman: return QTextListFormat::ListUpperRoman;
    case LowerRoman: return QTextListFormat::ListLowerRoman;
    case UpperAlpha: return QTextListFormat::ListUpperAlpha;
    case LowerAlpha: return QTextListFormat::ListLowerAlpha;
    default: return QTextListFormat::ListDecimal;
    }
}

int numberingOf(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListUpperRoman: return UpperRoman;
    case QTextListFormat::ListLowerRoman: return LowerRoman;
    case QTextListFormat::ListUpperAlpha: return UpperAlpha;
    case QTextListFormat::ListLowerAlpha: return LowerAlpha;
    case QTextListFormat::ListDecimal: return Decimal;
    default: return Bullet;
    }
}

// Qt puts a full stop after the number unless the format says otherwise.
QString numberSuffix(const QTextListFormat &f)
{
    return f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QStringLiteral(".");
}

bool isBulletStyle(QTextListFormat::Style style)
{
    return numberingOf(style) == Bullet;
}

// The level numbers of a level text (\'00 to \'08) are not shown as such.
QString withoutLevelNumbers(QString s)
{
    s.removeIf([](QChar c) { return c.unicode() < MaxLevels; });
    return s;
}

// n as the style writes it: 1, i, I, a, A (a to z, then aa to zz ...).
QString numberText(int n, QTextListFormat::Style style)
{
    const bool upper = style == QTextListFormat::ListUpperRoman || style == QTextListFormat::ListUpperAlpha;
    QString s;
    if ((style == QTextListFormat::ListUpperAlpha || style == QTextListFormat::ListLowerAlpha) && n > 0) {
        for (int v = n; v > 0; v = (v - 1) / 26)
            s.prepend(QChar(u'a' + (v - 1) % 26));
    } else if ((style == QTextListFormat::ListUpperRoman || style == QTextListFormat::ListLowerRoman) && n > 0
               && n < 4000) {
        static const struct {
            int value;
            const char *text;
        } romans[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                      {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
        for (const auto &r : romans)
            for (; n >= r.value; n -= r.value)
                s += QLatin1String(r.text);
    } else {
        s = QString::number(n);
    }
    return upper ? s.toUpper() : s;
}

// Text for a level text: ASCII as it is, the rest as \uN? (the writer's \uc1).
QByteArray escaped(const QString &s)
{
    QByteArray out;
    for (QChar qc : s) {
        const char16_t c = qc.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            out += "\\u" + QByteArray::number(c > 32767 ? int(c) - 65536 : int(c)) + '?';
        }
    }
    return out;
}

QByteArray hexByte(int n)
{
    static const char hex[] = "0123456789abcdef";
    const uchar b = uchar(std::clamp(n, 0, 255));
    return QByteArray("\\'") + hex[b >> 4] + hex[b & 15];
}

} // namespace

// ---- reading --------------------------------------------------------------------

void ListTable::addList(int id, std::vector<ListLevel> levels)
{
    if (m_lists.size() < MaxLists || m_lists.count(id))
        m_lists[id] = std::move(levels);
}

void ListTable::addOverride(int ls, int listId, std::vector<ListLevel> levels)
{
    if (m_overrides.size() < MaxLists || m_overrides.count(ls))
        m_overrides[ls] = Override{listId, std::move(levels), {}};
}

const ListLevel *ListTable::level(int ls, int ilvl) const
{
    const auto o = m_overrides.find(ls);
    if (o == m_overrides.end() || ilvl < 0 || ilvl >= MaxLevels)
        return nullptr;
    const Override &over = o->second;
    if (over.merged.empty()) {
        // The list's levels with the override's on top, worked out once.
        const auto l = m_lists.find(over.listId);
        over.merged = l == m_lists.end() ? std::vector<ListLevel>() : l->second;
        over.merged.resize(MaxLevels);
        for (size_t i = 0; i < over.levels.size() && i < size_t(MaxLevels); ++i) {
            const ListLevel &mine = over.levels[i];
            if (mine.defined)
                over.merged[i] = mine;
            if (mine.startOverride >= 0)
                over.merged[i].start = mine.startOverride;
        }
    }
    const ListLevel &level = over.merged[size_t(ilvl)];
    return level.defined ? &level : nullptr;
}

QTextListFormat listFormat(const ListLevel &level, int at)
{
    QTextListFormat f;
    f.setIndent(at + 1);
    if (level.numbering == Bullet) {
        f.setStyle(bulletStyle(level.text, level.font));
    } else {
        f.setStyle(numberStyle(level.numbering));
        // Around the first and the last level number of the text.
        qsizetype first = -1, last = -1;
        for (char n : level.numbers) {
            const qsizetype at = qsizetype(uchar(n)) - 1;
            if (at >= 0 && at < level.text.size()) {
                first = first < 0 ? at : std::min(first, at);
                last = std::max(last, at);
            }
        }
        if (first < 0) {
            for (qsizetype i = 0; i < level.text.size(); ++i)
                if (level.text.at(i).unicode() < MaxLevels) {
                    first = first < 0 ? i : first;
                    last = i;
                }
        }
        if (first >= 0) {
            f.setNumberPrefix(withoutLevelNumbers(level.text.left(first)));
            f.setNumberSuffix(withoutLevelNumbers(level.text.mid(last + 1)));
        } else {
            f.setNumberPrefix(QString());
            f.setNumberSuffix(withoutLevelNumbers(level.text));
        }
    }
    if (level.start != 1 && level.numbering != Bullet)
        f.setProperty(ListStart, level.start);
    return f;
}

QTextListFormat listFormat(const Pn &pn, const QString &font)
{
    QTextListFormat f;
    f.setIndent(pn.level + 1);
    if (pn.kind == Pn::Bullets) {
        f.setStyle(bulletStyle(pn.before, font));
    } else {
        f.setStyle(numberStyle(pn.numbering));
        f.setNumberPrefix(pn.before);
        f.setNumberSuffix(pn.after);
        if (pn.start != 1)
            f.setProperty(ListStart, pn.start);
    }
    return f;
}

void setTabs(QTextBlockFormat &format, const QList<Tab> &tabs)
{
    if (tabs.isEmpty())
        return;
    QList<QTextOption::Tab> stops;
    QList<int> leaders;
    bool anyLeader = false;
    for (const Tab &t : tabs) {
        stops.append(QTextOption::Tab(t.twips / double(TwipsPerPixel), t.bar ? QTextOption::LeftTab : t.type,
                                      t.type == QTextOption::DelimiterTab && !t.bar ? QChar(u'.') : QChar()));
        leaders.append(t.leader | (t.bar ? BarTab : 0));
        anyLeader = anyLeader || leaders.last() != 0;
    }
    format.setTabPositions(stops);
    if (anyLeader)
        format.setProperty(ParagraphTabLeaders, QVariant::fromValue(leaders));
}

void setLineSpacing(QTextBlockFormat &format, int twips, bool multiple)
{
    if (twips == 0)
        return;
    if (multiple)
        format.setLineHeight(std::min(std::abs(twips), MaxLineMultiple) * 100.0 / 240,
                             QTextBlockFormat::ProportionalHeight);
    else
        format.setLineHeight(std::abs(twips) / double(TwipsPerPixel),
                             twips > 0 ? QTextBlockFormat::MinimumHeight : QTextBlockFormat::FixedHeight);
}

int ruledLine(int pixels, int twips, bool multiple)
{
    if (twips == 0)
        return pixels;
    if (multiple)
        return std::max(1, int(qint64(pixels) * std::min(std::abs(twips), MaxLineMultiple) / 240));
    const int exact = (std::abs(twips) + TwipsPerPixel - 1) / TwipsPerPixel;
    return twips > 0 ? std::max(pixels, exact) : std::max(1, exact);
}

// ---- writing --------------------------------------------------------------------

int listLevel(const QTextListFormat &format)
{
    return std::clamp(format.indent() - 1, 0, MaxLevels - 1);
}

qreal listIndentPixels(const QTextListFormat &format, qreal indentWidth)
{
    return format.indent() * indentWidth;
}

int itemFirstIndent(const QTextBlockFormat &format, int leftTwips)
{
    // Word puts the marker a hanging indent before the text, at most a quarter inch.
    if (format.textIndent() > 0)
        return toTwips(format.textIndent());
    if (const QVariant first = format.property(ParagraphItemFirstIndent); first.isValid() && first.toInt() <= 0)
        return first.toInt();
    return -std::clamp(leftTwips, 0, TwipsPerInch / 4);
}

ListItem ListWriter::item(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    ListItem item;
    if (!list)
        return item;
    auto it = m_index.find(list);
    if (it == m_index.end()) {
        it = m_index.emplace(list, m_lists.size()).first;
        m_lists.push_back({list, list->format()});
    }
    Entry &e = m_lists[it->second];
    item.ls = int(it->second) + 1;
    item.level = listLevel(e.format);
    const int start = e.format.hasProperty(ListStart) ? e.format.intProperty(ListStart) : 1;
    const int number = start + e.count++;
    switch (e.format.style()) {
    case QTextListFormat::ListCircle:
        item.font = QStringLiteral("Courier New");
        item.bytes = "o";
        break;
    case QTextListFormat::ListSquare:
        item.font = QStringLiteral("Wingdings");
        item.bytes = "\\'a7";
        break;
    default:
        if (isBulletStyle(e.format.style())) {
            item.font = QStringLiteral("Symbol");
            item.bytes = "\\'b7";
        } else {
            item.text = e.format.numberPrefix() + numberText(number, e.format.style()) + numberSuffix(e.format);
        }
        break;
    }
    return item;
}

QByteArray ListWriter::tables(const std::function<int(const QString &)> &fontIndex) const
{
    if (m_lists.empty())
        return QByteArray();
    QByteArray out = "{\\*\\listtable\r\n";
    for (size_t i = 0; i < m_lists.size(); ++i) {
        const QTextListFormat &f = m_lists[i].format;
        const QByteArray id = QByteArray::number(qulonglong(i + 1));
        const int numbering = numberingOf(f.style());
        const int level = listLevel(f);
        const int start = f.hasProperty(ListStart) ? f.intProperty(ListStart) : 1;
        out += "{\\list\\listtemplateid" + id;
        // Every level looks like the list's own, so that an item moved a
        // level in or out in another program keeps the look.
        for (int k = 0; k < MaxLevels; ++k) {
            const QByteArray nfc = QByteArray::number(numbering);
            out += "{\\listlevel\\levelnfc" + nfc + "\\levelnfcn" + nfc
                   + "\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat" + QByteArray::number(k == level ? start : 1);
            QString font;
            if (numbering == Bullet) {
                QByteArray bullet = "\\u-3913 ?";
                font = QStringLiteral("Symbol");
                if (f.style() == QTextListFormat::ListCircle) {
                    bullet = "o";
                    font = QStringLiteral("Courier New");
                } else if (f.style() == QTextListFormat::ListSquare) {
                    bullet = "\\u-3929 ?";
                    font = QStringLiteral("Wingdings");
                }
                out += "{\\leveltext\\'01" + bullet + ";}{\\levelnumbers;}";
            } else {
                const QString prefix = f.numberPrefix(), suffix = numberSuffix(f);
                out += "{\\leveltext" + hexByte(int(prefix.size() + 1 + suffix.size())) + escaped(prefix) + hexByte(k)
                       + escaped(suffix) + ";}{\\levelnumbers" + hexByte(int(prefix.size() + 1)) + ";}";
            }
            if (!font.isEmpty())
                out += "\\f" + QByteArray::number(fontIndex(font));
            out += "\\fi-360\\li" + QByteArray::number(720 * (k + 1)) + "}\r\n";
        }
        out += "{\\listname ;}\\listid" + id + "}\r\n";
    }
    out += "}\r\n{\\*\\listoverridetable";
    for (size_t i = 0; i < m_lists.size(); ++i) {
        const QByteArray id = QByteArray::number(qulonglong(i + 1));
        out += "{\\listoverride\\listid" + id + "\\listoverridecount0\\ls" + id + "}";
    }
    out += "}\r\n";
    return out;
}

void writeSpacingAndTabs(QByteArray &out, const QTextBlockFormat &format)
{
    const int h = toTwips(format.lineHeight());
    switch (format.lineHeightType()) {
    case QTextBlockFormat::MinimumHeight:
        if (h > 0)
            out += "\\sl" + QByteArray::number(h) + "\\slmult0";
        break;
    case QTextBlockFormat::FixedHeight:
        if (h > 0)
            out += "\\sl-" + QByteArray::number(h) + "\\slmult0";
        break;
    case QTextBlockFormat::ProportionalHeight:
        if (const int sl = int(std::lround(format.lineHeight() * 240 / 100)); sl > 0 && sl != 240)
            out += "\\sl" + QByteArray::number(sl) + "\\slmult1";
        break;
    default: break;
    }
    const QList<QTextOption::Tab> tabs = format.tabPositions();
    const QList<int> leaders = format.property(ParagraphTabLeaders).value<QList<int>>();
    const bool haveLeaders = leaders.size() == tabs.size();
    static const char *const leaderWords[] = {"", "\\tldot", "\\tlhyph", "\\tlul", "\\tlth", "\\tleq", "\\tlmdot"};
    for (qsizetype i = 0; i < tabs.size() && i < MaxTabs; ++i) {
        const QTextOption::Tab &t = tabs.at(i);
        const int code = haveLeaders ? leaders.at(i) : 0;
        const int leader = code & (BarTab - 1);
        // As Word writes a tab: its kind, its leader, its position.
        if (!(code & BarTab)) {
            if (t.type == QTextOption::RightTab)
                out += "\\tqr";
            else if (t.type == QTextOption::CenterTab)
                out += "\\tqc";
            else if (t.type == QTextOption::DelimiterTab)
                out += "\\tqdec";
        }
        if (leader > NoLeader && leader <= MiddleDotLeader)
            out += leaderWords[leader];
        out += code & BarTab ? "\\tb" : "\\tx";
        out += QByteArray::number(std::max(0, toTwips(t.position)));
    }
}

} // namespace tavrin::rtf

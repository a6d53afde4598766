// The RTF writer: walks the document's frames, tables and blocks once and
// writes pure ASCII RTF, with only the control words that change the format
// from one run of text to the next.
#include "rtf.h"
#include "rtfformat.h"
#include "rtfpage.h"
#include "rtfpictures.h"
#include "rtflists.h"
#include "rtftables.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <charconv>
#include <cmath>

namespace tavrin::rtf {

namespace {

// The character format as RTF sees it.
struct CharState {
    int font = 0;
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false, strike = false;
    int vertical = 0;
    int fg = 0, bg = 0; // colour table indexes, 0 automatic
    bool operator==(const CharState &) const = default;
};

int toTwips(qreal pixels)
{
    return int(std::lround(pixels * TwipsPerPixel));
}

QString familyOf(const QTextCharFormat &f)
{
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return f.property(QTextFormat::FontFamily).toString();
}

class Writer
{
public:
    explicit Writer(const QTextDocument &doc)
        : m_doc(doc)
    {
        const QFont font = doc.defaultFont();
        m_defaultFamily = font.family();
        m_defaultHalfPoints = font.pointSizeF() > 0 ? int(std::lround(font.pointSizeF() * 2)) : 24;
        m_fonts.append(m_defaultFamily);
        m_fontIndex.insert(m_defaultFamily, 0);
    }

    QByteArray write()
    {
        m_out.reserve(m_doc.characterCount() + 1024);
        writeFrame(m_doc.rootFrame());
        QByteArray body;
        body.swap(m_out);
        const QByteArray lists = m_lists.tables([this](const QString &family) { return fontIndex(family); });

        m_out.reserve(body.size() + 1024);
        m_needSpace = false;
        m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
        for (qsizetype i = 0; i < m_fonts.size(); ++i) {
            m_out += "{\\f";
            number(int(i));
            m_out += "\\fnil\\fcharset0 ";
            QString name = m_fonts.at(i);
            text(name.remove(u';')); // the entry's terminator cannot be escaped
            m_out += ";}";
        }
        m_out += "}\r\n{\\colortbl;";
        for (QRgb rgb : std::as_const(m_colors)) {
            m_out += "\\red";
            number(qRed(rgb));
            m_out += "\\green";
            number(qGreen(rgb));
            m_out += "\\blue";
            number(qBlue(rgb));
            m_out += ';';
        }
        m_out += "}\r\n";
        m_out += lists;
        if (const std::optional<PageSettings> page = pageSettings(m_doc)) {
            word("\\paperw", page->paperWidth);
            word("\\paperh", page->paperHeight);
            word("\\margl", page->left);
            word("\\margr", page->right);
            word("\\margt", page->top);
            word("\\margb", page->bottom);
            if (page->landscape)
                m_out += "\\landscape";
            m_out += "\r\n";
        }
        m_out += body;
        m_out += "}\r\n";
        return m_out;
    }

private:
    // ---- low-level output ------------------------------------------------------

    void number(int n)
    {
        char buf[16];
        auto r = std::to_chars(buf, buf + sizeof buf, n);
        m_out.append(buf, r.ptr - buf);
    }

    void word(const char *w, int n)
    {
        m_out += w;
        number(n);
    }

    // Text escaped for RTF: \ { } escaped, tab and line separator as control
    // words, everything beyond ASCII as \uN? (negative N above 32767).
    void text(QStringView s)
    {
        const QChar *p = s.data();
        const QChar *end = p + s.size();
        while (p < end) {
            const QChar *run = p;
            while (p < end) {
                const char16_t c = p->unicode();
                if (c < 0x20 || c >= 0x7F || c == u'\\' || c == u'{' || c == u'}')
                    break;
                ++p;
            }
            if (p > run) {
                if (m_needSpace)
                    m_out += ' ';
                m_needSpace = false;
                const qsizetype n = p - run;
                const qsizetype at = m_out.size();
                m_out.resize(at + n);
                char *o = m_out.data() + at;
                for (qsizetype i = 0; i < n; ++i)
                    o[i] = char(run[i].unicode());
            }
            if (p == end)
                break;
            const char16_t c = p->unicode();
            ++p;
            switch (c) {
            case u'\\':
                m_out += "\\\\";
                m_needSpace = false;
                break;
            case u'{':
                m_out += "\\{";
                m_needSpace = false;
                break;
            case u'}':
                m_out += "\\}";
                m_needSpace = false;
                break;
            case u'\t':
                m_out += "\\tab";
                m_needSpace = true;
                break;
            case 0x2028:
                m_out += "\\line";
                m_needSpace = true;
                break;
            default:
                if (c < 0x20)
                    break; // other control characters have no place in the text
                m_out += "\\u";
                number(c > 32767 ? int(c) - 65536 : int(c));
                m_out += '?';
                m_needSpace = false;
                break;
            }
        }
    }

    // A control word that may be followed by text needs a delimiter.
    void control(const char *w)
    {
        m_out += w;
        m_needSpace = true;
    }
    void control(const char *w, int n)
    {
        m_out += w;
        number(n);
        m_needSpace = true;
    }

    // ---- fonts and colours ------------------------------------------------------

    int fontIndex(const QString &family)
    {
        if (family.isEmpty())
            return 0;
        auto it = m_fontIndex.constFind(family);
        if (it != m_fontIndex.constEnd())
            return *it;
        const int index = int(m_fonts.size());
        m_fonts.append(family);
        m_fontIndex.insert(family, index);
        return index;
    }

    int colorIndex(const QBrush &brush)
    {
        if (brush.style() == Qt::NoBrush)
            return 0;
        const QRgb rgb = brush.color().rgb() | 0xFF000000u;
        auto it = m_colorIndex.constFind(rgb);
        if (it != m_colorIndex.constEnd())
            return *it;
        m_colors.append(rgb);
        const int index = int(m_colors.size()); // entry 0 is the automatic colour
        m_colorIndex.insert(rgb, index);
        return index;
    }

    CharState stateOf(const QTextCharFormat &f)
    {
        CharState s;
        s.font = fontIndex(familyOf(f));
        if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
            s.halfPoints = int(std::lround(f.fontPointSize() * 2));
        else if (f.hasProperty(QTextFormat::FontPixelSize) && f.intProperty(QTextFormat::FontPixelSize) > 0)
            s.halfPoints = int(std::lround(f.intProperty(QTextFormat::FontPixelSize) * 1.5));
        else
            s.halfPoints = m_defaultHalfPoints;
        s.halfPoints = std::clamp(s.halfPoints, 2, 3276);
        s.bold = f.fontWeight() >= QFont::DemiBold;
        s.italic = f.fontItalic();
        s.underline = f.fontUnderline();
        s.strike = f.fontStrikeOut();
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            s.vertical = 1;
        else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            s.vertical = -1;
        s.fg = colorIndex(f.foreground());
        s.bg = colorIndex(f.background());
        return s;
    }

    // Writes the control words that turn the current state into s.
    void switchTo(const CharState &s)
    {
        CharState &c = m_state;
        if (s == c)
            return;
        if (s.font != c.font)
            control("\\f", s.font);
        if (s.halfPoints != c.halfPoints)
            control("\\fs", s.halfPoints);
        if (s.bold != c.bold)
            control(s.bold ? "\\b" : "\\b0");
        if (s.italic != c.italic)
            control(s.italic ? "\\i" : "\\i0");
        if (s.underline != c.underline)
            control(s.underline ? "\\ul" : "\\ulnone");
        if (s.strike != c.strike)
            control(s.strike ? "\\strike" : "\\strike0");
        if (s.vertical != c.vertical)
            control(s.vertical > 0 ? "\\super" : s.vertical < 0 ? "\\sub" : "\\nosupersub");
        if (s.fg != c.fg)
            control("\\cf", s.fg);
        if (s.bg != c.bg) {
            // Word shades with \chcbpat; \highlight is what the others read.
            control("\\chcbpat", s.bg);
            control("\\highlight", s.bg);
        }
        c = s;
    }

    // ---- structure ---------------------------------------------------------------

    void writeFrame(QTextFrame *frame)
    {
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (QTextFrame *child = it.currentFrame()) {
                if (auto *table = qobject_cast<QTextTable *>(child))
                    writeTable(table);
                else
                    writeFrame(child);
            } else {
                writeBlock(it.currentBlock(), 0);
                control("\\par");
                m_out += "\r\n";
                m_needSpace = false;
            }
        }
    }

    void writeTable(QTextTable *table)
    {
        const int rows = table->rows();
        const int columns = table->columns();
        struct Colors : ColorIndexer {
            Writer *writer;
            int colorIndex(const QColor &color) override { return writer->colorIndex(QBrush(color)); }
        } colors;
        colors.writer = this;
        for (int r = 0; r < rows; ++r) {
            m_out += rowDefinition(table, r, colors);
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() == r && cell.column() == c) {
                    bool needPar = false;
                    writeItems(cell.begin(), cell.end(), 1, needPar);
                } else {
                    m_out += "\\pard\\intbl";
                    m_needSpace = true;
                }
                control("\\cell");
            }
            m_out += "\\row\r\n";
            m_needSpace = false;
        }
    }

    // A paragraph, in a table's cell at depth 1 and in a nested table's at 2.
    void paragraphBreak()
    {
        control("\\par");
        m_out += "\r\n";
        m_needSpace = false;
    }

    // The blocks and tables of a cell at the depth given, \par between two
    // blocks. A table in a table's cell is written nested in it; tables
    // nested deeper, and other frames, as their paragraphs.
    void writeItems(QTextFrame::iterator it, const QTextFrame::iterator &end, int depth, bool &needPar)
    {
        for (; !(it == end) && !it.atEnd(); ++it) {
            if (QTextFrame *frame = it.currentFrame()) {
                auto *table = qobject_cast<QTextTable *>(frame);
                if (table && depth == 1) {
                    if (needPar)
                        paragraphBreak();
                    writeNestedTable(table);
                    needPar = false;
                } else {
                    writeItems(frame->begin(), frame->end(), depth, needPar);
                }
            } else {
                if (needPar)
                    paragraphBreak();
                writeBlock(it.currentBlock(), depth);
                needPar = true;
            }
        }
    }

    // A table in a cell: its cells end with \nestcell, its rows with their
    // definitions and \nestrow, and a reader without nested tables skips
    // them but for a paragraph break.
    void writeNestedTable(QTextTable *table)
    {
        struct Colors : ColorIndexer {
            Writer *writer;
            int colorIndex(const QColor &color) override { return writer->colorIndex(QBrush(color)); }
        } colors;
        colors.writer = this;
        for (int r = 0; r < table->rows(); ++r) {
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() == r && cell.column() == c) {
                    bool needPar = false;
                    writeItems(cell.begin(), cell.end(), 2, needPar);
                } else {
                    m_out += "\\pard\\intbl\\itap2";
                    m_needSpace = true;
                }
                control("\\nestcell");
            }
            m_out += "{\\*\\nesttableprops";
            m_out += rowDefinition(table, r, colors);
            m_out += "\\nestrow}{\\nonesttables\\par}\r\n";
            m_needSpace = false;
        }
    }

    void writeBlock(const QTextBlock &block, int depth)
    {
        const QTextBlockFormat f = block.blockFormat();
        m_out += "\\pard";
        if (depth > 0)
            m_out += "\\intbl";
        if (depth > 1)
            m_out += "\\itap2";
        const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignHCenter)
            m_out += "\\qc";
        else if (a & Qt::AlignJustify)
            m_out += "\\qj";
        else if ((a & Qt::AlignRight) && !(a & Qt::AlignAbsolute && block.textDirection() == Qt::RightToLeft))
            m_out += "\\qr";
        // A list item's text starts after Qt's list indent. Its \\li and
        // \\fi are always given, or its level's would apply.
        const QTextList *list = block.textList();
        const qreal listIndent = list ? listIndentPixels(list->format(), m_doc.indentWidth()) : 0;
        const int left = toTwips(f.leftMargin() + f.indent() * m_doc.indentWidth() + listIndent);
        if (left || list)
            word("\\li", left);
        if (int v = toTwips(f.rightMargin()))
            word("\\ri", v);
        if (int v = list ? itemFirstIndent(f, left) : toTwips(f.textIndent()); v || list)
            word("\\fi", v);
        if (int v = toTwips(f.topMargin()))
            word("\\sb", v);
        if (int v = toTwips(f.bottomMargin()))
            word("\\sa", v);
        writeSpacingAndTabs(m_out, f);
        m_needSpace = true;
        if (list)
            listItem(block);

        QString openLink; // the address of the field being written, if any
        CharState beforeLink;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QString href = format.isAnchor() ? format.anchorHref() : QString();
            if (href != openLink) {
                if (!openLink.isEmpty()) {
                    m_out += "}}";
                    m_needSpace = false;
                    m_state = beforeLink;
                }
                openLink = href;
                if (!href.isEmpty()) {
                    beforeLink = m_state;
                    // "#name" is a place in the document: a bookmark to Word.
                    const bool bookmark = href.startsWith(u'#');
                    m_out +=
                        bookmark ? "{\\field{\\*\\fldinst HYPERLINK \\\\l \"" : "{\\field{\\*\\fldinst HYPERLINK \"";
                    m_needSpace = false;
                    text(QString(href).sliced(bookmark ? 1 : 0).replace(u'"', QLatin1String("%22")));
                    m_out += "\"}{\\fldrslt";
                    m_needSpace = true;
                }
            }
            switchTo(stateOf(format));
            if (format.isImageFormat()) {
                for (qsizetype i = 0; i < fragment.length(); ++i)
                    image(format.toImageFormat());
            } else {
                text(fragment.text());
            }
        }
        if (!openLink.isEmpty()) {
            m_out += "}}";
            m_needSpace = false;
            m_state = beforeLink;
        }
    }

    // The list and level of an item, and its marker as text for readers
    // that know no lists, as Word writes it.
    void listItem(const QTextBlock &block)
    {
        const ListItem item = m_lists.item(block);
        word("\\ls", item.ls);
        word("\\ilvl", item.level);
        m_out += "{\\listtext";
        if (!item.font.isEmpty())
            word("\\f", fontIndex(item.font));
        if (!item.bytes.isEmpty()) {
            m_out += ' ';
            m_out += item.bytes;
            m_needSpace = false;
        } else {
            m_needSpace = true;
            text(item.text);
        }
        m_out += "\\tab}";
        m_needSpace = false;
    }

    // An image of the document as a PNG picture, at its shown size.
    void image(const QTextImageFormat &f)
    {
        // A picture we could not draw goes back as it stood in its file; a
        // placeholder whose picture was lost (its file was cut short) is not
        // written at all, so that it never becomes a picture of its own.
        if (f.hasProperty(PictureKind)) {
            const QByteArray original = f.property(PictureOriginal).toByteArray();
            if (!original.isEmpty()) {
                m_out += original;
                m_needSpace = false;
            }
            return;
        }
        QImage img = imageOf(f.name());
        if (img.isNull())
            return;
        QByteArray png;
        {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            if (!img.save(&buffer, "PNG"))
                return;
        }
        const double w = f.width() > 0 ? f.width() : img.width();
        const double h =
            f.height() > 0 ? f.height() : (f.width() > 0 ? img.height() * f.width() / img.width() : img.height());
        m_out += "{\\pict\\pngblip";
        word("\\picw", img.width());
        word("\\pich", img.height());
        word("\\picwgoal", toTwips(w));
        word("\\pichgoal", toTwips(h));
        m_out += "\r\n";
        static const char hex[] = "0123456789abcdef";
        const qsizetype lines = (png.size() + 63) / 64;
        const qsizetype at = m_out.size();
        m_out.resize(at + png.size() * 2 + lines * 2);
        char *o = m_out.data() + at;
        for (qsizetype i = 0; i < png.size(); ++i) {
            const uchar b = uchar(png.at(i));
            *o++ = hex[b >> 4];
            *o++ = hex[b & 15];
            if (i % 64 == 63 || i == png.size() - 1) {
                *o++ = '\r';
                *o++ = '\n';
            }
        }
        m_out += '}';
        m_needSpace = false;
    }

    QImage imageOf(const QString &name) const
    {
        const QVariant v = m_doc.resource(QTextDocument::ImageResource, QUrl(name));
        switch (v.typeId()) {
        case QMetaType::QImage: return v.value<QImage>();
        case QMetaType::QPixmap: return v.value<QPixmap>().toImage();
        case QMetaType::QByteArray: return QImage::fromData(v.toByteArray());
        default: break;
        }
        return QImage(name);
    }

    const QTextDocument &m_doc;
    QString m_defaultFamily;
    int m_defaultHalfPoints = 24;
    QByteArray m_out;
    bool m_needSpace = false; // the last control word needs a space before text
    CharState m_state;        // the format in force at this point of the output
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    ListWriter m_lists;
};

} // namespace

QByteArray write(const QTextDocument &doc)
{
    return Writer(doc).write();
}

QByteArray write(const QTextCursor &selection)
{
    QTextDocument copy;
    if (const QTextDocument *source = selection.document()) {
        copy.setDefaultFont(source->defaultFont());
        copy.setIndentWidth(source->indentWidth());
        if (selection.hasSelection()) {
            QTextCursor(&copy).insertFragment(selection.selection());
            // Images are resources of their document: take them along.
            for (QTextBlock b = copy.begin(); b.isValid(); b = b.next())
                for (auto it = b.begin(); !it.atEnd(); ++it) {
                    const QTextCharFormat f = it.fragment().charFormat();
                    if (f.isImageFormat()) {
                        const QUrl url(f.toImageFormat().name());
                        copy.addResource(QTextDocument::ImageResource, url,
                                         source->resource(QTextDocument::ImageResource, url));
                    }
                }
        }
    }
    return write(copy);
}

} // namespace tavrin::rtf

// The RTF reader: one pass over the bytes, with the group state on an explicit
// stack, straight into a QTextDocument through a cursor. Text is gathered in
// runs of equal character format and inserted a run at a time.
#include "rtf.h"
#include "rtfformat.h"
#include "rtfpage.h"
#include "rtfpictures.h"
#include "rtflists.h"
#include "rtftables.h"

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

namespace tavrin::rtf {

namespace {

// Limits that keep hostile input in bounded time and memory.
constexpr int MaxDepth = 1000;       // groups kept on the stack; deeper ones share the top state
constexpr int MaxWordLength = 32;    // letters of a control word that count; the rest are read and dropped
constexpr int MaxParam = 1'000'000'000; // numbers saturate here
constexpr int MaxTwips = 31680;      // 22 inches, the widest indent or spacing we take
constexpr int MaxUnicodeSkip = 16;   // \ucN beyond this is taken as 16
constexpr qsizetype MaxJunk = 1024;  // bytes before "{\rtf" that are ignored
constexpr size_t MaxFonts = 65536;   // font table entries kept
constexpr size_t MaxColors = 65536;  // colour table entries kept
// Columns of a table, as in Word. A row with more cells puts the rest into its
// last cell, a paragraph each: a table's cell grid is its rows times its
// widest row, so one long row under many short ones would otherwise cost
// memory and time far beyond the size of the file.
constexpr int MaxColumns = 63;
constexpr qsizetype ReportEvery = 32 * 1024; // bytes between two calls of a read's progress
constexpr int MaxListItems = 1000;   // items of one list; more go on in a new list (see setParagraphFormat)
constexpr qsizetype MaxFallback = 64; // characters of a list item's marker text and a level's text kept

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
constexpr int RowPixels = 8;         // a table row's borders, spacing and padding
// Pictures: each is shown at most 22 inches (2112 pixels) on either side, as
// in Word, and all of a document's together may take 512 MiB once decoded.
constexpr int MaxPictureSide = MaxTwips / TwipsPerPixel;
constexpr qint64 MaxPictureBytes = qint64(512) << 20;

const QString NotRtfError = QStringLiteral("The file is not in rich text format.");
const QString TooManyParagraphsError =
    QStringLiteral("The document is too large to show: it has more than 500,000 paragraphs and table cells.");
const QString TooLongError =
    QStringLiteral("The document is too long to show: laid out, it would be more than 16 million pixels tall.");
const QString TooManyPicturesError =
    QStringLiteral("The document's pictures are too large to show: together they would take more than 512 MiB.");

// The em and the line of a font size in half-points, in pixels at 96 DPI.
// A line is taken as 1.5 em, more than common fonts need (DejaVu Sans 1.16,
// Noto Sans CJK 1.45).
int emPixels(int halfPoints) { return std::max(1, (halfPoints * 2 + 2) / 3); }
int linePixels(int halfPoints) { return std::max(1, emPixels(halfPoints) * 4 / 3); }
int twipsToPixels(int twips) { return (twips + TwipsPerPixel - 1) / TwipsPerPixel; }

// Code pages whose characters take one or two bytes, and their lead bytes.
bool isLeadByte(int codePage, uchar b)
{
    switch (codePage) {
    case 932: case 10001: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936: case 949: case 950: return b >= 0x81 && b <= 0xFE;
    default: return false;
    }
}

// Every control word the reader acts on. Words not listed are ignored.
enum class Word : quint8 {
    Unknown,
    // destinations
    Rtf, FontTable, ColorTable, Note, Pict, Field, FldInst, FldRslt, Upr, Ud, ShpPict, Object, Skip,
    // document
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U, Bin,
    PaperW, PaperH, MargL, MargR, MargT, MargB, Landscape,
    // font table
    F, FCharset, Cpg, Red, Green, Blue,
    // characters
    Plain, B, I, Ul, UlNone, Strike, Fs, Cf, Cb, Highlight, V, Super, Sub, NoSuperSub,
    // paragraphs
    Pard, Par, Line, Tab, Ql, Qc, Qr, Qj, Li, Ri, Fi, Sb, Sa,
    // special characters
    Emdash, Endash, Bullet, Lquote, Rquote, Ldblquote, Rdblquote, Emspace, Enspace, Qmspace, Zwj, Zwnj, Ltrmark, Rtlmark,
    // tables
    Trowd, Cellx, NestTableProps, Intbl, Itap, Cell, Row, NestCell, NestRow,
    TrLeft, ClMgf, ClMrg, ClVmgf, ClVmrg, ClCbPat, ClCfPat, ClShdng, ClVertAlT, ClVertAlC, ClVertAlB,
    ClBrdrT, ClBrdrL, ClBrdrB, ClBrdrR, OtherBorder, Brdrs, BrdrNone, BrdrW, BrdrCf,
    // pictures
    PngBlip, JpegBlip, WmfBlip, EmfBlip, MacPictBlip, Os2Blip, BitmapBlip, PicW, PicH, PicWGoal, PicHGoal, PicScaleX, PicScaleY,
    // lists
    ListTable, List, ListId, ListLevel, LevelNfc, LevelStartAt, LevelText, LevelNumbers, LevelFollow,
    ListOverride, LfoLevel, Ls, Ilvl, ListText, Pn, PnLvlBlt, PnLvlBody, PnLvl, PnLvlCont, PnDec, PnUcrm,
    PnLcrm, PnUcltr, PnLcltr, PnStart, PnIndent, PnTxtA, PnTxtB, PnF,
    // line spacing and tab stops
    Sl, SlMult, Tx, Tb, Tqr, Tqc, Tqdec, TlDot, TlHyph, TlUl, TlTh, TlEq, TlMdot,
};

const std::unordered_map<std::string_view, Word> &wordTable()
{
    static const std::unordered_map<std::string_view, Word> table = [] {
        std::unordered_map<std::string_view, Word> t{
            {"rtf", Word::Rtf}, {"footnote", Word::Note}, {"annotation", Word::Note}, {"fonttbl", Word::FontTable}, {"colortbl", Word::ColorTable},
            {"pict", Word::Pict}, {"field", Word::Field}, {"fldinst", Word::FldInst},
            {"fldrslt", Word::FldRslt}, {"upr", Word::Upr}, {"ud", Word::Ud},
            {"shppict", Word::ShpPict}, {"object", Word::Object},
            {"ansi", Word::Ansi}, {"mac", Word::Mac}, {"pc", Word::Pc}, {"pca", Word::Pca},
            {"ansicpg", Word::AnsiCpg}, {"deff", Word::Deff}, {"uc", Word::Uc}, {"u", Word::U},
            {"bin", Word::Bin},
            {"paperw", Word::PaperW}, {"paperh", Word::PaperH}, {"margl", Word::MargL}, {"margr", Word::MargR},
            {"margt", Word::MargT}, {"margb", Word::MargB}, {"landscape", Word::Landscape},
            {"f", Word::F}, {"fcharset", Word::FCharset}, {"cpg", Word::Cpg},
            {"red", Word::Red}, {"green", Word::Green}, {"blue", Word::Blue},
            {"plain", Word::Plain}, {"b", Word::B}, {"i", Word::I}, {"ulnone", Word::UlNone},
            {"strike", Word::Strike}, {"striked", Word::Strike}, {"fs", Word::Fs}, {"cf", Word::Cf},
            {"cb", Word::Cb}, {"chcbpat", Word::Cb}, {"highlight", Word::Highlight}, {"v", Word::V},
            {"super", Word::Super}, {"sub", Word::Sub}, {"nosupersub", Word::NoSuperSub},
            {"pard", Word::Pard}, {"par", Word::Par}, {"sect", Word::Par}, {"page", Word::Par},
            {"line", Word::Line}, {"tab", Word::Tab},
            {"ql", Word::Ql}, {"qc", Word::Qc}, {"qr", Word::Qr}, {"qj", Word::Qj}, {"qd", Word::Qj},
            {"li", Word::Li}, {"lin", Word::Li}, {"ri", Word::Ri}, {"rin", Word::Ri}, {"fi", Word::Fi},
            {"sb", Word::Sb}, {"sa", Word::Sa},
            {"emdash", Word::Emdash}, {"endash", Word::Endash}, {"bullet", Word::Bullet},
            {"lquote", Word::Lquote}, {"rquote", Word::Rquote}, {"ldblquote", Word::Ldblquote},
            {"rdblquote", Word::Rdblquote}, {"emspace", Word::Emspace}, {"enspace", Word::Enspace},
            {"qmspace", Word::Qmspace}, {"zwj", Word::Zwj}, {"zwnj", Word::Zwnj},
            {"ltrmark", Word::Ltrmark}, {"rtlmark", Word::Rtlmark},
            {"trowd", Word::Trowd}, {"nesttableprops", Word::NestTableProps}, {"cellx", Word::Cellx}, {"intbl", Word::Intbl}, {"itap", Word::Itap},
            {"cell", Word::Cell}, {"row", Word::Row}, {"nestcell", Word::NestCell}, {"nestrow", Word::NestRow},
            {"pngblip", Word::PngBlip}, {"jpegblip", Word::JpegBlip}, {"wmetafile", Word::WmfBlip},
            {"emfblip", Word::EmfBlip}, {"macpict", Word::MacPictBlip}, {"pmmetafile", Word::Os2Blip},
            {"dibitmap", Word::BitmapBlip}, {"wbitmap", Word::BitmapBlip},
            {"trleft", Word::TrLeft}, {"clmgf", Word::ClMgf}, {"clmrg", Word::ClMrg}, {"clvmgf", Word::ClVmgf},
            {"clvmrg", Word::ClVmrg}, {"clcbpat", Word::ClCbPat}, {"clcfpat", Word::ClCfPat}, {"clshdng", Word::ClShdng},
            {"clvertalt", Word::ClVertAlT}, {"clvertalc", Word::ClVertAlC}, {"clvertalb", Word::ClVertAlB},
            {"clbrdrt", Word::ClBrdrT}, {"clbrdrl", Word::ClBrdrL}, {"clbrdrb", Word::ClBrdrB}, {"clbrdrr", Word::ClBrdrR},
            {"brdrnone", Word::BrdrNone}, {"brdrw", Word::BrdrW}, {"brdrcf", Word::BrdrCf},
            {"picw", Word::PicW}, {"pich", Word::PicH}, {"picwgoal", Word::PicWGoal},
            {"pichgoal", Word::PicHGoal}, {"picscalex", Word::PicScaleX}, {"picscaley", Word::PicScaleY},
            {"listtable", Word::ListTable}, {"listoverridetable", Word::ListTable}, {"list", Word::List},
            {"listid", Word::ListId}, {"listlevel", Word::ListLevel}, {"levelnfc", Word::LevelNfc},
            {"levelnfcn", Word::LevelNfc}, {"levelstartat", Word::LevelStartAt}, {"leveltext", Word::LevelText},
            {"levelnumbers", Word::LevelNumbers}, {"levelfollow", Word::LevelFollow},
            {"listoverride", Word::ListOverride}, {"lfolevel", Word::LfoLevel}, {"ls", Word::Ls}, {"ilvl", Word::Ilvl},
            {"listtext", Word::ListText}, {"pntext", Word::ListText}, {"pn", Word::Pn},
            {"pnlvlblt", Word::PnLvlBlt}, {"pnlvlbody", Word::PnLvlBody}, {"pnlvl", Word::PnLvl},
            {"pnlvlcont", Word::PnLvlCont}, {"pndec", Word::PnDec}, {"pnucrm", Word::PnUcrm}, {"pnlcrm", Word::PnLcrm},
            {"pnucltr", Word::PnUcltr}, {"pnlcltr", Word::PnLcltr}, {"pnstart", Word::PnStart},
            {"pnindent", Word::PnIndent}, {"pntxta", Word::PnTxtA}, {"pntxtb", Word::PnTxtB}, {"pnf", Word::PnF},
            {"sl", Word::Sl}, {"slmult", Word::SlMult}, {"tx", Word::Tx}, {"tb", Word::Tb}, {"tqr", Word::Tqr},
            {"tqc", Word::Tqc}, {"tqdec", Word::Tqdec}, {"tldot", Word::TlDot}, {"tlhyph", Word::TlHyph},
            {"tlul", Word::TlUl}, {"tlth", Word::TlTh}, {"tleq", Word::TlEq}, {"tlmdot", Word::TlMdot},
        };
        // Every kind of underline shows as an underline.
        for (const char *ul : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
                               "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
                               "ululdbwave", "ulw", "ulwave"})
            t.emplace(ul, Word::Ul);
        // Every kind of border line shows as a single one.
        for (const char *line : {"brdrs", "brdrth", "brdrsh", "brdrdb", "brdrdot", "brdrdash", "brdrhair", "brdrdashsm",
                                 "brdrdashd", "brdrdashdd", "brdrtriple", "brdrwavy", "brdrinset", "brdroutset"})
            t.emplace(line, Word::Brdrs);
        // Borders of rows and paragraphs, whose line words are not a cell's.
        for (const char *side : {"trbrdrt", "trbrdrl", "trbrdrb", "trbrdrr", "trbrdrh", "trbrdrv", "brdrt", "brdrl",
                                 "brdrb", "brdrr", "brdrbtw", "brdrbar", "box"})
            t.emplace(side, Word::OtherBorder);
        // Destinations whose content is never shown: document data, styles,
        // lists' names, object data, the names of bookmarks and index entries.
        // (Headers and footers are read as text where they stand in the file,
        // and footnotes and comments in brackets where they are referred to,
        // so that none of their text is lost.)
        for (const char *dest :
             {"info", "stylesheet", "atnid", "atnauthor", "atntime", "atnref", "atndate",
              "atnicn", "filetbl", "revtbl", "listname", "rsidtbl", "generator",
              "pgdsctbl", "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl",
              "objdata", "objclass", "objname", "objalias", "objsect", "objtime", "xe", "tc", "txe", "rxe",
              "pnseclvl", "private", "template", "docvar", "userprops",
              "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn", "bkmkstart", "bkmkend",
              "nonshppict", "shpinst", "do", "comment", "title", "subject", "author", "operator",
              "keywords", "category", "company", "manager", "doccomm", "hlinkbase", "buptim", "creatim",
              "printim", "revtim", "htmltag", "mhtmltag", "blipuid", "panose", "falt",
              "fname", "listpicture", "background", "wgrffmtfilter", "mmathPr", "defchp", "defpap",
              "protusertbl", "fontemb", "fontfile", "keycode", "oldcprops", "oldpprops", "oldsprops",
              "oldtprops", "fldtype", "datafield", "formfield", "picprop", "passwordhash", "xmlopen",
              "xmlclose", "xmlattrname", "xmlattrvalue", "nonesttables", "mmath", "ts"})
            t.emplace(dest, Word::Skip);
        return t;
    }();
    return table;
}

Word lookup(std::string_view name)
{
    const auto &t = wordTable();
    auto it = t.find(name);
    return it == t.end() ? Word::Unknown : it->second;
}

// The code page of a font's \fcharset.
int codePageOfCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return 1252; // Symbol: shown as the bytes say
    case 77: return 10000;
    case 78: return 932;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return documentCodePage;
    }
}

// Bytes in a Windows (or Mac) code page to text, with a decoder per code page.
class CodePages
{
public:
    QString decode(int codePage, QByteArrayView bytes)
    {
        bool ascii = true;
        for (char c : bytes)
            if (uchar(c) >= 0x80) { ascii = false; break; }
        if (ascii)
            return QString::fromLatin1(bytes);
        QStringDecoder &decoder = decoderFor(codePage);
        decoder.resetState();
        return decoder.decode(bytes);
    }

private:
    QStringDecoder &decoderFor(int codePage)
    {
        auto it = m_decoders.find(codePage);
        if (it != m_decoders.end())
            return it->second;
        QStringDecoder decoder(icuName(codePage).constData(), QStringConverter::Flag::Stateless);
        if (!decoder.isValid())
            decoder = QStringDecoder("windows-1252", QStringConverter::Flag::Stateless);
        return m_decoders.emplace(codePage, std::move(decoder)).first->second;
    }

    static QByteArray icuName(int codePage)
    {
        switch (codePage) {
        case 437: return "IBM437";
        case 850: return "IBM850";
        case 932: return "windows-932";
        case 936: return "GBK";
        case 949: return "windows-949";
        case 950: return "windows-950";
        case 10000: return "macintosh";
        case 10001: return "Shift_JIS";
        case 65001: return "UTF-8";
        default: return "windows-" + QByteArray::number(codePage);
        }
    }

    std::unordered_map<int, QStringDecoder> m_decoders;
};

// Text arriving as bytes in some code page and as Unicode characters, in
// order. Bytes wait until a character or the end, so that a double-byte
// character split over two \'hh escapes decodes as one.
class TextSink
{
public:
    void addBytes(CodePages &pages, int codePage, QByteArrayView bytes)
    {
        if (codePage != m_codePage && !m_bytes.isEmpty())
            decodeBytes(pages);
        m_codePage = codePage;
        m_bytes.append(bytes);
    }
    void addChar(CodePages &pages, char16_t c)
    {
        if (!m_bytes.isEmpty())
            decodeBytes(pages);
        m_text.append(QChar(c));
    }
    bool isEmpty() const { return m_text.isEmpty() && m_bytes.isEmpty(); }
    // True unless the bytes waiting end inside a character of their code
    // page, where the text cannot be cut.
    bool atCharBoundary() const
    {
        const qsizetype n = m_bytes.size();
        if (n == 0)
            return true;
        if (m_codePage == 65001) {
            qsizetype i = n - 1;
            while (i > 0 && n - i < 4 && (uchar(m_bytes[i]) & 0xC0) == 0x80)
                --i;
            const uchar lead = uchar(m_bytes[i]);
            const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            return n - i >= length;
        }
        if (!isLeadByte(m_codePage, 0x81))
            return true; // one byte a character
        qsizetype i = 0;
        while (i < n)
            i += isLeadByte(m_codePage, uchar(m_bytes[i])) ? 2 : 1;
        return i == n;
    }
    // The text so far; the sink is empty afterwards.
    QString take(CodePages &pages)
    {
        if (!m_bytes.isEmpty())
            decodeBytes(pages);
        QString t = m_text;
        m_text.resize(0);
        return t;
    }
    void clear()
    {
        m_text.resize(0);
        m_bytes.resize(0);
    }

private:
    void decodeBytes(CodePages &pages)
    {
        m_text.append(pages.decode(m_codePage, m_bytes));
        m_bytes.resize(0);
    }
    QString m_text;
    QByteArray m_bytes;
    int m_codePage = 1252;
};

// ListTable holds the list override table too; ListText is an item's
// fallback marker (\listtext, \pntext), kept until its paragraph ends.
enum class Dest : quint8 { Text, FontTable, ColorTable, Picture, FieldInst, ListTable, LevelText, LevelNumbers, Pn, PnText, ListText };

struct CharProps {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    qint8 vertical = 0; // 1 superscript, -1 subscript
    int font = -1;      // font number; -1 is the default font
    int halfPoints = 24;
    int fg = 0;         // colour table indexes; 0 is automatic
    int bg = 0;
    int link = -1;      // index into the reader's link targets
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
    bool star = false;          // "\*" seen: an unknown destination word skips the group
    bool firstWord = true;      // no control word, text or subgroup yet in this group
    bool nestedRow = false;     // in a nested table's row properties
    int uc = 1;                 // characters after \uN to skip
    int field = -1;             // index of the field this group belongs to
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
    qint64 chars = 0;  // characters (a byte of a code page counting as one) and pictures
    qint64 width = 0;  // their width, in fifths of a pixel
    qint64 breaks = 0; // line breaks
    qint64 unbroken = 0; // characters since the last space or tab
    int line = 0;      // the tallest line, pixels
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

int clampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int hexValue(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Characters that never reach the document (see Reader::flushRun): they
// take no room in it either.
bool isDropped(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC;
}
qsizetype controlBytes(const char *s, qsizetype n)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < n; ++i)
        count += isDropped(uchar(s[i])) ? 1 : 0;
    return count;
}

// Bytes that end a run of plain text.
constexpr std::array<bool, 256> makeSpecials()
{
    std::array<bool, 256> s{};
    s[uchar('\\')] = s[uchar('{')] = s[uchar('}')] = s[uchar('\r')] = s[uchar('\n')] = true;
    return s;
}
constexpr std::array<bool, 256> Specials = makeSpecials();

std::atomic<quint64> imageCounter{0};

class Reader
{
public:
    Reader(QTextCursor &cursor, bool replacing)
        : m_cursor(cursor), m_doc(cursor.document()), m_replacing(replacing)
    {
        m_startPosition = cursor.position();
        m_startBlocks = m_doc->blockCount();
        m_targetBlockFormat = cursor.blockFormat();
        m_stack.reserve(64);
    }

    // Calls progress as the read goes on (see rtf::Progress).
    void reportTo(const Progress &progress, const char *begin)
    {
        m_progress = &progress;
        m_begin = begin;
    }
    bool cancelled() const { return m_cancelled; }

    void run(const char *p, const char *end)
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

    // The page settings the file gave, if any.
    std::optional<PageSettings> page() const { return m_hasPage ? std::optional(m_page) : std::nullopt; }

    // Why the document cannot be shown; empty when it can.
    const QString &error() const { return m_error; }
    // Whether a paragraph or a table went on in a new one (see ReadResult).
    bool continued() const { return m_continued; }
    // The names of the pictures added to the document as its resources.
    const std::vector<QString> &images() const { return m_images; }

private:
    State &top() { return m_stack.back(); }

    // Tells the progress callback where the read is; false when it says stop.
    // Called when p reaches m_nextReport, which stays at m_end without a callback.
    bool report(const char *p)
    {
        m_nextReport = m_end - p > ReportEvery ? p + ReportEvery : m_end;
        if ((*m_progress)(p - m_begin, m_end - m_begin))
            return true;
        m_cancelled = true;
        m_nextReport = m_end;
        return false;
    }

    // ---- groups -------------------------------------------------------------

    // Opens a group; true when the group is to be skipped whole.
    bool pushGroup()
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

    void popGroup()
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

    // Skips from p (inside a group) to just past its closing brace, then
    // closes the group. \bin data is stepped over by its length.
    const char *skipGroup(const char *p)
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

    // ---- tokens -------------------------------------------------------------

    const char *controlWord(const char *p)
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
            switch (c) {
            case '\\': case '{': case '}':
                text(p - 1, p);
                break;
            case '~': addChar(0x00A0); break;
            case '-': addChar(0x00AD); break;
            case '_': addChar(0x2011); break;
            case '*': top().star = true; break;
            case '\r': case '\n': paragraph(); break;
            case '\t': addChar(u'\t'); break;
            default: break;
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
        const Word word = lookup(name);
        if (word == Word::Bin) {
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
        handleWord(word, hasParam, param);
        return p;
    }

    void handleWord(Word word, bool hasParam, int param)
    {
        if (m_stack.empty())
            return;
        State &s = top();
        const bool first = s.firstWord;
        s.firstWord = false;
        const bool on = !hasParam || param != 0;

        // A destination starred with \* that we do not know is skipped whole.
        if (s.star && first) {
            switch (word) {
            case Word::FldInst: case Word::Ud: case Word::ShpPict: case Word::Pict:
            case Word::FldRslt: case Word::FontTable: case Word::ColorTable:
            case Word::NestTableProps: case Word::ListTable: case Word::Pn: case Word::Note:
                break;
            default:
                m_skipRestOfGroup = true;
                return;
            }
        }

        switch (word) {
        case Word::Unknown:
        case Word::Rtf:
        case Word::Ud:
        case Word::ShpPict:
        case Word::Object:
        case Word::Bin:
            break;
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
        case Word::FontTable: s.dest = Dest::FontTable; m_fontEntry = -1; break;
        case Word::ColorTable: s.dest = Dest::ColorTable; break;
        case Word::Pict:
            s.dest = Dest::Picture;
            m_picture = Picture();
            if (first && m_overflow == 0)
                m_picture.start = m_groupOpen;
            break;
        case Word::Field:
            s.field = ++m_fieldCount;
            break;
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
        case Word::Ansi: m_codePage = 1252; break;
        case Word::Mac: m_codePage = 10000; break;
        case Word::Pc: m_codePage = 437; break;
        case Word::Pca: m_codePage = 850; break;
        case Word::AnsiCpg: if (param > 0) m_codePage = param; break;
        case Word::Deff: m_defaultFont = param; break;
        case Word::Uc: s.uc = clampInt(param, 0, MaxUnicodeSkip); break;
        case Word::U:
            if (param < 0)
                param += 65536;
            if (param >= 0 && param <= 0xFFFF)
                addChar(char16_t(param));
            m_skip = s.uc;
            break;
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
        case Word::Red: m_color.setRed(clampInt(param, 0, 255)); m_colorPending = true; break;
        case Word::Green: m_color.setGreen(clampInt(param, 0, 255)); m_colorPending = true; break;
        case Word::Blue: m_color.setBlue(clampInt(param, 0, 255)); m_colorPending = true; break;
        case Word::Plain: s.chr = CharProps{.link = s.chr.link}; m_propsChanged = true; break;
        case Word::B: s.chr.bold = on; m_propsChanged = true; break;
        case Word::I: s.chr.italic = on; m_propsChanged = true; break;
        case Word::Ul: s.chr.underline = on; m_propsChanged = true; break;
        case Word::UlNone: s.chr.underline = false; m_propsChanged = true; break;
        case Word::Strike: s.chr.strike = on; m_propsChanged = true; break;
        case Word::V: s.chr.hidden = on; m_propsChanged = true; break;
        case Word::Super: s.chr.vertical = 1; m_propsChanged = true; break;
        case Word::Sub: s.chr.vertical = -1; m_propsChanged = true; break;
        case Word::NoSuperSub: s.chr.vertical = 0; m_propsChanged = true; break;
        case Word::Fs: s.chr.halfPoints = hasParam ? clampInt(param, 2, 3276) : 24; m_propsChanged = true; break;
        case Word::Cf: s.chr.fg = std::max(param, 0); m_propsChanged = true; break;
        case Word::Cb:
        case Word::Highlight: s.chr.bg = std::max(param, 0); m_propsChanged = true; break;
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
        case Word::Line: addChar(0x2028); break;
        case Word::Tab: addChar(u'\t'); break;
        case Word::Ql: s.para.align = Qt::AlignLeft; break;
        case Word::Qc: s.para.align = Qt::AlignHCenter; break;
        case Word::Qr: s.para.align = Qt::AlignRight; break;
        case Word::Qj: s.para.align = Qt::AlignJustify; break;
        case Word::Li: s.para.left = clampInt(param, -MaxTwips, MaxTwips); s.para.hasLeft = true; break;
        case Word::Ri: s.para.right = clampInt(param, -MaxTwips, MaxTwips); break;
        case Word::Fi: s.para.first = clampInt(param, -MaxTwips, MaxTwips); s.para.hasFirst = true; break;
        case Word::Sb: s.para.before = clampInt(param, 0, MaxTwips); break;
        case Word::Sa: s.para.after = clampInt(param, 0, MaxTwips); break;
        case Word::Emdash: addChar(0x2014); break;
        case Word::Endash: addChar(0x2013); break;
        case Word::Bullet: addChar(0x2022); break;
        case Word::Lquote: addChar(0x2018); break;
        case Word::Rquote: addChar(0x2019); break;
        case Word::Ldblquote: addChar(0x201C); break;
        case Word::Rdblquote: addChar(0x201D); break;
        case Word::Emspace: addChar(0x2003); break;
        case Word::Enspace: addChar(0x2002); break;
        case Word::Qmspace: addChar(0x2005); break;
        case Word::Zwj: addChar(0x200D); break;
        case Word::Zwnj: addChar(0x200C); break;
        case Word::Ltrmark: addChar(0x200E); break;
        case Word::Rtlmark: addChar(0x200F); break;
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
        default:
            if (s.dest != Dest::Text)
                break;
            if (!s.nestedRow)
                cellWord(word, param, m_rowDef, m_cellDef);
            else
                cellWord(word, param, m_nestRowDef, m_nestCellDef);
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
        case Word::PngBlip: pictureFormat(PictureFormat::Png); break;
        case Word::JpegBlip: pictureFormat(PictureFormat::Jpeg); break;
        case Word::WmfBlip: pictureFormat(PictureFormat::Wmf); break;
        case Word::EmfBlip: pictureFormat(PictureFormat::Emf); break;
        case Word::MacPictBlip: pictureFormat(PictureFormat::MacPict); break;
        case Word::Os2Blip: pictureFormat(PictureFormat::Os2Metafile); break;
        case Word::BitmapBlip: pictureFormat(PictureFormat::Bitmap); break;
        case Word::PaperW: m_page.paperWidth = clampInt(param, 1, MaxTwips); m_hasPage = true; break;
        case Word::PaperH: m_page.paperHeight = clampInt(param, 1, MaxTwips); m_hasPage = true; break;
        case Word::MargL: m_page.left = clampInt(param, 0, MaxTwips); m_hasPage = true; break;
        case Word::MargR: m_page.right = clampInt(param, 0, MaxTwips); m_hasPage = true; break;
        case Word::MargT: m_page.top = clampInt(param, 0, MaxTwips); m_hasPage = true; break;
        case Word::MargB: m_page.bottom = clampInt(param, 0, MaxTwips); m_hasPage = true; break;
        case Word::Landscape: m_page.landscape = true; m_hasPage = true; break;
        case Word::PicW: m_picture.w = param; break;
        case Word::PicH: m_picture.h = param; break;
        case Word::PicWGoal: m_picture.wGoal = clampInt(param, 0, MaxTwips * 10); break;
        case Word::PicHGoal: m_picture.hGoal = clampInt(param, 0, MaxTwips * 10); break;
        case Word::PicScaleX: m_picture.scaleX = clampInt(param, 1, 1000); break;
        case Word::PicScaleY: m_picture.scaleY = clampInt(param, 1, 1000); break;
        case Word::ListTable: case Word::List: case Word::ListId: case Word::ListLevel: case Word::LevelNfc:
        case Word::LevelStartAt: case Word::LevelText: case Word::LevelNumbers: case Word::LevelFollow:
        case Word::ListOverride: case Word::LfoLevel: case Word::Ls: case Word::Ilvl: case Word::ListText:
        case Word::Pn: case Word::PnLvlBlt: case Word::PnLvlBody: case Word::PnLvl: case Word::PnLvlCont:
        case Word::PnDec: case Word::PnUcrm: case Word::PnLcrm: case Word::PnUcltr: case Word::PnLcltr:
        case Word::PnStart: case Word::PnIndent: case Word::PnTxtA: case Word::PnTxtB: case Word::PnF:
            listWord(s, word, param);
            break;
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
        }
    }

    // ---- lists ----------------------------------------------------------------

    // The words of the list tables, of the older numbering and of list items.
    void listWord(State &s, Word word, int param)
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
        case Word::ListId: if (inTable) m_listId = param; break;
        case Word::ListLevel:
            if (inTable) {
                s.kind = GroupKind::ListLevel;
                s.para = ParaProps();
                s.chr.font = -1;
                m_level = ListLevel();
                m_level.defined = true;
            }
            break;
        case Word::LevelNfc: if (inTable) m_level.numbering = param; break;
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

    void pnWord(Word word, int param)
    {
        switch (word) {
        case Word::PnLvlBlt: m_pn.kind = Pn::Bullets; m_pn.level = 0; break;
        case Word::PnLvlBody: m_pn.kind = Pn::Numbers; m_pn.level = 0; break;
        case Word::PnLvl: m_pn.kind = Pn::Numbers; m_pn.level = quint8(clampInt(param - 1, 0, MaxLevels - 1)); break;
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

    // A word of the definition of the row's next cell (up to its \cellx).
    void cellWord(Word word, int param, RowDef &row, PendingCell &c)
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
        case Word::ClBrdrT: case Word::ClBrdrL: case Word::ClBrdrB: case Word::ClBrdrR:
            c.side = int(word) - int(Word::ClBrdrT);
            c.borders[c.side] = Border{.set = true};
            break;
        case Word::OtherBorder: c.side = -1; break;
        case Word::Brdrs: if (c.side >= 0) c.borders[c.side].line = true; break;
        case Word::BrdrNone: if (c.side >= 0) c.borders[c.side].line = false; break;
        case Word::BrdrW: if (c.side >= 0) c.borders[c.side].width = clampInt(param, 0, 255); break;
        case Word::BrdrCf: if (c.side >= 0) c.borders[c.side].color = std::max(param, 0); break;
        default: break;
        }
    }

    // A group of the list tables or of the older numbering closes.
    void endListGroup(const State &leaving, Dest parentDest)
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
        default:
            break;
        }
    }

    // The paragraph at the cursor takes its format, and its place in a list:
    // paragraphs of the same list override and level are items of one list,
    // and those of the older numbering of one list while they follow each
    // other. An item's text starts at its \li, Qt's list indent included,
    // and its fallback marker is dropped; a paragraph that is no item keeps
    // the marker as text.
    void setParagraphFormat(const ParaProps &props)
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
                format.setProperty(ListStart, (format.hasProperty(ListStart) ? format.intProperty(ListStart) : 1) + (*slot)->count());
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

    // The held marker text, without the characters that never reach the
    // document (see flushRun), as any other text.
    QString markerText()
    {
        QString marker = m_fallback.take(m_pages);
        marker.removeIf([](QChar c) { return isDropped(c.unicode()); });
        return marker;
    }

    // The paragraph at the cursor is no list item: its marker text, if it
    // has one, is shown at its start.
    void keepFallback()
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

    // \cellx: the cell's definition is complete, its right edge at x twips.
    void endCellDef(int x, RowDef &row, PendingCell &pending)
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
        static constexpr QTextFormat::Property widths[] = {QTextFormat::TableCellTopBorder, QTextFormat::TableCellLeftBorder,
                                                           QTextFormat::TableCellBottomBorder, QTextFormat::TableCellRightBorder};
        static constexpr QTextFormat::Property styles[] = {QTextFormat::TableCellTopBorderStyle, QTextFormat::TableCellLeftBorderStyle,
                                                           QTextFormat::TableCellBottomBorderStyle, QTextFormat::TableCellRightBorderStyle};
        static constexpr QTextFormat::Property brushes[] = {QTextFormat::TableCellTopBorderBrush, QTextFormat::TableCellLeftBorderBrush,
                                                            QTextFormat::TableCellBottomBorderBrush, QTextFormat::TableCellRightBorderBrush};
        bool anyBorder = false;
        for (const Border &b : c.borders)
            anyBorder = anyBorder || b.set;
        // A cell with borders gets all four sides, those not given without a line.
        for (int i = 0; anyBorder && i < 4; ++i) {
            const Border &b = c.borders[i];
            const bool line = b.set && b.line && b.width > 0;
            def.format.setProperty(widths[i], line ? b.width / double(TwipsPerPixel) : 0.0);
            def.format.setProperty(styles[i], line ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
            const QColor color = colorAt(b.color);
            if (line)
                def.format.setProperty(brushes[i], QBrush(color.isValid() ? color : QColor(Qt::black)));
        }
        if (row.cells.size() < size_t(MaxColumns) * 4)
            row.cells.push_back(std::move(def));
    }

    // Plain text bytes [s, e) in the current destination.
    void text(const char *s, const char *e)
    {
        if (m_skip > 0) {
            const qsizetype n = std::min<qsizetype>(m_skip, e - s);
            m_skip -= int(n);
            s += n;
        }
        if (s == e || m_stack.empty())
            return;
        State &st = top();
        st.firstWord = false;
        switch (st.dest) {
        case Dest::Text: {
            if (st.chr.hidden)
                return;
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
            break;
        }
        case Dest::FontTable:
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
        case Dest::FieldInst:
            m_fieldText.addBytes(m_pages, codePageOf(st.chr.font), QByteArrayView(s, e - s));
            break;
        case Dest::LevelText:
            m_levelText.addBytes(m_pages, codePageOf(st.chr.font), QByteArrayView(s, std::min<qsizetype>(e - s, MaxFallback)));
            break;
        case Dest::LevelNumbers:
            m_level.numbers.append(s, std::min<qsizetype>(e - s, MaxLevels - m_level.numbers.size()));
            break;
        case Dest::PnText:
            m_pnText.addBytes(m_pages, codePageOf(m_pn.font), QByteArrayView(s, std::min<qsizetype>(e - s, MaxFallback)));
            break;
        case Dest::ListText:
            if (!st.chr.hidden && m_fallbackChars < MaxFallback) {
                const qsizetype n = std::min<qsizetype>(e - s, MaxFallback - m_fallbackChars);
                m_fallback.addBytes(m_pages, codePageOf(st.chr.font), QByteArrayView(s, n));
                m_fallbackChars += n;
            }
            break;
        case Dest::ListTable: case Dest::Pn:
            break;
        }
    }

    void addChar(char16_t c)
    {
        if (m_stack.empty())
            return;
        State &st = top();
        st.firstWord = false;
        switch (st.dest) {
        case Dest::Text:
            if (st.chr.hidden)
                return;
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
            break;
        case Dest::FontTable:
            if (m_fontEntry != INT_MIN)
                m_fontName.addChar(m_pages, c);
            break;
        case Dest::FieldInst:
            m_fieldText.addChar(m_pages, c);
            break;
        case Dest::LevelText: m_levelText.addChar(m_pages, c); break;
        case Dest::PnText: m_pnText.addChar(m_pages, c); break;
        case Dest::ListText:
            if (!st.chr.hidden && m_fallbackChars < MaxFallback) {
                m_fallback.addChar(m_pages, c);
                ++m_fallbackChars;
            }
            break;
        default:
            break;
        }
    }

    // ---- fonts, colours, links, pictures -------------------------------------

    const Font *fontFor(int number) const
    {
        auto it = m_fonts.find(number < 0 ? m_defaultFont : number);
        if (it == m_fonts.end() && number >= 0)
            it = m_fonts.find(m_defaultFont);
        return it == m_fonts.end() ? nullptr : &it->second;
    }

    int fontCodePage(int number) const
    {
        auto it = m_fonts.find(number);
        if (it == m_fonts.end())
            return m_codePage;
        if (it->second.codePage > 0)
            return it->second.codePage;
        return it->second.charset < 0 ? m_codePage : codePageOfCharset(it->second.charset, m_codePage);
    }

    int codePageOf(int font) const
    {
        if (const Font *f = fontFor(font)) {
            if (f->codePage > 0)
                return f->codePage;
            if (f->charset >= 0)
                return codePageOfCharset(f->charset, m_codePage);
        }
        return m_codePage;
    }

    void endFontName()
    {
        if (m_fontEntry == INT_MIN || m_fontName.isEmpty())
            return;
        const QString name = m_fontName.take(m_pages).trimmed();
        Font &font = m_fonts[m_fontEntry];
        if (!name.isEmpty() && font.family.isEmpty())
            font.family = name;
    }

    void endColor()
    {
        if (m_colors.size() < MaxColors)
            m_colors.push_back(m_colorPending ? m_color : QColor());
        m_color = QColor(0, 0, 0);
        m_colorPending = false;
    }

    QColor colorAt(int index) const
    {
        return index > 0 && index < int(m_colors.size()) ? m_colors[index] : QColor();
    }

    // The target of a HYPERLINK field instruction: its address, or "#name"
    // for a \l bookmark; empty for other fields.
    static QString hyperlinkTarget(const QString &instruction)
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

    void pictureFormat(PictureFormat format)
    {
        if (top().dest == Dest::Picture)
            m_picture.format = format;
    }

    // A picture's group has closed: a PNG or JPEG is shown, any other picture
    // (or one that does not decode) gets a placeholder that keeps its group.
    void endPicture()
    {
        Picture pic = std::move(m_picture);
        m_picture = Picture();
        if (!pic.format || m_stack.size() < 2)
            return;
        const State &outer = m_stack[m_stack.size() - 2];
        if (outer.dest != Dest::Text || outer.chr.hidden)
            return;
        QImage image;
        QString kind;
        QByteArray original;
        if (pic.format == PictureFormat::Png || pic.format == PictureFormat::Jpeg) {
            // The decoded size is known from the header: a picture is refused
            // before it is decoded if it would take the document past its budget.
            QBuffer buffer(&pic.data);
            QImageReader reader(&buffer, pic.format == PictureFormat::Png ? "PNG" : "JPEG");
            const QSize size = reader.size();
            const qint64 bytes = size.isValid() ? qint64(size.width()) * size.height() * 4 : 0;
            if (m_pictureBytes + bytes > MaxPictureBytes) {
                refuse(TooManyPicturesError);
                return;
            }
            if (!pic.data.isEmpty())
                image = reader.read();
            m_pictureBytes += std::max<qint64>(bytes, image.sizeInBytes());
        }
        // Shown size: the goal size in twips (15 twips a pixel at 96 DPI) or the
        // image's own, scaled by \picscalex/y percent, and within the largest
        // size a picture takes.
        double w, h;
        if (!image.isNull()) {
            w = (pic.wGoal > 0 ? pic.wGoal / double(TwipsPerPixel) : image.width()) * pic.scaleX / 100.0;
            h = (pic.hGoal > 0 ? pic.hGoal / double(TwipsPerPixel) : image.height()) * pic.scaleY / 100.0;
        } else {
            // Only a picture whose group closed in the file is kept: what is
            // written back must be a whole group. One cut short is left out.
            if (!pic.start || !m_groupClose || m_groupClose <= pic.start)
                return;
            original = QByteArray(pic.start, m_groupClose - pic.start);
            const QSizeF shown = placeholderSize(*pic.format, pic.w, pic.h, pic.wGoal, pic.hGoal, pic.scaleX, pic.scaleY);
            w = shown.width();
            h = shown.height();
            kind = pictureKind(*pic.format);
        }
        if (const double over = std::max(w, h) / MaxPictureSide; over > 1) {
            w /= over;
            h /= over;
        }
        w = std::max(w, 1.0);
        h = std::max(h, 1.0);
        if (image.isNull()) {
            image = placeholderImage(kind, {w, h});
            const qint64 bytes = image.sizeInBytes() + original.size();
            if (m_pictureBytes + bytes > MaxPictureBytes) {
                refuse(TooManyPicturesError);
                return;
            }
            m_pictureBytes += bytes;
        }
        const QString name = QStringLiteral("rtfimage%1.png").arg(++imageCounter);
        m_doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
        m_images.push_back(name);
        // The picture belongs to the enclosing text.
        prepareOutput(outer);
        admitContent();
        flushRun();
        QTextImageFormat format;
        format.setName(name);
        format.setWidth(w);
        format.setHeight(h);
        if (!kind.isEmpty()) {
            format.setProperty(PictureKind, kind);
            format.setToolTip(kind);
            if (!original.isEmpty())
                format.setProperty(PictureOriginal, original);
        }
        if (m_table)
            out()->insertImage(format);
        else
            m_cursor.insertImage(format);
        growByPicture(w, h);
    }

    // ---- output ---------------------------------------------------------------

    // Called before anything goes into the document: moves into, through or out
    // of a table as the paragraph properties say, and ends the pending run when
    // the character format changed.
    void prepareOutput() { prepareOutput(top()); }
    void prepareOutput(const State &s)
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

    void flushRun()
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

    QTextCharFormat charFormat(const CharProps &p)
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
            f.setVerticalAlignment(p.vertical > 0 ? QTextCharFormat::AlignSuperScript
                                                  : QTextCharFormat::AlignSubScript);
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

    QTextBlockFormat blockFormat(const ParaProps &p) const
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

    void paragraph()
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

    // The format of the paragraph being read, in its table or the document.
    void setBlockFormat(const QTextBlockFormat &format)
    {
        if (m_table)
            out()->setBlockFormat(format);
        else
            m_cursor.setBlockFormat(format);
    }

    // True when the cursor is at the start of a block (an empty one if asked)
    // that may be merged into the block before it, in the same frame.
    bool blockMergeable(bool empty) const
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

    // Joins the cursor's block to the one before it, the joined block taking
    // the given format (Qt keeps the second block's format when the first is empty).
    void mergeWithPrevious(const QTextBlockFormat &format)
    {
        m_cursor.deletePreviousChar();
        m_cursor.setBlockFormat(format);
    }

    // ---- the document's extent -------------------------------------------------

    // Characters of a font went into the paragraph at the cursor.
    void grow(qint64 n, const CharProps &c)
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

    void growByPicture(double w, double h)
    {
        const int height = std::max(1, int(std::ceil(h)));
        m_para.chars += 1;
        m_para.width += qint64(std::ceil(w)) * 5;
        m_para.line = std::max(m_para.line, height);
        m_paraPending = true;
        if (m_table)
            m_tableHeight += height;
    }

    // A line of text of a font in the paragraph at the cursor, under its line spacing.
    int textLine(int halfPoints) const
    {
        if (m_para.ruled || m_stack.empty())
            return ruledLine(linePixels(halfPoints), m_para.lineTwips, m_para.lineMultiple);
        return ruledLine(linePixels(halfPoints), m_stack.back().para.lineTwips, m_stack.back().para.lineMultiple);
    }

    // Characters of a font that still fit in the paragraph, and in the table.
    qint64 roomFor(const CharProps &c) const
    {
        qint64 room = std::min(MaxParagraphChars - m_para.chars, MaxUnbrokenChars - m_para.unbroken);
        if (m_table)
            room = std::min(room, (MaxTableHeight - m_tableHeight) / textLine(c.halfPoints));
        return room;
    }

    // The paragraph, or the table, has no room for more text: the paragraph
    // goes on in a new one, or the cell after the table.
    void makeRoom()
    {
        m_continued = true;
        if (m_para.chars >= MaxParagraphChars || m_para.unbroken >= MaxUnbrokenChars || !m_table)
            paragraph();
        else
            spill();
    }

    void openParagraph()
    {
        m_para = Extent();
        m_paraPending = true;
    }

    // The paragraph at the cursor is complete: its extent goes to its table,
    // or to the document's height.
    void closeParagraph()
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

    // The height of the closed table at ReferenceWidth: its rows' tallest
    // cells, the columns sharing the width equally.
    qint64 tableExtent() const
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

    void addHeight(qint64 pixels)
    {
        m_height += pixels;
        if (m_height > MaxDocumentHeight)
            refuse(TooLongError);
    }

    void checkParagraphs()
    {
        if (m_doc->blockCount() + (m_table ? m_table->blocks() : 0) - m_startBlocks > MaxParagraphs)
            refuse(TooManyParagraphsError);
    }

    // The document is not shown: the read stops here.
    void refuse(const QString &error)
    {
        if (m_error.isEmpty())
            m_error = error;
    }

    // ---- tables -----------------------------------------------------------------

    void placeInTable(bool inTable)
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

    // Where the content of a table cell goes: the table nested in it, or the cell.
    TableBuilder *out() const { return m_nested ? m_nested : m_table.get(); }

    // Moves into, through or out of a table nested in the current cell as
    // the paragraph properties say. Deeper tables go into its cells.
    void placeInNested(bool nested)
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

    void endNested()
    {
        flushRun();
        m_nested = nullptr;
    }

    // \nestcell: the end of a cell of the nested table; without one, of a
    // paragraph. It counts as a paragraph of the outer cell.
    void nestCell()
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

    // Opens a table at the cursor, its first row starting at m_resumeColumn
    // (a new row starts at the first).
    void beginTable()
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

    // Closes the table: drops its spare columns, adds its height to the
    // document's, puts the table into the document and moves the cursor
    // after it.
    void endTable()
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

    void trimTable()
    {
        m_table->setRows(m_row + 1);
        const int columns = std::min(std::max(m_lastColumn + 1, m_cellxCount), MaxColumns);
        if (m_table->columns() > columns)
            m_table->setColumns(columns);
    }

    // The table read goes into the document, the cursor at the end of its
    // current cell. A grid of its rows' cell edges may have more cells than
    // the reader's, within what is left of the table's weight.
    const QTextTable *buildTable()
    {
        std::unique_ptr<TableBuilder> builder = std::move(m_table);
        const qint64 room = MaxTableWeight - m_tableContent;
        return builder->build(m_cursor, MaxColumns, std::max<qint64>(room, qint64(builder->rows()) * builder->columns()));
    }

    // See MaxTableWeight. The cell grid counts as it is, spare columns too:
    // never less than the grid of the table we write and read back.
    qint64 tableWeight() const { return qint64(m_row + 1) * m_table->columns() + m_tableContent; }

    bool tableFull(int more) const
    {
        return tableWeight() + more > MaxTableWeight || m_tableHeight >= MaxTableHeight;
    }

    // Before the first text or picture goes into the current cell: a full
    // table ends here, and the cell starts the next one.
    void admitContent()
    {
        if (!m_table || m_cellHasContent)
            return;
        if (tableFull(1))
            continueTable();
        m_cellHasContent = m_rowHasContent = true;
        ++m_tableContent;
    }

    // A paragraph break in the current cell. False when it would fill the
    // table, which ends instead, and that ends the paragraph too.
    bool breakInCell()
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

    // The table is full before anything went into the current cell: it ends,
    // and the next table starts with this cell, in its column. A row left
    // empty by that is not kept.
    void continueTable()
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

    // The table is full within a cell: it ends, and the rest of the cell goes
    // on after it as ordinary paragraphs. The row's next cell starts the next
    // table; in the last column, its further cells are paragraphs too.
    void spill()
    {
        m_continued = true;
        flushRun();
        setParagraphFormat(top().para);
        closeParagraph();
        m_spillColumn = m_column;
        endTable();
        m_spill = true;
    }

    void endCell()
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

    void endRow()
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

    // The outermost group ends: the last paragraph takes its properties, and
    // the empty paragraph a final \par opened is dropped.
    void endDocument()
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

    void finish()
    {
        m_overflow = 0;
        if (!m_error.isEmpty()) {
            m_stack.clear(); // refused: nothing more goes into the document
            return;
        }
        while (!m_stack.empty())
            popGroup();
    }

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
    int m_overflow = 0;          // groups opened beyond MaxDepth
    int m_skip = 0;              // characters of a \u fallback still to skip
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
    QString m_fieldInstruction;  // the last field instruction read
    int m_fieldInstructionOf = -1; // and the field it belongs to
    std::vector<QString> m_links;
    Picture m_picture;
    const char *m_groupOpen = nullptr;  // the last group's opening brace
    const char *m_groupClose = nullptr; // just past the closing brace of the group being closed; null when it did not close
    PageSettings m_page;
    bool m_hasPage = false;

    TextSink m_run;
    CharProps m_runProps;
    bool m_propsChanged = true;
    bool m_lastWasParagraph = false;

    std::unique_ptr<TableBuilder> m_table; // the table being read, built when it ends
    TableBuilder *m_nested = nullptr; // the table nested in its current cell, if any
    int m_nestedRow = 0, m_nestedColumn = 0;
    bool m_nestedRowEnded = false, m_nestedCellEnded = false;
    RowDef m_nestRowDef;         // the definition of the nested table's row
    PendingCell m_nestCellDef;   // and of its next cell
    RowDef m_rowDef;             // the definition of the row being read
    PendingCell m_cellDef;       // and of its next cell
    int m_row = 0, m_column = 0, m_lastColumn = 0;
    int m_cellxCount = 0;
    bool m_rowOpen = false;      // \trowd seen, \row not yet
    bool m_rowEnded = false;
    bool m_cellEnded = false;
    bool m_cellHasContent = false, m_rowHasContent = false;
    int m_tableContent = 0;      // cells with something in them, further paragraphs in cells
    qint64 m_tableHeight = 0;    // pixels should every character take a line
    std::vector<CellParagraph> m_cellParagraphs;
    bool m_spill = false;        // the rest of a cell goes on after its full table
    int m_spillColumn = 0;       // and the cell's column
    int m_resumeColumn = 0;      // where the next table's first row starts

    int m_largestHalfPoints = 0; // of any text so far
    bool m_continued = false;    // see continued()
    Extent m_para;               // the paragraph at the cursor
    bool m_paraPending = true;   // and it is not counted yet
    qint64 m_height = 0;         // the document's estimated height so far, pixels
    int m_startBlocks = 0;
    qint64 m_pictureBytes = 0;
    std::vector<QString> m_images; // the pictures' resource names

    ListTable m_listTable;       // the file's lists and overrides
    std::vector<ListLevel> m_listLevels; // of the list or override being read
    ListLevel m_level;           // the level being read
    TextSink m_levelText;
    int m_listId = 0, m_listLs = 0;
    int m_lfoLevel = -1, m_lfoStart = -1; // the override's level being read, and its start
    std::unordered_map<qint64, QPointer<QTextList>> m_lists; // by \ls and level
    Pn m_pn;                     // the older numbering being read
    TextSink m_pnText;
    bool m_pnAfter = false;
    QPointer<QTextList> m_pnList; // the list of the older numbering's last item
    Pn m_pnOf;                   // and its numbering
    int m_pnLastBlock = -2;      // and the block of its last item
    TextSink m_fallback;         // the marker text of the paragraph being read
    qsizetype m_fallbackChars = 0;
    CharProps m_fallbackProps;
    QString m_error;             // why the document is refused
};

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

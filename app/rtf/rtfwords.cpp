#include "rtfwords.h"

#include <initializer_list>
#include <unordered_map>

namespace tavrin::rtf::reading {

namespace {

struct Named {
    const char *name;
    Word word;
};

// The words of each concern, by name (several names may be one word).
// clang-format off
const std::initializer_list<Named> Destinations = {
    {"rtf", Word::Rtf}, {"fonttbl", Word::FontTable}, {"colortbl", Word::ColorTable},
    {"footnote", Word::Note}, {"annotation", Word::Note}, {"field", Word::Field}, {"fldinst", Word::FldInst},
    {"fldrslt", Word::FldRslt}, {"upr", Word::Upr}, {"ud", Word::Ud}, {"shppict", Word::ShpPict},
    {"object", Word::Object}, {"bin", Word::Bin},
};
const std::initializer_list<Named> DocumentWords = {
    {"ansi", Word::Ansi}, {"mac", Word::Mac}, {"pc", Word::Pc}, {"pca", Word::Pca}, {"ansicpg", Word::AnsiCpg},
    {"deff", Word::Deff}, {"uc", Word::Uc}, {"u", Word::U},
    {"paperw", Word::PaperW}, {"paperh", Word::PaperH}, {"margl", Word::MargL}, {"margr", Word::MargR},
    {"margt", Word::MargT}, {"margb", Word::MargB}, {"landscape", Word::Landscape},
};
const std::initializer_list<Named> CharacterWords = {
    {"f", Word::F}, {"fcharset", Word::FCharset}, {"cpg", Word::Cpg},
    {"red", Word::Red}, {"green", Word::Green}, {"blue", Word::Blue},
    {"plain", Word::Plain}, {"b", Word::B}, {"i", Word::I}, {"ulnone", Word::UlNone},
    {"strike", Word::Strike}, {"striked", Word::Strike}, {"fs", Word::Fs}, {"cf", Word::Cf},
    {"cb", Word::Cb}, {"chcbpat", Word::Cb}, {"highlight", Word::Highlight}, {"v", Word::V},
    {"super", Word::Super}, {"sub", Word::Sub}, {"nosupersub", Word::NoSuperSub},
    // Every kind of underline shows as an underline.
    {"ul", Word::Ul}, {"uld", Word::Ul}, {"uldash", Word::Ul}, {"uldashd", Word::Ul}, {"uldashdd", Word::Ul},
    {"uldb", Word::Ul}, {"ulhwave", Word::Ul}, {"ulldash", Word::Ul}, {"ulth", Word::Ul}, {"ulthd", Word::Ul},
    {"ulthdash", Word::Ul}, {"ulthdashd", Word::Ul}, {"ulthdashdd", Word::Ul}, {"ulthldash", Word::Ul},
    {"ululdbwave", Word::Ul}, {"ulw", Word::Ul}, {"ulwave", Word::Ul},
};
const std::initializer_list<Named> ParagraphWords = {
    {"pard", Word::Pard}, {"par", Word::Par}, {"sect", Word::Par}, {"page", Word::Par},
    {"ql", Word::Ql}, {"qc", Word::Qc}, {"qr", Word::Qr}, {"qj", Word::Qj}, {"qd", Word::Qj},
    {"li", Word::Li}, {"lin", Word::Li}, {"ri", Word::Ri}, {"rin", Word::Ri}, {"fi", Word::Fi},
    {"sb", Word::Sb}, {"sa", Word::Sa},
    {"sl", Word::Sl}, {"slmult", Word::SlMult}, {"tx", Word::Tx}, {"tb", Word::Tb}, {"tqr", Word::Tqr},
    {"tqc", Word::Tqc}, {"tqdec", Word::Tqdec}, {"tldot", Word::TlDot}, {"tlhyph", Word::TlHyph},
    {"tlul", Word::TlUl}, {"tlth", Word::TlTh}, {"tleq", Word::TlEq}, {"tlmdot", Word::TlMdot},
};
const std::initializer_list<Named> TableWords = {
    {"trowd", Word::Trowd}, {"nesttableprops", Word::NestTableProps}, {"cellx", Word::Cellx},
    {"intbl", Word::Intbl}, {"itap", Word::Itap}, {"cell", Word::Cell}, {"row", Word::Row},
    {"nestcell", Word::NestCell}, {"nestrow", Word::NestRow},
    {"trleft", Word::TrLeft}, {"clmgf", Word::ClMgf}, {"clmrg", Word::ClMrg}, {"clvmgf", Word::ClVmgf},
    {"clvmrg", Word::ClVmrg}, {"clcbpat", Word::ClCbPat}, {"clcfpat", Word::ClCfPat}, {"clshdng", Word::ClShdng},
    {"clvertalt", Word::ClVertAlT}, {"clvertalc", Word::ClVertAlC}, {"clvertalb", Word::ClVertAlB},
    {"clbrdrt", Word::ClBrdrT}, {"clbrdrl", Word::ClBrdrL}, {"clbrdrb", Word::ClBrdrB}, {"clbrdrr", Word::ClBrdrR},
    {"brdrnone", Word::BrdrNone}, {"brdrw", Word::BrdrW}, {"brdrcf", Word::BrdrCf},
    // Every kind of border line shows as a single one.
    {"brdrs", Word::Brdrs}, {"brdrth", Word::Brdrs}, {"brdrsh", Word::Brdrs}, {"brdrdb", Word::Brdrs},
    {"brdrdot", Word::Brdrs}, {"brdrdash", Word::Brdrs}, {"brdrhair", Word::Brdrs}, {"brdrdashsm", Word::Brdrs},
    {"brdrdashd", Word::Brdrs}, {"brdrdashdd", Word::Brdrs}, {"brdrtriple", Word::Brdrs}, {"brdrwavy", Word::Brdrs},
    {"brdrinset", Word::Brdrs}, {"brdroutset", Word::Brdrs},
    // Borders of rows and paragraphs, whose line words are not a cell's.
    {"trbrdrt", Word::OtherBorder}, {"trbrdrl", Word::OtherBorder}, {"trbrdrb", Word::OtherBorder},
    {"trbrdrr", Word::OtherBorder}, {"trbrdrh", Word::OtherBorder}, {"trbrdrv", Word::OtherBorder},
    {"brdrt", Word::OtherBorder}, {"brdrl", Word::OtherBorder}, {"brdrb", Word::OtherBorder},
    {"brdrr", Word::OtherBorder}, {"brdrbtw", Word::OtherBorder}, {"brdrbar", Word::OtherBorder},
    {"box", Word::OtherBorder},
};
const std::initializer_list<Named> PictureWords = {
    {"pict", Word::Pict}, {"pngblip", Word::PngBlip}, {"jpegblip", Word::JpegBlip}, {"wmetafile", Word::WmfBlip},
    {"emfblip", Word::EmfBlip}, {"macpict", Word::MacPictBlip}, {"pmmetafile", Word::Os2Blip},
    {"dibitmap", Word::BitmapBlip}, {"wbitmap", Word::BitmapBlip},
    {"picw", Word::PicW}, {"pich", Word::PicH}, {"picwgoal", Word::PicWGoal},
    {"pichgoal", Word::PicHGoal}, {"picscalex", Word::PicScaleX}, {"picscaley", Word::PicScaleY},
};
const std::initializer_list<Named> ListWords = {
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
};

// Words that stand for one character.
const std::initializer_list<std::pair<const char *, char16_t>> SpecialCharacters = {
    {"line", 0x2028}, {"tab", u'\t'}, {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022},
    {"lquote", 0x2018}, {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D},
    {"emspace", 0x2003}, {"enspace", 0x2002}, {"qmspace", 0x2005}, {"zwj", 0x200D}, {"zwnj", 0x200C},
    {"ltrmark", 0x200E}, {"rtlmark", 0x200F},
};

// Destinations whose content is never shown: document data, styles, lists'
// names, object data, the names of bookmarks and index entries. (Headers and
// footers are read as text where they stand in the file, and footnotes and
// comments in brackets where they are referred to, so that none of their
// text is lost.)
const std::initializer_list<const char *> SkippedDestinations = {
    "info", "stylesheet", "atnid", "atnauthor", "atntime", "atnref", "atndate",
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
    "xmlclose", "xmlattrname", "xmlattrvalue", "nonesttables", "mmath", "ts",
};

// Destinations we read also when a writer marks them with \* (as optional).
constexpr Word Starred[] = {Word::FldInst, Word::Ud, Word::ShpPict, Word::Pict, Word::FldRslt, Word::FontTable,
                            Word::ColorTable, Word::NestTableProps, Word::ListTable, Word::Pn, Word::Note};

// clang-format on

const std::unordered_map<std::string_view, WordEntry> &wordTable()
{
    static const std::unordered_map<std::string_view, WordEntry> table = [] {
        std::unordered_map<std::string_view, WordEntry> t;
        const std::pair<Concern, const std::initializer_list<Named> *> concerns[] = {
            {Concern::Destination, &Destinations}, {Concern::Document, &DocumentWords},
            {Concern::Character, &CharacterWords}, {Concern::Paragraph, &ParagraphWords},
            {Concern::Table, &TableWords},         {Concern::Picture, &PictureWords},
            {Concern::List, &ListWords},
        };
        for (const auto &[concern, words] : concerns) {
            for (const Named &n : *words) {
                bool starred = false;
                for (Word w : Starred)
                    starred = starred || w == n.word;
                t.emplace(n.name, WordEntry{n.word, concern, 0, starred});
            }
        }
        for (const auto &[name, c] : SpecialCharacters)
            t.emplace(name, WordEntry{Word::Character, Concern::Special, c, false});
        for (const char *name : SkippedDestinations)
            t.emplace(name, WordEntry{Word::Skip, Concern::Destination, 0, false});
        return t;
    }();
    return table;
}

} // namespace

const WordEntry &lookup(std::string_view name)
{
    static const WordEntry unknown;
    const auto &t = wordTable();
    auto it = t.find(name);
    return it == t.end() ? unknown : it->second;
}

char16_t symbolCharacter(char symbol)
{
    switch (symbol) {
    case '~': return 0x00A0; // non-breaking space
    case '-': return 0x00AD; // optional hyphen
    case '_': return 0x2011; // non-breaking hyphen
    case '\t': return u'\t';
    default: return 0;
    }
}

} // namespace tavrin::rtf::reading

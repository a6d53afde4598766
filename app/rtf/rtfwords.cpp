#include "rtfwords.h"

#include <unordered_map>

namespace tavrin::rtf::reading {

namespace {

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

} // namespace

Word lookup(std::string_view name)
{
    const auto &t = wordTable();
    auto it = t.find(name);
    return it == t.end() ? Word::Unknown : it->second;
}

} // namespace tavrin::rtf::reading

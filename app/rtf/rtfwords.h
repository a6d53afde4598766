// The control words the reader acts on, by name: each with the concern whose
// handler acts on it, and the special characters as the characters they stand for.
#pragma once

#include <QtGlobal>

#include <string_view>

namespace tavrin::rtf::reading {

// Which of the reader's handlers acts on a word.
enum class Concern : quint8 {
    None,        // read and ignored
    Destination, // starts a group's destination, or marks it
    Document,    // the document's code page, default font, Unicode skip, page
    Character,   // character formats, and the font and colour tables' words
    Paragraph,   // paragraph formats, tab stops, paragraph ends
    Special,     // stands for one character
    Table,       // rows, cells and their definitions
    Picture,     // a picture's format and size
    List,        // list tables, the older numbering, list items
};

// Every control word the reader acts on by a handler of its concern.
// clang-format off
enum class Word : quint8 {
    Unknown,
    // destinations
    Rtf, FontTable, ColorTable, Note, Field, FldInst, FldRslt, Upr, Ud, ShpPict, Object, Skip, Bin,
    // document
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U, PaperW, PaperH, MargL, MargR, MargT, MargB, Landscape,
    // characters, fonts and colours
    F, FCharset, Cpg, Red, Green, Blue,
    Plain, B, I, Ul, UlNone, Strike, Fs, Cf, Cb, Highlight, V, Super, Sub, NoSuperSub,
    // paragraphs, line spacing and tab stops
    Pard, Par, Ql, Qc, Qr, Qj, Li, Ri, Fi, Sb, Sa,
    Sl, SlMult, Tx, Tb, Tqr, Tqc, Tqdec, TlDot, TlHyph, TlUl, TlTh, TlEq, TlMdot,
    // a special character
    Character,
    // tables
    Trowd, Cellx, NestTableProps, Intbl, Itap, Cell, Row, NestCell, NestRow,
    TrLeft, ClMgf, ClMrg, ClVmgf, ClVmrg, ClCbPat, ClCfPat, ClShdng, ClVertAlT, ClVertAlC, ClVertAlB,
    ClBrdrT, ClBrdrL, ClBrdrB, ClBrdrR, OtherBorder, Brdrs, BrdrNone, BrdrW, BrdrCf,
    // pictures
    Pict, PngBlip, JpegBlip, WmfBlip, EmfBlip, MacPictBlip, Os2Blip, BitmapBlip,
    PicW, PicH, PicWGoal, PicHGoal, PicScaleX, PicScaleY,
    // lists
    ListTable, List, ListId, ListLevel, LevelNfc, LevelStartAt, LevelText, LevelNumbers, LevelFollow,
    ListOverride, LfoLevel, Ls, Ilvl, ListText, Pn, PnLvlBlt, PnLvlBody, PnLvl, PnLvlCont, PnDec, PnUcrm,
    PnLcrm, PnUcltr, PnLcltr, PnStart, PnIndent, PnTxtA, PnTxtB, PnF,
};
// clang-format on

struct WordEntry {
    Word word = Word::Unknown;
    Concern concern = Concern::None;
    char16_t character = 0; // the character a Concern::Special word stands for
    bool starred = false;   // a destination we read also when marked with \*
};

// The entry of a word's name; Word::Unknown, of no concern, for one we do not act on.
const WordEntry &lookup(std::string_view name);

// The character a control symbol (\~ \- \_ and a backslash before a tab)
// stands for; 0 for the other symbols.
char16_t symbolCharacter(char symbol);

} // namespace tavrin::rtf::reading

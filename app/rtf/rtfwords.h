// The control words the reader acts on.
#pragma once

#include <QtGlobal>

#include <string_view>

namespace tavrin::rtf::reading {

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

// The word of a name; Word::Unknown for one we do not act on.
Word lookup(std::string_view name);

} // namespace tavrin::rtf::reading

#pragma once

// What the reader and the writer share beside the document itself: the units
// of the rich text format, and the properties the reader leaves on a
// document's formats so that the writer can write back what Qt has no
// property for (a list's start, a tab's leader, a picture Qt cannot draw, a
// table's exact column widths in twips).

#include <QTextFormat>

namespace tavrin::rtf {

// Units. The format measures in twips (1/1440 inch) and half-points; the
// documents are laid out at 96 dots per inch.
constexpr int TwipsPerInch = 1440;
constexpr int TwipsPerPoint = 20;
constexpr int TwipsPerPixel = TwipsPerInch / 96; // 15

// Properties of our own on QTextFormat, one range per subject so that they
// never collide. Each is described where the reader sets it.
enum Property : int {
    // lists (QTextListFormat)
    ListFirst = QTextFormat::UserProperty + 0x100,
    // paragraphs (QTextBlockFormat)
    ParagraphFirst = QTextFormat::UserProperty + 0x200,
    // tables and their cells (QTextTableFormat, QTextTableCellFormat)
    TableFirst = QTextFormat::UserProperty + 0x300,
    // pictures (QTextImageFormat)
    PictureFirst = QTextFormat::UserProperty + 0x400,
    // the document and its pages (the root frame's QTextFrameFormat)
    DocumentFirst = QTextFormat::UserProperty + 0x500,
};

} // namespace tavrin::rtf

#pragma once

// The large document the RTF benchmarks work on, generated the same way every
// time (a fixed seed): paragraphs of mixed character formats (bold, italic,
// underline, strikeout, fonts, sizes, colours, highlight), paragraph formats
// (alignment, indents, spacing), some non-Latin text, a few PNG pictures and
// a table. 30,000 paragraphs give about 10 MB of RTF.

class QTextDocument;

namespace tavrin::bench {

inline constexpr int Pictures = 4;
inline constexpr int TableRows = 40, TableColumns = 5;

// Fills an empty document with that many paragraphs.
void generateDocument(QTextDocument &doc, int paragraphs = 30000);

} // namespace tavrin::bench

#pragma once

// A document's page settings as its file gave them: paper, orientation and
// margins, in twips, kept on the root frame's format so that the writer
// writes them back exactly and printing can use them.

#include "rtfformat.h"

#include <optional>

class QTextDocument;

namespace tavrin::rtf {

struct PageSettings {
    int paperWidth = 12240, paperHeight = 15840; // as the file gives them: width across the page as printed
    int left = 1800, right = 1800, top = 1440, bottom = 1440;
    bool landscape = false;
    bool operator==(const PageSettings &) const = default;
};

// Nothing when the document has no page settings of its own.
std::optional<PageSettings> pageSettings(const QTextDocument &doc);
void setPageSettings(QTextDocument &doc, const std::optional<PageSettings> &settings);

} // namespace tavrin::rtf

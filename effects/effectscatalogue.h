#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <span>

namespace tavrin {

// The most effect files a category holds.
inline constexpr int MaxEffectFiles = 30;

// One category of stock COD2 effect files.
struct EffectCategory {
    const char16_t *name;
    // The file names in listing order; the places after the last are null.
    std::array<const char16_t *, MaxEffectFiles> files;

    int fileCount() const;
    QStringList fileNames() const;
};

// Every category, in the order the browser shows them.
std::span<const EffectCategory> effectCategories();

// The 68 category names, in the order above.
QStringList effectCategoryNames();

// The file names of the category whose name equals the text exactly
// (case-sensitive, untrimmed), joined by CR LF with none after the last;
// no value when no category has that name.
std::optional<QString> EffectListing(const QString &category);

// Every effect file whose own name or whose category's name holds the text,
// without regard to case, as "name.efx  (Category_Name)", in catalogue order.
// Leading and trailing blanks of the text do not count; a text of blanks
// alone finds nothing.
QStringList SearchEffects(const QString &text);

} // namespace tavrin

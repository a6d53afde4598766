#include "effectscatalogue.h"

#include "textfile.h"

namespace tavrin {

namespace {
const EffectCategory categories[] = {
#include "effectscatalogue.inc"
};
} // namespace

int EffectCategory::fileCount() const
{
    int count = 0;
    while (count < MaxEffectFiles && files[count])
        ++count;
    return count;
}

QStringList EffectCategory::fileNames() const
{
    QStringList names;
    for (int i = 0; i < fileCount(); ++i)
        names << QString::fromUtf16(files[i]);
    return names;
}

std::span<const EffectCategory> effectCategories()
{
    return categories;
}

QStringList effectCategoryNames()
{
    QStringList names;
    for (const EffectCategory &category : categories)
        names << QString::fromUtf16(category.name);
    return names;
}

std::optional<QString> EffectListing(const QString &category)
{
    for (const EffectCategory &row : categories) {
        if (category == QStringView(row.name))
            return joinLines(row.fileNames());
    }
    return std::nullopt;
}

QStringList SearchEffects(const QString &text)
{
    const QString needle = text.trimmed();
    QStringList lines;
    if (needle.isEmpty())
        return lines;
    for (const EffectCategory &category : categories) {
        const QStringView categoryName(category.name);
        // A category that matches brings all its files; otherwise each file
        // is looked at on its own.
        const bool wholeCategory = categoryName.contains(needle, Qt::CaseInsensitive);
        for (int i = 0; i < category.fileCount(); ++i) {
            const QStringView file(category.files[i]);
            if (wholeCategory || file.contains(needle, Qt::CaseInsensitive))
                lines << file.toString() + QLatin1String("  (") + categoryName.toString() + QLatin1Char(')');
        }
    }
    return lines;
}

} // namespace tavrin

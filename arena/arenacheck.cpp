#include "arenacheck.h"

#include <QSet>

#include <algorithm>

namespace tavrin {

namespace {
bool isMapNameCharacter(QChar c)
{
    // Letters and digits of ASCII alone: the game looks the map up by file name.
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}
} // namespace

QStringList CheckArena(const QString &map, const QString &longname, const QString &gametype,
                       const QString &gametypeCaption, const QStringList &gametypeList)
{
    QStringList problems;
    if (!std::all_of(map.begin(), map.end(), isMapNameCharacter))
        problems << QLatin1String("Map: ") + quoted(map)
                        + QLatin1String(" may hold only letters, digits and _, no blanks.");
    if (longname.contains(QLatin1Char('"')))
        problems << QLatin1String("Longname: a double quote ends the name early in the file.");

    QSet<QString> known;
    for (const QString &item : gametypeList) {
        for (const QString &word : item.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            known.insert(word);
    }
    QSet<QString> told;
    for (const QString &word : gametype.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (known.contains(word) || told.contains(word))
            continue;
        told.insert(word);
        problems << gametypeCaption + QLatin1Char(' ') + quoted(word)
                        + QLatin1String(" is not a gametype of the game.");
    }
    return problems;
}

} // namespace tavrin

#include "arena.h"

#include "textfile.h"

namespace tavrin {

namespace {
QString quotedLine(QLatin1StringView key, const QString &value)
{
    return key + QLatin1String(" \"") + value + QLatin1Char('"');
}
} // namespace

QString ArenaRecord::arenaText() const
{
    return joinLines({QStringLiteral("{"), quotedLine(QLatin1StringView("map"), map),
                      quotedLine(QLatin1StringView("longname"), longname),
                      quotedLine(QLatin1StringView("gametype"), gametype), QStringLiteral("}")});
}

} // namespace tavrin

#pragma once

#include <QString>

namespace tavrin {

// One map's arena entry. The fields go into the text verbatim: nothing is
// checked, trimmed or escaped here (the windows check for empty boxes).
class ArenaRecord
{
public:
    QString map;      // the map's name
    QString longname; // the name players see
    QString gametype; // one gametype code, or several apart by blanks

    // The five lines of the entry joined by CR LF, with none after "}".
    QString arenaText() const;
};

// The COD2 arena maker's record.
class Arena : public ArenaRecord
{
public:
    QString ArenaString() const { return arenaText(); }
};

// The COD arena maker's record; the same text under another name.
class ArenaCOD : public ArenaRecord
{
public:
    QString sCompleteString() const { return arenaText(); }
};

} // namespace tavrin

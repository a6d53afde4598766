#pragma once

#include <QStringList>

namespace tavrin {

// What in an arena entry the game would not take, one sentence a problem,
// naming the box (by its caption) it comes from; empty when there is none:
// - a map name with a blank or any character but letters, digits and '_';
// - a long name with a double quote, which ends the file's text early;
// - each gametype word that is none of the game's own codes (the words of
//   the window's gametype list), told once, in the order typed.
// Empty boxes are left to the incomplete-entry message.
QStringList CheckArena(const QString &map, const QString &longname, const QString &gametype,
                       const QString &gametypeCaption, const QStringList &gametypeList);

} // namespace tavrin

#pragma once

#include <QString>

class QWidget;

namespace tavrin {

class CommonDialog;

// The message both makers give when a box is empty.
inline constexpr QLatin1StringView IncompleteEntryText{
    "You must fill in all the fields or it will not compile correctly"};

// True when any of the texts is exactly empty (blanks count as filled).
bool anyEmpty(const QString &map, const QString &longname, const QString &gametype);

// The save half of both makers' Save As: asks for a file name in the save
// dialog and writes the arena text there, followed by one CR LF, with no
// extension added. Cancel ends it silently. A file that cannot be written
// gets a message naming it and the reason; the write is atomic, so an
// earlier file of that name stays as it was.
void saveArenaFile(QWidget *owner, CommonDialog &dialog, const QString &arenaText);

} // namespace tavrin

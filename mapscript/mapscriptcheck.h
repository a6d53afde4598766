#pragma once

#include <QStringList>

namespace tavrin {

class mymapgsc;

// The farthest a coordinate may lie from the origin in any map.
inline constexpr float MapCoordinateLimit = 65536;

// Each thing in the model that would stop its saved script from working in
// the game, one sentence a problem naming the box it comes from (the effects
// first, then the texts, then the soldier keys); empty when there is none:
// - a double quote or backslash in a text that the script writes inside a
//   string (the ambient sound, the team and soldier words, the layout image);
// - an effect's alias, file or loadfx text left empty or blank;
// - an allied soldier type or variation of another nation than the allies';
// - a coordinate beyond MapCoordinateLimit either way.
QStringList CheckMapScript(const mymapgsc &model);

} // namespace tavrin

#pragma once

namespace tavrin {

// What the program does when it starts: names itself, makes its windows known
// and shows the main window, and nothing else.
void startTavrin();

} // namespace tavrin

#pragma once

#include <functional>

namespace tavrin {

// Ends the whole program at once: no window's close handling runs (so the
// main window stores no placement), and the windows are discarded when the
// event loop has returned. Guards run first; any guard that answers false
// (the user cancelled) stops the ending.
void endProcess();

// A check run before endProcess() ends the program, such as asking to save
// changed documents. Returns false to keep the program running.
using ExitGuard = std::function<bool()>;
void setExitGuard(ExitGuard guard);

} // namespace tavrin

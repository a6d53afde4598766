#pragma once

namespace tavrin {

// Makes every window of the program known to the window registry.
void registerWindows();

} // namespace tavrin

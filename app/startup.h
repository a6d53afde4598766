#pragma once

#include <QStringList>

namespace tavrin {

// What the program does when it starts: names itself, makes its windows known
// and shows the main window. Once events run, the main window offers what a
// program that did not end properly kept, then opens the files.
void startTavrin(const QStringList &files = {});

} // namespace tavrin

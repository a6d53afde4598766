#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

class UpdatesBrowserInterface;

// The browser plugin, loaded on the first call and kept for the rest of the
// process (a web engine cannot be unloaded safely). nullptr when no plugin is
// found or it fails to load; the next call tries again.
UpdatesBrowserInterface *updatesBrowser();

// The files tried in turn: next to the program (build tree), then the
// installed location relative to the program, then the installed location.
QStringList updatesBrowserCandidates();

// Tries only this file from now on (an empty path goes back to the usual
// places). For tests, which point it at their build or at a missing file.
void setUpdatesBrowserPlugin(const QString &path);

} // namespace tavrin

#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

// The documents last opened or saved, most recent first, kept in the settings
// store's section "Recent" as File1 ... File8. Every call reads the store
// afresh, so programs running side by side share one list.
inline constexpr int MaxRecentFiles = 8;

// The stored list, each file once, at most MaxRecentFiles.
QStringList recentFiles();
// Puts path (made absolute) at the top, taking out any entry naming the
// same file, stores the list and answers it.
QStringList addRecentFile(const QString &path);
// Takes out every entry naming the same file as path, stores the list and answers it.
QStringList removeRecentFile(const QString &path);

} // namespace tavrin

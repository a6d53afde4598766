#pragma once

#include <QString>

namespace tavrin {

// The per-user settings store: texts by application, section and key. It is the
// registry on Windows (HKEY_CURRENT_USER\Software\Tavrin\<application>) and an
// ini file in the user's config folder elsewhere (~/.config/Tavrin/<application>.conf).
QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultValue = QString());
void SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value);

// Points the store at a folder of its own, as an ini file there; tests use a temporary folder.
void setSettingsFolder(const QString &folder);

} // namespace tavrin

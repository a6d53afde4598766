#include "settingsstore.h"

#include <QSettings>

#include <memory>

namespace tavrin {

namespace {
const QString organisation = QStringLiteral("Tavrin");

QString &overrideFolder()
{
    static QString folder;
    return folder;
}

std::unique_ptr<QSettings> open(const QString &appName)
{
    if (!overrideFolder().isEmpty()) {
        const QString file =
            overrideFolder() + QLatin1Char('/') + organisation + QLatin1Char('/') + appName + QLatin1String(".conf");
        return std::make_unique<QSettings>(file, QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation, appName);
}
} // namespace

QString GetSetting(const QString &appName, const QString &section, const QString &key, const QString &defaultValue)
{
    auto settings = open(appName);
    settings->beginGroup(section);
    return settings->value(key, defaultValue).toString();
}

void SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value)
{
    auto settings = open(appName);
    settings->beginGroup(section);
    settings->setValue(key, value);
}

void setSettingsFolder(const QString &folder)
{
    overrideFolder() = folder;
}

} // namespace tavrin

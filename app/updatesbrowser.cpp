#include "updatesbrowser.h"

#include "updatesbrowserinterface.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPluginLoader>

Q_LOGGING_CATEGORY(lcUpdatesBrowser, "tavrin.updatesbrowser")

namespace tavrin {

namespace {
QString &pluginOverride()
{
    static QString path;
    return path;
}

UpdatesBrowserInterface *&loaded()
{
    static UpdatesBrowserInterface *browser = nullptr;
    return browser;
}

const QString pluginFile = QStringLiteral(TAVRIN_WEB_PLUGIN_FILE);
} // namespace

QStringList updatesBrowserCandidates()
{
    if (!pluginOverride().isEmpty())
        return {pluginOverride()};
    const QDir bin(QCoreApplication::applicationDirPath());
    QStringList out;
    out << bin.filePath(QStringLiteral("plugins/tavrin/") + pluginFile)
        << bin.filePath(QStringLiteral("../plugins/tavrin/") + pluginFile) // tests, one folder down
        << bin.filePath(QStringLiteral("../" TAVRIN_INSTALL_LIBDIR "/tavrin/") + pluginFile)
        << QStringLiteral(TAVRIN_INSTALL_FULL_LIBDIR "/tavrin/") + pluginFile;
    for (QString &path : out)
        path = QDir::cleanPath(path);
    out.removeDuplicates();
    return out;
}

UpdatesBrowserInterface *updatesBrowser()
{
    if (loaded())
        return loaded();
    for (const QString &path : updatesBrowserCandidates()) {
        if (!QFileInfo::exists(path))
            continue;
        QPluginLoader loader(path);
        QObject *instance = loader.instance();
        auto *browser = qobject_cast<UpdatesBrowserInterface *>(instance);
        if (browser) {
            qCDebug(lcUpdatesBrowser) << "loaded" << path;
            loaded() = browser;
            return browser;
        }
        qCDebug(lcUpdatesBrowser) << "cannot use" << path << loader.errorString();
    }
    return nullptr;
}

void setUpdatesBrowserPlugin(const QString &path)
{
    pluginOverride() = path;
    loaded() = nullptr; // an instance already loaded stays in memory, unused
}

} // namespace tavrin

#include "updatesbrowser.h"

#include "updatesbrowserinterface.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPluginLoader>
#include <QtGui/qtguiglobal.h>

#if QT_CONFIG(opengl)
#include <QOpenGLContext>
// QtGui's global shared context, which Qt WebEngine draws through.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
Q_GUI_EXPORT QOpenGLContext *qt_gl_global_share_context();
QT_END_NAMESPACE
#endif

// Quiet unless asked for (QT_LOGGING_RULES="tavrin.updatesbrowser.debug=true").
Q_LOGGING_CATEGORY(lcUpdatesBrowser, "tavrin.updatesbrowser", QtWarningMsg)

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

#if QT_CONFIG(opengl)
QOpenGLContext *shareContext = nullptr;

void deleteShareContext()
{
    if (qt_gl_global_share_context() == shareContext)
        qt_gl_set_global_share_context(nullptr);
    delete shareContext;
    shareContext = nullptr;
}
#endif

// Qt WebEngine needs a global shared OpenGL context before it loads. Asking
// for one with Qt::AA_ShareOpenGLContexts before the application exists would
// load the OpenGL drivers at every start (some 60 MB and tens of milliseconds),
// so it is made here, when the browser is first wanted. A context that cannot
// be created (no OpenGL at all) still serves: the engine then draws in software.
void prepareSharedContext()
{
#if QT_CONFIG(opengl)
    if (qt_gl_global_share_context())
        return;
    shareContext = new QOpenGLContext;
    shareContext->setFormat(QSurfaceFormat::defaultFormat());
    shareContext->create();
    qAddPostRoutine(deleteShareContext);
    qt_gl_set_global_share_context(shareContext);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
#endif
}
} // namespace

QStringList updatesBrowserCandidates()
{
    if (!pluginOverride().isEmpty())
        return {pluginOverride()};
    const QDir bin(QCoreApplication::applicationDirPath());
    QStringList out;
    out << bin.filePath(QStringLiteral("plugins/tavrin/") + pluginFile)
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
        prepareSharedContext();
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

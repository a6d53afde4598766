#include "webbrowserplugin.h"

#include <QUrl>
#include <QWebEngineView>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tavrin {

QWidget *WebBrowserPlugin::createBrowser(QWidget *parent)
{
#ifdef Q_OS_UNIX
    // The engine's sandbox refuses to start for root and takes the whole
    // program down with it; for root the page is shown without the sandbox.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    return new QWebEngineView(parent);
}

void WebBrowserPlugin::navigate(QWidget *browser, const QUrl &url)
{
    if (auto *view = qobject_cast<QWebEngineView *>(browser))
        view->load(url);
}

void WebBrowserPlugin::onLoadFinished(QWidget *browser, std::function<void(bool ok)> finished)
{
    if (auto *view = qobject_cast<QWebEngineView *>(browser))
        QObject::connect(view, &QWebEngineView::loadFinished, view, std::move(finished));
}

} // namespace tavrin

#include "webbrowserplugin.h"

#include <QUrl>
#include <QWebEngineView>

namespace tavrin {

QWidget *WebBrowserPlugin::createBrowser(QWidget *parent)
{
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

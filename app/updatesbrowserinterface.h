#pragma once

// What the updates window needs from a web browser. The browser itself (Qt
// WebEngine) lives in a plugin that is loaded the first time the window opens,
// so the program neither links nor loads it at start-up.

#include <QtPlugin>

#include <functional>

class QUrl;
class QWidget;

namespace tavrin {

class UpdatesBrowserInterface
{
public:
    virtual ~UpdatesBrowserInterface() = default;

    // A new browser widget, child of parent; it shows nothing until navigate().
    virtual QWidget *createBrowser(QWidget *parent) = 0;
    // Starts loading url in a browser made by createBrowser(); does not wait for it.
    virtual void navigate(QWidget *browser, const QUrl &url) = 0;
    // Calls finished(ok) each time the browser has finished loading a page,
    // for as long as the browser lives.
    virtual void onLoadFinished(QWidget *browser, std::function<void(bool ok)> finished) = 0;
};

} // namespace tavrin

#define TavrinUpdatesBrowserInterface_iid "net.revevi.tavrin.UpdatesBrowserInterface/1.0"
Q_DECLARE_INTERFACE(tavrin::UpdatesBrowserInterface, TavrinUpdatesBrowserInterface_iid)

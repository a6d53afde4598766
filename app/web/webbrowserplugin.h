#pragma once

#include "updatesbrowserinterface.h"

#include <QObject>

namespace tavrin {

// The updates window's browser on Qt WebEngine.
class WebBrowserPlugin : public QObject, public UpdatesBrowserInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TavrinUpdatesBrowserInterface_iid)
    Q_INTERFACES(tavrin::UpdatesBrowserInterface)
public:
    QWidget *createBrowser(QWidget *parent) override;
    void navigate(QWidget *browser, const QUrl &url) override;
    void onLoadFinished(QWidget *browser, std::function<void(bool ok)> finished) override;
};

} // namespace tavrin

#pragma once

#include <QUrl>
#include <QWidget>

namespace tavrin {

class UpdatesBrowserInterface;

// The updates page in an embedded web browser. The page is requested each time
// the window loads; each activation fits the browser to the inner area below
// a 240-twip strip. Without the browser plugin the window offers the address
// as a link that opens the user's own browser.
class frmWebBrowser : public QWidget
{
    Q_OBJECT
public:
    explicit frmWebBrowser(QWidget *parent = nullptr);

    // The maker's updates page.
    static QUrl updatesAddress();
    // Points the window at another page (tests serve one on loopback); an
    // empty url goes back to the maker's page.
    static void setUpdatesAddress(const QUrl &url);

    // The browser, or the link that stands in for it; placed at the left edge,
    // 240 twips below the top of the inner area.
    QWidget *browserArea() const { return m_web; }
    bool hasBrowser() const { return m_hasBrowser; }

signals:
    // The browser has finished loading a page (never emitted without a browser).
    void loadFinished(bool ok);

public slots:
    void Form_Activate();

protected:
    bool event(QEvent *event) override;

private:
    void Form_Load();
    int topOffset() const;

    UpdatesBrowserInterface *m_browser = nullptr; // the plugin, when it loaded
    QWidget *m_web = nullptr;                     // frmWeb, or lblLink without the plugin
    bool m_hasBrowser = false;
};

} // namespace tavrin

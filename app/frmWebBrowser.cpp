#include "frmWebBrowser.h"

#include "twips.h"
#include "updatesbrowser.h"
#include "updatesbrowserinterface.h"

#include <QEvent>
#include <QLabel>
#include <QPointer>

#include <algorithm>

namespace tavrin {

namespace {
// The browser's distance from the top of the inner area.
constexpr double TopTwips = 240;

QUrl &addressOverride()
{
    static QUrl url;
    return url;
}
} // namespace

QUrl frmWebBrowser::updatesAddress()
{
    if (!addressOverride().isEmpty())
        return addressOverride();
    return QUrl(QStringLiteral("https://tavrin.revevi.net/updates/"));
}

void frmWebBrowser::setUpdatesAddress(const QUrl &url)
{
    addressOverride() = url;
}

frmWebBrowser::frmWebBrowser(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmWebBrowser"));
    setWindowTitle(QStringLiteral("Tavrin Revevi Tools Updates"));
    resize(640, 480);

    m_browser = updatesBrowser();
    if (m_browser) {
        m_web = m_browser->createBrowser(this);
        m_hasBrowser = m_web != nullptr;
    }
    if (m_web) {
        m_web->setObjectName(QStringLiteral("frmWeb"));
    } else {
        auto *link = new QLabel(this);
        link->setObjectName(QStringLiteral("lblLink"));
        link->setTextFormat(Qt::RichText);
        link->setAlignment(Qt::AlignCenter);
        link->setWordWrap(true);
        link->setTextInteractionFlags(Qt::TextBrowserInteraction);
        link->setOpenExternalLinks(true);
        m_web = link;
    }
    // Placed as it would be by an activation; later only activations move it.
    m_web->setGeometry(0, topOffset(), width(), std::max(0, height() - topOffset()));

    Form_Load();
}

int frmWebBrowser::topOffset() const
{
    return twipsY(this, TopTwips);
}

void frmWebBrowser::Form_Load()
{
    const QUrl url = updatesAddress();
    if (m_hasBrowser) {
        QPointer<frmWebBrowser> self(this);
        m_browser->onLoadFinished(m_web, [self](bool ok) {
            if (self)
                emit self->loadFinished(ok);
        });
        m_browser->navigate(m_web, url);
    } else {
        const QString shown = url.toDisplayString().toHtmlEscaped();
        const QString href = QString::fromUtf8(url.toEncoded()).toHtmlEscaped();
        static_cast<QLabel *>(m_web)->setText(QStringLiteral("<a href=\"") + href + QStringLiteral("\">") + shown
                                              + QStringLiteral("</a>"));
    }
}

void frmWebBrowser::Form_Activate()
{
    // The browser fills the inner area below its offset; a window too low for
    // that leaves it with no height rather than a negative one.
    m_web->resize(width(), m_web->height());
    m_web->resize(m_web->width(), std::max(0, height() - topOffset()));
}

bool frmWebBrowser::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QWidget::event(event);
}

} // namespace tavrin

// The updates window with its real browser plugin, fetching the page from a
// tiny HTTP responder in this test on loopback.
#include "frmMain.h"
#include "frmWebBrowser.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "updatesbrowser.h"
#include "windowregistry.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace tavrin;

namespace {
// Answers each request (small enough to come in one read on loopback) with a
// small page, and counts the requests for the page's path.
class PageServer : public QObject
{
public:
    PageServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    pageRequests += socket->readAll().startsWith("GET /updates/ ");
                    const QByteArray body("<html><body><h1>Updates</h1></body></html>");
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: "
                                  + QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl page() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/updates/").arg(m_server.serverPort())); }
    int pageRequests = 0;

private:
    QTcpServer m_server;
};

} // namespace

class TestWebBrowserWindow : public QObject
{
    Q_OBJECT
    PageServer *m_server = nullptr;

public:
    // Run before the application exists. Like the program, the test does not
    // ask for shared OpenGL contexts: the engine starts from the plugin as it is.
    static void initMain()
    {
        // The engine's sandbox cannot run as root, nor in most containers.
        if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    }

private slots:
    void initTestCase() { setUpdatesBrowserPlugin(QStringLiteral(TAVRIN_WEB_PLUGIN)); }
    void init()
    {
        m_server = new PageServer;
        frmWebBrowser::setUpdatesAddress(m_server->page());
        registerWindows();
    }
    void cleanup()
    {
        WindowRegistry::instance().reset();
        delete m_server;
    }

    void pageRequestedOnLoadAndSizedOnActivation()
    {
        auto *main = qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main));
        main->menuItem(QStringLiteral("mnuViewWebBrowser"))->trigger();
        QPointer<frmWebBrowser> w = WindowRegistry::instance().window<frmWebBrowser>(WindowId::WebBrowser);
        QVERIFY(w && w->hasBrowser());
        QWidget *web = w->browserArea();
        QCOMPARE(web->objectName(), QStringLiteral("frmWeb"));
        QSignalSpy loaded(w.data(), &frmWebBrowser::loadFinished);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 20000);
        QVERIFY(loaded.first().first().toBool());
        QCOMPARE(m_server->pageRequests, 1);

        // The next activation fits the real browser below the offset.
        w->resize(460, 330);
        QTRY_COMPARE(w->size(), QSize(460, 330));
        test::switchAwayAndBack(w, main);
        QCOMPARE(web->geometry(), QRect(0, test::pxY(240), 460, 330 - test::pxY(240)));

        // Neither activations nor bringing the open window to the front load the page.
        main->menuItem(QStringLiteral("mnuViewWebBrowser"))->trigger();
        QCOMPARE(WindowRegistry::instance().widget(WindowId::WebBrowser), w.data());
        QVERIFY(!QTest::qWaitFor([&] { return m_server->pageRequests > 1 || loaded.size() > 1; }, 500));
        QCOMPARE(m_server->pageRequests, 1);
        QCOMPARE(loaded.size(), 1);

        // Closed, it is unloaded; the next opening asks for the page again.
        w->close();
        QTRY_VERIFY(!w);
        QSignalSpy reloaded(WindowRegistry::instance().show(WindowId::WebBrowser), SIGNAL(loadFinished(bool)));
        QTRY_COMPARE_WITH_TIMEOUT(reloaded.size(), 1, 20000);
        QCOMPARE(m_server->pageRequests, 2);
    }
};

QTEST_MAIN(TestWebBrowserWindow)
#include "tst_webbrowser_window.moc"

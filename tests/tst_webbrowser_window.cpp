// The updates window with its real browser plugin, fetching the page from a
// tiny HTTP responder in this test on loopback.
#include "frmMain.h"
#include "frmWebBrowser.h"
#include "registerwindows.h"
#include "twips.h"
#include "updatesbrowser.h"
#include "windowregistry.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace tavrin;

namespace {
// Answers every GET with a small page and counts the requests for the page's path.
class PageServer : public QObject
{
public:
    PageServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl page() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/updates/").arg(m_server.serverPort())); }
    int pageRequests = 0;

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> request = buffer.left(buffer.indexOf("\r\n")).split(' ');
        m_buffers.remove(socket);
        const bool isPage = request.size() >= 2 && request[0] == "GET" && request[1] == "/updates/";
        pageRequests += isPage;
        const QByteArray body = isPage ? QByteArray("<html><body><h1>Updates</h1></body></html>") : QByteArray();
        socket->write((isPage ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n")
                      + QByteArray("Content-Type: text/html\r\nConnection: close\r\nContent-Length: ")
                      + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

int pxY(double twips) { return twipsToPixels(twips, QGuiApplication::primaryScreen()->logicalDotsPerInchY()); }

frmWebBrowser *openUpdates()
{
    return qobject_cast<frmWebBrowser *>(WindowRegistry::instance().show(WindowId::WebBrowser));
}

void switchAwayAndBack(QWidget *window, QWidget *other)
{
    other->show();
    other->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(other));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}
} // namespace

class TestWebBrowserWindow : public QObject
{
    Q_OBJECT
    PageServer *m_server = nullptr;

public:
    // Run before the application exists, as the program's main() does.
    static void initMain()
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        // The engine's sandbox cannot run as root, nor in most containers.
        if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    }

private slots:
    void initTestCase()
    {
        setUpdatesBrowserPlugin(QStringLiteral(TAVRIN_WEB_PLUGIN));
    }
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

    void pageRequestedOnEachLoadOnly()
    {
        auto *main = qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main));
        main->menuItem(QStringLiteral("mnuViewWebBrowser"))->trigger();
        QPointer<frmWebBrowser> w = WindowRegistry::instance().window<frmWebBrowser>(WindowId::WebBrowser);
        QVERIFY(w && w->hasBrowser());
        QCOMPARE(w->browserArea(), w->findChild<QWidget *>(QStringLiteral("frmWeb")));
        QSignalSpy loaded(w.data(), &frmWebBrowser::loadFinished);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 20000);
        QVERIFY(loaded.first().first().toBool());
        QCOMPARE(m_server->pageRequests, 1);

        // Activations and bringing the open window to the front load nothing.
        QVERIFY(QTest::qWaitForWindowActive(w));
        switchAwayAndBack(w, main);
        QCOMPARE(openUpdates(), w.data());
        main->menuItem(QStringLiteral("mnuViewWebBrowser"))->trigger();
        QTest::qWait(300);
        QCOMPARE(m_server->pageRequests, 1);
        QCOMPARE(loaded.size(), 1);

        // Closed, it is unloaded; the next opening asks for the page again.
        w->close();
        QTRY_VERIFY(!w);
        frmWebBrowser *again = openUpdates();
        QSignalSpy reloaded(again, &frmWebBrowser::loadFinished);
        QTRY_COMPARE_WITH_TIMEOUT(reloaded.size(), 1, 20000);
        QCOMPARE(m_server->pageRequests, 2);
    }

    void browserSizedOnActivation()
    {
        QWidget other;
        frmWebBrowser *w = openUpdates();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QWidget *web = w->findChild<QWidget *>(QStringLiteral("frmWeb"));
        const int top = pxY(240);
        QCOMPARE(web->geometry(), QRect(0, top, w->width(), w->height() - top));

        const QRect before = web->geometry();
        w->resize(460, 330);
        QTRY_COMPARE(w->size(), QSize(460, 330));
        QTest::qWait(50);
        QCOMPARE(web->geometry(), before);

        switchAwayAndBack(w, &other);
        QCOMPARE(web->geometry(), QRect(0, top, 460, 330 - top));
    }
};

QTEST_MAIN(TestWebBrowserWindow)
#include "tst_webbrowser_window.moc"

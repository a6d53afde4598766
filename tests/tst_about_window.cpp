// The About box, and the updates window when its browser plugin is missing.
#include "frmAbout.h"
#include "frmMain.h"
#include "frmWebBrowser.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "updatesbrowser.h"
#include "windowregistry.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace tavrin;

namespace {
frmMain *openMain()
{
    return qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main));
}

int aboutBoxes()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<frmAbout *>(w) && w->isVisible();
    return n;
}
} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT
    test::TemporarySettings *m_settings = nullptr;

private slots:
    void init()
    {
        m_settings = new test::TemporarySettings;
        registerWindows();
        // The browser plugin is never there: these tests see the link.
        setUpdatesBrowserPlugin(QStringLiteral("/nonexistent/libtavrin_webbrowser.so"));
    }
    void cleanup()
    {
        WindowRegistry::instance().reset();
        frmWebBrowser::setUpdatesAddress({});
        setUpdatesBrowserPlugin({});
        delete m_settings;
    }

    void oneAboutBoxFromEveryWayIn()
    {
        frmMain *main = openMain();
        main->menuItem("mnuHelpAbout")->trigger();
        QWidget *first = WindowRegistry::instance().widget(WindowId::About);
        QVERIFY(first && first->isVisible() && !first->isModal());
        QCOMPARE(first->windowTitle(), QStringLiteral("Tavrin CoD2 Worldspawn Utility"));
        // The arena maker's About goes through the registry too.
        QCOMPARE(WindowRegistry::instance().show(WindowId::About), first);
        main->menuItem("mnuHelpAbout")->trigger();
        QCOMPARE(WindowRegistry::instance().widget(WindowId::About), first);
        QCOMPARE(aboutBoxes(), 1);
    }

    // OK, Esc and the close box unload the box; the main window stays.
    void aboutCloses_data()
    {
        QTest::addColumn<int>("key"); // 0: the OK button, -1: the close box
        QTest::newRow("OK") << 0;
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("close box") << -1;
    }
    void aboutCloses()
    {
        QFETCH(int, key);
        openMain();
        QPointer<QWidget> w = WindowRegistry::instance().show(WindowId::About);
        QVERIFY(QTest::qWaitForWindowActive(w));
        if (key == 0)
            QTest::mouseClick(w->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        else if (key > 0)
            QTest::keyClick(w, Qt::Key(key));
        else
            QVERIFY(w->close());
        QTRY_VERIFY(!w);
        QVERIFY(!WindowRegistry::instance().isLoaded(WindowId::About));
        QVERIFY(WindowRegistry::instance().widget(WindowId::Main)->isVisible());
        // The next opening builds a new box.
        QVERIFY(WindowRegistry::instance().show(WindowId::About)->isVisible());
        QCOMPARE(aboutBoxes(), 1);
    }

    void updatesLinkWithoutPlugin()
    {
        frmWebBrowser::setUpdatesAddress(QUrl(QStringLiteral("http://127.0.0.1:1/updates/")));
        openMain()->menuItem(QStringLiteral("mnuViewWebBrowser"))->trigger();
        auto *w = WindowRegistry::instance().window<frmWebBrowser>(WindowId::WebBrowser);
        QVERIFY(w && w->isVisible() && !w->hasBrowser());
        QCOMPARE(w->windowTitle(), QStringLiteral("Tavrin Revevi Tools Updates"));
        auto *link = w->findChild<QLabel *>("lblLink");
        QCOMPARE(w->browserArea(), link);
        QVERIFY(link->text().contains(QLatin1String("http://127.0.0.1:1/updates/")));
    }

    // The browser area sits 240 twips down and is fitted only on activation,
    // never with a negative height.
    void sizedOnActivationOnly_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("roomy") << QSize(520, 390);
        QTest::newRow("exactly the offset") << QSize(300, test::pxY(240));
        QTest::newRow("lower than the offset") << QSize(300, 6);
    }
    void sizedOnActivationOnly()
    {
        QFETCH(QSize, size);
        QWidget other;
        auto *w = qobject_cast<frmWebBrowser *>(WindowRegistry::instance().show(WindowId::WebBrowser));
        QVERIFY(QTest::qWaitForWindowActive(w));
        QWidget *area = w->browserArea();
        const int top = test::pxY(240);
        QCOMPARE(area->geometry(), QRect(0, top, w->width(), qMax(0, w->height() - top)));
        const QRect before = area->geometry();
        w->resize(size);
        QTRY_COMPARE(w->size(), size);
        // Only an activation moves the browser: it stays as it was however long we look.
        QVERIFY(!QTest::qWaitFor([&] { return area->geometry() != before; }, 100));
        test::switchAwayAndBack(w, &other);
        QCOMPARE(area->geometry(), QRect(0, top, size.width(), qMax(0, size.height() - top)));
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_about_window.moc"

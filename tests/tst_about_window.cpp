// The About box, and the updates window when its browser plugin is missing.
#include "frmAbout.h"
#include "frmMain.h"
#include "frmWebBrowser.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "twips.h"
#include "updatesbrowser.h"
#include "windowregistry.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace tavrin;

namespace {
int pxY(double twips) { return twipsToPixels(twips, QGuiApplication::primaryScreen()->logicalDotsPerInchY()); }

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

// Makes another window active, then the given one again.
void switchAwayAndBack(QWidget *window, QWidget *other)
{
    other->show();
    other->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(other));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
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

    void aboutContents()
    {
        auto *w = qobject_cast<frmAbout *>(WindowRegistry::instance().show(WindowId::About));
        QVERIFY(w);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->windowTitle(), QStringLiteral("Tavrin CoD2 Worldspawn Utility"));
        QVERIFY(!w->isModal());
        QCOMPARE(w->minimumSize(), w->maximumSize()); // fixed

        auto *label = w->findChild<QLabel *>(QStringLiteral("Label1"));
        QCOMPARE(label->text(),
                 QStringLiteral("To Open the Tools,  you have to goto View menu and select Options, also you can "
                                "check on the upcoming updates by clicking on the Check Updates. if you have any "
                                "Question you can send Email to tavrin.tools@revevi.net"));
        QVERIFY(label->wordWrap());
        auto *version = w->findChild<QLabel *>(QStringLiteral("lblVersion"));
        QCOMPARE(version->text(), QStringLiteral("Beta Release 2.0"));
        auto *ok = w->findChild<QPushButton *>(QStringLiteral("cmdOK"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
        auto *picture = w->findChild<QLabel *>(QStringLiteral("Picture1"));
        QCOMPARE(picture->size(), QSize(128, 128));
        QCOMPARE(picture->pixmap().size(), QSize(128, 128));
        auto *rule = w->findChild<QFrame *>(QStringLiteral("Line1"));
        QCOMPARE(rule->frameShape(), QFrame::HLine);

        // Picture top left, text to its right, the rule across below both,
        // the version left and OK right below the rule.
        const QRect pic = picture->geometry(), text = label->geometry(), line = rule->geometry();
        QVERIFY(text.left() >= pic.right());
        QVERIFY(line.top() >= qMax(pic.bottom(), text.bottom()));
        QVERIFY(line.left() <= pic.left() && line.right() >= text.right());
        QVERIFY(version->geometry().top() >= line.bottom());
        QVERIFY(ok->geometry().top() >= line.bottom());
        QVERIFY(ok->geometry().left() > version->geometry().right());
    }

    void oneAboutBoxFromEveryWayIn()
    {
        frmMain *main = openMain();
        main->menuItem(QStringLiteral("mnuHelpAbout"))->trigger();
        QWidget *first = WindowRegistry::instance().widget(WindowId::About);
        QVERIFY(first && first->isVisible());
        // The arena maker's About goes through the registry too.
        QCOMPARE(WindowRegistry::instance().show(WindowId::About), first);
        main->menuItem(QStringLiteral("mnuHelpAbout"))->trigger();
        QCOMPARE(WindowRegistry::instance().widget(WindowId::About), first);
        QCOMPARE(aboutBoxes(), 1);
        QVERIFY(QTest::qWaitForWindowActive(first));
    }

    void aboutCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "OK";
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Return") << "Return";
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("close box") << "close";
    }
    void aboutCloses()
    {
        QFETCH(QString, how);
        openMain();
        QPointer<QWidget> w = WindowRegistry::instance().show(WindowId::About);
        QVERIFY(QTest::qWaitForWindowActive(w));
        if (how == "OK")
            QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        else if (how == "Enter")
            QTest::keyClick(w, Qt::Key_Enter);
        else if (how == "Return")
            QTest::keyClick(w, Qt::Key_Return);
        else if (how == "Esc")
            QTest::keyClick(w, Qt::Key_Escape);
        else
            QVERIFY(w->close());
        // Unloaded, not just hidden; the main window stays.
        QTRY_VERIFY(!w);
        QVERIFY(!WindowRegistry::instance().isLoaded(WindowId::About));
        QVERIFY(WindowRegistry::instance().widget(WindowId::Main)->isVisible());
        // The next opening builds a new box.
        QWidget *again = WindowRegistry::instance().show(WindowId::About);
        QVERIFY(again && again->isVisible());
        QCOMPARE(aboutBoxes(), 1);
    }

    void updatesLinkWithoutPlugin()
    {
        frmWebBrowser::setUpdatesAddress(QUrl(QStringLiteral("http://127.0.0.1:1/updates/?a=1&b=\"x\"")));
        frmMain *main = openMain();
        main->menuItem(QStringLiteral("mnuViewWebBrowser"))->trigger();
        auto *w = WindowRegistry::instance().window<frmWebBrowser>(WindowId::WebBrowser);
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Tavrin Revevi Tools Updates"));
        QVERIFY(!w->hasBrowser());
        QVERIFY(!w->findChild<QWidget *>(QStringLiteral("frmWeb")));
        auto *link = w->findChild<QLabel *>(QStringLiteral("lblLink"));
        QCOMPARE(w->browserArea(), link);
        QVERIFY(link->openExternalLinks());
        QVERIFY(link->textInteractionFlags() & Qt::LinksAccessibleByMouse);
        QCOMPARE(link->text(), QStringLiteral("<a href=\"http://127.0.0.1:1/updates/?a=1&amp;b=%22x%22\">"
                                              "http://127.0.0.1:1/updates/?a=1&amp;b=%22x%22</a>"));
    }

    void sizedOnActivationOnly_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("roomy") << QSize(520, 390);
        QTest::newRow("exactly the offset") << QSize(300, pxY(240));
        QTest::newRow("lower than the offset") << QSize(300, 6);
    }
    void sizedOnActivationOnly()
    {
        QFETCH(QSize, size);
        QWidget other;
        other.setWindowTitle(QStringLiteral("other"));
        auto *w = qobject_cast<frmWebBrowser *>(WindowRegistry::instance().show(WindowId::WebBrowser));
        QVERIFY(QTest::qWaitForWindowActive(w));
        QWidget *area = w->browserArea();
        const int top = pxY(240);
        QCOMPARE(area->geometry(), QRect(0, top, w->width(), qMax(0, w->height() - top)));

        // A resize alone leaves the browser as it was.
        const QRect before = area->geometry();
        w->resize(size);
        QTRY_COMPARE(w->size(), size);
        QTest::qWait(20);
        QCOMPARE(area->geometry(), before);

        // The next activation fits it below the offset, never with a negative height.
        switchAwayAndBack(w, &other);
        QCOMPARE(area->geometry(), QRect(0, top, size.width(), qMax(0, size.height() - top)));
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_about_window.moc"

// The main window, its remembered placement and the tool launcher.
#include "frmMain.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace tavrin;

namespace {
frmMain *openMain() { return qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main)); }

// A frame in pixels as the settings store holds it, in twips.
QString twips(int pixels)
{
    return QString::number(qRound(pixels * 1440 / QGuiApplication::primaryScreen()->logicalDotsPerInchX()));
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
    test::TemporarySettings *m_settings = nullptr;
    QString stored(const char *key) const { return m_settings->stored(key); }

private slots:
    void init()
    {
        m_settings = new test::TemporarySettings;
        registerWindows();
    }
    void cleanup()
    {
        WindowRegistry::instance().reset();
        delete m_settings;
    }

    void menus_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("&File") << "mnuFile"
            << QStringList{"mnuFileNew|&New|Ctrl+N", "mnuFileOpen|&Open...|Ctrl+O", "-",
                           "mnuFileSave|&Save|", "mnuFileSaveAs|Save &As...|", "-",
                           "mnuFilePageSetup|Page Set&up...|", "mnuFilePrint|&Print...|", "-", "-",
                           "mnuFileExit|E&xit|"};
        QTest::newRow("&Edit") << "mnuEdit"
            << QStringList{"mnuEditUndo|&Undo|", "-", "mnuEditCut|Cu&t|Ctrl+X",
                           "mnuEditCopy|&Copy|Ctrl+C", "mnuEditPaste|&Paste|Ctrl+V"};
        QTest::newRow("&View") << "mnuView"
            << QStringList{"mnuViewToolbar|&Toolbar|", "mnuViewStatusBar|Status &Bar|", "-",
                           "mnuViewOptions|&Options...|", "mnuViewWebBrowser|&Check Update Info|"};
        QTest::newRow("&Window") << "mnuWindow"
            << QStringList{"mnuWindowCascade|&Cascade|", "mnuWindowTileHorizontal|Tile &Horizontal|",
                           "mnuWindowTileVertical|Tile &Vertical|", "mnuWindowArrangeIcons|&Arrange Icons|", "-"};
        QTest::newRow("&Help") << "mnuHelp"
            << QStringList{"mnuHelpContents|&Contents|", "mnuHelpSearchForHelpOn|&Search For Help On...|",
                           "-", "mnuHelpAbout|&About |"};
    }
    void menus()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        frmMain *w = openMain();
        QCOMPARE(w->windowTitle(), QStringLiteral("Tavrin Revevi Tools"));
        auto *m = w->findChild<QMenu *>(menu);
        QCOMPARE(m->title(), QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(test::menuEntries(m), items);
    }

    // Stored values that are not numbers fall back to the first-run placement one by one.
    void storedPlacement_data()
    {
        QTest::addColumn<QStringList>("values"); // empty: nothing stored
        QTest::addColumn<QRect>("expected");     // in twips
        QTest::newRow("first run") << QStringList{} << QRect(1000, 1000, 6500, 6500);
        QTest::newRow("stored") << QStringList{"1200", "600", "7500", "6000"} << QRect(1200, 600, 7500, 6000);
        QTest::newRow("fractions") << QStringList{"1200.4", "600", "7500", "6000"} << QRect(1200, 600, 7500, 6000);
        QTest::newRow("not numbers") << QStringList{"abc", "", "7500", "1e"} << QRect(1000, 1000, 7500, 6500);
        QTest::newRow("blanks around") << QStringList{" 300", "450 ", "6500", "6500"} << QRect(300, 450, 6500, 6500);
    }
    void storedPlacement()
    {
        QFETCH(QStringList, values);
        QFETCH(QRect, expected);
        const char *keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
        for (int i = 0; i < values.size(); ++i)
            m_settings->store(keys[i], values[i]);
        frmMain *w = openMain();
        QTRY_COMPARE(w->frameGeometry(), QRect(test::pxX(expected.x()), test::pxX(expected.y()),
                                               test::pxX(expected.width()), test::pxX(expected.height())));
    }

    void offScreenPlacementIsBroughtBack()
    {
        m_settings->store("MainLeft", "900000");
        m_settings->store("MainTop", "-900000");
        frmMain *w = openMain();
        QTRY_VERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(w->frameGeometry()));
        QCOMPARE(w->frameGeometry().size(), QSize(test::pxX(6500), test::pxX(6500)));
    }

    // Closing stores the frame in twips: the maximised bounds when maximised
    // (the next start opens normal with them), nothing when minimised.
    void closeStoresPlacement_data()
    {
        QTest::addColumn<Qt::WindowState>("state");
        QTest::newRow("normal") << Qt::WindowNoState;
        QTest::newRow("maximised") << Qt::WindowMaximized;
        QTest::newRow("minimised") << Qt::WindowMinimized;
    }
    void closeStoresPlacement()
    {
        QFETCH(Qt::WindowState, state);
        m_settings->store("MainLeft", "1500");
        frmMain *w = openMain();
        QTRY_VERIFY(w->isVisible());
        w->setGeometry(QRect(40, 50, 300, 200));
        w->setWindowState(state);
        QTRY_VERIFY(w->windowState() == state);
        if (state == Qt::WindowMaximized)
            QTRY_VERIFY(w->frameGeometry().width() > test::pxX(6500));
        const QRect frame = w->frameGeometry();
        w->close();
        const QStringList values{stored("MainLeft"), stored("MainTop"), stored("MainWidth"), stored("MainHeight")};
        if (state == Qt::WindowMinimized) {
            QCOMPARE(values, QStringList({"1500", "", "", ""}));
            return;
        }
        QCOMPARE(values, QStringList({twips(frame.x()), twips(frame.y()), twips(frame.width()), twips(frame.height())}));
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::Main));
        w = openMain();
        QVERIFY(!w->isMaximized());
        QTRY_COMPARE(w->frameGeometry(), frame);
    }

    void exitStoresNothing()
    {
        m_settings->store("MainLeft", "1500");
        frmMain *w = openMain();
        w->move(300, 300);
        // Exit ends the event loop at once, without closing any window.
        QTimer::singleShot(0, w, [w] { w->menuItem("mnuFileExit")->trigger(); });
        QCOMPARE(test::runEventLoop(), 0);
        QVERIFY(w->isVisible());
        QCOMPARE(stored("MainLeft"), QStringLiteral("1500"));
    }

    void windowMenuListsDocuments()
    {
        frmMain *w = openMain();
        for (const char *title : {"Tavrin Document 1", "R&D notes"}) {
            QMdiSubWindow *sub = w->mdiArea()->addSubWindow(new QTextEdit);
            sub->setWindowTitle(QString::fromLatin1(title));
            sub->show();
        }
        auto *menu = w->findChild<QMenu *>("mnuWindow");
        emit menu->aboutToShow();
        emit menu->aboutToShow(); // rebuilt, never doubled
        QStringList list;
        for (QAction *a : menu->actions().mid(5))
            list << a->text();
        QCOMPARE(list, QStringList({"&1 Tavrin Document 1", "&2 R&&D notes"}));
        menu->actions().at(5)->trigger();
        QCOMPARE(w->mdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("Tavrin Document 1"));
    }

    void launcher()
    {
        openMain()->menuItem("mnuViewOptions")->trigger();
        QWidget *launcher = WindowRegistry::instance().widget(WindowId::MenuOptions);
        QVERIFY(launcher && launcher->isVisible());
        QCOMPARE(launcher->windowTitle(), QStringLiteral("Tavrin Revevi Tools Options"));
        // The buttons in tab order, as "frame: name caption".
        QStringList buttons;
        for (QWidget *b = launcher->findChild<QPushButton *>("cmdEfx"); qobject_cast<QPushButton *>(b); b = b->nextInFocusChain())
            buttons << qobject_cast<QGroupBox *>(b->parentWidget())->title() + ": " + b->objectName() + ' '
                           + qobject_cast<QPushButton *>(b)->text();
        QCOMPARE(buttons, QStringList({"COD 2 Selection: cmdEfx &Worldspawn Settings", "COD 2 Selection: Command2 Arena &Maker",
                                       "COD 2 Selection: Command3 Effect &List", "COD Selection: Command4 &Arena Maker",
                                       "COD Selection: cmdMapCFG Map &Script Maker"}));

        // Two clicks show one viewer, a window of its own; closing the launcher leaves it open.
        auto *cmdEfx = launcher->findChild<QPushButton *>("cmdEfx");
        cmdEfx->click();
        QWidget *viewer = WindowRegistry::instance().widget(WindowId::Tavrin);
        QVERIFY(viewer && viewer->isVisible() && viewer->isWindow());
        cmdEfx->click();
        QCOMPARE(WindowRegistry::instance().widget(WindowId::Tavrin), viewer);
        launcher->close();
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::MenuOptions));
        QVERIFY(viewer->isVisible());
    }

    void mainWindowClosingLeavesToolsOpen()
    {
        frmMain *w = openMain();
        WindowRegistry::instance().show(WindowId::MenuOptions);
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        // The program's own event loop runs, as it does for the user.
        QTimer::singleShot(0, w, [w] { w->close(); });
        QTimer::singleShot(100, qApp, [] {
            QVERIFY(!WindowRegistry::instance().isLoaded(WindowId::Main));
            QVERIFY(WindowRegistry::instance().widget(WindowId::MenuOptions)->isVisible());
            // A hidden window does not keep the program alive once the last visible one closes.
            WindowRegistry::instance().load(WindowId::Tavrin);
            WindowRegistry::instance().widget(WindowId::MenuOptions)->close();
        });
        QCOMPARE(test::runEventLoop(), 0);
        QCOMPARE(lastClosed.count(), 1);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

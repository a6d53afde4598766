// The main window, its remembered placement and the tool launcher.
#include "frmMain.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace tavrin;

namespace {
frmMain *openMain()
{
    return qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main));
}

// The main window once the desktop has put its frame round it (at once where
// there is no window manager).
frmMain *openFramedMain()
{
    frmMain *w = openMain();
    const bool framed = QGuiApplication::platformName() != QLatin1String("offscreen");
    if (!QTest::qWaitFor(
            [w, framed] { return w->isVisible() && (!framed || !w->windowHandle()->frameMargins().isNull()); }))
        qWarning("the main window was not framed");
    return w;
}

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
                                              "mnuFileSave|&Save|Ctrl+S", "mnuFileSaveAs|Save &As...|Ctrl+Shift+S", "-",
                                              "mnuFilePageSetup|Page Set&up...|", "mnuFilePrint|&Print...|Ctrl+P",
                                              // the recent files, hidden while there are none
                                              "mnuFileRecent1||", "mnuFileRecent2||", "mnuFileRecent3||",
                                              "mnuFileRecent4||", "mnuFileRecent5||", "mnuFileRecent6||",
                                              "mnuFileRecent7||", "mnuFileRecent8||", "-", "-", "mnuFileExit|E&xit|"};
        QTest::newRow("&Edit") << "mnuEdit"
                               << QStringList{"mnuEditUndo|&Undo|Ctrl+Z",
                                              "mnuEditRedo|&Redo|Ctrl+Y",
                                              "-",
                                              "mnuEditCut|Cu&t|Ctrl+X",
                                              "mnuEditCopy|&Copy|Ctrl+C",
                                              "mnuEditPaste|&Paste|Ctrl+V",
                                              "-",
                                              "mnuEditSelectAll|Select &All|Ctrl+A",
                                              "-",
                                              "mnuEditFind|&Find...|Ctrl+F",
                                              "mnuEditFindNext|Find &Next|F3",
                                              "mnuEditReplace|R&eplace...|Ctrl+H"};
        QTest::newRow("F&ormat") << "mnuFormat"
                                 << QStringList{"mnuFormatBold|&Bold|Ctrl+B",
                                                "mnuFormatItalic|&Italic|Ctrl+I",
                                                "mnuFormatUnderline|&Underline|Ctrl+U",
                                                "mnuFormatStrikeout|Stri&keout|",
                                                "-",
                                                "mnuFormatFont|&Font...|",
                                                "mnuFormatColor|Text &Colour...|",
                                                "mnuFormatHighlight|&Highlight...|",
                                                "-",
                                                "mnuFormatAlignLeft|Align &Left|Ctrl+L",
                                                "mnuFormatCenter|C&entre|Ctrl+E",
                                                "mnuFormatAlignRight|Align &Right|Ctrl+R",
                                                "mnuFormatJustify|&Justify|Ctrl+J",
                                                "-",
                                                "mnuFormatBullets|Bu&llets|",
                                                "mnuFormatNumbering|&Numbering|",
                                                "mnuFormatIndent|&Increase Indent|",
                                                "mnuFormatOutdent|&Decrease Indent|"};
        QTest::newRow("&View") << "mnuView"
                               << QStringList{"mnuViewToolbar|&Toolbar|",      "mnuViewStatusBar|Status &Bar|",
                                              "mnuViewFormatBar|&Format Bar|", "-",
                                              "mnuViewOptions|&Options...|",   "mnuViewWebBrowser|&Check Update Info|"};
        QTest::newRow("&Window") << "mnuWindow"
                                 << QStringList{"mnuWindowCascade|&Cascade|",
                                                "mnuWindowTileHorizontal|Tile &Horizontal|",
                                                "mnuWindowTileVertical|Tile &Vertical|",
                                                "mnuWindowArrangeIcons|&Arrange Icons|", "-"};
        QTest::newRow("&Help") << "mnuHelp"
                               << QStringList{"mnuHelpContents|&Contents|",
                                              "mnuHelpSearchForHelpOn|&Search For Help On...|", "-",
                                              "mnuHelpAbout|&About |"};
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
        // The menus on the bar, in order.
        QStringList bar;
        for (QAction *a : w->menuBar()->actions())
            bar << a->menu()->objectName();
        QCOMPARE(bar, QStringList({"mnuFile", "mnuEdit", "mnuFormat", "mnuView", "mnuWindow", "mnuHelp"}));
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

    // Each start opens the outer frame where the last close left it, under a
    // window manager as without one, so five restarts store the same values
    // (within a pixel). Values that would leave the window unusable (larger
    // than the screen, menus off every screen) are corrected at the first
    // start and the corrected values stored.
    void restartsKeepPlacement_data()
    {
        QTest::addColumn<QStringList>("values"); // empty: nothing stored
        QTest::addColumn<bool>("kept");          // the first start takes them as they are
        QTest::newRow("first run") << QStringList{} << true;
        QTest::newRow("stored") << QStringList{"1500", "1200", "9000", "7500"} << true;
        QTest::newRow("huge size") << QStringList{"1000", "1000", "1e12", "1e12"} << false;
        QTest::newRow("menus above the screen") << QStringList{"-30000", "-30000", "60000", "60000"} << false;
        QTest::newRow("title bar above the screen") << QStringList{"3000", "-9000", "9000", "9000"} << false;
        QTest::newRow("off every screen") << QStringList{"900000", "-900000", "6500", "6500"} << false;
        QTest::newRow("no size") << QStringList{"1000", "1000", "0", "-50"} << false;
    }
    void restartsKeepPlacement()
    {
        QFETCH(QStringList, values);
        QFETCH(bool, kept);
        const char *keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
        for (int i = 0; i < values.size(); ++i)
            m_settings->store(keys[i], values[i]);
        QList<double> expected;
        for (const QString &v : values.isEmpty() ? QStringList{"1000", "1000", "6500", "6500"} : values)
            expected << v.toDouble();
        for (int start = 0; start < 5; ++start) {
            frmMain *w = openFramedMain();
            const QRect available = w->screen()->availableGeometry();
            if (start > 0 || kept) {
                const QRect frame(test::pxX(expected[0]), test::pxY(expected[1]), test::pxX(expected[2]),
                                  test::pxY(expected[3]));
                QTRY_COMPARE(w->frameGeometry(), frame);
            } else {
                QTRY_VERIFY2(available.contains(w->frameGeometry()), qPrintable(QDebug::toString(w->frameGeometry())));
            }
            QVERIFY(w->frameGeometry().width() >= 128 && w->frameGeometry().height() >= 128);
            const QRect menus(w->menuBar()->mapToGlobal(QPoint(0, 0)), w->menuBar()->size());
            QVERIFY2(available.contains(menus), qPrintable(QDebug::toString(menus)));
            w->close();
            QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::Main));
            for (int i = 0; i < 4; ++i) {
                const double now = stored(keys[i]).toDouble();
                if (start > 0 || kept)
                    QVERIFY2(qAbs(now - expected[i]) <= 15, qPrintable(QStringLiteral("start %1: %2 = %3, was %4")
                                                                           .arg(start)
                                                                           .arg(keys[i])
                                                                           .arg(now)
                                                                           .arg(expected[i])));
                expected[i] = now;
            }
        }
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
        frmMain *w = openFramedMain();
        w->setGeometry(QRect(40, 50, 300, 200));
        w->setWindowState(state);
        QTRY_VERIFY(w->windowState() == state);
        // A window manager maximises a window in steps; the stored bounds are
        // those it ends with, the screen's free area.
        const QRect available = w->screen()->availableGeometry();
        if (state == Qt::WindowMaximized)
            QTRY_VERIFY(w->geometry().width() > available.width() * 9 / 10);
        const QRect frame = state == Qt::WindowMaximized ? available : w->frameGeometry();
        w->close();
        const QStringList values{stored("MainLeft"), stored("MainTop"), stored("MainWidth"), stored("MainHeight")};
        if (state == Qt::WindowMinimized) {
            QCOMPARE(values, QStringList({"1500", "", "", ""}));
            return;
        }
        QCOMPARE(values,
                 QStringList({twips(frame.x()), twips(frame.y()), twips(frame.width()), twips(frame.height())}));
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

    // Cascade: every open document the same usable size, each one title bar
    // below and right of the one before, every title bar in view, the text
    // shown; minimised documents stay as they are.
    void cascade_data()
    {
        QTest::addColumn<int>("documents");
        QTest::newRow("three") << 3;
        QTest::newRow("five") << 5;
    }
    void cascade()
    {
        QFETCH(int, documents);
        frmMain *w = openMain();
        w->resize(900, 700);
        for (int i = 0; i <= documents; ++i)
            w->menuItem("mnuFileNew")->trigger();
        QMdiArea *area = w->mdiArea();
        QMdiSubWindow *minimised = area->subWindowList(QMdiArea::CreationOrder).first();
        minimised->showMinimized();
        const QRect iconBefore = minimised->geometry();
        QMdiSubWindow *active = area->subWindowList(QMdiArea::CreationOrder).at(2);
        area->setActiveSubWindow(active);
        w->menuItem("mnuWindowCascade")->trigger();

        const QRect client = area->viewport()->rect();
        QList<QMdiSubWindow *> stack = area->subWindowList(QMdiArea::StackingOrder);
        stack.removeOne(minimised);
        QCOMPARE(stack.size(), documents);
        QCOMPARE(area->activeSubWindow(), active);
        QCOMPARE(stack.last(), active);
        const int titleBar = stack.first()->widget()->y();
        QVERIFY(titleBar > 10);
        for (int i = 0; i < documents; ++i) {
            const QRect g = stack[i]->geometry();
            QCOMPARE(g.size(), stack.first()->size());
            QVERIFY2(g.width() >= client.width() / 2 && g.height() >= client.height() / 2,
                     qPrintable(QDebug::toString(g)));
            QVERIFY(client.contains(g));
            QCOMPARE(g.topLeft(), QPoint(i * titleBar, i * titleBar));
            // Nothing in front of a document covers its title bar.
            const QRect bar(g.topLeft(), QSize(g.width(), titleBar));
            for (int j = i + 1; j < documents; ++j)
                QVERIFY(!stack[j]->geometry().intersects(bar));
            QWidget *text = stack[i]->widget()->findChild<QWidget *>("rtfText");
            QVERIFY(text->isVisible() && text->width() > g.width() / 2 && text->height() > g.height() / 2);
        }
        QCOMPARE(minimised->geometry(), iconBefore);
    }

    // New documents open with title bar and close box inside the client area,
    // which scrolls to a document that reaches past it.
    void newDocumentsCanBeReached()
    {
        frmMain *w = openMain();
        QMdiArea *area = w->mdiArea();
        for (int i = 0; i < 12; ++i) {
            w->menuItem("mnuFileNew")->trigger();
            QMdiSubWindow *sub = area->activeSubWindow();
            QVERIFY2(area->viewport()->rect().contains(sub->geometry()), qPrintable(QDebug::toString(sub->geometry())));
        }
        QVERIFY(!area->horizontalScrollBar()->isVisible() && !area->verticalScrollBar()->isVisible());
        area->activeSubWindow()->move(area->viewport()->width() - 40, area->viewport()->height() - 40);
        QTRY_VERIFY(area->horizontalScrollBar()->isVisible() && area->verticalScrollBar()->isVisible());
    }

    // Tile lays the open documents side by side or one above another over the
    // whole area; Arrange Icons lines the minimised ones up along its bottom.
    void tileAndArrangeIcons_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("horizontal") << "mnuWindowTileHorizontal";
        QTest::newRow("vertical") << "mnuWindowTileVertical";
        QTest::newRow("icons") << "mnuWindowArrangeIcons";
    }
    void tileAndArrangeIcons()
    {
        QFETCH(QString, command);
        frmMain *w = openMain();
        w->resize(900, 700);
        for (int i = 0; i < 3; ++i)
            w->menuItem("mnuFileNew")->trigger();
        QMdiArea *area = w->mdiArea();
        const QList<QMdiSubWindow *> docs = area->subWindowList(QMdiArea::CreationOrder);
        const bool icons = command == QLatin1String("mnuWindowArrangeIcons");
        if (icons) {
            for (QMdiSubWindow *d : docs)
                d->showMinimized();
        }
        w->menuItem(command)->trigger();
        const QRect client = area->viewport()->rect();
        int covered = 0;
        for (int i = 0; i < 3; ++i) {
            const QRect g = docs[i]->geometry();
            QVERIFY(client.contains(g));
            if (icons) {
                QCOMPARE(g.bottom(), client.bottom());
                QCOMPARE(g.left(), i * docs[0]->width());
                continue;
            }
            covered += g.width() * g.height();
            if (command == QLatin1String("mnuWindowTileHorizontal"))
                QCOMPARE(g.width(), client.width());
            else
                QCOMPARE(g.height(), client.height());
        }
        if (!icons)
            QCOMPARE(covered, client.width() * client.height());
    }

    void launcher()
    {
        openMain()->menuItem("mnuViewOptions")->trigger();
        QWidget *launcher = WindowRegistry::instance().widget(WindowId::MenuOptions);
        QVERIFY(launcher && launcher->isVisible());
        QCOMPARE(launcher->windowTitle(), QStringLiteral("Tavrin Revevi Tools Options"));
        // The buttons in tab order, as "frame: name caption".
        QStringList buttons;
        for (QWidget *b = launcher->findChild<QPushButton *>("cmdEfx"); qobject_cast<QPushButton *>(b);
             b = b->nextInFocusChain())
            buttons << qobject_cast<QGroupBox *>(b->parentWidget())->title() + ": " + b->objectName() + ' '
                           + qobject_cast<QPushButton *>(b)->text();
        QCOMPARE(buttons,
                 QStringList({"COD 2 Selection: cmdEfx &Worldspawn Settings", "COD 2 Selection: Command2 Arena &Maker",
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

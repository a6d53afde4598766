// The main window, its remembered placement and the tool launcher.
#include "frmMain.h"
#include "placement.h"
#include "registerwindows.h"
#include "settingsstore.h"
#include "testsupport.h"
#include "twips.h"
#include "windowregistry.h"

#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

using namespace tavrin;

namespace {
frmMain *openMain()
{
    return WindowRegistry::instance().window<frmMain>(WindowId::Main)
               ? WindowRegistry::instance().window<frmMain>(WindowId::Main)
               : qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main));
}

// The menu's entries as "name caption shortcut", a separator as "-".
QStringList entries(QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (!a->objectName().isEmpty())
            out << (a->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('|')
                    + a->shortcut().toString());
    }
    return out;
}

QString stored(const test::TemporarySettings &settings, const char *key)
{
    QSettings file(settings.file(), QSettings::IniFormat);
    return file.value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
}

void store(const char *key, const QString &value)
{
    SaveSetting(QStringLiteral("Tavrin"), QStringLiteral("Settings"), QLatin1String(key), value);
}

int px(double twips) { return twipsToPixels(twips, QGuiApplication::primaryScreen()->logicalDotsPerInchX()); }
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
    test::TemporarySettings *m_settings = nullptr;

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
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("File") << "mnuFile" << "&File"
            << QStringList{"mnuFileNew|&New|Ctrl+N", "mnuFileOpen|&Open...|Ctrl+O", "-",
                           "mnuFileSave|&Save|", "mnuFileSaveAs|Save &As...|", "-",
                           "mnuFilePageSetup|Page Set&up...|", "mnuFilePrint|&Print...|", "-", "-",
                           "mnuFileExit|E&xit|"};
        QTest::newRow("Edit") << "mnuEdit" << "&Edit"
            << QStringList{"mnuEditUndo|&Undo|", "-", "mnuEditCut|Cu&t|Ctrl+X",
                           "mnuEditCopy|&Copy|Ctrl+C", "mnuEditPaste|&Paste|Ctrl+V"};
        QTest::newRow("View") << "mnuView" << "&View"
            << QStringList{"mnuViewToolbar|&Toolbar|", "mnuViewStatusBar|Status &Bar|", "-",
                           "mnuViewOptions|&Options...|", "mnuViewWebBrowser|&Check Update Info|"};
        QTest::newRow("Window") << "mnuWindow" << "&Window"
            << QStringList{"mnuWindowCascade|&Cascade|", "mnuWindowTileHorizontal|Tile &Horizontal|",
                           "mnuWindowTileVertical|Tile &Vertical|", "mnuWindowArrangeIcons|&Arrange Icons|", "-"};
        QTest::newRow("Help") << "mnuHelp" << "&Help"
            << QStringList{"mnuHelpContents|&Contents|", "mnuHelpSearchForHelpOn|&Search For Help On...|",
                           "-", "mnuHelpAbout|&About |"};
    }
    void menus()
    {
        QFETCH(QString, menu);
        QFETCH(QString, caption);
        QFETCH(QStringList, items);
        frmMain *w = openMain();
        QCOMPARE(w->windowTitle(), QStringLiteral("Tavrin Revevi Tools"));
        auto *m = w->findChild<QMenu *>(menu);
        QVERIFY(m);
        QCOMPARE(m->title(), caption);
        QCOMPARE(entries(m), items);
    }

    void menuBarOrder()
    {
        QStringList titles;
        for (QAction *a : openMain()->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, QStringList({"&File", "&Edit", "&View", "&Window", "&Help"}));
    }

    void toolbar()
    {
        auto *bar = openMain()->findChild<QToolBar *>(QStringLiteral("tbToolBar"));
        QVERIFY(bar);
        QStringList keys;
        for (QAction *a : bar->actions()) {
            if (a->isSeparator()) {
                keys << QStringLiteral("-");
                continue;
            }
            keys << a->objectName();
            QCOMPARE(a->toolTip(), a->objectName());
            QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
        }
        QCOMPARE(keys, QStringList({"Open", "Save", "-", "Print", "-", "Cut", "Copy", "Paste"}));
    }

    void toolbarRunsTheMenuCommand()
    {
        test::ScriptedDialogs dialogs; // the commands run: their dialogs are cancelled
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        auto *bar = w->findChild<QToolBar *>(QStringLiteral("tbToolBar"));
        const QStringList pairs = {"Open:mnuFileOpen", "Save:mnuFileSave", "Print:mnuFilePrint",
                                   "Cut:mnuEditCut", "Copy:mnuEditCopy", "Paste:mnuEditPaste"};
        for (const QString &pair : pairs) {
            const QStringList p = pair.split(QLatin1Char(':'));
            QSignalSpy spy(w->menuItem(p[1]), &QAction::triggered);
            bar->findChild<QAction *>(p[0])->trigger();
            QCOMPARE(spy.count(), 1);
        }
        w->tbToolBar_ButtonClick(nullptr); // no key: nothing happens
    }

    void statusBar()
    {
        frmMain *w = openMain();
        QStatusBar *bar = w->findChild<QStatusBar *>(QStringLiteral("sbStatusBar"));
        QVERIFY(bar && bar->isVisible());
        QCOMPARE(bar->findChild<QLabel *>(QStringLiteral("Status"))->text(), QStringLiteral("Status"));
        const QLocale locale;
        QCOMPARE(bar->findChild<QLabel *>(QStringLiteral("sbDate"))->text(),
                 locale.toString(QDate::currentDate(), QLocale::ShortFormat));
        QVERIFY(!bar->findChild<QLabel *>(QStringLiteral("sbTime"))->text().isEmpty());
    }

    void viewToggles()
    {
        frmMain *w = openMain();
        QAction *toolbar = w->menuItem(QStringLiteral("mnuViewToolbar"));
        QAction *status = w->menuItem(QStringLiteral("mnuViewStatusBar"));
        QVERIFY(toolbar->isChecked() && status->isChecked());
        toolbar->trigger();
        QVERIFY(!toolbar->isChecked());
        QVERIFY(!w->findChild<QToolBar *>(QStringLiteral("tbToolBar"))->isVisible());
        status->trigger();
        QVERIFY(!w->statusBar()->isVisible());
        toolbar->trigger();
        QVERIFY(toolbar->isChecked());
        QVERIFY(w->findChild<QToolBar *>(QStringLiteral("tbToolBar"))->isVisible());
        // Not remembered: a new main window starts with both shown.
        w->close();
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::Main));
        w = openMain();
        QVERIFY(w->menuItem(QStringLiteral("mnuViewStatusBar"))->isChecked());
        QVERIFY(w->statusBar()->isVisible());
    }

    void helpMessages()
    {
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        w->menuItem(QStringLiteral("mnuHelpContents"))->trigger();
        w->menuItem(QStringLiteral("mnuHelpSearchForHelpOn"))->trigger();
        QCOMPARE(messages.shown.size(), 2);
        for (const MessageRequest &m : messages.shown) {
            QCOMPARE(m.text, QStringLiteral("Unable to display Help Contents. There is no Help associated with this project."));
            QCOMPARE(m.title, QStringLiteral("Tavrin Revevi Tools"));
            QCOMPARE(m.icon, QMessageBox::Information);
            QCOMPARE(m.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
    }

    void firstRunPlacement()
    {
        frmMain *w = openMain();
        QTRY_COMPARE(w->frameGeometry(), QRect(px(1000), px(1000), px(6500), px(6500)));
    }

    void storedPlacement_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QRect>("expected"); // in twips
        QTest::newRow("stored") << QStringList{"1200", "600", "7500", "6000"} << QRect(1200, 600, 7500, 6000);
        QTest::newRow("fractions") << QStringList{"1200.4", "600", "7500", "6000"} << QRect(1200, 600, 7500, 6000);
        QTest::newRow("not numbers") << QStringList{"abc", "", "7500", "1e"} << QRect(1000, 1000, 7500, 6500);
        QTest::newRow("blanks around") << QStringList{" 300", "450 ", "6500", "6500"} << QRect(300, 450, 6500, 6500);
    }
    void storedPlacement()
    {
        QFETCH(QStringList, values);
        QFETCH(QRect, expected);
        store("MainLeft", values[0]);
        store("MainTop", values[1]);
        store("MainWidth", values[2]);
        store("MainHeight", values[3]);
        frmMain *w = openMain();
        QTRY_COMPARE(w->frameGeometry(), QRect(px(expected.x()), px(expected.y()), px(expected.width()), px(expected.height())));
    }

    void offScreenPlacementIsBroughtBack()
    {
        store("MainLeft", QStringLiteral("900000"));
        store("MainTop", QStringLiteral("-900000"));
        frmMain *w = openMain();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QTRY_VERIFY(screen.contains(w->frameGeometry()));
        QCOMPARE(w->frameGeometry().size(), QSize(px(6500), px(6500)));
    }

    void keepOnScreen_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("expected");
        const QRect left(0, 0, 1000, 800);
        QTest::newRow("inside") << QRect(10, 10, 200, 200) << QRect(10, 10, 200, 200);
        QTest::newRow("partly out") << QRect(900, 700, 400, 400) << QRect(900, 700, 400, 400);
        QTest::newRow("right of all") << QRect(5000, 100, 400, 300) << QRect(1600, 100, 400, 300);
        QTest::newRow("above the left") << QRect(100, -2000, 400, 300) << QRect(100, 0, 400, 300);
        QTest::newRow("larger than screen") << QRect(-9000, 0, 3000, 3000) << QRect(0, 0, 1000, 800);
        Q_UNUSED(left);
    }
    void keepOnScreen()
    {
        QFETCH(QRect, frame);
        QFETCH(QRect, expected);
        const QList<QRect> screens = {QRect(0, 0, 1000, 800), QRect(1000, 0, 1000, 800)};
        QCOMPARE(tavrin::keepOnScreen(frame, screens), expected);
    }

    void closeStoresPlacement()
    {
        frmMain *w = openMain();
        QTRY_VERIFY(w->isVisible());
        w->setGeometry(QRect(40, 50, 300, 200));
        const QRect frame = w->frameGeometry();
        w->close();
        const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
        QCOMPARE(stored(*m_settings, "MainLeft"), QString::number(qRound(frame.x() * 1440 / dpi)));
        QCOMPARE(stored(*m_settings, "MainTop"), QString::number(qRound(frame.y() * 1440 / dpi)));
        QCOMPARE(stored(*m_settings, "MainWidth"), QString::number(qRound(frame.width() * 1440 / dpi)));
        QCOMPARE(stored(*m_settings, "MainHeight"), QString::number(qRound(frame.height() * 1440 / dpi)));
    }

    void closeWhileMaximisedStoresMaximisedBounds()
    {
        frmMain *w = openMain();
        w->showMaximized();
        QTRY_VERIFY(w->isMaximized());
        QTRY_VERIFY(w->frameGeometry().width() > px(6500));
        const QRect frame = w->frameGeometry();
        w->close();
        const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
        QCOMPARE(stored(*m_settings, "MainWidth"), QString::number(qRound(frame.width() * 1440 / dpi)));
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::Main));
        // The next start opens in the normal state with those bounds.
        w = openMain();
        QVERIFY(!w->isMaximized());
        QTRY_COMPARE(w->frameGeometry().size(), frame.size());
    }

    void closeWhileMinimisedKeepsOldPlacement()
    {
        store("MainLeft", QStringLiteral("1500"));
        frmMain *w = openMain();
        w->move(10, 10);
        w->showMinimized();
        QTRY_VERIFY(w->isMinimized());
        w->close();
        QCOMPARE(stored(*m_settings, "MainLeft"), QStringLiteral("1500"));
        QVERIFY(stored(*m_settings, "MainWidth").isEmpty());
    }

    void exitStoresNothing()
    {
        store("MainLeft", QStringLiteral("1500"));
        frmMain *w = openMain();
        w->move(300, 300);
        // Exit ends the event loop at once, without closing any window.
        QTimer::singleShot(0, w, [w] { w->menuItem(QStringLiteral("mnuFileExit"))->trigger(); });
        const int code = QCoreApplication::exec();
        QCOMPARE(code, 0);
        QVERIFY(w->isVisible()); // never closed
        QCOMPARE(stored(*m_settings, "MainLeft"), QStringLiteral("1500"));
    }

    void windowMenuListsDocuments()
    {
        frmMain *w = openMain();
        QMdiArea *area = w->mdiArea();
        for (const char *title : {"Tavrin Document 1", "R&D notes"}) {
            QMdiSubWindow *sub = area->addSubWindow(new QTextEdit);
            sub->setWindowTitle(QString::fromLatin1(title));
            sub->show();
        }
        auto *menu = w->findChild<QMenu *>(QStringLiteral("mnuWindow"));
        emit menu->aboutToShow();
        emit menu->aboutToShow(); // rebuilt, never doubled
        QStringList list;
        for (QAction *a : menu->actions().mid(5))
            list << a->text();
        QCOMPARE(list, QStringList({"&1 Tavrin Document 1", "&2 R&&D notes"}));
        menu->actions().at(5)->trigger();
        QCOMPARE(area->activeSubWindow()->windowTitle(), QStringLiteral("Tavrin Document 1"));

        // Tiling: horizontal stacks them, vertical sets them side by side.
        w->menuItem(QStringLiteral("mnuWindowTileHorizontal"))->trigger();
        const QList<QMdiSubWindow *> subs = area->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(subs[0]->width(), area->viewport()->width());
        QCOMPARE(subs[1]->y(), subs[0]->height());
        w->menuItem(QStringLiteral("mnuWindowTileVertical"))->trigger();
        QCOMPARE(subs[0]->height(), area->viewport()->height());
        QCOMPARE(subs[1]->x(), subs[0]->width());
        // Arrange Icons lines the minimised ones up along the bottom.
        subs[0]->showMinimized();
        subs[1]->showMinimized();
        w->menuItem(QStringLiteral("mnuWindowArrangeIcons"))->trigger();
        QCOMPARE(subs[0]->geometry().bottom(), area->viewport()->rect().bottom());
        QCOMPARE(subs[0]->x(), 0);
        QCOMPARE(subs[1]->x(), subs[0]->width());
    }

    void launcher()
    {
        frmMain *w = openMain();
        w->menuItem(QStringLiteral("mnuViewOptions"))->trigger();
        QWidget *launcher = WindowRegistry::instance().widget(WindowId::MenuOptions);
        QVERIFY(launcher && launcher->isVisible());
        QCOMPARE(launcher->windowTitle(), QStringLiteral("Tavrin Revevi Tools Options"));
        QCOMPARE(launcher->findChild<QGroupBox *>(QStringLiteral("Frame1"))->title(), QStringLiteral("COD 2 Selection"));
        QCOMPARE(launcher->findChild<QGroupBox *>(QStringLiteral("Frame2"))->title(), QStringLiteral("COD Selection"));
        const QList<std::pair<QString, QString>> buttons = {
            {"cmdEfx", "&Worldspawn Settings"}, {"Command2", "Arena &Maker"}, {"Command3", "Effect &List"},
            {"Command4", "&Arena Maker"}, {"cmdMapCFG", "Map &Script Maker"}};
        QWidget *focus = launcher->findChild<QPushButton *>(QStringLiteral("cmdEfx"));
        for (const auto &[name, caption] : buttons) {
            auto *b = launcher->findChild<QPushButton *>(name);
            QVERIFY2(b, qPrintable(name));
            QCOMPARE(b->text(), caption);
            QCOMPARE(focus, b); // the tab order follows the table
            focus = b->nextInFocusChain();
        }
        QCOMPARE(launcher->findChild<QPushButton *>(QStringLiteral("cmdEfx"))->parentWidget()->objectName(), QStringLiteral("Frame1"));
        QCOMPARE(launcher->findChild<QPushButton *>(QStringLiteral("cmdMapCFG"))->parentWidget()->objectName(), QStringLiteral("Frame2"));

        // Two clicks show one viewer; the launcher stays.
        auto *cmdEfx = launcher->findChild<QPushButton *>(QStringLiteral("cmdEfx"));
        cmdEfx->click();
        QWidget *viewer = WindowRegistry::instance().widget(WindowId::Tavrin);
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->objectName(), QStringLiteral("frmTavrin"));
        cmdEfx->click();
        QCOMPARE(WindowRegistry::instance().widget(WindowId::Tavrin), viewer);
        QCOMPARE(w->findChildren<QWidget *>(QStringLiteral("frmTavrin")).size(), 0); // not inside the main window
        QVERIFY(launcher->isVisible());
        // Closing the launcher leaves the tool open.
        launcher->close();
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::MenuOptions));
        QVERIFY(viewer->isVisible());
    }

    void mainWindowClosingLeavesToolsOpen()
    {
        frmMain *w = openMain();
        WindowRegistry::instance().show(WindowId::MenuOptions);
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        // The program's own event loop runs, as it does for the user; a stray
        // wait ends it with code 1.
        QTimer::singleShot(0, w, [w] { w->close(); });
        QTimer::singleShot(100, qApp, [] {
            QVERIFY(!WindowRegistry::instance().isLoaded(WindowId::Main));
            QVERIFY(WindowRegistry::instance().widget(WindowId::MenuOptions)->isVisible());
            // A hidden window does not keep the program alive once the last visible one closes.
            WindowRegistry::instance().load(WindowId::Tavrin);
            WindowRegistry::instance().widget(WindowId::MenuOptions)->close();
        });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(lastClosed.count(), 1);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

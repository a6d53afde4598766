#include "frmMain.h"

#include "messagebox.h"
#include "processend.h"
#include "readprogress.h"
#include "twips.h"
#include "windowregistry.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace tavrin {

namespace {
const QString mainCaption = QStringLiteral("Tavrin Revevi Tools");

// The toolbar's own images. The desktop's icon theme is not asked: looking it
// up costs more start-up time than the whole window takes to build.
QIcon toolbarImage(const char *name)
{
    return QIcon(QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".png"));
}
} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(mainCaption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/tavrin-48.png")));
    // The toolbar and status bar are switched from the View menu only, so its
    // check marks always tell the truth.
    setContextMenuPolicy(Qt::NoContextMenu);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdi);

    createMenus();
    createToolBar();
    createStatusBar();
    connectDocumentCommands();
    applyPlacement();

    // File > Exit and the effects browser's Exit end the program without
    // closing any window; changed documents are asked about first. An Open
    // still reading its file stops, leaving its document as it was.
    setExitGuard([this] {
        if (m_reading)
            m_reading->cancel();
        return queryUnloadDocuments();
    });
}

frmMain::~frmMain()
{
    setExitGuard({});
}

QAction *frmMain::menuItem(const QString &name) const
{
    return findChild<QAction *>(name);
}

void frmMain::createMenus()
{
    // One menu item: named, captioned, with its shortcut, connected.
    auto item = [this](QMenu *menu, const char *name, const char *caption,
                       const QKeySequence &shortcut = {}) {
        QAction *a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(shortcut);
        return a;
    };
    auto menu = [this](const char *name, const char *caption) {
        QMenu *m = menuBar()->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    QMenu *file = menu("mnuFile", "&File");
    file->setSeparatorsCollapsible(false); // it has two separators in a row
    item(file, "mnuFileNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    item(file, "mnuFileOpen", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O));
    file->addSeparator();
    item(file, "mnuFileSave", "&Save");
    item(file, "mnuFileSaveAs", "Save &As...");
    file->addSeparator();
    item(file, "mnuFilePageSetup", "Page Set&up...");
    item(file, "mnuFilePrint", "&Print...");
    file->addSeparator();
    file->addSeparator();
    connect(item(file, "mnuFileExit", "E&xit"), &QAction::triggered, this, &frmMain::mnuFileExit_Click);

    QMenu *edit = menu("mnuEdit", "&Edit");
    item(edit, "mnuEditUndo", "&Undo");
    edit->addSeparator();
    item(edit, "mnuEditCut", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X));
    item(edit, "mnuEditCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    item(edit, "mnuEditPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V));

    QMenu *view = menu("mnuView", "&View");
    QAction *toolbar = item(view, "mnuViewToolbar", "&Toolbar");
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    connect(toolbar, &QAction::triggered, this, &frmMain::mnuViewToolbar_Click);
    QAction *statusBarItem = item(view, "mnuViewStatusBar", "Status &Bar");
    statusBarItem->setCheckable(true);
    statusBarItem->setChecked(true);
    connect(statusBarItem, &QAction::triggered, this, &frmMain::mnuViewStatusBar_Click);
    view->addSeparator();
    connect(item(view, "mnuViewOptions", "&Options..."), &QAction::triggered, this, &frmMain::mnuViewOptions_Click);
    connect(item(view, "mnuViewWebBrowser", "&Check Update Info"), &QAction::triggered, this, &frmMain::mnuViewWebBrowser_Click);

    m_windowMenu = menu("mnuWindow", "&Window");
    connect(item(m_windowMenu, "mnuWindowCascade", "&Cascade"), &QAction::triggered, this, &frmMain::mnuWindowCascade_Click);
    connect(item(m_windowMenu, "mnuWindowTileHorizontal", "Tile &Horizontal"), &QAction::triggered, this, &frmMain::mnuWindowTileHorizontal_Click);
    connect(item(m_windowMenu, "mnuWindowTileVertical", "Tile &Vertical"), &QAction::triggered, this, &frmMain::mnuWindowTileVertical_Click);
    connect(item(m_windowMenu, "mnuWindowArrangeIcons", "&Arrange Icons"), &QAction::triggered, this, &frmMain::mnuWindowArrangeIcons_Click);
    m_windowListStart = m_windowMenu->addSeparator();
    m_windowListStart->setVisible(false);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &frmMain::updateWindowList);

    QMenu *help = menu("mnuHelp", "&Help");
    connect(item(help, "mnuHelpContents", "&Contents"), &QAction::triggered, this, &frmMain::mnuHelpContents_Click);
    connect(item(help, "mnuHelpSearchForHelpOn", "&Search For Help On..."), &QAction::triggered, this, &frmMain::mnuHelpSearchForHelpOn_Click);
    help->addSeparator();
    connect(item(help, "mnuHelpAbout", "&About "), &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::createToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    // Each button's key is its object name.
    auto button = [this](const char *key, const char *image) {
        QAction *a = m_toolBar->addAction(toolbarImage(image), QString::fromLatin1(key));
        a->setObjectName(QString::fromLatin1(key));
        a->setToolTip(QString::fromLatin1(key));
    };
    button("Open", "document-open");
    button("Save", "document-save");
    m_toolBar->addSeparator();
    button("Print", "document-print");
    m_toolBar->addSeparator();
    button("Cut", "edit-cut");
    button("Copy", "edit-copy");
    button("Paste", "edit-paste");
    connect(m_toolBar, &QToolBar::actionTriggered, this, &frmMain::tbToolBar_ButtonClick);
}

void frmMain::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(true);
    auto *status = new QLabel(QStringLiteral("Status"), bar);
    status->setObjectName(QStringLiteral("Status"));
    bar->addWidget(status, 1); // springs to fill what the other panels leave
    m_date = new QLabel(bar);
    m_date->setObjectName(QStringLiteral("sbDate"));
    m_time = new QLabel(bar);
    m_time->setObjectName(QStringLiteral("sbTime"));
    bar->addPermanentWidget(m_date);
    bar->addPermanentWidget(m_time);
    m_clock = new QTimer(this);
    m_clock->setSingleShot(true);
    connect(m_clock, &QTimer::timeout, this, &frmMain::updateDateAndTime);
    updateDateAndTime();
}

void frmMain::updateDateAndTime()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    m_date->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_time->setText(locale.toString(now.time(), QLocale::ShortFormat));
    // Wake just after the shown time next changes: the next second where the
    // locale shows seconds, the next minute otherwise.
    const bool seconds = locale.timeFormat(QLocale::ShortFormat).contains(QLatin1Char('s'));
    const int period = seconds ? 1000 : 60000;
    const int elapsed = seconds ? now.time().msec() : now.time().second() * 1000 + now.time().msec();
    m_clock->start(period - elapsed + 20);
}

void frmMain::applyPlacement()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const double dpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
    QList<QRect> screens;
    for (const QScreen *s : QGuiApplication::screens())
        screens << s->availableGeometry();
    m_frame = keepOnScreen(Placement::load().toPixels(dpiX, dpiY), screens);
    // Until the window has a frame, its outer and inner bounds are the same;
    // the first showing corrects the size by the frame the desktop adds.
    setGeometry(m_frame);
    move(m_frame.topLeft());
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    QTimer::singleShot(0, this, [this] {
        const QSize frameExtra = frameGeometry().size() - geometry().size();
        if (!frameExtra.isEmpty() && !isMaximized())
            resize(m_frame.size() - frameExtra);
        move(m_frame.topLeft());
    });
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Not while Open reads a file into one of the documents.
    if (m_reading) {
        event->ignore();
        return;
    }
    // The documents close first; one the user keeps (Cancel, or a save that
    // failed) keeps the main window open, with nothing stored.
    for (QMdiSubWindow *document : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (!document->close()) {
            event->ignore();
            return;
        }
    }
    // A minimised window keeps the placement stored before.
    if (!isMinimized()) {
        const QScreen *s = screen();
        const double dpiX = s ? s->logicalDotsPerInchX() : 96.0;
        const double dpiY = s ? s->logicalDotsPerInchY() : 96.0;
        Placement::fromPixels(frameGeometry(), dpiX, dpiY).save();
    }
    event->accept();
}

void frmMain::tbToolBar_ButtonClick(QAction *button)
{
    static const char *const keys[][2] = {
        {"Open", "mnuFileOpen"}, {"Save", "mnuFileSave"}, {"Print", "mnuFilePrint"},
        {"Cut", "mnuEditCut"},   {"Copy", "mnuEditCopy"}, {"Paste", "mnuEditPaste"},
    };
    // Whatever goes wrong in a command started from the toolbar is ignored.
    try {
        const QString key = button ? button->objectName() : QString();
        for (const auto &k : keys) {
            if (key == QLatin1String(k[0])) {
                if (QAction *a = menuItem(QString::fromLatin1(k[1])))
                    a->trigger();
                return;
            }
        }
    } catch (...) {
    }
}

void frmMain::mnuViewToolbar_Click()
{
    m_toolBar->setVisible(menuItem(QStringLiteral("mnuViewToolbar"))->isChecked());
}

void frmMain::mnuViewStatusBar_Click()
{
    statusBar()->setVisible(menuItem(QStringLiteral("mnuViewStatusBar"))->isChecked());
}

void frmMain::mnuViewOptions_Click()
{
    WindowRegistry::instance().show(WindowId::MenuOptions);
}

void frmMain::mnuViewWebBrowser_Click()
{
    WindowRegistry::instance().show(WindowId::WebBrowser);
}

void frmMain::mnuHelpAbout_Click()
{
    WindowRegistry::instance().show(WindowId::About);
}

void frmMain::mnuHelpContents_Click()
{
    messageBox(this, QStringLiteral("Unable to display Help Contents. There is no Help associated with this project."),
               QMessageBox::Ok, QMessageBox::Information, windowTitle());
}

void frmMain::mnuHelpSearchForHelpOn_Click()
{
    mnuHelpContents_Click();
}

void frmMain::mnuFileExit_Click()
{
    endProcess();
}

void frmMain::mnuWindowCascade_Click()
{
    m_mdi->cascadeSubWindows();
}

void frmMain::mnuWindowTileHorizontal_Click()
{
    tile(Qt::Horizontal);
}

void frmMain::mnuWindowTileVertical_Click()
{
    tile(Qt::Vertical);
}

void frmMain::tile(Qt::Orientation orientation)
{
    // Horizontal tiling stacks the windows one above another, each as wide as
    // the area; vertical tiling sets them side by side, each as high as the area.
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *w : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (w->isVisible() && !w->isMinimized())
            windows << w;
    }
    if (windows.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        if (orientation == Qt::Horizontal) {
            const int top = area.height() * i / n;
            windows[i]->setGeometry(0, top, area.width(), area.height() * (i + 1) / n - top);
        } else {
            const int left = area.width() * i / n;
            windows[i]->setGeometry(left, 0, area.width() * (i + 1) / n - left, area.height());
        }
    }
}

void frmMain::mnuWindowArrangeIcons_Click()
{
    // Minimised windows are lined up along the bottom of the area, left to right,
    // wrapping upwards when a row is full.
    const QRect area = m_mdi->viewport()->rect();
    int x = 0;
    int y = area.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow *w : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized())
            continue;
        const QSize size = w->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= rowHeight;
            rowHeight = 0;
        }
        if (rowHeight == 0)
            rowHeight = size.height();
        w->move(x, y - size.height());
        x += size.width();
    }
}

void frmMain::updateWindowList()
{
    // The list is rebuilt each time the menu opens, so it always matches the open documents.
    const QList<QAction *> actions = m_windowMenu->actions();
    for (qsizetype i = actions.indexOf(m_windowListStart) + 1; i < actions.size(); ++i)
        delete actions[i];
    const QList<QMdiSubWindow *> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    m_windowListStart->setVisible(!windows.isEmpty());
    int number = 0;
    for (QMdiSubWindow *w : windows) {
        ++number;
        QString title = w->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString caption = number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                                            : QStringLiteral("%1 %2").arg(number).arg(title);
        QAction *a = m_windowMenu->addAction(caption);
        a->setCheckable(true);
        a->setChecked(w == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, w, [this, w] { m_mdi->setActiveSubWindow(w); });
    }
}

} // namespace tavrin

#include "frmMain.h"

#include "menus.h"
#include "messagebox.h"
#include "processend.h"
#include "readprogress.h"
#include "recentfiles.h"
#include "recovery.h"
#include "twips.h"
#include "windowregistry.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFontComboBox>
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

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
    // Files dropped on the window are opened.
    setAcceptDrops(true);
    // A child made before the document area is deleted before it, so it
    // never answers a document going while the window is destroyed.
    m_recovery = new Recovery(Recovery::defaultFolder(), this);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    // A document that reaches past the area can be scrolled to.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);

    createMenus();
    createToolBar();
    createFormatBar();
    createStatusBar();
    updateRecentFiles();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &frmMain::updateMenus);
    updateMenus();
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
    // The document area outlives this class while QWidget's destructor runs,
    // and tells of its last documents going: nothing here may answer then.
    disconnect(m_mdi, nullptr, this, nullptr);
    for (QTextEdit *text : m_mdi->findChildren<QTextEdit *>())
        disconnect(text, nullptr, this, nullptr);
    setExitGuard({});
}

QAction *frmMain::menuItem(const QString &name) const
{
    return findChild<QAction *>(name);
}

void frmMain::createMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = addMenu(bar, "mnuFile", QStringLiteral("&File"));
    file->setSeparatorsCollapsible(false); // it has two separators in a row
    addItem(file, "mnuFileNew", QStringLiteral("&New"), this, &frmMain::mnuFileNew_Click,
            QKeySequence(Qt::CTRL | Qt::Key_N));
    addItem(file, "mnuFileOpen", QStringLiteral("&Open..."), this, &frmMain::mnuFileOpen_Click,
            QKeySequence(Qt::CTRL | Qt::Key_O));
    file->addSeparator();
    addItem(file, "mnuFileSave", QStringLiteral("&Save"), this, &frmMain::mnuFileSave_Click,
            QKeySequence(Qt::CTRL | Qt::Key_S));
    addItem(file, "mnuFileSaveAs", QStringLiteral("Save &As..."), this, &frmMain::mnuFileSaveAs_Click,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    addItem(file, "mnuFilePageSetup", QStringLiteral("Page Set&up..."), this, &frmMain::mnuFilePageSetup_Click);
    addItem(file, "mnuFilePrint", QStringLiteral("&Print..."), this, &frmMain::mnuFilePrint_Click,
            QKeySequence(Qt::CTRL | Qt::Key_P));
    for (int i = 0; i < MaxRecentFiles; ++i) {
        const QByteArray name = "mnuFileRecent" + QByteArray::number(i + 1);
        addItem(file, name.constData(), QString(), this, [this, i] { mnuFileRecent_Click(i); })->setVisible(false);
    }
    // Another program running beside this one may have changed the list.
    connect(file, &QMenu::aboutToShow, this, &frmMain::updateRecentFiles);
    file->addSeparator();
    file->addSeparator();
    addItem(file, "mnuFileExit", QStringLiteral("E&xit"), this, &frmMain::mnuFileExit_Click);

    QMenu *edit = addMenu(bar, "mnuEdit", QStringLiteral("&Edit"));
    addItem(edit, "mnuEditUndo", QStringLiteral("&Undo"), this, &frmMain::mnuEditUndo_Click,
            QKeySequence(Qt::CTRL | Qt::Key_Z));
    addItem(edit, "mnuEditRedo", QStringLiteral("&Redo"), this, &frmMain::mnuEditRedo_Click,
            QKeySequence(Qt::CTRL | Qt::Key_Y));
    edit->addSeparator();
    addItem(edit, "mnuEditCut", QStringLiteral("Cu&t"), this, &frmMain::mnuEditCut_Click,
            QKeySequence(Qt::CTRL | Qt::Key_X));
    addItem(edit, "mnuEditCopy", QStringLiteral("&Copy"), this, &frmMain::mnuEditCopy_Click,
            QKeySequence(Qt::CTRL | Qt::Key_C));
    addItem(edit, "mnuEditPaste", QStringLiteral("&Paste"), this, &frmMain::mnuEditPaste_Click,
            QKeySequence(Qt::CTRL | Qt::Key_V));
    edit->addSeparator();
    addItem(edit, "mnuEditSelectAll", QStringLiteral("Select &All"), this, &frmMain::mnuEditSelectAll_Click,
            QKeySequence(Qt::CTRL | Qt::Key_A));
    edit->addSeparator();
    addItem(edit, "mnuEditFind", QStringLiteral("&Find..."), this, &frmMain::mnuEditFind_Click,
            QKeySequence(Qt::CTRL | Qt::Key_F));
    addItem(edit, "mnuEditFindNext", QStringLiteral("Find &Next"), this, &frmMain::mnuEditFindNext_Click,
            QKeySequence(Qt::Key_F3));
    addItem(edit, "mnuEditReplace", QStringLiteral("R&eplace..."), this, &frmMain::mnuEditReplace_Click,
            QKeySequence(Qt::CTRL | Qt::Key_H));

    createFormatMenu(bar);

    QMenu *view = addMenu(bar, "mnuView", QStringLiteral("&View"));
    QAction *toolbar =
        addItem(view, "mnuViewToolbar", QStringLiteral("&Toolbar"), this, &frmMain::mnuViewToolbar_Click);
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    QAction *statusBarItem =
        addItem(view, "mnuViewStatusBar", QStringLiteral("Status &Bar"), this, &frmMain::mnuViewStatusBar_Click);
    statusBarItem->setCheckable(true);
    statusBarItem->setChecked(true);
    QAction *formatBarItem =
        addItem(view, "mnuViewFormatBar", QStringLiteral("&Format Bar"), this, &frmMain::mnuViewFormatBar_Click);
    formatBarItem->setCheckable(true);
    formatBarItem->setChecked(true);
    view->addSeparator();
    addShowItem(view, "mnuViewOptions", QStringLiteral("&Options..."), WindowId::MenuOptions);
    addShowItem(view, "mnuViewWebBrowser", QStringLiteral("&Check Update Info"), WindowId::WebBrowser);

    m_windowMenu = addMenu(bar, "mnuWindow", QStringLiteral("&Window"));
    addItem(m_windowMenu, "mnuWindowCascade", QStringLiteral("&Cascade"), this, &frmMain::mnuWindowCascade_Click);
    addItem(m_windowMenu, "mnuWindowTileHorizontal", QStringLiteral("Tile &Horizontal"), this,
            &frmMain::mnuWindowTileHorizontal_Click);
    addItem(m_windowMenu, "mnuWindowTileVertical", QStringLiteral("Tile &Vertical"), this,
            &frmMain::mnuWindowTileVertical_Click);
    addItem(m_windowMenu, "mnuWindowArrangeIcons", QStringLiteral("&Arrange Icons"), this,
            &frmMain::mnuWindowArrangeIcons_Click);
    m_windowListStart = m_windowMenu->addSeparator();
    m_windowListStart->setVisible(false);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &frmMain::updateWindowList);

    QMenu *help = addMenu(bar, "mnuHelp", QStringLiteral("&Help"));
    addItem(help, "mnuHelpContents", QStringLiteral("&Contents"), this, &frmMain::mnuHelpContents_Click);
    addItem(help, "mnuHelpSearchForHelpOn", QStringLiteral("&Search For Help On..."), this,
            &frmMain::mnuHelpSearchForHelpOn_Click);
    help->addSeparator();
    addShowItem(help, "mnuHelpAbout", QStringLiteral("&About "), WindowId::About);
}

void frmMain::updateMenus()
{
    // The commands that act on a document are offered only while one is active.
    const bool document = activeDocument() != nullptr;
    for (const char *name : {"mnuFileSave", "mnuFileSaveAs", "mnuFilePrint", "mnuEditUndo", "mnuEditCut", "mnuEditCopy",
                             "mnuEditPaste", "Save", "Print", "Cut", "Copy", "Paste", "mnuEditRedo", "mnuEditSelectAll",
                             "mnuEditFind", "mnuEditFindNext", "mnuEditReplace"})
        menuItem(QLatin1String(name))->setEnabled(document);
    // Every Format command, on the menu and on the format bar, and the font boxes.
    m_formatMenu->setEnabled(document);
    for (QAction *item : m_formatMenu->actions())
        item->setEnabled(document);
    if (document)
        createFontNameBox();
    if (m_fontName)
        m_fontName->setEnabled(document);
    m_fontSize->setEnabled(document);
    showFormatOf(activeTextBox());
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
    // The title bar is not there yet; a strip of its usual height stands for it.
    const int topStrip = TitleBarAllowance + menuBar()->sizeHint().height();
    m_frame = keepOnScreen(Placement::load().toPixels(dpiX, dpiY), screens, topStrip, minimumSizeHint());
    // The stored bounds are the outer frame's. Until the desktop has framed
    // the window its outer and inner bounds are the same; once the frame is
    // known, fitToFrame() takes it off the inner size.
    setGeometry(m_frame);
    move(m_frame.topLeft());
}

bool frmMain::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    switch (event->type()) {
    case QEvent::Show:
        if (!m_frameKnownTimer) {
            // A desktop without a window manager never frames the window:
            // stop waiting for the frame after a while, so that nothing the
            // user does later is undone.
            m_frameKnownTimer = new QTimer(this);
            m_frameKnownTimer->setSingleShot(true);
            connect(m_frameKnownTimer, &QTimer::timeout, this, [this] { m_awaitingFrame = false; });
            m_frameKnownTimer->start(FrameWaitMs);
        }
        fitToFrame();
        break;
    case QEvent::Move:
    case QEvent::Resize: fitToFrame(); break;
    default: break;
    }
    return handled;
}

void frmMain::fitToFrame()
{
    if (!m_awaitingFrame || !windowHandle())
        return;
    const QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull())
        return; // not framed yet
    m_awaitingFrame = false;
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    // The frame as it was stored: the inner size is what is left inside it,
    // but never less than the menus, toolbar and status bar need.
    m_frame.setSize(m_frame.size().expandedTo(minimumSizeHint().grownBy(frame)));
    resize(m_frame.size().shrunkBy(frame));
    move(m_frame.topLeft());
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
        // A maximised window fills the screen's free area; the frame a window
        // manager reports for it may still carry the borders it had before.
        QRect frame = frameGeometry();
        if (isMaximized() && s)
            frame = frame.intersected(s->availableGeometry());
        Placement::fromPixels(frame, dpiX, dpiY).save();
    }
    event->accept();
}

void frmMain::tbToolBar_ButtonClick(QAction *button)
{
    static const char *const keys[][2] = {
        {"Open", "mnuFileOpen"}, {"Save", "mnuFileSave"}, {"Print", "mnuFilePrint"},
        {"Cut", "mnuEditCut"},   {"Copy", "mnuEditCopy"}, {"Paste", "mnuEditPaste"},
    };
    // A button runs its menu item, which reports its own failures.
    const QString key = button ? button->objectName() : QString();
    for (const auto &k : keys) {
        if (key == QLatin1String(k[0])) {
            if (QAction *a = menuItem(QString::fromLatin1(k[1])))
                a->trigger();
            return;
        }
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

QList<QMdiSubWindow *> frmMain::arrangeableDocuments() const
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *w : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (w->isVisible() && !w->isMinimized())
            windows << w;
    }
    return windows;
}

int frmMain::titleBarStep() const
{
    // A document's title bar: the distance from its window's top to its content.
    for (QMdiSubWindow *w : m_mdi->subWindowList()) {
        if (w->widget() && !w->isMinimized() && !w->isMaximized() && w->widget()->y() > 0)
            return w->widget()->y();
    }
    QStyleOptionTitleBar option;
    option.initFrom(m_mdi);
    return std::max(1, m_mdi->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, m_mdi)
                           + m_mdi->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, m_mdi));
}

void frmMain::mnuWindowCascade_Click()
{
    // Every open document the same size, each one title bar below and to the
    // right of the one before, the active one in front: every title bar shows.
    // When the steps would leave a document less than half the area each
    // way, the cascade starts again at the top left.
    QList<QMdiSubWindow *> windows = arrangeableDocuments();
    if (windows.isEmpty())
        return;
    QMdiSubWindow *active = m_mdi->activeSubWindow();
    if (windows.removeOne(active))
        windows << active;
    const QRect area = m_mdi->viewport()->rect();
    const int step = titleBarStep();
    const int perRun = std::max(1, std::min(area.width() / 2, area.height() / 2) / step + 1);
    const int run = std::min(int(windows.size()), perRun);
    const QSize size(area.width() - (run - 1) * step, area.height() - (run - 1) * step);
    for (int i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        const int offset = (i % perRun) * step;
        windows[i]->setGeometry(QRect(QPoint(offset, offset), size));
        windows[i]->raise();
    }
    if (active)
        m_mdi->setActiveSubWindow(active);
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
    const QList<QMdiSubWindow *> windows = arrangeableDocuments();
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

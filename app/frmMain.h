#pragma once

#include "commondialog.h"
#include "placement.h"

#include <QMainWindow>
#include <QRect>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;

namespace tavrin {

class frmDocument;
class ReadProgress;

// The main window: the document area, the menus through which every other
// window is reached, the toolbar and the status bar. It remembers its outer
// bounds between runs.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    QMdiArea *mdiArea() const { return m_mdi; }
    QAction *menuItem(const QString &name) const;

    // The document the File and Edit commands act on, or nullptr when none is open.
    frmDocument *activeDocument() const;
    // How many document windows this run has created; numbers are never reused.
    int documentCounter() const { return m_documentCounter; }

public slots:
    void tbToolBar_ButtonClick(QAction *button);
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuViewOptions_Click();
    void mnuViewWebBrowser_Click();
    void mnuHelpAbout_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();
    void mnuFileExit_Click();
    void mnuWindowCascade_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowArrangeIcons_Click();
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFilePageSetup_Click();
    void mnuFilePrint_Click();
    void mnuEditUndo_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void updateDateAndTime();
    void updateWindowList();
    void applyPlacement();
    void tile(Qt::Orientation orientation);
    void connectDocumentCommands();
    frmDocument *createDocument();
    // The Save command on one document; true when its text was written.
    bool saveDocument(frmDocument *document);
    bool writeDocument(frmDocument *document, const QString &path);
    // Asks about every changed document; false when the user cancelled.
    bool queryUnloadDocuments();

    QMdiArea *m_mdi = nullptr;
    QMenu *m_windowMenu = nullptr;
    QAction *m_windowListStart = nullptr; // the separator before the window list
    QToolBar *m_toolBar = nullptr;
    QLabel *m_date = nullptr;
    QLabel *m_time = nullptr;
    QTimer *m_clock = nullptr;
    QRect m_frame;            // the outer bounds to take at the first showing
    bool m_placed = false;
    CommonDialog cd1{this};     // the one dialog of every file and print command
    int m_documentCounter = 0;  // raised for each document window, never lowered
    ReadProgress *m_reading = nullptr; // while Open reads a file; the window stays meanwhile
};

} // namespace tavrin

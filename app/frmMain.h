#pragma once

#include "commondialog.h"
#include "placement.h"

#include <QMainWindow>
#include <QPageLayout>
#include <QRect>

#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QComboBox;
class QFontComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QMdiSubWindow;
class QMenuBar;
class QTimer;
class QToolBar;

namespace tavrin {

class frmDocument;
class frmFind;
class ReadProgress;
class RichTextBox;
class Recovery;

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
    // Keeps the unsaved text of every document against a crash.
    Recovery *recovery() const { return m_recovery; }

    // What the program does once the main window shows: offers the documents
    // of programs that ended without saving them, then opens the files named
    // on the command line.
    void startUp(const QStringList &files);
    // Asks once whether to restore the documents that programs no longer
    // running kept, and restores or discards them all.
    void recoverDocuments();
    // Opens each file in a document of its own; a file that cannot be read
    // is named in a message, as File > Open does.
    void openFiles(const QStringList &paths);

public slots:
    void tbToolBar_ButtonClick(QAction *button);
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
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
    // Editing and formatting (frmMainFormat.cpp).
    void mnuEditRedo_Click();
    void mnuEditSelectAll_Click();
    void mnuEditFind_Click();
    void mnuEditFindNext_Click();
    void mnuEditReplace_Click();
    void mnuFormatBold_Click();
    void mnuFormatItalic_Click();
    void mnuFormatUnderline_Click();
    void mnuFormatStrikeout_Click();
    void mnuFormatFont_Click();
    void mnuFormatColor_Click();
    void mnuFormatHighlight_Click();
    void mnuFormatAlign_Click(QAction *item);
    void mnuFormatBullets_Click();
    void mnuFormatNumbering_Click();
    void mnuFormatIndent_Click();
    void mnuFormatOutdent_Click();
    void mnuViewFormatBar_Click();
    void cboFontName_Click(const QString &family);
    void cboFontSize_Click(const QString &size);
    void mnuFileRecent_Click(int index);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createMenus();
    void createToolBar();
    void createStatusBar();
    // The Format menu, and the format toolbar of its commands (frmMainFormat.cpp).
    void createFormatMenu(QMenuBar *bar);
    void createFormatBar();
    void createFontNameBox();
    // Enables the commands that need a document when one is active, and
    // shows the format at its cursor.
    void updateMenus();
    // The check marks and the font boxes as the format at the box's cursor,
    // or the selection's, is.
    void showFormatOf(const RichTextBox *box);
    // Keeps the menus up to date as the document's cursor and format change.
    void watchDocument(frmDocument *document);
    // The active document's text box, or nullptr.
    RichTextBox *activeTextBox() const;
    // Runs a command on the active text box, when there is one, and shows its result.
    void onText(const std::function<void(RichTextBox *)> &command);
    // Toggles a list of the style on the selected paragraphs.
    void toggleList(int style);
    void changeIndent(int step);
    // Find Next, from the menu or the dialog's absence; reports what it found.
    void findAgain();
    void updateDateAndTime();
    void updateWindowList();
    void applyPlacement();
    // Once the desktop has put its frame round the window, sizes the window so
    // that the outer frame has the stored bounds.
    void fitToFrame();
    void tile(Qt::Orientation orientation);
    // The documents that Cascade and Tile lay out: shown and not minimised, in creation order.
    QList<QMdiSubWindow *> arrangeableDocuments() const;
    // The height of a document's title bar, the step between cascaded documents.
    int titleBarStep() const;
    frmDocument *createDocument();
    // The Save command on one document; true when its text was written.
    bool saveDocument(frmDocument *document);
    bool writeDocument(frmDocument *document, const QString &path);
    // Asks about every changed document; false when the user cancelled.
    bool queryUnloadDocuments();
    // Reads the file into the document as File > Open does, asking about
    // changed text first; failures are named in a message.
    enum class OpenResult { Opened, Kept, Failed };
    OpenResult openInto(frmDocument *document, const QString &path);
    // Shows the recent files on the File menu, as the settings store has them.
    void updateRecentFiles();

    QMdiArea *m_mdi = nullptr;
    QMenu *m_windowMenu = nullptr;
    QAction *m_windowListStart = nullptr; // the separator before the window list
    QToolBar *m_toolBar = nullptr;
    QToolBar *m_formatBar = nullptr;
    QMenu *m_formatMenu = nullptr;
    QActionGroup *m_alignment = nullptr;  // the four exclusive alignments
    QFontComboBox *m_fontName = nullptr;  // made when the first document opens
    QAction *m_fontNameStandIn = nullptr; // the empty box in its place until then
    QComboBox *m_fontSize = nullptr;
    frmFind *m_find = nullptr; // made the first time Find is used
    QLabel *m_date = nullptr;
    QLabel *m_time = nullptr;
    QTimer *m_clock = nullptr;
    QRect m_frame;               // the outer bounds to take at the first showing
    bool m_awaitingFrame = true; // the frame's size is not known yet
    QTimer *m_frameKnownTimer = nullptr;
    static constexpr int FrameWaitMs = 3000;     // how long a frame may take to come
    static constexpr int TitleBarAllowance = 32; // pixels kept for a title bar not yet known
    CommonDialog cd1{this};                      // the one dialog of every file and print command
    int m_documentCounter = 0;                   // raised for each document window, never lowered
    std::optional<QPageLayout> pageLayoutFor(const frmDocument *document) const;
    std::optional<QPageLayout> m_pageLayout; // Page Setup's choice, used by every Print
    ReadProgress *m_reading = nullptr;       // while Open reads a file; the window stays meanwhile
    Recovery *m_recovery = nullptr;          // made before the documents, and goes before them
    QStringList m_recentFiles;               // as the File menu shows them
};

} // namespace tavrin

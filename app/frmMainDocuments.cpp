// The main window's document commands: File > New, Open, Save, Save As, Page
// Setup and Print, and the Edit menu. They act on the active document window
// and talk to the user through the window's one common dialog cd1, which
// keeps the file name (and Print's flags) from one command to the next.
#include "frmMain.h"

#include "frmDocument.h"
#include "messagebox.h"
#include "readprogress.h"
#include "recentfiles.h"
#include "recovery.h"
#include "richtextbox.h"
#include "rtf.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QScopedValueRollback>

#include <functional>

#include <algorithm>

namespace tavrin {

namespace {
const QString allFiles = QStringLiteral("All Files (*.*)|*.*");

frmDocument *documentOf(QMdiSubWindow *window)
{
    return window ? qobject_cast<frmDocument *>(window->widget()) : nullptr;
}
} // namespace

frmDocument *frmMain::activeDocument() const
{
    // The current window stays the active document while another top-level
    // window (a tool, a dialog) has the focus.
    return documentOf(m_mdi->currentSubWindow());
}

frmDocument *frmMain::createDocument()
{
    ++m_documentCounter;
    auto *document = new frmDocument;
    document->setWindowTitle(QStringLiteral("Tavrin Document ") + QString::number(m_documentCounter));
    document->setSaveHandler([this](frmDocument *d) { return saveDocument(d); });
    watchDocument(document);
    m_recovery->watch(document);
    const int earlier = int(m_mdi->subWindowList().size());
    QMdiSubWindow *window = m_mdi->addSubWindow(document);
    window->setWindowIcon(windowIcon());
    // Three quarters of the area, each new document one title bar further
    // down and right, starting again at the top left before one would reach
    // past the area: its title bar and close box always show.
    const QSize area = m_mdi->viewport()->size();
    const QSize size(std::max(area.width() * 3 / 4, std::min(320, area.width())),
                     std::max(area.height() * 3 / 4, std::min(240, area.height())));
    const int step = titleBarStep();
    const int places = std::max(0, std::min(area.width() - size.width(), area.height() - size.height())) / step + 1;
    const int offset = (earlier % places) * step;
    window->setGeometry(QRect(QPoint(offset, offset), size));
    window->show();
    m_mdi->setActiveSubWindow(window);
    return document;
}

void frmMain::mnuFileNew_Click()
{
    createDocument();
}

void frmMain::mnuFileOpen_Click()
{
    if (m_reading)
        return; // one file at a time
    frmDocument *document = activeDocument();
    if (!document)
        document = createDocument();
    cd1.DialogTitle = QStringLiteral("Open");
    cd1.CancelError = false;
    cd1.Filter = allFiles;
    if (!cd1.ShowOpen() || cd1.FileName.isEmpty())
        return; // a document made for this command stays, empty
    openInto(document, QFileInfo(cd1.FileName).absoluteFilePath());
}

frmMain::OpenResult frmMain::openInto(frmDocument *document, const QString &path)
{
    // The file's text replaces the document's: changed text is offered for
    // saving first, once the file has been read. A long read shows its
    // progress, and Cancel leaves the document as it was.
    WriteResult read;
    {
        ReadProgress progress(this, QStringLiteral("Opening \"%1\"...").arg(QDir::toNativeSeparators(path)));
        const QScopedValueRollback reading(m_reading, &progress);
        read = document->textBox()->LoadFile(
            path, [document] { return document->QueryUnload(); }, std::ref(progress));
    }
    if (!read.ok && read.error.isEmpty())
        return OpenResult::Kept; // the user kept the text, or cancelled the read
    if (!read.ok) {
        messageBox(this, QStringLiteral("Could not open \"%1\".\n\n%2").arg(QDir::toNativeSeparators(path), read.error),
                   QMessageBox::Ok, QMessageBox::Critical);
        return OpenResult::Failed;
    }
    document->setWindowTitle(path);
    addRecentFile(path);
    updateRecentFiles();
    return OpenResult::Opened;
}

void frmMain::mnuFileSave_Click()
{
    if (frmDocument *document = activeDocument())
        saveDocument(document);
}

bool frmMain::saveDocument(frmDocument *document)
{
    if (!document->isUntitled())
        return writeDocument(document, document->windowTitle());
    // An untitled document stays untitled after this save, so the next Save asks again.
    cd1.DialogTitle = QStringLiteral("Save");
    cd1.CancelError = false;
    cd1.Filter = allFiles;
    if (!cd1.ShowSave() || cd1.FileName.isEmpty())
        return false;
    return writeDocument(document, QFileInfo(cd1.FileName).absoluteFilePath());
}

bool frmMain::writeDocument(frmDocument *document, const QString &path)
{
    const WriteResult written = document->textBox()->SaveFile(path);
    if (!written.ok) {
        messageBox(this,
                   QStringLiteral("Could not save \"%1\".\n\n%2").arg(QDir::toNativeSeparators(path), written.error),
                   QMessageBox::Ok, QMessageBox::Critical);
        return false;
    }
    document->textBox()->document()->setModified(false);
    m_recovery->saved(document);
    addRecentFile(path);
    updateRecentFiles();
    return true;
}

void frmMain::mnuFileSaveAs_Click()
{
    frmDocument *document = activeDocument();
    if (!document)
        return;
    cd1.DialogTitle = QStringLiteral("Save As");
    cd1.CancelError = false;
    cd1.Filter = allFiles;
    if (!cd1.ShowSave() || cd1.FileName.isEmpty())
        return;
    const QString path = QFileInfo(cd1.FileName).absoluteFilePath();
    // The document takes the file's name only once the file holds its text.
    if (writeDocument(document, path))
        document->setWindowTitle(path);
}

// The page a document prints on: its own (from its file or an earlier Page
// Setup), else the one Page Setup chose without a document, else the printer's.
std::optional<QPageLayout> frmMain::pageLayoutFor(const frmDocument *document) const
{
    if (document)
        if (std::optional<QPageLayout> own = rtf::pageLayout(*document->textBox()->document()))
            return own;
    return m_pageLayout;
}

void frmMain::mnuFilePageSetup_Click()
{
    cd1.DialogTitle = QStringLiteral("Page Setup");
    cd1.CancelError = true;
    // The dialog works on a printer of its own, so Cancel leaves everything as
    // it was. With a document active the choice becomes that document's page,
    // saved with it; the choice is also kept, until the program ends, for
    // documents without a page of their own.
    frmDocument *document = activeDocument();
    QPrinter printer(QPrinter::HighResolution);
    if (const std::optional<QPageLayout> layout = pageLayoutFor(document))
        printer.setPageLayout(*layout);
    if (!cd1.ShowPageSetup(printer))
        return;
    m_pageLayout = printer.pageLayout();
    if (document) {
        QTextDocument *text = document->textBox()->document();
        if (rtf::pageLayout(*text) != m_pageLayout) {
            rtf::setPageLayout(*text, *m_pageLayout);
            text->setModified(true);
        }
    }
}

void frmMain::mnuFilePrint_Click()
{
    frmDocument *document = activeDocument();
    if (!document)
        return;
    const bool selection = document->textBox()->textCursor().hasSelection();
    cd1.DialogTitle = QStringLiteral("Print");
    cd1.CancelError = true;
    cd1.Flags =
        (CommonDialog::PrintReturnDC | CommonDialog::PrintNoPageNums) + (selection ? CommonDialog::PrintSelection : 0);
    // The dialog opens with the selection chosen when there is one; what the
    // user leaves chosen is what is printed.
    QPrinter printer(QPrinter::HighResolution);
    if (const std::optional<QPageLayout> layout = pageLayoutFor(document))
        printer.setPageLayout(*layout); // paper, orientation and margins of the document or from Page Setup
    printer.setPrintRange(selection ? QPrinter::Selection : QPrinter::AllPages);
    if (!cd1.ShowPrinter(printer))
        return;
    document->print(printer);
}

void frmMain::mnuEditUndo_Click()
{
    // Undoes the active document's last change, as Ctrl+Z in its text does;
    // with nothing to undo, nothing happens.
    if (frmDocument *document = activeDocument())
        document->textBox()->undo();
}

// The edit commands go through the text box's own cut, copy and paste, as
// Ctrl+X, Ctrl+C and Ctrl+V typed in the text box do, so both ways move the
// same RTF markup. Cut and Copy without a selection leave the clipboard alone.
void frmMain::mnuEditCut_Click()
{
    if (frmDocument *document = activeDocument())
        document->textBox()->cut();
}

void frmMain::mnuEditCopy_Click()
{
    if (frmDocument *document = activeDocument())
        document->textBox()->copy();
}

void frmMain::mnuEditPaste_Click()
{
    if (frmDocument *document = activeDocument())
        document->textBox()->paste();
}

bool frmMain::queryUnloadDocuments()
{
    for (QMdiSubWindow *window : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (frmDocument *document = documentOf(window); document && !document->QueryUnload())
            return false;
    }
    return true;
}

} // namespace tavrin

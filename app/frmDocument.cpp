#include "frmDocument.h"

#include "messagebox.h"
#include "richtextbox.h"
#include "twips.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>

namespace tavrin {

namespace {
const QString untitledCaption = QStringLiteral("Tavrin Document ");
}

frmDocument::frmDocument(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDocument"));
    rtfText = new RichTextBox(this);
    rtfText->setObjectName(QStringLiteral("rtfText"));
    rtfText->setLineWrapMode(QTextEdit::FixedPixelWidth);
    setFocusProxy(rtfText);
    Form_Load();
}

void frmDocument::Form_Load()
{
    Form_Resize();
}

void frmDocument::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmDocument::Form_Resize()
{
    // Measures in twips: the text box 100 inside every edge, its lines
    // wrapping 400 short of its width.
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    const double width = pixelsToTwips(this->width(), dpiX) - 200;
    const double height = pixelsToTwips(this->height(), dpiY) - 200;
    // A window too small for the margins leaves the text box as it was.
    if (width < 0 || height < 0)
        return;
    rtfText->setGeometry(twipsToPixels(100, dpiX), twipsToPixels(100, dpiY), twipsToPixels(width, dpiX),
                         twipsToPixels(height, dpiY));
    const int wrap = twipsToPixels(width - 400, dpiX);
    if (wrap > 0)
        rtfText->setLineWrapColumnOrWidth(wrap);
}

bool frmDocument::isUntitled() const
{
    return windowTitle().startsWith(untitledCaption);
}

bool frmDocument::isChanged() const
{
    return rtfText->document()->isModified();
}

bool frmDocument::QueryUnload()
{
    if (!isChanged())
        return true;
    // Show the user which document the question is about.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget())) {
        if (QMdiArea *area = sub->mdiArea())
            area->setActiveSubWindow(sub);
    }
    const auto answer = messageBox(
        this, QStringLiteral("The text in \"%1\" has changed.\n\nDo you want to save the changes?").arg(windowTitle()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Question);
    if (answer == QMessageBox::Discard)
        return true;
    if (answer == QMessageBox::Save)
        return m_save && m_save(this);
    return false;
}

void frmDocument::closeEvent(QCloseEvent *event)
{
    // Not while a file is being read into it.
    if (rtfText->isLoading())
        event->ignore();
    else if (QueryUnload())
        event->accept();
    else
        event->ignore();
}

void frmDocument::print(QPrinter &printer) const
{
    // The text box prints only the selection when the printer's range is the
    // selection; without a selection that would print nothing.
    if (printer.printRange() == QPrinter::Selection && !rtfText->textCursor().hasSelection())
        printer.setPrintRange(QPrinter::AllPages);
    rtfText->print(&printer);
}

} // namespace tavrin

#include "commondialog.h"

#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace tavrin {

namespace {
CommonDialog::Backend &backend()
{
    static CommonDialog::Backend current;
    return current;
}
} // namespace

void CommonDialog::setBackend(Backend b)
{
    backend() = std::move(b);
}

CommonDialog::CommonDialog(QWidget *owner)
    : m_owner(owner)
{
}

QStringList CommonDialog::qtFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString pattern = i + 1 < parts.size() ? parts.at(i + 1).trimmed() : QString();
        if (description.isEmpty() && pattern.isEmpty())
            continue;
        // A description alone stands as it is; Qt reads a pattern in its parentheses.
        if (pattern.isEmpty()) {
            result << description;
            continue;
        }
        QString patterns = pattern;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')')))
            result << description;
        else
            result << description + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

bool CommonDialog::ShowOpen()
{
    return run(DialogRequest::Open, nullptr);
}

bool CommonDialog::ShowSave()
{
    return run(DialogRequest::Save, nullptr);
}

bool CommonDialog::ShowPrinter(QPrinter &printer)
{
    return run(DialogRequest::Printer, &printer);
}

bool CommonDialog::ShowPageSetup(QPrinter &printer)
{
    return run(DialogRequest::PageSetup, &printer);
}

bool CommonDialog::run(DialogRequest::Kind kind, QPrinter *printer)
{
    const DialogRequest request{kind, DialogTitle, Flags, Filter, FileName};
    if (backend()) {
        const DialogAnswer answer = backend()(request, printer);
        if (answer.accepted && (kind == DialogRequest::Open || kind == DialogRequest::Save))
            FileName = answer.fileName;
        return answer.accepted;
    }

    switch (kind) {
    case DialogRequest::Open:
    case DialogRequest::Save: {
        QFileDialog dialog(m_owner, DialogTitle);
        dialog.setAcceptMode(kind == DialogRequest::Save ? QFileDialog::AcceptSave
                                                         : QFileDialog::AcceptOpen);
        dialog.setFileMode(kind == DialogRequest::Save ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
        const QStringList filters = qtFilters(Filter);
        if (!filters.isEmpty())
            dialog.setNameFilters(filters);
        if (kind == DialogRequest::Save && !(Flags & OverwritePrompt))
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!FileName.isEmpty())
            dialog.selectFile(FileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        FileName = dialog.selectedFiles().constFirst();
        return true;
    }
    case DialogRequest::Printer: {
        QPrintDialog dialog(printer, m_owner);
        dialog.setWindowTitle(DialogTitle);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, (Flags & PrintSelection) != 0);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, !(Flags & PrintNoPageNums));
        dialog.setPrintRange((Flags & PrintSelection) ? QAbstractPrintDialog::Selection
                                                      : QAbstractPrintDialog::AllPages);
        return dialog.exec() == QDialog::Accepted;
    }
    case DialogRequest::PageSetup: {
        QPageSetupDialog dialog(printer, m_owner);
        dialog.setWindowTitle(DialogTitle);
        return dialog.exec() == QDialog::Accepted;
    }
    }
    return false;
}

} // namespace tavrin

#include "commondialog.h"

#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

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
{}

QStringList CommonDialog::qtFilters(const QString &filter)
{
    // Qt reads a name filter's patterns from its last parenthesised part, and
    // the dialog is told to hide that part (HideNameFilterDetails). So each
    // entry is "caption (patterns)": the user sees the caption as the window
    // gave it, the dialog filters by the patterns as Qt must have them.
    static const QRegularExpression trailingPatterns(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString pattern = i + 1 < parts.size() ? parts.at(i + 1).trimmed() : QString();
        if (description.isEmpty() && pattern.isEmpty())
            continue;
        QString caption = description;
        QStringList patterns;
        if (pattern.isEmpty()) {
            // A description alone: its own parenthesised part, if any, filters.
            const QRegularExpressionMatch match = trailingPatterns.match(description);
            if (match.hasMatch())
                patterns = match.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        } else {
            patterns = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
            for (QString &p : patterns)
                p = p.trimmed();
            const QString shown = QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
            if (!description.endsWith(shown))
                caption = description.isEmpty() ? shown : description + QLatin1Char(' ') + shown;
        }
        // "*.*" is every file where these filters come from; Qt reads it as
        // names with a dot, which would hide files saved without an extension.
        for (QString &p : patterns) {
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        patterns.removeAll(QString());
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        patterns.removeDuplicates();
        result << caption + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
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
        dialog.setAcceptMode(kind == DialogRequest::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(kind == DialogRequest::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        const QStringList filters = qtFilters(Filter);
        if (!filters.isEmpty()) {
            dialog.setOption(QFileDialog::HideNameFilterDetails);
            dialog.setNameFilters(filters);
        }
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

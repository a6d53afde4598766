#include "arenafile.h"

#include "commondialog.h"
#include "messagebox.h"
#include "textfile.h"

#include <QDir>

namespace tavrin {

bool anyEmpty(const QString &map, const QString &longname, const QString &gametype)
{
    return map.isEmpty() || longname.isEmpty() || gametype.isEmpty();
}

void saveArenaFile(QWidget *owner, CommonDialog &dialog, const QString &arenaText)
{
    dialog.CancelError = false;
    dialog.DialogTitle = QStringLiteral("Arena CFG");
    dialog.Flags = CommonDialog::ReadOnly | CommonDialog::OverwritePrompt;
    dialog.Filter = QStringLiteral("Arena Files (*.arena)");
    dialog.FileName.clear();
    if (!dialog.ShowSave() || dialog.FileName.isEmpty())
        return;

    const WriteResult result = writeAnsiText(dialog.FileName, arenaText);
    if (!result.ok) {
        messageBox(owner,
                   QStringLiteral("The file \"%1\" could not be saved: %2")
                       .arg(QDir::toNativeSeparators(dialog.FileName), result.error),
                   QMessageBox::Ok, QMessageBox::Critical);
    }
}

} // namespace tavrin

// The main window's ways to documents beside File > Open: the recent files on
// the File menu, files named on the command line or dropped on the window,
// and the documents kept for recovery by a program that did not end properly.
#include "frmMain.h"

#include "frmDocument.h"
#include "messagebox.h"
#include "recentfiles.h"
#include "recovery.h"
#include "richtextbox.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>

namespace tavrin {

namespace {
// The local files a drag carries; empty when it carries anything else too.
QStringList localFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}
} // namespace

void frmMain::updateRecentFiles()
{
    m_recentFiles = recentFiles();
    for (int i = 0; i < MaxRecentFiles; ++i) {
        QAction *item = menuItem(QStringLiteral("mnuFileRecent") + QString::number(i + 1));
        if (i >= m_recentFiles.size()) {
            item->setVisible(false);
            item->setText(QString());
            item->setToolTip(QString());
            item->setStatusTip(QString());
            continue;
        }
        const QString path = QDir::toNativeSeparators(m_recentFiles[i]);
        QString name = QFileInfo(m_recentFiles[i]).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        item->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        item->setToolTip(path);
        item->setStatusTip(path);
        item->setVisible(true);
    }
}

void frmMain::mnuFileRecent_Click(int index)
{
    if (m_reading || index >= m_recentFiles.size())
        return; // one file at a time
    const QString path = m_recentFiles[index];
    if (!QFileInfo::exists(path)) {
        const auto answer = messageBox(this,
                                       QStringLiteral("The file \"%1\" no longer exists. Remove it from the list?")
                                           .arg(QDir::toNativeSeparators(path)),
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
        if (answer == QMessageBox::Yes)
            removeRecentFile(path);
        updateRecentFiles();
        return;
    }
    // As File > Open: into the active document, or a new one when there is none.
    frmDocument *document = activeDocument();
    if (!document)
        document = createDocument();
    openInto(document, path);
}

void frmMain::openFiles(const QStringList &paths)
{
    for (const QString &p : paths) {
        if (m_reading)
            return;
        const QString path = QDir::cleanPath(QFileInfo(p).absoluteFilePath());
        frmDocument *document = createDocument();
        const OpenResult opened = openInto(document, path);
        if (opened != OpenResult::Opened) {
            // The document made for a file it could not take goes again.
            if (auto *window = qobject_cast<QMdiSubWindow *>(document->parentWidget()))
                window->close();
        }
        if (opened == OpenResult::Kept)
            return; // the user cancelled a read: the files after it stay unopened too
    }
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!m_reading && !localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void frmMain::dropEvent(QDropEvent *event)
{
    const QStringList files = localFiles(event->mimeData());
    if (m_reading || files.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    openFiles(files);
}

void frmMain::startUp(const QStringList &files)
{
    recoverDocuments();
    openFiles(files);
}

void frmMain::recoverDocuments()
{
    RecoveryClaim claim(m_recovery->base());
    if (claim.documents.isEmpty())
        return;
    QStringList names;
    for (const RecoveredDocument &d : claim.documents)
        names << QDir::toNativeSeparators(d.caption);
    const auto answer =
        messageBox(this,
                   QStringLiteral("Tavrin did not end properly. These documents had unsaved changes:\n\n%1\n\n"
                                  "Do you want to restore them?")
                       .arg(names.join(QLatin1Char('\n'))),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
    if (answer != QMessageBox::Yes) {
        claim.discard(claim.documents);
        return;
    }
    // A restored document is kept again by this program before the old copy
    // goes, so a crash in between loses nothing. One that cannot be read
    // stays where it is, to be offered again.
    QList<RecoveredDocument> restored;
    for (const RecoveredDocument &d : claim.documents) {
        frmDocument *document = createDocument();
        const WriteResult read = document->textBox()->LoadFile(d.rtfFile);
        if (!read.ok) {
            if (auto *window = qobject_cast<QMdiSubWindow *>(document->parentWidget()))
                window->close();
            messageBox(
                this,
                QStringLiteral("Could not restore \"%1\".\n\n%2").arg(QDir::toNativeSeparators(d.caption), read.error),
                QMessageBox::Ok, QMessageBox::Critical);
            continue;
        }
        // With its file's name, the next Save writes there; otherwise untitled.
        if (!d.path.isEmpty())
            document->setWindowTitle(d.path);
        document->textBox()->document()->setModified(true);
        if (m_recovery->keepNow(document))
            restored << d;
    }
    claim.discard(restored);
}

} // namespace tavrin

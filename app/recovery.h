#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QLockFile;
class QTimer;

namespace tavrin {

class frmDocument;

// Crash recovery. While a document has unsaved changes, its text is kept as
// RTF in a folder of this program's own under the recovery folder, beside a
// small info file naming the document's file and caption:
//
//   <recovery>/<name>.lock    held while the program runs (QLockFile)
//   <recovery>/<name>/3.rtf   the text of the program's third watched document
//   <recovery>/<name>/3.info  "path=" and "caption=", percent-encoded UTF-8
//
// The lock is taken before the folder is made, so a folder whose lock is free
// (its program is gone) belongs to nobody, and the next program to start
// offers its documents. Two programs running at once never touch each
// other's folders.
class Recovery : public QObject
{
    Q_OBJECT
public:
    // base: the recovery folder (defaultFolder() but in tests). Nothing is
    // written there until a document first has unsaved changes.
    explicit Recovery(const QString &base, QObject *parent = nullptr);
    // Removes the program's folder and its lock: a program that ends
    // properly leaves nothing to recover.
    ~Recovery() override;

    // The AppDataLocation's "recovery" folder.
    static QString defaultFolder();
    QString base() const { return m_base; }
    // The program's own folder; empty until something has been kept.
    QString folder() const { return m_folder; }

    // Keeps the document's text from now on: IdleMs after the last change,
    // and no later than LatestMs after the first change not yet kept.
    void watch(frmDocument *document);
    // Keeps the document's text at once (a restored document); true when written.
    bool keepNow(frmDocument *document);
    // The document's text has been saved: its kept copy goes.
    void saved(frmDocument *document);

    static constexpr int IdleMs = 3000;
    static constexpr int LatestMs = 10000;
    // How long to wait before keeping a text whose first unkept change was
    // sinceFirstChange ms ago.
    static int delayAfterChange(qint64 sinceFirstChange);

private:
    struct Watched {
        int id = 0;
        QTimer *timer = nullptr;
        QElapsedTimer firstChange; // invalid while everything is kept
        QByteArray info;           // the info file as last written
    };
    void changed(frmDocument *document);
    bool keep(frmDocument *document, Watched &w);
    void drop(Watched &w);
    bool ensureFolder();
    QString fileOf(int id, const char *suffix) const;

    QString m_base;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QHash<frmDocument *, Watched> m_watched;
    int m_lastId = 0;
};

// A document kept by a program that is no longer running.
struct RecoveredDocument {
    QString path;    // its file; empty for an untitled document
    QString caption; // its caption there
    QString rtfFile; // its kept text
};

// The kept documents of every program that is no longer running. The claim
// holds those programs' locks while it lasts, so a second program starting
// meanwhile does not offer the same documents.
class RecoveryClaim
{
public:
    explicit RecoveryClaim(const QString &base);
    ~RecoveryClaim();
    RecoveryClaim(const RecoveryClaim &) = delete;
    RecoveryClaim &operator=(const RecoveryClaim &) = delete;

    // In the order they were kept: by folder, then by document.
    QList<RecoveredDocument> documents;
    // Removes the kept copies of these documents, and each folder left
    // without documents, with its lock.
    void discard(const QList<RecoveredDocument> &done);

private:
    struct Folder {
        QString path;
        std::unique_ptr<QLockFile> lock;
    };
    std::vector<Folder> m_folders;
};

} // namespace tavrin

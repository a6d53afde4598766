#include "recovery.h"

#include "frmDocument.h"
#include "richtextbox.h"
#include "textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace tavrin {

namespace {
const QString lockSuffix = QStringLiteral(".lock");

// A lock that is free only when its program has gone: never taken as stale
// for its age alone, since a program may run for days.
std::unique_ptr<QLockFile> lockFor(const QString &folder)
{
    auto lock = std::make_unique<QLockFile>(folder + lockSuffix);
    lock->setStaleLockTime(0);
    return lock;
}

QByteArray infoOf(const frmDocument *document)
{
    const QString path = document->isUntitled() ? QString() : document->windowTitle();
    return "path=" + QUrl::toPercentEncoding(path) + "\ncaption=" + QUrl::toPercentEncoding(document->windowTitle())
           + '\n';
}

void readInfo(const QString &file, RecoveredDocument &d)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("path="))
            d.path = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(5)));
        else if (line.startsWith("caption="))
            d.caption = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(8)));
    }
}

// The kept documents' numbers in a folder, in the order they were made.
QList<int> keptIds(const QString &folder)
{
    QList<int> ids;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.rtf")}, QDir::Files)) {
        bool ok = false;
        const int id = QFileInfo(name).completeBaseName().toInt(&ok);
        if (ok)
            ids << id;
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}
} // namespace

Recovery::Recovery(const QString &base, QObject *parent)
    : QObject(parent)
    , m_base(base)
{}

Recovery::~Recovery()
{
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
    // The lock goes last: until then no other program may take the folder.
    m_lock.reset();
}

QString Recovery::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

int Recovery::delayAfterChange(qint64 sinceFirstChange)
{
    return int(std::clamp<qint64>(LatestMs - sinceFirstChange, 0, IdleMs));
}

void Recovery::watch(frmDocument *document)
{
    Watched &w = m_watched[document];
    w.id = ++m_lastId;
    w.timer = new QTimer(this);
    w.timer->setSingleShot(true);
    connect(w.timer, &QTimer::timeout, this, [this, document] {
        auto it = m_watched.find(document);
        if (it != m_watched.end())
            keep(document, *it);
    });
    // QTextEdit tells of changes to whichever document it shows, also after
    // an Open has given it a new one.
    connect(document->textBox(), &QTextEdit::textChanged, this, [this, document] { changed(document); });
    connect(document, &QObject::destroyed, this, [this, document] {
        auto it = m_watched.find(document);
        if (it == m_watched.end())
            return;
        drop(*it);
        delete it->timer;
        m_watched.erase(it);
    });
}

void Recovery::changed(frmDocument *document)
{
    auto it = m_watched.find(document);
    if (it == m_watched.end())
        return;
    Watched &w = *it;
    if (!document->isChanged()) {
        drop(w); // undone back to the saved text, or a file opened into it
        return;
    }
    if (!w.firstChange.isValid())
        w.firstChange.start();
    w.timer->start(delayAfterChange(w.firstChange.elapsed()));
}

bool Recovery::keepNow(frmDocument *document)
{
    auto it = m_watched.find(document);
    return it != m_watched.end() && keep(document, *it);
}

void Recovery::saved(frmDocument *document)
{
    auto it = m_watched.find(document);
    if (it != m_watched.end())
        drop(*it);
}

bool Recovery::keep(frmDocument *document, Watched &w)
{
    w.timer->stop();
    // Whether or not this write succeeds, the next change starts a new wait:
    // a failed write is tried again then, quietly.
    w.firstChange.invalidate();
    if (!document->isChanged()) {
        drop(w);
        return false;
    }
    if (!ensureFolder())
        return false;
    // The info first: a text is never left beside another document's name.
    const QByteArray info = infoOf(document);
    if (info != w.info) {
        if (!writeFileAtomically(fileOf(w.id, ".info"), info).ok)
            return false;
        w.info = info;
    }
    return document->textBox()->SaveFile(fileOf(w.id, ".rtf")).ok;
}

void Recovery::drop(Watched &w)
{
    w.timer->stop();
    w.firstChange.invalidate();
    if (m_folder.isEmpty())
        return;
    QFile::remove(fileOf(w.id, ".rtf"));
    QFile::remove(fileOf(w.id, ".info"));
    w.info.clear();
}

QString Recovery::fileOf(int id, const char *suffix) const
{
    return m_folder + QLatin1Char('/') + QString::number(id) + QLatin1String(suffix);
}

bool Recovery::ensureFolder()
{
    if (m_lock)
        return QDir().mkpath(m_folder); // made again should someone have removed it
    if (!QDir().mkpath(m_base))
        return false;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString folder = m_base + QLatin1Char('/') + QString::number(QCoreApplication::applicationPid())
                               + QLatin1Char('-') + QString::number(QRandomGenerator::global()->generate(), 16);
        auto lock = lockFor(folder);
        if (!lock->tryLock(0))
            continue;
        // A folder of that name left by a program that has gone is for the
        // next start to offer, not for this program to write into.
        if (QFileInfo::exists(folder) || !QDir().mkdir(folder))
            continue;
        m_folder = folder;
        m_lock = std::move(lock);
        return true;
    }
    return false;
}

RecoveryClaim::RecoveryClaim(const QString &base)
{
    const QDir dir(base);
    if (!dir.exists())
        return;
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = dir.filePath(name);
        auto lock = lockFor(folder);
        if (!lock->tryLock(0))
            continue; // its program is running
        const QList<int> ids = keptIds(folder);
        if (ids.isEmpty()) {
            QDir(folder).removeRecursively();
            continue;
        }
        for (int id : ids) {
            RecoveredDocument d;
            const QString stem = folder + QLatin1Char('/') + QString::number(id);
            d.rtfFile = stem + QStringLiteral(".rtf");
            readInfo(stem + QStringLiteral(".info"), d);
            if (d.caption.isEmpty())
                d.caption = d.path.isEmpty() ? QFileInfo(d.rtfFile).fileName() : d.path;
            documents << d;
        }
        m_folders.push_back({folder, std::move(lock)});
    }
    // Locks left without their folder, by a program that ended between
    // taking its lock and making its folder.
    for (const QString &name : dir.entryList({QStringLiteral("*") + lockSuffix}, QDir::Files)) {
        const QString folder = dir.filePath(name.chopped(lockSuffix.size()));
        if (!QFileInfo::exists(folder)) {
            if (auto lock = lockFor(folder); lock->tryLock(0))
                lock->unlock();
        }
    }
}

RecoveryClaim::~RecoveryClaim() = default;

void RecoveryClaim::discard(const QList<RecoveredDocument> &done)
{
    for (const RecoveredDocument &d : done) {
        QFile::remove(d.rtfFile);
        QFile::remove(d.rtfFile.chopped(4) + QStringLiteral(".info"));
    }
    for (Folder &f : m_folders) {
        if (keptIds(f.path).isEmpty()) {
            QDir(f.path).removeRecursively();
            f.lock.reset();
        }
    }
}

} // namespace tavrin

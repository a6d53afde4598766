#include "recentfiles.h"

#include "messagebox.h"
#include "settingsstore.h"

#include <QDir>
#include <QFileInfo>

namespace tavrin {

namespace {
const QString section = QStringLiteral("Recent");

QString key(int i)
{
    return QStringLiteral("File") + QString::number(i + 1);
}

// What two entries are compared by: the file they lead to, through links and
// "..", or for a file that is gone, its absolute path.
QString identity(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QStringList without(const QStringList &files, const QString &path)
{
    const QString id = identity(path);
    QStringList out;
    for (const QString &f : files) {
        if (identity(f) != id)
            out << f;
    }
    return out;
}

void store(const QStringList &files)
{
    // Every key is written: the unused ones empty, so nothing of a longer
    // list stays behind.
    for (int i = 0; i < MaxRecentFiles; ++i)
        SaveSetting(applicationTitle(), section, key(i), i < files.size() ? files[i] : QString());
}
} // namespace

QStringList recentFiles()
{
    QStringList files;
    for (int i = 0; i < MaxRecentFiles; ++i) {
        const QString f = GetSetting(applicationTitle(), section, key(i));
        if (!f.isEmpty() && without(files, f).size() == files.size())
            files << f;
    }
    return files;
}

QStringList addRecentFile(const QString &path)
{
    QStringList files = without(recentFiles(), path);
    files.prepend(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    files = files.mid(0, MaxRecentFiles);
    store(files);
    return files;
}

QStringList removeRecentFile(const QString &path)
{
    const QStringList files = without(recentFiles(), path);
    store(files);
    return files;
}

} // namespace tavrin

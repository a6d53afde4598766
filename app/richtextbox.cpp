#include "richtextbox.h"

#include "rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavrin {

namespace {
// A larger file is refused. Its document would take several times its size
// in memory, and the largest documents people write, pictures and all, are
// far smaller.
constexpr qint64 MaxFileSize = qint64(512) << 20;
constexpr qint64 ChunkSize = qint64(1) << 20; // bytes read between two reports of progress
// Shares of the progress: taking the bytes off the disk, and making the document of them.
constexpr qint64 ReadShare = 1, BuildShare = 4;
// A text box given a document lays out its first 1000 characters at once,
// then twice as many at each step; the fonts of the first few steps are
// loaded before the document is shown.
constexpr int FirstLayoutChars = 4000;

#ifdef Q_OS_UNIX
// Why a file of this kind is not opened as a document; empty for a regular file.
QString refusedKind(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("It is a folder, not a file.");
    if (S_ISFIFO(mode))
        return QStringLiteral("It is a named pipe, not a file.");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("It is a device, not a file.");
    if (S_ISSOCK(mode))
        return QStringLiteral("It is a socket, not a file.");
    return QStringLiteral("It is not a regular file.");
}
#endif

// Opens path for reading when it is a regular file (directly or through
// symbolic links) and tells its size. Anything else is refused before it is
// opened: opening a named pipe waits for a writer, and a device such as
// /dev/zero never ends.
WriteResult openRegularFile(const QString &path, QFile &file, qint64 &size)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0)
        return {false, qt_error_string(errno)};
    if (const QString why = refusedKind(st.st_mode); !why.isEmpty())
        return {false, why};
    // Should a pipe have taken the name since, this open does not wait for a
    // writer, and the second look refuses it.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {false, qt_error_string(errno)};
    QString why = ::fstat(fd, &st) != 0 ? qt_error_string(errno) : refusedKind(st.st_mode);
    if (why.isEmpty() && !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        why = file.errorString();
    if (!why.isEmpty()) {
        ::close(fd);
        return {false, why};
    }
    size = st.st_size;
#else
    const QFileInfo info(path);
    if (info.isDir())
        return {false, QStringLiteral("It is a folder, not a file.")};
    if (info.exists() && !info.isFile())
        return {false, QStringLiteral("It is not a regular file.")};
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    size = file.size();
#endif
    return {true, {}};
}
} // namespace

WriteResult RichTextBox::LoadFile(const QString &path, const std::function<bool()> &mayReplace,
                                  const Progress &progress)
{
    const QScopedValueRollback loading(m_loading, true);
    QFile file;
    qint64 size = 0;
    if (const WriteResult opened = openRegularFile(path, file, size); !opened.ok)
        return opened;
    if (size > MaxFileSize)
        return {false,
                QStringLiteral("The file is larger than %1 MB, too large for a document.").arg(MaxFileSize >> 20)};

    // The bytes the file held when it was opened, and no more: a file that
    // grows meanwhile is read as it was, one cut short as far as it goes.
    const qint64 total = (ReadShare + BuildShare) * size;
    QByteArray data(size, Qt::Uninitialized);
    qint64 got = 0;
    while (got < size) {
        const qint64 n = file.read(data.data() + got, std::min(ChunkSize, size - got));
        if (n < 0)
            return {false, file.errorString()};
        if (n == 0)
            break;
        got += n;
        if (progress && !progress(ReadShare * got, total))
            return {false, {}};
    }
    data.truncate(got);
    file.close();

    // One read, into a document of its own that no view lays out meanwhile
    // (a null page size, as the box gives its own first document), in the
    // box's font. The box's document stays as it is until this one is whole.
    auto doc = std::make_unique<QTextDocument>();
    doc->setPageSize(QSizeF(0, 0));
    doc->setDefaultFont(document()->defaultFont());
    rtf::Progress building;
    if (progress)
        building = [&](qint64 done, qint64) { return progress(ReadShare * size + BuildShare * done, total); };
    const rtf::ReadResult read = rtf::read(data, *doc, building);
    if (read.cancelled)
        return {false, {}};
    if (!read.ok)
        return {false, read.error};
    data = QByteArray(); // not needed while the user is asked and the text is laid out
    if (progress && !prepareFirstScreen(*doc, [&] { return progress(total - 1, total); }))
        return {false, {}};
    // The last report tells the caller the read is over, before the question.
    if (progress && !progress(total, total))
        return {false, {}};
    if (mayReplace && !mayReplace())
        return {false, {}};
    adoptDocument(doc.release());
    return {true, {}};
}

bool RichTextBox::prepareFirstScreen(const QTextDocument &doc, const std::function<bool()> &tick)
{
    // Each run of text alone, as the box would set it; the height of a
    // paragraph is taken from the width of its runs end to end.
    const qreal width = lineWrapMode() == FixedPixelWidth ? lineWrapColumnOrWidth() : viewport()->width();
    QImage scratch(qMax(1, int(width)), 64, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    qreal height = 0;
    int chars = 0;
    for (QTextBlock block = doc.begin(); block.isValid() && (height < viewport()->height() || chars < FirstLayoutChars);
         block = block.next()) {
        chars += block.length();
        qreal across = 0, lineHeight = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextLayout layout(fragment.text(), fragment.charFormat().font().resolve(doc.defaultFont()), viewport());
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
                line.setLineWidth(width);
            layout.endLayout();
            for (int i = 0; i < layout.lineCount(); ++i) {
                const QTextLine line = layout.lineAt(i);
                line.draw(&painter, QPointF(0, -line.y()));
                across += line.naturalTextWidth();
                lineHeight = std::max(lineHeight, line.height());
            }
            if (!tick())
                return false;
        }
        height += std::max(1.0, std::ceil(across / std::max(width, 1.0))) * lineHeight;
    }
    return true;
}

void RichTextBox::adoptDocument(QTextDocument *doc)
{
    // A freshly read document has nothing to undo and nothing unsaved; the
    // box asks its document for both, and its text control moves its own
    // connections to the new one.
    QPointer<QTextDocument> old = document();
    const bool adopted = old->parent() == this; // the first document belongs to the control
    doc->setParent(this);
    doc->documentLayout()->setPaintDevice(viewport());
    // The box lays the new document out as it does any: the visible part at
    // once, the rest in steps between events. The visible part is painted
    // at once too, before the first of those steps.
    setDocument(doc);
    // The text control's cursor comes out of setDocument carrying its own
    // default character format as the typing format; a fresh cursor shows,
    // and types in, the format of the text it stands at.
    setTextCursor(QTextCursor(doc));
    if (old && adopted)
        delete old;
    if (viewport()->isVisible())
        viewport()->repaint();
}

WriteResult RichTextBox::SaveFile(const QString &path) const
{
    return writeFileAtomically(path, rtf::write(*document()));
}

void RichTextBox::insertRtfOrText(const QString &text)
{
    QTextCursor cursor = textCursor();
    // Markup arrives as text; it goes back to bytes the way other programs'
    // RTF was written, in the ANSI code page.
    const QByteArray markup = toAnsi(text);
    if (!rtf::isRtf(markup) || !rtf::insert(markup, cursor).ok) {
        // One undo step of its own, never merged with the typing before it.
        cursor.beginEditBlock();
        cursor.insertText(text);
        cursor.endEditBlock();
    }
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData *RichTextBox::createMimeDataFromSelection() const
{
    // The markup as plain text, and the same selection as HTML for programs
    // that paste rich text.
    const QTextCursor selection = textCursor();
    auto *data = new QMimeData;
    data->setText(QString::fromLatin1(rtf::write(selection)));
    data->setHtml(selection.selection().toHtml());
    return data;
}

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText() || QTextEdit::canInsertFromMimeData(source);
}

void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    // Plain text decides, as it does for the Paste command; only a clipboard
    // without text (an image, say) is left to the text box itself.
    if (source->hasText())
        insertRtfOrText(source->text());
    else
        QTextEdit::insertFromMimeData(source);
}

} // namespace tavrin

#include "richtextbox.h"

#include "rtf.h"

#include <QFile>
#include <QMimeData>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace tavrin {

WriteResult RichTextBox::LoadFile(const QString &path, const std::function<bool()> &mayReplace)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, file.errorString()};
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, file.errorString()};
    // A trial read, so the user is asked about the old text only when the
    // file can take its place.
    QTextDocument trial;
    if (const rtf::ReadResult read = rtf::read(data, trial); !read.ok)
        return {false, read.error};
    if (mayReplace && !mayReplace())
        return {false, {}};
    if (const rtf::ReadResult read = rtf::read(data, *document()); !read.ok)
        return {false, read.error};
    // A freshly opened file has nothing to undo and nothing unsaved.
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    moveCursor(QTextCursor::Start);
    return {true, {}};
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

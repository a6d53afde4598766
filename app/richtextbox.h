#pragma once

#include "textfile.h"

#include <QTextEdit>

#include <functional>

class QMimeData;

namespace tavrin {

// The text box of a document window: a QTextEdit that keeps its documents in
// the rich text format. Files are read and written as RTF, and text leaves
// and enters through the clipboard (or a drag) as RTF markup in plain text,
// so formatted text moves between documents with its bold, italics and fonts.
// Every call into the RTF reader and writer is made here.
class RichTextBox : public QTextEdit
{
    Q_OBJECT
public:
    using QTextEdit::QTextEdit;

    // Replaces the text with the RTF file's content. The file is read in full
    // first; only then is mayReplace asked (the user may keep the old text,
    // which gives ok false with no error). On failure the text is left as it
    // was and error names the reason.
    WriteResult LoadFile(const QString &path, const std::function<bool()> &mayReplace = {});
    // Writes the whole text as RTF, atomically: a failed save leaves any
    // earlier file of that name as it was.
    WriteResult SaveFile(const QString &path) const;

    // The selection as RTF markup (an RTF group with no text when nothing is selected).
    QString SelRTF() const;
    // Puts the text in place of the selection: read as RTF markup when it is
    // RTF, inserted as plain text otherwise.
    void insertRtfOrText(const QString &text);

    // What a copy of the selection offers: the RTF markup as plain text, and
    // the same selection as HTML for programs that paste rich text.
    static QMimeData *rtfMimeData(const QTextCursor &selection);

protected:
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};

} // namespace tavrin

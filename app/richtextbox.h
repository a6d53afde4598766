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

protected:
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // Puts the text in place of the selection: read as RTF markup when it is
    // RTF, inserted as plain text otherwise.
    void insertRtfOrText(const QString &text);
};

} // namespace tavrin

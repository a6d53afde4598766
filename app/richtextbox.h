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

    // Told how far a read has got, done out of total; false stops the read.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    // Replaces the text with the RTF file's content. Only a regular file is
    // read (a pipe or a device could block or never end), once, into a new
    // document that the box shows once it is complete; only then is
    // mayReplace asked. The user may keep the old text, or stop the read
    // through progress: both give ok false with no error. On failure the
    // text is left as it was and error names the reason. The opened text is
    // unchanged and has nothing to undo.
    WriteResult LoadFile(const QString &path, const std::function<bool()> &mayReplace = {},
                         const Progress &progress = {});
    // True while LoadFile is reading; the box's window must not go meanwhile.
    bool isLoading() const { return m_loading; }
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
    // Shows doc in place of the current document, which is deleted when the
    // box owns it; the box takes doc over.
    void adoptDocument(QTextDocument *doc);
    // Sets out and draws, off screen and a run of text at a time with a call
    // of tick after each (false stops), as much of the start of doc as the box
    // will lay out first. Loading a font can take tens of milliseconds: this
    // way the fonts and glyphs are loaded while events are still being
    // handled, and the box's own first layout and paint of doc are quick.
    bool prepareFirstScreen(const QTextDocument &doc, const std::function<bool()> &tick);

    bool m_loading = false; // inside LoadFile
};

} // namespace tavrin

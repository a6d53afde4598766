#pragma once

#include <QWidget>

#include <functional>

class QPrinter;

namespace tavrin {

class RichTextBox;

// A document window: one rich text box inside the main window's document
// area. Its caption is its identity: "Tavrin Document N" while it has no file
// of its own, the file's full path once it has been opened or saved as one.
class frmDocument : public QWidget
{
    Q_OBJECT
public:
    explicit frmDocument(QWidget *parent = nullptr);

    RichTextBox *textBox() const { return rtfText; }

    // True while the caption is still the one the window was created with.
    bool isUntitled() const;
    // True when the text changed since it was created, opened or last saved.
    bool isChanged() const;

    // Saving, as the main window's Save command does it; answers whether the
    // text was saved. Used when the user chooses to save before closing.
    using SaveHandler = std::function<bool(frmDocument *)>;
    void setSaveHandler(SaveHandler handler) { m_save = std::move(handler); }

    // Asks whether to save changed text before it goes. True when the window
    // may go: nothing changed, the user discarded, or the save succeeded.
    bool QueryUnload();

    // Prints the selection, when the printer's range says so and there is
    // one, or else the whole text.
    void print(QPrinter &printer) const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();

    RichTextBox *rtfText; // the document's text, 100 twips inside the window
    SaveHandler m_save;   // the main window's Save for this document
};

} // namespace tavrin

#pragma once

#include <QTextDocument>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace tavrin {

// Find and Replace: one non-modal window that searches the main window's
// active document, from the cursor down, going on from the top once it
// passes the end. What it finds is selected in the document; what happened
// is said in its status line.
class frmFind : public QWidget
{
    Q_OBJECT
public:
    // target answers the text box to search, or nullptr when there is none.
    explicit frmFind(std::function<QTextEdit *()> target, QWidget *parent = nullptr);

    enum class Outcome { Found, Wrapped, NotFound, NoText };

    // Shows the window, raised, the search text selected and focused; text,
    // when given, becomes the search text.
    void showWith(const QString &text = QString());
    QString findText() const;
    // The status line's text after the last command.
    QString status() const;

    // The commands of the buttons; each answers what it did.
    Outcome findNext();
    Outcome replace();
    // Replaces every match in one undo step; answers how many.
    int replaceAll();

private:
    QTextDocument::FindFlags flags() const;
    // True when the selection is a match of the search text.
    bool selectionMatches(const QTextCursor &selection) const;
    void setStatus(const QString &text);
    void updateButtons();

    std::function<QTextEdit *()> m_target;
    QLineEdit *txtFind;
    QLineEdit *txtReplace;
    QCheckBox *chkMatchCase;
    QCheckBox *chkWholeWord;
    QPushButton *cmdFindNext;
    QPushButton *cmdReplace;
    QPushButton *cmdReplaceAll;
    QLabel *lblStatus;
};

} // namespace tavrin

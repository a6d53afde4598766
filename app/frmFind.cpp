#include "frmFind.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tavrin {

frmFind::frmFind(std::function<QTextEdit *()> target, QWidget *parent)
    : QWidget(parent, Qt::Dialog)
    , m_target(std::move(target))
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find and Replace"));
    auto *grid = new QGridLayout(this);
    auto *findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    findLabel->setBuddy(txtFind);
    auto *replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
    txtReplace = new QLineEdit(this);
    txtReplace->setObjectName(QStringLiteral("txtReplace"));
    replaceLabel->setBuddy(txtReplace);
    chkMatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    chkWholeWord = new QCheckBox(QStringLiteral("Find &whole words only"), this);
    chkWholeWord->setObjectName(QStringLiteral("chkWholeWord"));
    cmdFindNext = new QPushButton(QStringLiteral("&Find Next"), this);
    cmdFindNext->setObjectName(QStringLiteral("cmdFindNext"));
    cmdFindNext->setDefault(true);
    cmdReplace = new QPushButton(QStringLiteral("&Replace"), this);
    cmdReplace->setObjectName(QStringLiteral("cmdReplace"));
    cmdReplaceAll = new QPushButton(QStringLiteral("Replace &All"), this);
    cmdReplaceAll->setObjectName(QStringLiteral("cmdReplaceAll"));
    auto *cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setMinimumWidth(260);
    // Room for a line of text before there is any, so a message never resizes the window.
    lblStatus->setMinimumHeight(lblStatus->fontMetrics().height() * 2);
    lblStatus->setWordWrap(true);

    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(txtFind, 0, 1);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(txtReplace, 1, 1);
    grid->addWidget(chkMatchCase, 2, 0, 1, 2);
    grid->addWidget(chkWholeWord, 3, 0, 1, 2);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {cmdFindNext, cmdReplace, cmdReplaceAll, cmdClose})
        buttons->addWidget(b);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 5, 1);
    grid->addWidget(lblStatus, 4, 0, 1, 2);

    connect(cmdFindNext, &QPushButton::clicked, this, &frmFind::findNext);
    connect(cmdReplace, &QPushButton::clicked, this, &frmFind::replace);
    connect(cmdReplaceAll, &QPushButton::clicked, this, &frmFind::replaceAll);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::hide);
    auto *escape = new QAction(this); // Esc closes it, as it closes a dialog
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WindowShortcut);
    connect(escape, &QAction::triggered, this, &QWidget::hide);
    addAction(escape);
    connect(txtFind, &QLineEdit::returnPressed, this, &frmFind::findNext);
    connect(txtFind, &QLineEdit::textChanged, this, &frmFind::updateButtons);
    updateButtons();
}

void frmFind::showWith(const QString &text)
{
    if (!text.isEmpty())
        txtFind->setText(text);
    setStatus(QString());
    show();
    raise();
    activateWindow();
    txtFind->setFocus();
    txtFind->selectAll();
}

QString frmFind::findText() const
{
    return txtFind->text();
}

QString frmFind::status() const
{
    return lblStatus->text();
}

void frmFind::setStatus(const QString &text)
{
    lblStatus->setText(text);
}

void frmFind::updateButtons()
{
    const bool text = !txtFind->text().isEmpty();
    for (QPushButton *b : {cmdFindNext, cmdReplace, cmdReplaceAll})
        b->setEnabled(text);
}

QTextDocument::FindFlags frmFind::flags() const
{
    QTextDocument::FindFlags f;
    if (chkMatchCase->isChecked())
        f |= QTextDocument::FindCaseSensitively;
    if (chkWholeWord->isChecked())
        f |= QTextDocument::FindWholeWords;
    return f;
}

bool frmFind::selectionMatches(const QTextCursor &selection) const
{
    if (!selection.hasSelection())
        return false;
    // The same search from the selection's start finds exactly the selection.
    QTextCursor from(selection.document());
    from.setPosition(selection.selectionStart());
    const QTextCursor found = selection.document()->find(txtFind->text(), from, flags());
    return found.selectionStart() == selection.selectionStart() && found.selectionEnd() == selection.selectionEnd();
}

frmFind::Outcome frmFind::findNext()
{
    QTextEdit *box = m_target ? m_target() : nullptr;
    const QString text = txtFind->text();
    if (!box || text.isEmpty())
        return Outcome::NoText;
    QTextDocument *doc = box->document();
    // From the end of the selection, so a match already selected is passed over.
    QTextCursor from = box->textCursor();
    from.setPosition(from.selectionEnd());
    QTextCursor found = doc->find(text, from, flags());
    Outcome outcome = Outcome::Found;
    if (found.isNull()) {
        found = doc->find(text, QTextCursor(doc), flags());
        outcome = Outcome::Wrapped;
    }
    if (found.isNull()) {
        setStatus(QStringLiteral("Cannot find \"%1\".").arg(text));
        return Outcome::NotFound;
    }
    box->setTextCursor(found);
    setStatus(outcome == Outcome::Wrapped
                  ? QStringLiteral("Passed the end of the document; continued from the beginning.")
                  : QString());
    return outcome;
}

frmFind::Outcome frmFind::replace()
{
    QTextEdit *box = m_target ? m_target() : nullptr;
    if (!box || txtFind->text().isEmpty())
        return Outcome::NoText;
    // The match already selected is replaced, then the next one selected; a
    // selection that is not a match is only passed over to the next.
    QTextCursor selection = box->textCursor();
    if (selectionMatches(selection)) {
        selection.insertText(txtReplace->text());
        box->setTextCursor(selection);
    }
    return findNext();
}

int frmFind::replaceAll()
{
    QTextEdit *box = m_target ? m_target() : nullptr;
    const QString text = txtFind->text();
    if (!box || text.isEmpty())
        return 0;
    QTextDocument *doc = box->document();
    QTextCursor edit(doc);
    int count = 0;
    // Each search goes on after the text put in, so a replacement that holds
    // the search text is never replaced again.
    QTextCursor from(doc);
    for (QTextCursor found = doc->find(text, from, flags()); !found.isNull(); found = doc->find(text, from, flags())) {
        if (count == 0)
            edit.beginEditBlock();
        found.insertText(txtReplace->text());
        from = found;
        ++count;
    }
    if (count == 0) {
        setStatus(QStringLiteral("Cannot find \"%1\".").arg(text));
        return 0;
    }
    edit.endEditBlock();
    box->setTextCursor(from);
    setStatus(count == 1 ? QStringLiteral("Replaced 1 occurrence.")
                         : QStringLiteral("Replaced %1 occurrences.").arg(count));
    return count;
}

} // namespace tavrin

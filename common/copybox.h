#pragma once

#include <QPlainTextEdit>

namespace tavrin {

// A multi-line text box whose copied or dragged text carries CR LF line ends,
// so what the user pastes into a game file is byte for byte the text shown.
class CopyBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

    // The box's text with its lines joined by CR LF.
    QString text() const;

protected:
    QMimeData *createMimeDataFromSelection() const override;
};

} // namespace tavrin

#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace tavrin {

// The font and colour choosers of the Format commands, shaped like the
// message box: one call each, and a backend that tests replace to record the
// request and answer it without a modal dialog.
struct FormatDialogRequest {
    enum Kind { Font, Color };
    Kind kind = Font;
    QString title;
    QFont font;   // Font: the font offered
    QColor color; // Color: the colour offered
};

struct FormatDialogAnswer {
    bool accepted = false;
    QFont font;
    QColor color;
};

// Qt's QFontDialog; nothing when the user cancels.
std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial, const QString &title);
// Qt's QColorDialog; nothing when the user cancels.
std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial, const QString &title);

// Replaces the real dialogs; an empty function restores them.
using FormatDialogBackend = std::function<FormatDialogAnswer(const FormatDialogRequest &)>;
void setFormatDialogBackend(FormatDialogBackend backend);

} // namespace tavrin

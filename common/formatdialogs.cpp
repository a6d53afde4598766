#include "formatdialogs.h"

#include <QColorDialog>
#include <QFontDialog>

namespace tavrin {

namespace {
FormatDialogBackend &backend()
{
    static FormatDialogBackend b;
    return b;
}
} // namespace

void setFormatDialogBackend(FormatDialogBackend b)
{
    backend() = std::move(b);
}

std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial, const QString &title)
{
    if (backend()) {
        const FormatDialogAnswer a = backend()({FormatDialogRequest::Font, title, initial, {}});
        return a.accepted ? std::optional<QFont>(a.font) : std::nullopt;
    }
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent, title);
    return ok ? std::optional<QFont>(font) : std::nullopt;
}

std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial, const QString &title)
{
    if (backend()) {
        const FormatDialogAnswer a = backend()({FormatDialogRequest::Color, title, {}, initial});
        return a.accepted && a.color.isValid() ? std::optional<QColor>(a.color) : std::nullopt;
    }
    const QColor color = QColorDialog::getColor(initial, parent, title);
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
}

} // namespace tavrin

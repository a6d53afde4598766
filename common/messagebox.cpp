#include "messagebox.h"

namespace tavrin {

namespace {
MessageBackend &backend()
{
    static MessageBackend current;
    return current;
}
} // namespace

void setMessageBackend(MessageBackend b)
{
    backend() = std::move(b);
}

QMessageBox::StandardButton messageBox(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons,
                                       QMessageBox::Icon icon, const QString &title)
{
    const MessageRequest request{text, title.isEmpty() ? applicationTitle() : title, buttons, icon};
    if (backend())
        return backend()(request);
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace tavrin

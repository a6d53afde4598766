#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace tavrin {

// The application title: the settings store's application name and the title
// of every message box that is given none of its own.
inline const QString &applicationTitle()
{
    static const QString title = QStringLiteral("Tavrin");
    return title;
}

// One message box as the program asks for it.
struct MessageRequest {
    QString text;
    QString title;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows a modal message box and returns the button pressed. An empty title
// gives the application title.
QMessageBox::StandardButton messageBox(QWidget *parent, const QString &text,
                                       QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                       QMessageBox::Icon icon = QMessageBox::NoIcon, const QString &title = QString());

// Replaces the real message box (tests record the request and answer it).
// An empty function restores the real one.
using MessageBackend = std::function<QMessageBox::StandardButton(const MessageRequest &)>;
void setMessageBackend(MessageBackend backend);

} // namespace tavrin

#pragma once

#include "windowregistry.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace tavrin {

// The one way the windows build their menus: every menu and menu item is
// named (its objectName), captioned and given its shortcut here.

// A menu on the menu bar.
QMenu *addMenu(QMenuBar *bar, const char *name, const QString &caption);

// A menu item, on a menu or straight on a menu bar.
QAction *addItem(QWidget *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {});

// A menu item that runs a slot of the receiver.
template <class Receiver, class Slot>
QAction *addItem(QWidget *menu, const char *name, const QString &caption, const Receiver *receiver, Slot slot,
                 const QKeySequence &shortcut = {})
{
    QAction *item = addItem(menu, name, caption, shortcut);
    QObject::connect(item, &QAction::triggered, receiver, slot);
    return item;
}

// A menu item that shows another window, loading it first if need be.
QAction *addShowItem(QWidget *menu, const char *name, const QString &caption, WindowId window,
                     const QKeySequence &shortcut = {});

} // namespace tavrin

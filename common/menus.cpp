#include "menus.h"

namespace tavrin {

QMenu *addMenu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction *addItem(QWidget *menu, const char *name, const QString &caption, const QKeySequence &shortcut)
{
    auto *item = new QAction(caption, menu);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    menu->addAction(item);
    return item;
}

QAction *addShowItem(QWidget *menu, const char *name, const QString &caption, WindowId window,
                     const QKeySequence &shortcut)
{
    QAction *item = addItem(menu, name, caption, shortcut);
    QObject::connect(item, &QAction::triggered, menu, [window] { WindowRegistry::instance().show(window); });
    return item;
}

} // namespace tavrin

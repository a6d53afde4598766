#include "windowregistry.h"

#include <algorithm>

namespace tavrin {

WindowRegistry &WindowRegistry::instance()
{
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::registerWindow(WindowId id, Factory factory)
{
    m_slots[id].factory = std::move(factory);
}

bool WindowRegistry::isRegistered(WindowId id) const
{
    auto it = m_slots.constFind(id);
    return it != m_slots.constEnd() && it->factory;
}

QList<WindowId> WindowRegistry::registeredWindows() const
{
    QList<WindowId> ids;
    for (auto it = m_slots.constBegin(); it != m_slots.constEnd(); ++it) {
        if (it->factory)
            ids << it.key();
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

QWidget *WindowRegistry::load(WindowId id)
{
    auto it = m_slots.find(id);
    if (it == m_slots.end() || !it->factory)
        return nullptr;
    if (it->widget)
        return it->widget;
    QWidget *w = it->factory();
    if (!w)
        return nullptr;
    // Closing a window unloads it: the widget goes, the slot (and its state) stays.
    w->setAttribute(Qt::WA_DeleteOnClose);
    m_slots[id].widget = w;
    emit windowLoaded(id, w);
    return w;
}

QWidget *WindowRegistry::show(WindowId id)
{
    QWidget *w = load(id);
    if (w)
        bringToFront(w);
    return w;
}

void WindowRegistry::hide(WindowId id)
{
    if (QWidget *w = widget(id))
        w->hide();
}

bool WindowRegistry::isLoaded(WindowId id) const
{
    return widget(id) != nullptr;
}

QWidget *WindowRegistry::widget(WindowId id) const
{
    auto it = m_slots.constFind(id);
    return it == m_slots.constEnd() ? nullptr : it->widget.data();
}

bool WindowRegistry::hasState(WindowId id) const
{
    auto it = m_slots.constFind(id);
    return it != m_slots.constEnd() && it->state.has_value();
}

void WindowRegistry::unloadAll()
{
    for (auto &slot : m_slots) {
        if (slot.widget)
            delete slot.widget.data();
    }
}

void WindowRegistry::reset()
{
    unloadAll();
    m_slots.clear();
}

void bringToFront(QWidget *window)
{
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

} // namespace tavrin

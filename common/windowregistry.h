#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <any>
#include <functional>
#include <memory>

namespace tavrin {

// Every window that exists at most once. Windows reach one another through
// these ids, so the subsystems never include each other's headers.
enum class WindowId {
    Main,        // frmMain
    MenuOptions, // frmMenuOptions, the tool launcher
    Tavrin,      // frmTavrin, the worldspawn viewer
    Cod2Efx,     // frmCod2Efx, the effects browser
    MapGsc,      // frmMapGsc, the map script maker
    Arena,       // frmArena, the COD2 arena maker
    ArenaCOD,    // frmArenaCOD, the COD arena maker
    Options,     // frmOptions, the tool options window
    About,       // frmAbout
    WebBrowser,  // frmWebBrowser, the updates page
};

// Owns one slot per single-instance window. A window is created (and runs its
// load handling, which is its constructor) by load() or show(), and is deleted
// when it is closed; the next show() builds it afresh. State that must outlive
// a close lives in the slot (state<T>()), not in the widget.
class WindowRegistry : public QObject
{
    Q_OBJECT
public:
    using Factory = std::function<QWidget *()>;

    static WindowRegistry &instance();

    // Makes a window known. Until its factory is registered, load() and show()
    // of that id do nothing and return nullptr.
    void registerWindow(WindowId id, Factory factory);
    bool isRegistered(WindowId id) const;
    // Every window made known, in the order of the ids.
    QList<WindowId> registeredWindows() const;

    // Creates the window if it is not loaded, without showing it.
    QWidget *load(WindowId id);
    // load(), then shows the window modeless as a top-level window and brings it to the front.
    QWidget *show(WindowId id);
    void hide(WindowId id);
    bool isLoaded(WindowId id) const;
    // The loaded window, or nullptr.
    QWidget *widget(WindowId id) const;

    template <class T> T *window(WindowId id) const { return qobject_cast<T *>(widget(id)); }

    // State kept for a window across its closes; created empty on first use.
    // A slot holds one type of state: asking for another type throws
    // std::bad_any_cast rather than handing out a wrong object.
    template <class T> T &state(WindowId id)
    {
        auto &slot = m_slots[id];
        if (!slot.state.has_value())
            slot.state = std::make_shared<T>();
        // The state lives on the heap, so it stays where it is while the
        // slots are rehashed.
        return *std::any_cast<const std::shared_ptr<T> &>(slot.state);
    }
    bool hasState(WindowId id) const;

    // Deletes every loaded window without running its close handling; used when
    // the process ends, so hidden windows are discarded too.
    void unloadAll();
    // Forgets windows, factories and state (tests start from a clean registry).
    void reset();

signals:
    void windowLoaded(tavrin::WindowId id, QWidget *window);

private:
    struct Slot {
        Factory factory;
        QPointer<QWidget> widget;
        std::any state; // a std::shared_ptr<T> of the window's state type T
    };
    QHash<WindowId, Slot> m_slots;
};

// Brings a top-level window to the front: shown, restored if minimised, raised, active.
void bringToFront(QWidget *window);

} // namespace tavrin

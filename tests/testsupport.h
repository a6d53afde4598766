#pragma once

#include "commondialog.h"
#include "formatdialogs.h"
#include "messagebox.h"

#include <QList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <optional>

class QComboBox;
class QPrinter;
class QMenu;

namespace tavrin::test {

// Records every message box and answers each with the next queued button (OK
// when nothing is queued). Installed for its lifetime.
class ScriptedMessages
{
public:
    ScriptedMessages();
    ~ScriptedMessages();
    QList<MessageRequest> shown;
    std::deque<QMessageBox::StandardButton> answers;
};

// Records every common dialog and answers each with the next queued answer
// (cancel when nothing is queued). A printer dialog's printer is pointed at
// printerOutput (a PDF file) when it is set.
class ScriptedDialogs
{
public:
    ScriptedDialogs();
    ~ScriptedDialogs();
    QList<DialogRequest> shown;
    std::deque<DialogAnswer> answers;
    QString printerOutput;
    // What the user chooses in a printer or page setup dialog, when set.
    std::function<void(QPrinter *)> choose;
    void accept(const QString &fileName = QString()) { answers.push_back({true, fileName}); }
    void cancel() { answers.push_back({false, {}}); }
};

// Records every font and colour chooser and answers each with the next
// queued answer (cancel when nothing is queued).
class ScriptedFormatDialogs
{
public:
    ScriptedFormatDialogs();
    ~ScriptedFormatDialogs();
    QList<FormatDialogRequest> shown;
    std::deque<FormatDialogAnswer> answers;
    void font(const QFont &f) { answers.push_back({true, f, {}}); }
    void color(const QColor &c) { answers.push_back({true, {}, c}); }
    void cancel() { answers.push_back({}); }
};

// Points the settings store, and the user's data folder (XDG_DATA_HOME, where
// documents are kept for recovery), at a fresh temporary folder for its lifetime.
class TemporarySettings
{
public:
    TemporarySettings();
    ~TemporarySettings();
    QString file() const { return m_dir.path() + QStringLiteral("/Tavrin/Tavrin.conf"); }
    QString dataFolder() const { return m_dir.path() + QStringLiteral("/data"); }
    // The value under [Settings] in that file, as written.
    QString stored(const char *key) const;
    // Stores a value under Tavrin/Settings through the program's own store.
    static void store(const char *key, const QString &value);

private:
    QTemporaryDir m_dir;
    QByteArray m_oldDataHome;
    bool m_hadDataHome = false;
};

// A file's bytes, or "<missing>"; writing is true when all bytes were written.
QByteArray fileBytes(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);
// A dialog request as "kind|title|filter|flags|offered name".
QString describe(const DialogRequest &request);
// Every label in the window, in creation order, as "name=caption".
QStringList labelTexts(const QWidget *window);
// A menu's named entries as "name|caption|shortcut", a separator as "-".
QStringList menuEntries(const QMenu *menu);
QStringList comboItems(const QComboBox *combo);
void pick(QComboBox *combo, const QString &text);
// Types into a combo box with real key events, as the user does: the box takes
// the keyboard focus in its active window, the keys go to the focused widget,
// then Return and Tab end the editing.
void typeInto(QComboBox *combo, const QString &keys);
// What a real, non-native file dialog shows: its name filter's caption and the
// names it lists in the folder, sorted. open() shows the dialog (modal); it
// is taken to the folder as the user would go there, read once its listing
// holds still, and cancelled (after five seconds at the latest). Qt's own
// dialog settings go to a temporary folder meanwhile.
struct FileDialogListing {
    QString caption;
    QStringList names;
};
FileDialogListing readFileDialog(const QString &folder, const std::function<void()> &open);
// Twips as pixels on the primary screen, across and down.
int pxX(double twips);
int pxY(double twips);
// Makes another window active, then the given one again.
void switchAwayAndBack(QWidget *window, QWidget *other);
// How a child process's writes are made to run out of room, in ways that hold
// for root too.
enum class NoRoom {
    SizeLimit, // RLIMIT_FSIZE: no file may grow past the limit, "File too large"
    FullDisk,  // a small file system of its own, filled: "No space left on device"
};
// One way a save runs out of room: room bytes may still be written, the
// saved text is about size bytes.
struct NoRoomCase {
    const char *name;
    NoRoom how;
    qint64 room;
    qsizetype size;
};
// Each way with no room at all for a small save, and with 8 KiB of room for
// a 12 KiB save, of which only part fits.
QList<NoRoomCase> noRoomCases();
// Every entry of the folder, hidden ones included, but the full disk's filler.
QStringList entriesBesideFiller(const QString &folder);
// The system's reason for a write that does not fit that way.
QString noRoomReason(NoRoom how);
// Runs prepare, then save, in a child process, and answers the lines save
// returned. Before save, the child's writes are limited: with SizeLimit no
// file may grow past room bytes; with FullDisk a small tmpfs mounted on
// folder (in a mount namespace of the child's own, so nothing else sees it)
// is filled, through the hidden file .filler, until exactly room bytes are
// free (room is a multiple of 4096). The file system goes with the child, so
// prepare writes there what must exist before the disk is full, and save
// reports what became of it. Answers nothing when the file system cannot be
// mounted here; a child that fails or hangs answers one line saying so.
std::optional<QStringList> inChildWithoutRoom(const NoRoomCase &limit, const QString &folder,
                                              const std::function<void()> &prepare,
                                              const std::function<QStringList()> &save);

// Runs the application's event loop as the program does and returns its exit
// code; a loop still running after timeoutMs is ended with code 1.
int runEventLoop(int timeoutMs = 5000);

} // namespace tavrin::test

Q_DECLARE_METATYPE(tavrin::test::NoRoomCase)

#pragma once

#include "commondialog.h"
#include "messagebox.h"

#include <QList>
#include <QTemporaryDir>

#include <deque>
#include <functional>

class QComboBox;
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
    void accept(const QString &fileName = QString()) { answers.push_back({true, fileName}); }
    void cancel() { answers.push_back({false, {}}); }
};

// Points the settings store at a fresh temporary folder for its lifetime.
class TemporarySettings
{
public:
    TemporarySettings();
    ~TemporarySettings();
    QString file() const { return m_dir.path() + QStringLiteral("/Tavrin/Tavrin.conf"); }
    // The value under [Settings] in that file, as written.
    QString stored(const char *key) const;
    // Stores a value under Tavrin/Settings through the program's own store.
    static void store(const char *key, const QString &value);

private:
    QTemporaryDir m_dir;
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
// Runs the application's event loop as the program does and returns its exit
// code; a loop still running after timeoutMs is ended with code 1.
int runEventLoop(int timeoutMs = 5000);

} // namespace tavrin::test

#pragma once

#include "commondialog.h"
#include "messagebox.h"

#include <QList>
#include <QTemporaryDir>

#include <deque>

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
// (cancel when nothing is queued). Installed for its lifetime. A printer
// dialog's printer is pointed at printerOutput (a PDF file) when it is set.
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
    QString folder() const { return m_dir.path(); }
    // The settings file of the application "Tavrin" in that folder.
    QString file() const;
    // The value under [Settings] in that file, as written.
    QString stored(const char *key) const;
    // Stores a value under Tavrin/Settings through the program's own store.
    static void store(const char *key, const QString &value);

private:
    QTemporaryDir m_dir;
};

// A file's bytes, or "<missing>" when it cannot be read.
QByteArray fileBytes(const QString &path);
// Writes the bytes to a new file; true when all were written.
bool writeBytes(const QString &path, const QByteArray &bytes);

// A dialog request as "kind|title|filter|flags|offered name".
QString describe(const DialogRequest &request);

// Every label in the window, in creation order, as "name=caption".
QStringList labelTexts(const QWidget *window);
// A menu's entries as "name|caption|shortcut", a separator as "-"; entries
// without a name (the window list) are left out.
QStringList menuEntries(const QMenu *menu);
// The texts of a combo box's items.
QStringList comboItems(const QComboBox *combo);
// Makes the item with that text the current one.
void pick(QComboBox *combo, const QString &text);

// Twips as pixels on the primary screen, across and down.
int pxX(double twips);
int pxY(double twips);

// Makes another window active, then the given one again.
void switchAwayAndBack(QWidget *window, QWidget *other);

// Runs the application's event loop as the program does and returns its exit
// code; a loop still running after timeoutMs is ended with code 1.
int runEventLoop(int timeoutMs = 5000);

} // namespace tavrin::test

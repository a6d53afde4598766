#pragma once

#include "commondialog.h"
#include "messagebox.h"

#include <QList>
#include <QTemporaryDir>

#include <deque>

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

private:
    QTemporaryDir m_dir;
};

} // namespace tavrin::test

#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

namespace tavrin {

// The progress of reading a large file, for a read that runs on the user
// interface thread and calls this back every few tens of kilobytes: a
// window-modal progress dialog over the owner window, with Cancel, shown when
// the read has taken half a second or is expected to take longer.
//
// Why not a worker thread: the document is a QTextDocument, which is not
// thread-safe and whose fonts and pictures belong with the thread that shows
// it; building it on another thread would mean handing it over between
// threads, and stopping that thread from this one. A read that calls back is
// simpler, and just as responsive: every 20 ms the call lets the program
// handle its events, so its windows repaint and its timers run, and the
// user's Cancel is simply the answer of the next call.
//
// Re-entrancy: until the dialog shows, the user's input waits in the queue,
// so nothing the user does can act on the windows in the middle of a read;
// once it shows, its modality blocks the owner window and its documents (the
// tool windows beside them go on working). Closes that do not come from input
// (the window manager's, a program's) are refused by the main window and by
// the document being read for as long as the read lasts, and an Exit from a
// tool window cancels the read before it asks about changed documents.
class ReadProgress
{
public:
    // label: what is being read, as the dialog says it.
    ReadProgress(QWidget *owner, const QString &label);
    ~ReadProgress();
    ReadProgress(const ReadProgress &) = delete;
    ReadProgress &operator=(const ReadProgress &) = delete;

    // Records that done of total have been read; false once the user cancelled.
    // done == total ends the read and hides the dialog.
    bool operator()(qint64 done, qint64 total);
    // Stops the read at its next call, as Cancel does.
    void cancel();

private:
    QPointer<QProgressDialog> m_dialog;
    QElapsedTimer m_sinceEvents; // since events were last handled
    bool m_handledEvents = false;
};

} // namespace tavrin

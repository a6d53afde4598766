#include "readprogress.h"

#include "messagebox.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace tavrin {

namespace {
constexpr int Steps = 1000;       // of the progress bar
constexpr int ShowAfterMs = 500;  // a read expected to be quicker shows no dialog
constexpr int EventsEveryMs = 20; // the longest the program leaves its events waiting
} // namespace

ReadProgress::ReadProgress(QWidget *owner, const QString &label)
    : m_dialog(new QProgressDialog(label, QStringLiteral("Cancel"), 0, Steps, owner))
{
    m_dialog->setObjectName(QStringLiteral("dlgProgress"));
    m_dialog->setWindowTitle(applicationTitle());
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(ShowAfterMs);
    m_dialog->setValue(0); // the half second starts now
}

ReadProgress::~ReadProgress()
{
    delete m_dialog;
}

bool ReadProgress::operator()(qint64 done, qint64 total)
{
    if (!m_dialog || m_dialog->wasCanceled())
        return false;
    if (done >= total) {
        m_dialog->reset(); // hides it, before anything is asked about the file read
        return true;
    }
    // Events are handled at the first call, then every EventsEveryMs.
    if (m_handledEvents && m_sinceEvents.elapsed() < EventsEveryMs)
        return true;
    m_dialog->setValue(int(done * Steps / total)); // shows the dialog when it is time
    QCoreApplication::processEvents(m_dialog->isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    m_sinceEvents.start();
    m_handledEvents = true;
    return m_dialog && !m_dialog->wasCanceled();
}

void ReadProgress::cancel()
{
    if (m_dialog)
        m_dialog->cancel();
}

} // namespace tavrin

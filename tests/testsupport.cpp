#include "testsupport.h"

#include "settingsstore.h"

#include <QPrinter>

namespace tavrin::test {

ScriptedMessages::ScriptedMessages()
{
    setMessageBackend([this](const MessageRequest &request) {
        shown.append(request);
        if (answers.empty())
            return QMessageBox::Ok;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    });
}

ScriptedMessages::~ScriptedMessages()
{
    setMessageBackend({});
}

ScriptedDialogs::ScriptedDialogs()
{
    CommonDialog::setBackend([this](const DialogRequest &request, QPrinter *printer) {
        shown.append(request);
        if (printer && !printerOutput.isEmpty()) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printerOutput);
        }
        if (answers.empty())
            return DialogAnswer{};
        const DialogAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    });
}

ScriptedDialogs::~ScriptedDialogs()
{
    CommonDialog::setBackend({});
}

TemporarySettings::TemporarySettings()
{
    setSettingsFolder(m_dir.path());
}

TemporarySettings::~TemporarySettings()
{
    setSettingsFolder(QString());
}

QString TemporarySettings::file() const
{
    return m_dir.path() + QStringLiteral("/Tavrin/Tavrin.conf");
}

} // namespace tavrin::test

#pragma once

#include <QPointer>
#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace tavrin {

// One use of a common dialog, as a scripted backend sees it.
struct DialogRequest {
    enum Kind { Open, Save, Printer, PageSetup };
    Kind kind = Open;
    QString title;
    int flags = 0;
    QString filter;
    QString fileName; // the name offered when the dialog opens
};

// What the user did: accepted or cancelled, and the file name chosen.
struct DialogAnswer {
    bool accepted = false;
    QString fileName;
};

// The common dialog that a window talks to: set the title, flags, filter and
// file name, then show it. The file name carries over from one use to the next.
class CommonDialog
{
public:
    // Flag values as the windows give them.
    enum Flag {
        ReadOnly = 0x1,        // file dialogs: read-only box ticked
        OverwritePrompt = 0x2, // save dialog: ask before replacing a file
        PrintSelection = 0x1,  // printer dialog: open with the selection chosen
        PrintNoPageNums = 0x8, // printer dialog: no page range choice
        PrintReturnDC = 0x100, // printer dialog: return a device context
    };

    explicit CommonDialog(QWidget *owner = nullptr);

    QString DialogTitle;
    int Flags = 0;
    QString Filter;           // "Description|pattern|Description|pattern", or a description alone
    QString FileName;         // in: the name offered; out: the name chosen
    bool CancelError = false; // the caller treats a cancel as an error and stops

    // Each returns true when the user accepted, false when cancelled.
    bool ShowOpen();
    bool ShowSave();
    // The printer: printer's settings are taken from the user's choice.
    bool ShowPrinter(QPrinter &printer);
    bool ShowPageSetup(QPrinter &printer);

    // Turns a filter of the form above into the name filters of a Qt file
    // dialog that hides their last parenthesised part: "caption (patterns)",
    // the caption as shown, the patterns as Qt matches them ("*.*" as "*").
    static QStringList qtFilters(const QString &filter);

    // Replaces the real dialogs (tests answer them). The printer is passed for
    // printer and page set-up dialogs, so a test can point it at a PDF file.
    using Backend = std::function<DialogAnswer(const DialogRequest &, QPrinter *printer)>;
    static void setBackend(Backend backend);

private:
    bool run(DialogRequest::Kind kind, QPrinter *printer);
    QPointer<QWidget> m_owner;
};

} // namespace tavrin

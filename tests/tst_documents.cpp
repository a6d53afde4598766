// The document windows and the main window's File and Edit commands on them.
#include "frmDocument.h"
#include "frmMain.h"
#include "registerwindows.h"
#include "richtextbox.h"
#include "rtf.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using namespace tavrin;
using Button = QMessageBox::StandardButton;

namespace {
frmMain *openMain()
{
    return qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main));
}
void run(frmMain *w, const char *item)
{
    w->menuItem(QString::fromLatin1(item))->trigger();
}
RichTextBox *activeText(frmMain *w)
{
    return w->activeDocument()->textBox();
}

QStringList captions(frmMain *w)
{
    QStringList out;
    for (QMdiSubWindow *sub : w->mdiArea()->subWindowList(QMdiArea::CreationOrder))
        out << sub->windowTitle();
    return out;
}

// Replaces the text as typing does (setPlainText would mark it unchanged).
void type(QTextEdit *box, const QString &text)
{
    QTextCursor c(box->document());
    c.select(QTextCursor::Document);
    c.insertText(text);
    box->setTextCursor(c);
}

void select(QTextEdit *box, const QString &word)
{
    const int at = int(box->toPlainText().indexOf(word));
    QTextCursor c(box->document());
    c.setPosition(at);
    c.setPosition(at + int(word.size()), QTextCursor::KeepAnchor);
    box->setTextCursor(c);
}

QTextCharFormat formatOf(QTextEdit *box, const char *word)
{
    QTextCursor c(box->document());
    c.setPosition(int(box->toPlainText().indexOf(QLatin1String(word))) + 1);
    return c.charFormat();
}

QString readText(const QString &path)
{
    RichTextBox box;
    return box.LoadFile(path).ok ? box.toPlainText() : QStringLiteral("<unreadable>");
}

// About 1 MB of RTF: paragraphs of plain, bold and italic text.
QByteArray largeRtf()
{
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\n";
    for (int i = 0; i < 16000; ++i)
        rtf += "\\pard Paragraph " + QByteArray::number(i) + " with {\\b bold} and {\\i\\f1 italic} text.\\par\n";
    return rtf + '}';
}

// Ends the test program with a failure should a call not return in time: an
// Open that blocks on a pipe would otherwise hang the suite.
struct Deadline {
    explicit Deadline(unsigned seconds)
    {
        m_old = signal(SIGALRM, [](int) {
            const char message[] = "FAIL!  : the call did not return; it blocks\n";
            (void)!write(STDERR_FILENO, message, sizeof message - 1);
            _exit(1);
        });
        alarm(seconds);
    }
    ~Deadline()
    {
        alarm(0);
        signal(SIGALRM, m_old);
    }
    void (*m_old)(int);
};

// Runs work at the first moment the program handles events during the next
// Open; a read calls back at once, so that is inside the read.
void duringNextRead(QObject *context, std::function<void()> work)
{
    QTimer::singleShot(0, context, std::move(work));
}
} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT
    test::TemporarySettings *m_settings = nullptr;
    QTemporaryDir *m_dir = nullptr;
    QString path(const char *name) const { return m_dir->filePath(QString::fromLatin1(name)); }

private slots:
    void init()
    {
        m_settings = new test::TemporarySettings;
        m_dir = new QTemporaryDir;
        registerWindows();
    }
    void cleanup()
    {
        WindowRegistry::instance().reset();
        delete m_dir;
        delete m_settings;
    }

    void counterNeverReusesNumbers()
    {
        frmMain *w = openMain();
        for (int i = 0; i < 3; ++i)
            run(w, "mnuFileNew");
        QVERIFY(w->mdiArea()->subWindowList(QMdiArea::CreationOrder).at(1)->close());
        QTRY_COMPARE(captions(w).size(), 2);
        run(w, "mnuFileNew");
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1", "Tavrin Document 3", "Tavrin Document 4"}));
        QCOMPARE(w->activeDocument()->windowTitle(), QStringLiteral("Tavrin Document 4"));
    }

    void openCancelledLeavesTheNewDocument()
    {
        test::ScriptedDialogs dialogs;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        w->mdiArea()->activeSubWindow()->close();
        QTRY_VERIFY(!w->activeDocument());
        run(w, "mnuFileOpen"); // cancelled
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, DialogRequest::Open);
        QCOMPARE(captions(w), QStringList({"Tavrin Document 2"}));
        QVERIFY(activeText(w)->toPlainText().isEmpty());
    }

    // The real Open dialog under "All Files (*.*)" lists the files the tools
    // save without an extension, beside the others.
    void openDialogListsEveryFile()
    {
        for (const char *name : {"mymap", "harbor", "notes.rtf"})
            QVERIFY(test::writeBytes(path(name), "x"));
        frmMain *w = openMain();
        const test::FileDialogListing shown = test::readFileDialog(m_dir->path(), [w] { run(w, "mnuFileOpen"); });
        QCOMPARE(shown.caption, QStringLiteral("All Files (*.*)"));
        QCOMPARE(shown.names, QStringList({"harbor", "mymap", "notes.rtf"}));
    }

    void saveUntitledThenSaveAsThenSave()
    {
        test::ScriptedDialogs dialogs;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(activeText(w), QStringLiteral("first"));
        // An untitled document stays untitled: each Save asks for a name.
        dialogs.accept(path("a.rtf"));
        run(w, "mnuFileSave");
        run(w, "mnuFileSave"); // cancelled
        QCOMPARE(readText(path("a.rtf")), QStringLiteral("first"));
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1"}));
        QCOMPARE(dialogs.shown.size(), 2);
        // After Save As the caption is the file, and Save writes there unasked.
        dialogs.accept(path("b.rtf"));
        run(w, "mnuFileSaveAs");
        QCOMPARE(dialogs.shown[2].title, QStringLiteral("Save As"));
        QCOMPARE(captions(w), QStringList({path("b.rtf")}));
        type(activeText(w), QStringLiteral("second"));
        run(w, "mnuFileSave");
        QCOMPARE(dialogs.shown.size(), 3);
        QVERIFY(!w->activeDocument()->isChanged());
        QCOMPARE(readText(path("b.rtf")), QStringLiteral("second"));
    }

    // A file that cannot be opened or written is named in one message, with
    // the reason where it is the program's own; the document and the files
    // stay as they were. Only regular files are read: the others are refused
    // before they are opened, and nothing waits on them.
    void fileFailuresLeaveEverythingAsItWas_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target"); // a name in the test folder, or an absolute path
        QTest::addColumn<QString>("reason"); // in the message; empty: the system's words
        QTest::newRow("open missing") << "mnuFileOpen"
                                      << "missing.rtf"
                                      << "";
        QTest::newRow("open not rtf") << "mnuFileOpen"
                                      << "plain.txt"
                                      << "";
        QTest::newRow("open a named pipe") << "mnuFileOpen"
                                           << "pipe"
                                           << "named pipe";
        QTest::newRow("open a link to a named pipe") << "mnuFileOpen"
                                                     << "link"
                                                     << "named pipe";
        QTest::newRow("open an endless device") << "mnuFileOpen"
                                                << "/dev/zero"
                                                << "device";
        QTest::newRow("open a folder") << "mnuFileOpen"
                                       << "folder"
                                       << "folder";
        QTest::newRow("open over 512 MB") << "mnuFileOpen"
                                          << "huge.rtf"
                                          << "larger than 512 MB";
        QTest::newRow("save into no folder") << "mnuFileSave"
                                             << "none/x.rtf"
                                             << "";
        QTest::newRow("save as onto a folder") << "mnuFileSaveAs"
                                               << "folder"
                                               << "";
        QTest::newRow("save as onto a named pipe") << "mnuFileSaveAs"
                                                   << "pipe"
                                                   << "";
    }
    void fileFailuresLeaveEverythingAsItWas()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QFETCH(QString, reason);
        QVERIFY(QDir(m_dir->path()).mkdir("folder") && test::writeBytes(path("plain.txt"), "just words"));
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0644), 0);
        QVERIFY(QFile::link(path("pipe"), path("link")));
        QFile huge(path("huge.rtf"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.write("{\\rtf1 ") == 7 && huge.resize((qint64(512) << 20) + 1));
        huge.close();
        const QString file = QDir(m_dir->path()).filePath(target);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(activeText(w), QStringLiteral("unsaved work"));
        dialogs.accept(file);
        {
            const Deadline deadline(10);
            w->menuItem(command)->trigger();
        }
        // One message, naming the file; Open asks nothing about the old text
        // before it knows the file can replace it.
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].text.contains(QDir::toNativeSeparators(file)), qPrintable(messages.shown[0].text));
        QVERIFY2(messages.shown[0].text.contains(reason), qPrintable(messages.shown[0].text));
        QCOMPARE(messages.shown[0].icon, QMessageBox::Critical);
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1"}));
        QCOMPARE(activeText(w)->toPlainText(), QStringLiteral("unsaved work"));
        QVERIFY(w->activeDocument()->isChanged());
        QCOMPARE(test::fileBytes(path("plain.txt")), "just words");
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 QStringList({"folder", "huge.rtf", "link", "pipe", "plain.txt"}));
        struct stat pipe;
        QVERIFY(::lstat(QFile::encodeName(path("pipe")).constData(), &pipe) == 0 && S_ISFIFO(pipe.st_mode));
    }

    // A save that runs out of room names the file and the system's reason;
    // the old file stays byte for byte and the text stays changed, so closing
    // the window still asks.
    void saveWithoutRoom_data()
    {
        QTest::addColumn<test::NoRoomCase>("limit");
        QTest::addColumn<QString>("command");
        for (const char *command : {"mnuFileSave", "mnuFileSaveAs"}) {
            for (const test::NoRoomCase &c : test::noRoomCases())
                QTest::addRow("%s, %s", command, c.name) << c << QString::fromLatin1(command);
        }
    }
    void saveWithoutRoom()
    {
        QFETCH(test::NoRoomCase, limit);
        QFETCH(QString, command);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        const QString file = path("notes.rtf");
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        QByteArray old;
        const auto report = test::inChildWithoutRoom(
            limit, m_dir->path(),
            [&] {
                type(activeText(w), QStringLiteral("first"));
                dialogs.accept(file);
                run(w, "mnuFileSaveAs");
                old = test::fileBytes(file);
                type(activeText(w), QString(limit.size, 'x'));
            },
            [&] {
                dialogs.accept(file); // Save As asks; Save writes to the caption
                w->menuItem(command)->trigger();
                messages.answers.push_back(Button::Cancel);
                const bool closed = w->mdiArea()->activeSubWindow()->close();
                QStringList lines;
                for (const MessageRequest &shown : messages.shown)
                    lines << shown.text;
                return lines << (test::fileBytes(file) == old ? "old file" : "changed file")
                             << test::entriesBesideFiller(m_dir->path()).join(' ') << (closed ? "closed" : "open")
                             << captions(w).join(' ');
            });
        if (!report)
            QSKIP("no right to mount a file system here");
        QCOMPARE(report->size(), 6);
        const QString saving = report->at(0);
        QVERIFY2(saving.contains('"' + file + '"') && saving.endsWith(test::noRoomReason(limit.how)),
                 qPrintable(saving));
        QVERIFY2(report->at(1).contains("has changed"), qPrintable(report->at(1)));
        QCOMPARE(report->mid(2), QStringList({"old file", "notes.rtf", "open", file}));
    }

    // Open reads the file once into a document of its own; only then is the
    // old text asked about. The opened text is what the reader makes of the
    // file, unchanged, with nothing to undo, and edits to it count.
    void openReplacesTheTextOnceRead_data()
    {
        QTest::addColumn<QString>("file"); // in the test data, or "large"
        QTest::addColumn<int>("answer");   // about the old, changed text
        QTest::newRow("sample, discard") << "LibreOffice-sample.rtf" << int(QMessageBox::Discard);
        QTest::newRow("pictures, discard") << "PictureObjectEmbed2.rtf" << int(QMessageBox::Discard);
        QTest::newRow("large, discard") << "large" << int(QMessageBox::Discard);
        QTest::newRow("sample, keep the old text") << "LibreOffice-sample.rtf" << int(QMessageBox::Cancel);
    }
    void openReplacesTheTextOnceRead()
    {
        QFETCH(QString, file);
        QFETCH(int, answer);
        QString source = QStringLiteral(TAVRIN_TEST_DATA "/rtf/") + file;
        if (file == QLatin1String("large")) {
            source = path("large.rtf");
            QVERIFY(test::writeBytes(source, largeRtf()));
        }
        QTextDocument direct;
        QVERIFY(rtf::read(test::fileBytes(source), direct).ok);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        messages.answers.push_back(Button(answer));
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(activeText(w), QStringLiteral("old"));
        QVERIFY(activeText(w)->document()->isUndoAvailable());
        dialogs.accept(source);
        run(w, "mnuFileOpen");
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.contains(QLatin1String("Tavrin Document 1")));
        QTextEdit *box = activeText(w);
        if (answer == QMessageBox::Cancel) {
            QCOMPARE(box->toPlainText(), QStringLiteral("old"));
            QVERIFY(w->activeDocument()->isChanged());
            QCOMPARE(captions(w), QStringList({"Tavrin Document 1"}));
            return;
        }
        QCOMPARE(captions(w), QStringList({source}));
        QCOMPARE(box->toPlainText(), direct.toPlainText());
        QCOMPARE(rtf::write(*box->document()), rtf::write(direct));
        QVERIFY(!w->activeDocument()->isChanged());
        QVERIFY(!box->document()->isUndoAvailable());
        type(box, QStringLiteral("new"));
        QVERIFY(w->activeDocument()->isChanged());
        QVERIFY(box->document()->isUndoAvailable());
        // Opened again, the document read before goes.
        const QPointer<QTextDocument> before = box->document();
        messages.answers.push_back(Button::Discard);
        dialogs.accept(source);
        run(w, "mnuFileOpen");
        QVERIFY(!before);
        QCOMPARE(box->toPlainText(), direct.toPlainText());
    }

    // Cancel in the progress dialog leaves the documents as they were: the
    // old text and its changed state, or the empty document this Open made.
    void cancelledOpenLeavesTheDocument_data()
    {
        QTest::addColumn<bool>("changedText"); // else no document is open
        QTest::newRow("changed text") << true;
        QTest::newRow("no document open") << false;
    }
    void cancelledOpenLeavesTheDocument()
    {
        QFETCH(bool, changedText);
        QVERIFY(test::writeBytes(path("large.rtf"), largeRtf()));
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        if (changedText) {
            run(w, "mnuFileNew");
            type(activeText(w), QStringLiteral("unsaved work"));
        }
        bool cancelled = false;
        duringNextRead(w, [w, &cancelled] {
            auto *progress = w->findChild<QProgressDialog *>(QStringLiteral("dlgProgress"));
            QVERIFY(progress);
            QCOMPARE(progress->windowModality(), Qt::WindowModal);
            QCOMPARE(progress->minimumDuration(), 500);
            progress->cancel();
            cancelled = true;
        });
        dialogs.accept(path("large.rtf"));
        run(w, "mnuFileOpen");
        QVERIFY(cancelled);
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1"}));
        QCOMPARE(activeText(w)->toPlainText(), changedText ? QStringLiteral("unsaved work") : QString());
        QCOMPARE(w->activeDocument()->isChanged(), changedText);
        QVERIFY(!w->findChild<QProgressDialog *>());
    }

    // The read reports its progress in steady steps, and stops wherever the
    // progress says so, in either half: taking the bytes, or making the document.
    void readStopsWhereProgressSays_data()
    {
        QTest::addColumn<double>("stopAt"); // of the whole
        QTest::newRow("reading the file") << 0.1;
        QTest::newRow("making the document") << 0.5;
        QTest::newRow("at the end") << 1.0;
        QTest::newRow("never") << 2.0;
    }
    void readStopsWhereProgressSays()
    {
        QFETCH(double, stopAt);
        QVERIFY(test::writeBytes(path("large.rtf"), largeRtf()));
        RichTextBox box;
        type(&box, QStringLiteral("before"));
        qint64 last = 0, widest = 0, calls = 0, whole = 0;
        const WriteResult read = box.LoadFile(path("large.rtf"), {}, [&](qint64 done, qint64 total) {
            if (done < last || (whole && total != whole))
                return false;
            widest = std::max(widest, done - last);
            last = done;
            whole = total;
            ++calls;
            return done < stopAt * total;
        });
        QVERIFY(read.error.isEmpty());
        QCOMPARE(read.ok, stopAt > 1);
        QCOMPARE(box.toPlainText().startsWith(QLatin1String("Paragraph 0 with bold")), stopAt > 1);
        QCOMPARE(box.document()->isModified(), stopAt <= 1);
        if (stopAt > 1) {
            QCOMPARE(last, whole);
            QVERIFY2(widest <= whole / 5 && calls > 100,
                     qPrintable(QStringLiteral("%1 calls, widest step %2").arg(calls).arg(widest)));
        }
    }

    // While Open reads, neither the main window nor the document closes, and
    // Exit from elsewhere stops the read before it ends the program.
    void nothingGoesWhileReading_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("close the main window") << "main window";
        QTest::newRow("close the document") << "document";
        QTest::newRow("Exit") << "Exit";
    }
    void nothingGoesWhileReading()
    {
        QFETCH(QString, way);
        QVERIFY(test::writeBytes(path("large.rtf"), largeRtf()));
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        dialogs.accept(path("large.rtf"));
        bool closed = true;
        QTimer::singleShot(0, w, [&] {
            duringNextRead(w, [&] {
                if (way == QLatin1String("main window"))
                    closed = w->close();
                else if (way == QLatin1String("document"))
                    closed = w->mdiArea()->activeSubWindow()->close();
                else
                    run(w, "mnuFileExit");
            });
            run(w, "mnuFileOpen");
            if (way != QLatin1String("Exit"))
                QCoreApplication::exit(3);
        });
        const int code = test::runEventLoop();
        QCOMPARE(code, way == QLatin1String("Exit") ? 0 : 3);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(w->isVisible());
        if (way == QLatin1String("Exit")) {
            QCOMPARE(captions(w), QStringList({"Tavrin Document 1"}));
            QVERIFY(activeText(w)->toPlainText().isEmpty());
        } else {
            QVERIFY(!closed);
            QCOMPARE(captions(w), QStringList({path("large.rtf")}));
            QVERIFY(activeText(w)->toPlainText().startsWith(QLatin1String("Paragraph 0")));
        }
    }

    void print_data()
    {
        QTest::addColumn<bool>("selection");
        QTest::addColumn<int>("flags");
        QTest::newRow("whole text") << false << 264;
        QTest::newRow("selection") << true << 265;
    }
    void print()
    {
        QFETCH(bool, selection);
        QFETCH(int, flags);
        test::ScriptedDialogs dialogs;
        dialogs.printerOutput = path("out.pdf");
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(activeText(w), QStringLiteral("Alpha line\nBravo line\nCharlie line"));
        if (selection)
            select(activeText(w), QStringLiteral("Bravo"));
        dialogs.accept();
        run(w, "mnuFilePrint");
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, DialogRequest::Printer);
        QCOMPARE(dialogs.shown[0].flags, flags);
        QVERIFY(QFileInfo(path("out.pdf")).size() > 0);

        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed; the printed text is not checked");
        QProcess p;
        p.start(pdftotext, {path("out.pdf"), QStringLiteral("-")});
        QVERIFY(p.waitForFinished());
        const QString printed = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(printed.contains(QLatin1String("Bravo")), qPrintable(printed));
        QCOMPARE(printed.contains(QLatin1String("Alpha")), !selection);
        QCOMPARE(printed.contains(QLatin1String("Charlie")), !selection);
    }

    // The commands that act on a document are offered while one is active,
    // in the menus and on the toolbar alike.
    void documentCommandsNeedADocument()
    {
        frmMain *w = openMain();
        auto enabled = [w] {
            QString flags;
            for (const char *name : {"mnuFileSave", "mnuFileSaveAs", "mnuFilePrint", "mnuEditUndo", "mnuEditCut",
                                     "mnuEditCopy", "mnuEditPaste", "Save", "Print", "Cut", "Copy", "Paste",
                                     "mnuFileNew", "mnuFileOpen", "mnuFilePageSetup", "Open"})
                flags += w->menuItem(QLatin1String(name))->isEnabled() ? u'1' : u'0';
            return flags;
        };
        QCOMPARE(enabled(), QStringLiteral("0000000000001111"));
        run(w, "mnuFileNew");
        run(w, "mnuFileNew");
        QCOMPARE(enabled(), QStringLiteral("1111111111111111"));
        w->mdiArea()->closeActiveSubWindow();
        QCOMPARE(enabled(), QStringLiteral("1111111111111111"));
        w->mdiArea()->closeActiveSubWindow();
        QTRY_COMPARE(enabled(), QStringLiteral("0000000000001111"));
    }

    // Page Setup's choice is kept for every later print, with or without a
    // document open when it is made; a cancelled Page Setup changes nothing.
    // A document whose file gives its page prints on that page, until Page
    // Setup changes it, and Save keeps the change.
    void pageSetupIsUsedByPrint_data()
    {
        QTest::addColumn<QStringList>("steps"); // "landscape", "portrait", "cancel landscape", "new", "open A5"
        QTest::addColumn<bool>("landscape");    // the printed pages
        QTest::addColumn<QSize>("box");         // and their size in points, where the test gives it
        QTest::newRow("a file's own page") << QStringList{"open A5"} << true << QSize(595, 420);
        QTest::newRow("a file's page before Page Setup's")
            << QStringList{"portrait", "open A5"} << true << QSize(595, 420);
        QTest::newRow("Page Setup changes a file's page")
            << QStringList{"open A5", "portrait"} << false << QSize(420, 595);
        QTest::newRow("cancelled on a file's page")
            << QStringList{"open A5", "cancel portrait"} << true << QSize(595, 420);
        QTest::newRow("never set") << QStringList{"new"} << false << QSize();
        QTest::newRow("landscape") << QStringList{"new", "landscape"} << true << QSize();
        QTest::newRow("before any document") << QStringList{"landscape", "new"} << true << QSize();
        QTest::newRow("cancelled") << QStringList{"new", "cancel landscape"} << false << QSize();
        QTest::newRow("cancel keeps the choice")
            << QStringList{"landscape", "new", "cancel portrait"} << true << QSize();
        QTest::newRow("changed back") << QStringList{"landscape", "new", "portrait"} << false << QSize();
    }
    void pageSetupIsUsedByPrint()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, landscape);
        QFETCH(QSize, box);
        test::ScriptedDialogs dialogs;
        frmMain *w = openMain();
        const QString file = path("a5.rtf");
        QVERIFY(test::writeBytes(
            file,
            "{\\rtf1\\ansi\\paperw11906\\paperh8391\\margl567\\margr567\\margt567\\margb567\\landscape Spawn table}"));
        for (const QString &step : steps) {
            if (step == QLatin1String("open A5")) {
                dialogs.accept(file);
                run(w, "mnuFileOpen");
                QVERIFY(activeText(w));
                continue;
            }
            if (step == QLatin1String("new")) {
                run(w, "mnuFileNew");
                type(activeText(w), QStringLiteral("Wide table of spawn points"));
                continue;
            }
            const auto orientation =
                step.endsWith(QLatin1String("landscape")) ? QPageLayout::Landscape : QPageLayout::Portrait;
            dialogs.choose = [orientation](QPrinter *printer) { printer->setPageOrientation(orientation); };
            if (step.startsWith(QLatin1String("cancel")))
                dialogs.cancel();
            else
                dialogs.accept();
            run(w, "mnuFilePageSetup");
            QCOMPARE(dialogs.shown.last().kind, DialogRequest::PageSetup);
        }
        dialogs.choose = {};
        dialogs.printerOutput = path("out.pdf");
        dialogs.accept();
        run(w, "mnuFilePrint");
        // The page's size as the PDF gives it: wider than high when landscape.
        const QByteArray pdf = test::fileBytes(path("out.pdf"));
        const QRegularExpression mediaBox(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
        const QRegularExpressionMatch match = mediaBox.match(QString::fromLatin1(pdf));
        QVERIFY2(match.hasMatch(), pdf.left(400).constData());
        QCOMPARE(match.captured(1).toDouble() > match.captured(2).toDouble(), landscape);
        if (box.isValid())
            QCOMPARE(QSize(qRound(match.captured(1).toDouble()), qRound(match.captured(2).toDouble())), box);
        if (steps.first() == QLatin1String("open A5")) {
            // What Page Setup chose is the document's, and Save writes it.
            QCOMPARE(activeText(w)->document()->isModified(), steps.last() == QLatin1String("portrait"));
            run(w, "mnuFileSave");
            QCOMPARE(test::fileBytes(file).contains("\\landscape"), landscape);
            QVERIFY(test::fileBytes(file).contains("\\margl567"));
        }
    }

    // Edit > Undo takes back the active document's last change, typed or
    // pasted; with nothing to undo, or no document, nothing happens and
    // nothing is said.
    void undoFromTheMenu()
    {
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        run(w, "mnuEditUndo");
        run(w, "mnuFileNew");
        RichTextBox *box = activeText(w);
        run(w, "mnuEditUndo");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("spawn"));
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("axis"));
        QCOMPARE(box->toPlainText(), QStringLiteral("spawn\naxis"));
        QGuiApplication::clipboard()->setText(QStringLiteral(" allies"));
        run(w, "mnuEditPaste");
        QCOMPARE(box->toPlainText(), QStringLiteral("spawn\naxis allies"));
        run(w, "mnuEditUndo");
        QCOMPARE(box->toPlainText(), QStringLiteral("spawn\naxis"));
        while (box->document()->isUndoAvailable())
            run(w, "mnuEditUndo");
        QCOMPARE(box->toPlainText(), QString());
        run(w, "mnuEditUndo");
        QCOMPARE(box->toPlainText(), QString());
        QCOMPARE(messages.shown.size(), 0);
    }

    // Cut and Paste carry the text as RTF, keeping bold, italic and the font.
    void cutAndPasteKeepFormatting()
    {
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        QTextCharFormat bold, italic, mono;
        bold.setFontWeight(QFont::Bold);
        italic.setFontItalic(true);
        mono.setFontFamilies({QStringLiteral("Courier New")});
        QTextCursor c = activeText(w)->textCursor();
        c.insertText(QStringLiteral("plain "));
        c.insertText(QStringLiteral("bold "), bold);
        c.insertText(QStringLiteral("italic "), italic);
        c.insertText(QStringLiteral("mono"), mono);
        activeText(w)->selectAll();
        run(w, "mnuEditCut");
        QVERIFY(QGuiApplication::clipboard()->mimeData()->text().startsWith(QLatin1String("{\\rtf")));
        QVERIFY(activeText(w)->toPlainText().isEmpty());

        run(w, "mnuFileNew");
        run(w, "mnuEditPaste");
        QTextEdit *to = activeText(w);
        QCOMPARE(to->toPlainText(), QStringLiteral("plain bold italic mono"));
        QCOMPARE(formatOf(to, "plain").fontWeight(), int(QFont::Normal));
        QCOMPARE(formatOf(to, "bold").fontWeight(), int(QFont::Bold));
        QVERIFY(formatOf(to, "italic").fontItalic() && !formatOf(to, "bold").fontItalic());
        QCOMPARE(formatOf(to, "mono").fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
    }

    // Changed text is asked about before a document window, the main window
    // or the program (File > Exit) goes; Exit closes no window on the way and
    // stores no placement.
    void unsavedTextIsAskedAbout_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveAccepted"); // the Save dialog that follows Save
        QTest::addColumn<bool>("ends");
        QTest::newRow("close box, discard") << "close box" << int(QMessageBox::Discard) << false << true;
        QTest::newRow("close box, cancel") << "close box" << int(QMessageBox::Cancel) << false << false;
        QTest::newRow("close box, save") << "close box" << int(QMessageBox::Save) << true << true;
        QTest::newRow("close box, save cancelled") << "close box" << int(QMessageBox::Save) << false << false;
        QTest::newRow("main window, discard") << "main window" << int(QMessageBox::Discard) << false << true;
        QTest::newRow("main window, cancel") << "main window" << int(QMessageBox::Cancel) << false << false;
        QTest::newRow("Exit, cancel") << "Exit" << int(QMessageBox::Cancel) << false << false;
        QTest::newRow("Exit, save") << "Exit" << int(QMessageBox::Save) << true << true;
    }
    void unsavedTextIsAskedAbout()
    {
        QFETCH(QString, way);
        QFETCH(int, answer);
        QFETCH(bool, saveAccepted);
        QFETCH(bool, ends);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        messages.answers.push_back(Button(answer));
        saveAccepted ? dialogs.accept(path("closing.rtf")) : dialogs.cancel();
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(activeText(w), QStringLiteral("work"));
        bool ended = false;
        if (way == QLatin1String("close box")) {
            ended = w->mdiArea()->activeSubWindow()->close();
        } else if (way == QLatin1String("main window")) {
            ended = w->close();
        } else {
            QObject guard; // a program that runs on is stopped with code 2
            QTimer::singleShot(0, w, [w] { run(w, "mnuFileExit"); });
            QTimer::singleShot(300, &guard, [] { QCoreApplication::exit(2); });
            ended = test::runEventLoop() == 0;
            QVERIFY(w->isVisible());
            QCOMPARE(captions(w).size(), 1);
        }
        QCOMPARE(ended, ends);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.contains(QLatin1String("Tavrin Document 1")));
        QCOMPARE(messages.shown[0].buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(messages.shown[0].icon, QMessageBox::Question);
        QCOMPARE(readText(path("closing.rtf")), saveAccepted ? "work" : "<unreadable>");
        if (!ended)
            QCOMPARE(activeText(w)->toPlainText(), QStringLiteral("work"));
        // Only the main window's own close stores its placement (a save stores the recent files).
        QCOMPARE(!m_settings->stored("MainLeft").isEmpty(), way == QLatin1String("main window") && ended);
    }
};

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"

// The document windows and the main window's File and Edit commands on them.
#include "frmDocument.h"
#include "frmMain.h"
#include "registerwindows.h"
#include "richtextbox.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace tavrin;
using Button = QMessageBox::StandardButton;

namespace {
frmMain *openMain() { return qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main)); }
void run(frmMain *w, const char *item) { w->menuItem(QString::fromLatin1(item))->trigger(); }
RichTextBox *activeText(frmMain *w) { return w->activeDocument()->textBox(); }

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

    void fileFailuresLeaveEverythingAsItWas_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target"); // a name in the test folder
        QTest::newRow("open missing") << "mnuFileOpen" << "missing.rtf";
        QTest::newRow("open not rtf") << "mnuFileOpen" << "plain.txt";
        QTest::newRow("save into no folder") << "mnuFileSave" << "none/x.rtf";
        QTest::newRow("save as onto a folder") << "mnuFileSaveAs" << "folder";
    }
    void fileFailuresLeaveEverythingAsItWas()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QVERIFY(QDir(m_dir->path()).mkdir("folder") && test::writeBytes(path("plain.txt"), "just words"));
        const QString file = m_dir->filePath(target);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(activeText(w), QStringLiteral("unsaved work"));
        dialogs.accept(file);
        w->menuItem(command)->trigger();
        // One message, naming the file; Open asks nothing about the old text
        // before it knows the file can replace it.
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].text.contains(QDir::toNativeSeparators(file)), qPrintable(messages.shown[0].text));
        QCOMPARE(messages.shown[0].icon, QMessageBox::Critical);
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1"}));
        QCOMPARE(activeText(w)->toPlainText(), QStringLiteral("unsaved work"));
        QVERIFY(w->activeDocument()->isChanged());
        QCOMPARE(test::fileBytes(path("plain.txt")), "just words");
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"folder", "plain.txt"}));
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

    void undoIsNotWritten()
    {
        test::ScriptedMessages messages;
        run(openMain(), "mnuEditUndo");
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].title + '|' + messages.shown[0].text, QStringLiteral("Tavrin|Add 'mnuEditUndo_Click' code."));
        QCOMPARE(messages.shown[0].icon, QMessageBox::NoIcon);
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
        QCOMPARE(QFile::exists(m_settings->file()), way == QLatin1String("main window") && ended);
    }
};

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"

// The document windows and the main window's File and Edit commands on them.
#include "frmDocument.h"
#include "frmMain.h"
#include "registerwindows.h"
#include "richtextbox.h"
#include "testsupport.h"
#include "twips.h"
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
#include <QToolBar>

using namespace tavrin;
using Button = QMessageBox::StandardButton;

namespace {
frmMain *openMain() { return qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main)); }
void run(frmMain *w, const char *item) { w->menuItem(QString::fromLatin1(item))->trigger(); }
RichTextBox *activeText(frmMain *w) { return w->activeDocument()->textBox(); }
QMdiSubWindow *windowOf(frmDocument *d) { return qobject_cast<QMdiSubWindow *>(d->parentWidget()); }

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

// "plain bold italic mono", each word but the first in its own format.
void writeFormatted(QTextEdit *box)
{
    QTextCharFormat bold, italic, mono;
    bold.setFontWeight(QFont::Bold);
    italic.setFontItalic(true);
    mono.setFontFamilies({QStringLiteral("Courier New")});
    QTextCursor c = box->textCursor();
    c.insertText(QStringLiteral("plain "));
    c.insertText(QStringLiteral("bold"), bold);
    c.insertText(QStringLiteral(" "), {});
    c.insertText(QStringLiteral("italic"), italic);
    c.insertText(QStringLiteral(" "), {});
    c.insertText(QStringLiteral("mono"), mono);
}

QTextCharFormat formatOf(QTextEdit *box, const char *word)
{
    QTextCursor c(box->document());
    c.setPosition(int(box->toPlainText().indexOf(QLatin1String(word))) + 1);
    return c.charFormat();
}

void checkFormats(QTextEdit *box)
{
    QCOMPARE(formatOf(box, "plain").fontWeight(), int(QFont::Normal));
    QCOMPARE(formatOf(box, "bold").fontWeight(), int(QFont::Bold));
    QVERIFY(formatOf(box, "italic").fontItalic() && !formatOf(box, "bold").fontItalic());
    QCOMPARE(formatOf(box, "mono").fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
}

QString readText(const QString &path)
{
    RichTextBox box;
    return box.LoadFile(path).ok ? box.toPlainText() : QStringLiteral("<unreadable>");
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
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
        QCOMPARE(w->activeDocument()->findChild<QTextEdit *>(QStringLiteral("rtfText")), activeText(w));
    }

    void textBoxKeepsItsMargins_data()
    {
        QTest::addColumn<QSize>("size"); // the document window's inside, in twips
        QTest::addColumn<bool>("fits");
        QTest::newRow("roomy") << QSize(6000, 4000) << true;
        QTest::newRow("too narrow") << QSize(150, 4000) << false;
        QTest::newRow("too low") << QSize(6000, 120) << false;
    }
    void textBoxKeepsItsMargins()
    {
        QFETCH(QSize, size);
        QFETCH(bool, fits);
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        frmDocument *d = w->activeDocument();
        const double dpiX = d->logicalDpiX(), dpiY = d->logicalDpiY();
        d->resize(twipsToPixels(3000, dpiX), twipsToPixels(3000, dpiY));
        const QRect before = activeText(w)->geometry();
        const int wrapBefore = activeText(w)->lineWrapColumnOrWidth();
        d->resize(twipsToPixels(size.width(), dpiX), twipsToPixels(size.height(), dpiY));
        const double width = pixelsToTwips(d->width(), dpiX) - 200;
        const QRect expected(twipsToPixels(100, dpiX), twipsToPixels(100, dpiY), twipsToPixels(width, dpiX),
                             twipsToPixels(pixelsToTwips(d->height(), dpiY) - 200, dpiY));
        QCOMPARE(activeText(w)->geometry(), fits ? expected : before);
        QCOMPARE(activeText(w)->lineWrapColumnOrWidth(), fits ? twipsToPixels(width - 400, dpiX) : wrapBefore);
    }

    void openCancelledLeavesTheNewDocument()
    {
        test::ScriptedDialogs dialogs;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        windowOf(w->activeDocument())->close();
        QTRY_VERIFY(!w->activeDocument());
        run(w, "mnuFileOpen"); // cancelled
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, DialogRequest::Open);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("Open"));
        QCOMPARE(dialogs.shown[0].filter, QStringLiteral("All Files (*.*)|*.*"));
        QCOMPARE(captions(w), QStringList({"Tavrin Document 2"}));
        QVERIFY(activeText(w)->toPlainText().isEmpty());
    }

    void saveUntitledThenSaveAsThenSave()
    {
        test::ScriptedDialogs dialogs;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        writeFormatted(activeText(w));
        // An untitled document stays untitled: each Save asks for a name.
        dialogs.accept(path("a.rtf"));
        run(w, "mnuFileSave");
        run(w, "mnuFileSave"); // cancelled
        QCOMPARE(readText(path("a.rtf")), QStringLiteral("plain bold italic mono"));
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1"}));
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown[1].title, QStringLiteral("Save"));
        QCOMPARE(dialogs.shown[1].fileName, path("a.rtf")); // the name carries over
        // After Save As the caption is the file, and Save writes there unasked.
        dialogs.accept(path("b.rtf"));
        run(w, "mnuFileSaveAs");
        QCOMPARE(dialogs.shown[2].title, QStringLiteral("Save As"));
        QCOMPARE(captions(w), QStringList({path("b.rtf")}));
        activeText(w)->moveCursor(QTextCursor::End);
        activeText(w)->insertPlainText(QStringLiteral(" more"));
        run(w, "mnuFileSave");
        QCOMPARE(dialogs.shown.size(), 3);
        QVERIFY(!w->activeDocument()->isChanged());
        // Opened in a new window, the text comes back with its formatting.
        run(w, "mnuFileNew");
        dialogs.accept(path("b.rtf"));
        run(w, "mnuFileOpen");
        QCOMPARE(captions(w), QStringList({path("b.rtf"), path("b.rtf")}));
        QCOMPARE(activeText(w)->toPlainText(), QStringLiteral("plain bold italic mono more"));
        checkFormats(activeText(w));
    }

    void fileFailuresLeaveEverythingAsItWas_data()
    {
        QTest::addColumn<QString>("command"); // a menu item, or a toolbar key
        QTest::addColumn<QString>("target");  // a name in the test folder
        QTest::addColumn<QString>("holds");   // what is there first
        QTest::newRow("open missing") << "mnuFileOpen" << "missing.rtf" << "";
        QTest::newRow("open not rtf") << "mnuFileOpen" << "plain.txt" << "just words";
        QTest::newRow("open a folder") << "mnuFileOpen" << "folder" << "folder";
        QTest::newRow("open unreadable") << "mnuFileOpen" << "locked.rtf" << "unreadable";
        QTest::newRow("save into no folder") << "mnuFileSave" << "none/x.rtf" << "";
        QTest::newRow("save onto a folder") << "mnuFileSave" << "folder" << "folder";
        QTest::newRow("save as read-only") << "mnuFileSaveAs" << "kept.rtf" << "read-only";
        QTest::newRow("toolbar save") << "Save" << "none/x.rtf" << "";
    }
    void fileFailuresLeaveEverythingAsItWas()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QFETCH(QString, holds);
        const QString file = m_dir->filePath(target);
        if (holds == QLatin1String("folder")) {
            QVERIFY(QDir(m_dir->path()).mkdir(target));
        } else if (!holds.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(holds == QLatin1String("just words") ? "just words" : "{\\rtf1 kept}") > 0);
            f.close();
            if (holds != QLatin1String("just words")) {
                QFile::setPermissions(file, holds == QLatin1String("read-only") ? QFile::ReadOwner : QFile::Permissions());
                if (QFileInfo(file).isWritable())
                    QSKIP("file permissions do not bind this user");
            }
        }
        const QByteArray before = bytesOf(file);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(activeText(w), QStringLiteral("unsaved work"));
        dialogs.accept(file);
        QAction *a = w->menuItem(command);
        (a ? a : w->findChild<QToolBar *>(QStringLiteral("tbToolBar"))->findChild<QAction *>(command))->trigger();

        // One message, naming the file; Open asks nothing about the old text
        // before it knows the file can replace it.
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].text.contains(QDir::toNativeSeparators(file)), qPrintable(messages.shown[0].text));
        QCOMPARE(messages.shown[0].icon, QMessageBox::Critical);
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1"}));
        QCOMPARE(activeText(w)->toPlainText(), QStringLiteral("unsaved work"));
        QVERIFY(w->activeDocument()->isChanged());
        QCOMPARE(bytesOf(file), before);
    }

    void openAsksBeforeReplacingChangedText()
    {
        RichTextBox source;
        source.setPlainText(QStringLiteral("from file"));
        QVERIFY(source.SaveFile(path("in.rtf")).ok);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(activeText(w), QStringLiteral("draft"));
        for (Button answer : {QMessageBox::Cancel, QMessageBox::Discard}) {
            dialogs.accept(path("in.rtf"));
            messages.answers.push_back(answer);
            run(w, "mnuFileOpen");
            QCOMPARE(activeText(w)->toPlainText(), answer == QMessageBox::Cancel ? "draft" : "from file");
        }
        QCOMPARE(messages.shown.size(), 2);
    }

    void commandsWithoutADocumentDoNothing_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *c : {"mnuFileSave", "mnuFileSaveAs", "mnuFilePrint", "mnuEditCut", "mnuEditCopy", "mnuEditPaste"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void commandsWithoutADocumentDoNothing()
    {
        QFETCH(QString, command);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        frmMain *w = openMain();
        w->menuItem(command)->trigger();
        QVERIFY(dialogs.shown.isEmpty() && messages.shown.isEmpty() && captions(w).isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
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
        run(w, "mnuFileOpen"); // cancelled; Print's flags are still set
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown[0].kind, DialogRequest::Printer);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("Print"));
        QCOMPARE(dialogs.shown[0].flags, flags);
        QCOMPARE(dialogs.shown[1].flags, flags);
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

    void pageSetupAndUndo()
    {
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        run(w, "mnuFilePageSetup");
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, DialogRequest::PageSetup);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("Page Setup"));
        run(w, "mnuEditUndo");
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QStringLiteral("Add 'mnuEditUndo_Click' code."));
        QCOMPARE(messages.shown[0].title, QStringLiteral("Tavrin"));
        QCOMPARE(messages.shown[0].icon, QMessageBox::NoIcon);
    }

    void copyAndPasteKeepFormatting_data()
    {
        QTest::addColumn<bool>("byKeys"); // Ctrl+C and Ctrl+V in the text box, or the menu
        QTest::addColumn<bool>("cut");
        QTest::newRow("menu copy") << false << false;
        QTest::newRow("menu cut") << false << true;
        QTest::newRow("keys") << true << false;
    }
    void copyAndPasteKeepFormatting()
    {
        QFETCH(bool, byKeys);
        QFETCH(bool, cut);
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        RichTextBox *from = activeText(w);
        writeFormatted(from);
        from->selectAll();
        if (byKeys)
            QTest::keyClick(from, Qt::Key_C, Qt::ControlModifier);
        else
            run(w, cut ? "mnuEditCut" : "mnuEditCopy");
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data->text().startsWith(QLatin1String("{\\rtf")));
        QVERIFY(data->hasHtml());
        QCOMPARE(from->toPlainText().isEmpty(), cut);

        run(w, "mnuFileNew");
        type(activeText(w), QStringLiteral("<>"));
        select(activeText(w), QStringLiteral("<>"));
        if (byKeys)
            QTest::keyClick(activeText(w), Qt::Key_V, Qt::ControlModifier);
        else
            run(w, "mnuEditPaste");
        QCOMPARE(activeText(w)->toPlainText(), QStringLiteral("plain bold italic mono"));
        checkFormats(activeText(w));
    }

    void pasteOfOtherTextAndCopyOfNothing()
    {
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        const QString words = QStringLiteral("{\\rtx is not \\b markup}");
        QGuiApplication::clipboard()->setText(words);
        run(w, "mnuEditPaste");
        QCOMPARE(activeText(w)->toPlainText(), words);
        // Without a selection, Copy and Cut leave the clipboard as it was.
        run(w, "mnuEditCopy");
        run(w, "mnuEditCut");
        QCOMPARE(QGuiApplication::clipboard()->text(), words);
    }

    void closeBoxAsksAboutChangedText_data()
    {
        QTest::addColumn<QList<int>>("answers"); // the question, then the Save dialog
        QTest::addColumn<bool>("closes");
        QTest::newRow("discard") << QList<int>{QMessageBox::Discard} << true;
        QTest::newRow("cancel") << QList<int>{QMessageBox::Cancel} << false;
        QTest::newRow("save") << QList<int>{QMessageBox::Save, QMessageBox::Ok} << true;
        QTest::newRow("save cancelled") << QList<int>{QMessageBox::Save, QMessageBox::Cancel} << false;
    }
    void closeBoxAsksAboutChangedText()
    {
        QFETCH(QList<int>, answers);
        QFETCH(bool, closes);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        messages.answers.push_back(Button(answers[0]));
        if (answers.value(1) == QMessageBox::Ok)
            dialogs.accept(path("closing.rtf"));
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(activeText(w), QStringLiteral("work"));
        QCOMPARE(windowOf(w->activeDocument())->close(), closes);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.contains(QLatin1String("Tavrin Document 1")));
        QCOMPARE(messages.shown[0].buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(messages.shown[0].icon, QMessageBox::Question);
        QCOMPARE(readText(path("closing.rtf")), answers.value(1) == QMessageBox::Ok ? "work" : "<unreadable>");
        QTRY_COMPARE(captions(w).size(), closes ? 0 : 1);
        if (!closes) // unchanged afterwards
            QCOMPARE(activeText(w)->toPlainText(), QStringLiteral("work"));
    }

    void mainWindowCloseAsksAndCanBeStopped()
    {
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        for (const char *text : {"one", "", "three"}) {
            run(w, "mnuFileNew");
            if (*text)
                type(activeText(w), QString::fromLatin1(text));
        }
        // Discard the first; the unchanged second goes unasked; cancel at the
        // third: the main window stays open and stores no placement.
        messages.answers = {QMessageBox::Discard, QMessageBox::Cancel};
        QVERIFY(!w->close());
        QTRY_COMPARE(captions(w), QStringList({"Tavrin Document 3"}));
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY(!QFile::exists(m_settings->file()));
        messages.answers = {QMessageBox::Discard};
        QVERIFY(w->close());
        QVERIFY(QFile::exists(m_settings->file()));
    }

    void exitAsksAndStoresNothing_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::newRow("changed text") << true;
        QTest::newRow("no changes") << false;
    }
    void exitAsksAndStoresNothing()
    {
        QFETCH(bool, changed);
        test::ScriptedMessages messages;
        test::ScriptedDialogs dialogs;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        if (changed)
            type(activeText(w), QStringLiteral("work"));
        // The first Exit is cancelled at the question and the program runs on;
        // the second saves and ends it. No window is closed on the way.
        messages.answers = {QMessageBox::Cancel, QMessageBox::Save};
        dialogs.accept(path("exit.rtf"));
        QTimer::singleShot(0, w, [w] { run(w, "mnuFileExit"); });
        QTimer::singleShot(50, w, [w] { run(w, "mnuFileExit"); });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(messages.shown.size(), changed ? 2 : 0);
        QCOMPARE(readText(path("exit.rtf")), changed ? "work" : "<unreadable>");
        QVERIFY(w->isVisible());
        QCOMPARE(captions(w).size(), 1);
        QVERIFY(!QFile::exists(m_settings->file()));
    }
};

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"

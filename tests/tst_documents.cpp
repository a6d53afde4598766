// The document windows and the main window's File and Edit commands on them.
#include "frmDocument.h"
#include "frmMain.h"
#include "processend.h"
#include "registerwindows.h"
#include "richtextbox.h"
#include "settingsstore.h"
#include "testsupport.h"
#include "twips.h"
#include "windowregistry.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>

using namespace tavrin;

namespace {
const QString allFiles = QStringLiteral("All Files (*.*)|*.*");

frmMain *openMain()
{
    return qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main));
}

void run(frmMain *w, const char *item)
{
    w->menuItem(QString::fromLatin1(item))->trigger();
}

QList<frmDocument *> documents(frmMain *w)
{
    QList<frmDocument *> out;
    for (QMdiSubWindow *sub : w->mdiArea()->subWindowList(QMdiArea::CreationOrder))
        out << qobject_cast<frmDocument *>(sub->widget());
    return out;
}

QStringList captions(frmMain *w)
{
    QStringList out;
    for (QMdiSubWindow *sub : w->mdiArea()->subWindowList(QMdiArea::CreationOrder))
        out << sub->windowTitle();
    return out;
}

QMdiSubWindow *windowOf(frmDocument *d)
{
    return qobject_cast<QMdiSubWindow *>(d->parentWidget());
}

// Replaces the text as typing does (setPlainText would mark it unchanged).
void type(QTextEdit *box, const QString &text)
{
    QTextCursor c(box->document());
    c.select(QTextCursor::Document);
    c.insertText(text);
    box->setTextCursor(c);
}

// Writes "plain bold italic mono" with the middle words formatted.
void writeFormatted(RichTextBox *box)
{
    QTextCursor c = box->textCursor();
    c.insertText(QStringLiteral("plain "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("bold"), bold);
    c.insertText(QStringLiteral(" "), QTextCharFormat());
    QTextCharFormat italic;
    italic.setFontItalic(true);
    c.insertText(QStringLiteral("italic"), italic);
    c.insertText(QStringLiteral(" "), QTextCharFormat());
    QTextCharFormat mono;
    mono.setFontFamilies({QStringLiteral("Courier New")});
    c.insertText(QStringLiteral("mono"), mono);
}

// The format of the character just after the first occurrence of word.
QTextCharFormat formatOf(RichTextBox *box, const QString &word)
{
    const int at = box->toPlainText().indexOf(word);
    if (at < 0)
        return {};
    QTextCursor c(box->document());
    c.setPosition(at + 1);
    return c.charFormat();
}

void checkFormats(RichTextBox *box)
{
    QCOMPARE(formatOf(box, QStringLiteral("bold")).fontWeight(), int(QFont::Bold));
    QVERIFY(!formatOf(box, QStringLiteral("bold")).fontItalic());
    QVERIFY(formatOf(box, QStringLiteral("italic")).fontItalic());
    QCOMPARE(formatOf(box, QStringLiteral("italic")).fontWeight(), int(QFont::Normal));
    QCOMPARE(formatOf(box, QStringLiteral("mono")).fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
    QCOMPARE(formatOf(box, QStringLiteral("plain")).fontWeight(), int(QFont::Normal));
}

void select(RichTextBox *box, const QString &word)
{
    QTextCursor c(box->document());
    const int at = box->toPlainText().indexOf(word);
    c.setPosition(at);
    c.setPosition(at + int(word.size()), QTextCursor::KeepAnchor);
    box->setTextCursor(c);
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

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
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
        run(w, "mnuFileNew");
        run(w, "mnuFileNew");
        run(w, "mnuFileNew");
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1", "Tavrin Document 2", "Tavrin Document 3"}));
        QCOMPARE(w->activeDocument(), documents(w).at(2));
        QVERIFY(windowOf(documents(w).at(1))->close());
        QTRY_COMPARE(documents(w).size(), 2);
        run(w, "mnuFileNew");
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1", "Tavrin Document 3", "Tavrin Document 4"}));
        QCOMPARE(w->documentCounter(), 4);

        frmDocument *d = w->activeDocument();
        QCOMPARE(d->objectName(), QStringLiteral("frmDocument"));
        QCOMPARE(d->findChild<QTextEdit *>(QStringLiteral("rtfText")), d->textBox());
        QCOMPARE(d->textBox()->lineWrapMode(), QTextEdit::FixedPixelWidth);
        QVERIFY(!w->findChild<QWidget *>(QStringLiteral("frmDocument"))->isWindow());
    }

    void textBoxKeepsItsMargins_data()
    {
        QTest::addColumn<QSize>("size"); // of the document window's inside, in twips
        QTest::addColumn<bool>("fits");
        QTest::newRow("roomy") << QSize(6000, 4000) << true;
        QTest::newRow("just the margins") << QSize(600, 300) << true;
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
        RichTextBox *box = d->textBox();
        const double dpiX = d->logicalDpiX(), dpiY = d->logicalDpiY();
        // The first layout, for a window of the usual size, is kept when the new one cannot fit.
        d->resize(twipsToPixels(3000, dpiX), twipsToPixels(3000, dpiY));
        const QRect before = box->geometry();
        const int wrapBefore = box->lineWrapColumnOrWidth();
        d->resize(twipsToPixels(size.width(), dpiX), twipsToPixels(size.height(), dpiY));
        if (!fits) {
            QCOMPARE(box->geometry(), before);
            QCOMPARE(box->lineWrapColumnOrWidth(), wrapBefore);
            return;
        }
        const double wTw = pixelsToTwips(d->width(), dpiX) - 200;
        const double hTw = pixelsToTwips(d->height(), dpiY) - 200;
        QCOMPARE(box->geometry(), QRect(twipsToPixels(100, dpiX), twipsToPixels(100, dpiY),
                                        twipsToPixels(wTw, dpiX), twipsToPixels(hTw, dpiY)));
        if (wTw > 400)
            QCOMPARE(box->lineWrapColumnOrWidth(), twipsToPixels(wTw - 400, dpiX));
    }

    void openCancelledLeavesTheNewDocument()
    {
        test::ScriptedDialogs dialogs;
        frmMain *w = openMain();
        run(w, "mnuFileNew"); // closed again below, so the counter has moved on
        windowOf(w->activeDocument())->close();
        QTRY_VERIFY(!w->activeDocument());
        dialogs.cancel();
        run(w, "mnuFileOpen");
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, DialogRequest::Open);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("Open"));
        QCOMPARE(dialogs.shown[0].filter, allFiles);
        QCOMPARE(captions(w), QStringList({"Tavrin Document 2"}));
        QVERIFY(w->activeDocument()->textBox()->toPlainText().isEmpty());
        // An empty, unchanged document closes without a question.
        test::ScriptedMessages messages;
        QVERIFY(windowOf(w->activeDocument())->close());
        QVERIFY(messages.shown.isEmpty());
    }

    void saveOnUntitledAsksEveryTime()
    {
        test::ScriptedDialogs dialogs;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        writeFormatted(w->activeDocument()->textBox());
        dialogs.accept(path("notes.rtf"));
        run(w, "mnuFileSave");
        QCOMPARE(readText(path("notes.rtf")), QStringLiteral("plain bold italic mono"));
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1"}));
        QVERIFY(!w->activeDocument()->isChanged());
        dialogs.cancel();
        run(w, "mnuFileSave");
        QCOMPARE(dialogs.shown.size(), 2);
        for (const DialogRequest &r : dialogs.shown) {
            QCOMPARE(r.kind, DialogRequest::Save);
            QCOMPARE(r.title, QStringLiteral("Save"));
            QCOMPARE(r.filter, allFiles);
        }
        QCOMPARE(dialogs.shown[1].fileName, path("notes.rtf")); // carried over
    }

    void saveAsThenSaveNeedsNoDialog()
    {
        test::ScriptedDialogs dialogs;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        RichTextBox *box = w->activeDocument()->textBox();
        type(box, QStringLiteral("first"));
        dialogs.accept(path("a.rtf"));
        run(w, "mnuFileSaveAs");
        QCOMPARE(dialogs.shown.at(0).title, QStringLiteral("Save As"));
        QCOMPARE(captions(w), QStringList({path("a.rtf")}));
        type(box, QStringLiteral("second"));
        run(w, "mnuFileSave");
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(readText(path("a.rtf")), QStringLiteral("second"));

        // Opened again in a new window, the text keeps its formatting.
        writeFormatted(box);
        run(w, "mnuFileSave");
        run(w, "mnuFileNew");
        dialogs.accept(path("a.rtf"));
        run(w, "mnuFileOpen");
        QCOMPARE(captions(w), QStringList({path("a.rtf"), path("a.rtf")}));
        RichTextBox *reopened = w->activeDocument()->textBox();
        QCOMPARE(reopened->toPlainText(), QStringLiteral("secondplain bold italic mono"));
        checkFormats(reopened);
        QVERIFY(!w->activeDocument()->isChanged());
    }

    void openReadsOtherProgramsFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text"); // a part of the text shown
        QTest::newRow("LibreOffice") << "LibreOffice-sample.rtf" << "Plain, bold, italic, underlined and struck words.";
        QTest::newRow("junk after the end") << "RtfParserTest_fail_1.rtf" << "Hello world in {RTF}";
    }
    void openReadsOtherProgramsFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, text);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        const QString source = QStringLiteral(TAVRIN_TEST_DATA "/rtf/") + file;
        dialogs.accept(source);
        run(w, "mnuFileOpen");
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(captions(w), QStringList({QFileInfo(source).absoluteFilePath()}));
        QVERIFY(w->activeDocument()->textBox()->toPlainText().contains(text));
        QVERIFY(!w->activeDocument()->isChanged());
    }

    void fileFailuresLeaveEverythingAsItWas_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target"); // a file name in the test folder
        QTest::addColumn<QString>("setUp");  // what the folder holds first
        QTest::newRow("open missing") << "mnuFileOpen" << "missing.rtf" << "";
        QTest::newRow("open not rtf") << "mnuFileOpen" << "plain.txt" << "text";
        QTest::newRow("open a folder") << "mnuFileOpen" << "folder" << "folder";
        QTest::newRow("open unreadable") << "mnuFileOpen" << "locked.rtf" << "unreadable";
        QTest::newRow("save into no folder") << "mnuFileSave" << "none/x.rtf" << "";
        QTest::newRow("save onto a folder") << "mnuFileSave" << "folder" << "folder";
        QTest::newRow("save as into no folder") << "mnuFileSaveAs" << "none/x.rtf" << "";
        QTest::newRow("save as read-only") << "mnuFileSaveAs" << "kept.rtf" << "read-only";
    }
    void fileFailuresLeaveEverythingAsItWas()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QFETCH(QString, setUp);
        const QString file = m_dir->filePath(target);
        QByteArray before = "<missing>";
        if (setUp == QLatin1String("folder")) {
            QVERIFY(QDir(m_dir->path()).mkdir(target));
        } else if (!setUp.isEmpty()) {
            writeBytes(file, setUp == QLatin1String("text") ? QByteArray("just words\r\n") : QByteArray("{\\rtf1 kept}"));
            if (setUp == QLatin1String("unreadable"))
                QFile::setPermissions(file, {});
            if (setUp == QLatin1String("read-only"))
                QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadUser);
            if ((setUp == QLatin1String("unreadable") || setUp == QLatin1String("read-only"))
                && QFileInfo(file).isWritable())
                QSKIP("file permissions do not bind this user");
            before = bytesOf(file);
        }

        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        RichTextBox *box = w->activeDocument()->textBox();
        type(box, QStringLiteral("unsaved work"));
        dialogs.accept(file);
        w->menuItem(command)->trigger();

        // Only the failure is reported: Open does not ask about the old text
        // before it knows the file can replace it.
        const QList<MessageRequest> &errors = messages.shown;
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].text.contains(QDir::toNativeSeparators(file)), qPrintable(errors[0].text));
        QCOMPARE(errors[0].icon, QMessageBox::Critical);
        QCOMPARE(errors[0].title, QStringLiteral("Tavrin"));
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1"}));
        QCOMPARE(box->toPlainText(), QStringLiteral("unsaved work"));
        if (command != QLatin1String("mnuFileOpen")) {
            QVERIFY(w->activeDocument()->isChanged());
            if (!QFileInfo(file).isDir())
                QCOMPARE(bytesOf(file), before);
        }
    }

    void openAsksBeforeReplacingChangedText_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("text");
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << "draft";
        QTest::newRow("discard") << int(QMessageBox::Discard) << "from file";
    }
    void openAsksBeforeReplacingChangedText()
    {
        QFETCH(int, answer);
        QFETCH(QString, text);
        RichTextBox source;
        source.setPlainText(QStringLiteral("from file"));
        QVERIFY(source.SaveFile(path("in.rtf")).ok);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(w->activeDocument()->textBox(), QStringLiteral("draft"));
        dialogs.accept(path("in.rtf"));
        messages.answers.push_back(QMessageBox::StandardButton(answer));
        run(w, "mnuFileOpen");
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(w->activeDocument()->textBox()->toPlainText(), text);
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
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(documents(w).isEmpty());
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
        RichTextBox *box = w->activeDocument()->textBox();
        type(box, QStringLiteral("Alpha line\nBravo line\nCharlie line"));
        if (selection)
            select(box, QStringLiteral("Bravo"));
        dialogs.accept();
        run(w, "mnuFilePrint");
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, DialogRequest::Printer);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("Print"));
        QCOMPARE(dialogs.shown[0].flags, flags);
        QVERIFY(QFileInfo(path("out.pdf")).size() > 0);

        // The flags stay set for the next dialog.
        dialogs.cancel();
        run(w, "mnuFileOpen");
        QCOMPARE(dialogs.shown[1].flags, flags);

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

    void printCancelledPrintsNothing()
    {
        test::ScriptedDialogs dialogs;
        dialogs.printerOutput = path("out.pdf");
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(w->activeDocument()->textBox(), QStringLiteral("text"));
        dialogs.cancel();
        run(w, "mnuFilePrint");
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(!QFile::exists(path("out.pdf")));
    }

    void pageSetupAndUndo()
    {
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        run(w, "mnuFilePageSetup"); // no document needed
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, DialogRequest::PageSetup);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("Page Setup"));
        run(w, "mnuEditUndo");
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QStringLiteral("Add 'mnuEditUndo_Click' code."));
        QCOMPARE(messages.shown[0].title, QStringLiteral("Tavrin"));
        QCOMPARE(messages.shown[0].icon, QMessageBox::NoIcon);
        QCOMPARE(messages.shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(documents(w).isEmpty());
    }

    void copyAndPasteKeepFormatting_data()
    {
        QTest::addColumn<bool>("byKeys"); // Ctrl+C / Ctrl+V typed in the text box, or the menu
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
        RichTextBox *from = w->activeDocument()->textBox();
        writeFormatted(from);
        from->selectAll();
        if (byKeys) {
            from->setFocus();
            QTest::keyClick(from, Qt::Key_C, Qt::ControlModifier);
        } else {
            run(w, cut ? "mnuEditCut" : "mnuEditCopy");
        }
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data->text().startsWith(QLatin1String("{\\rtf")));
        QVERIFY(data->hasHtml());
        QCOMPARE(from->toPlainText(), cut ? QString() : QStringLiteral("plain bold italic mono"));

        run(w, "mnuFileNew");
        RichTextBox *to = w->activeDocument()->textBox();
        type(to, QStringLiteral("<>"));
        select(to, QStringLiteral("<>"));
        if (byKeys) {
            to->setFocus();
            QTest::keyClick(to, Qt::Key_V, Qt::ControlModifier);
        } else {
            run(w, "mnuEditPaste");
        }
        QCOMPARE(to->toPlainText(), QStringLiteral("plain bold italic mono"));
        checkFormats(to);
    }

    void pastePlainTextAsItIs_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("words") << "just {words} \\b here";
        QTest::newRow("broken rtf opening") << "{\\rtx not rtf";
    }
    void pastePlainTextAsItIs()
    {
        QFETCH(QString, clipboard);
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        QGuiApplication::clipboard()->setText(clipboard);
        run(w, "mnuEditPaste");
        QCOMPARE(w->activeDocument()->textBox()->toPlainText(), clipboard);
    }

    void copyWithoutSelectionKeepsTheClipboard()
    {
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(w->activeDocument()->textBox(), QStringLiteral("text"));
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        run(w, "mnuEditCopy");
        run(w, "mnuEditCut");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        QCOMPARE(w->activeDocument()->textBox()->toPlainText(), QStringLiteral("text"));
    }

    void closeBoxAsksAboutChangedText_data()
    {
        QTest::addColumn<QList<int>>("answers"); // question, then the save dialog (Ok = accept)
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("discard") << QList<int>{QMessageBox::Discard} << true << false;
        QTest::newRow("cancel") << QList<int>{QMessageBox::Cancel} << false << false;
        QTest::newRow("save") << QList<int>{QMessageBox::Save, QMessageBox::Ok} << true << true;
        QTest::newRow("save, dialog cancelled") << QList<int>{QMessageBox::Save, QMessageBox::Cancel} << false << false;
    }
    void closeBoxAsksAboutChangedText()
    {
        QFETCH(QList<int>, answers);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        messages.answers.push_back(QMessageBox::StandardButton(answers[0]));
        if (answers.size() > 1) {
            if (answers[1] == QMessageBox::Ok)
                dialogs.accept(path("closing.rtf"));
            else
                dialogs.cancel();
        }
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        type(w->activeDocument()->textBox(), QStringLiteral("work"));
        QCOMPARE(windowOf(w->activeDocument())->close(), closes);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.contains(QLatin1String("Tavrin Document 1")));
        QCOMPARE(messages.shown[0].buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(messages.shown[0].icon, QMessageBox::Question);
        QCOMPARE(QFile::exists(path("closing.rtf")), saved);
        if (saved)
            QCOMPARE(readText(path("closing.rtf")), QStringLiteral("work"));
        QTRY_COMPARE(documents(w).size(), closes ? 0 : 1);
        if (!closes)
            QCOMPARE(w->activeDocument()->textBox()->toPlainText(), QStringLiteral("work"));
    }

    void mainWindowCloseAsksAndCanBeStopped()
    {
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        run(w, "mnuFileNew");
        run(w, "mnuFileNew");
        run(w, "mnuFileNew");
        type(documents(w)[0]->textBox(), QStringLiteral("one"));
        type(documents(w)[2]->textBox(), QStringLiteral("three"));
        QTRY_VERIFY(w->isVisible());

        // Discard the first; the unchanged second goes without a question;
        // cancel at the third: the main window stays, and stores no placement.
        messages.answers = {QMessageBox::Discard, QMessageBox::Cancel};
        QVERIFY(!w->close());
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY(messages.shown[1].text.contains(QLatin1String("Tavrin Document 3")));
        QTRY_COMPARE(captions(w), QStringList({"Tavrin Document 3"}));
        QCOMPARE(documents(w)[0]->textBox()->toPlainText(), QStringLiteral("three"));
        QVERIFY(w->isVisible());
        QVERIFY(!QFile::exists(m_settings->file()));

        messages.answers = {QMessageBox::Discard};
        QVERIFY(w->close());
        QCOMPARE(messages.shown.size(), 3);
        QSettings stored(m_settings->file(), QSettings::IniFormat);
        QVERIFY(stored.contains(QStringLiteral("Settings/MainLeft")));
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
            type(w->activeDocument()->textBox(), QStringLiteral("work"));
        // The first Exit is cancelled at the question and the program runs on;
        // the second saves and ends it. No window is closed on the way.
        messages.answers = {QMessageBox::Cancel, QMessageBox::Save};
        dialogs.accept(path("exit.rtf"));
        QTimer::singleShot(0, w, [w] { run(w, "mnuFileExit"); });
        QTimer::singleShot(50, w, [w] { run(w, "mnuFileExit"); });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(messages.shown.size(), changed ? 2 : 0);
        QCOMPARE(QFile::exists(path("exit.rtf")), changed);
        QVERIFY(w->isVisible());
        QCOMPARE(documents(w).size(), 1);
        QVERIFY(!QFile::exists(m_settings->file()));
    }

    void toolbarShowsFailuresToo()
    {
        // A failed save from the toolbar is reported as from the menu: a
        // button that silently did not save would look like one that did.
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        auto *bar = w->findChild<QToolBar *>(QStringLiteral("tbToolBar"));
        dialogs.cancel();
        bar->findChild<QAction *>(QStringLiteral("Open"))->trigger();
        QCOMPARE(captions(w), QStringList({"Tavrin Document 1"}));
        type(w->activeDocument()->textBox(), QStringLiteral("x"));
        dialogs.accept(path("none/x.rtf"));
        bar->findChild<QAction *>(QStringLiteral("Save"))->trigger();
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.contains(QLatin1String("x.rtf")));
    }
};

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"

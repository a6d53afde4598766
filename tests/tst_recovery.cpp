// Recent files, files from outside (the command line, drops) and the
// documents kept against a crash.
#include "frmDocument.h"
#include "frmMain.h"
#include "recovery.h"
#include "registerwindows.h"
#include "richtextbox.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QTest>
#include <QTextDocument>
#include <QUrl>

#include <csignal>

using namespace tavrin;
using Button = QMessageBox::StandardButton;

namespace {
frmMain *openMain()
{
    return qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main));
}
void run(frmMain *w, const QString &item)
{
    w->menuItem(item)->trigger();
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

// The File menu's recent files as shown: "caption|tool tip" of each visible one.
QStringList recentItems(frmMain *w)
{
    QStringList out;
    for (int i = 1; i <= 8; ++i) {
        QAction *a = w->menuItem(QStringLiteral("mnuFileRecent%1").arg(i));
        if (a->isVisible())
            out << a->text() + QLatin1Char('|') + a->toolTip();
    }
    return out;
}

QByteArray rtfOf(const char *text)
{
    return QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard ") + text + "\\par}";
}

void typeInto(QTextEdit *box, const QString &text)
{
    QTextCursor c(box->document());
    c.movePosition(QTextCursor::End);
    c.insertText(text);
}

// The kept texts under the recovery folder, as "folder/file".
QStringList keptFiles(const QString &base)
{
    QStringList out;
    for (const QString &folder : QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString &f : QDir(base + QLatin1Char('/') + folder).entryList({"*.rtf"}, QDir::Files))
            out << folder + QLatin1Char('/') + f;
    return out;
}

// Runs xdotool and answers what it printed.
QString xdo(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The shown window of the program's with this exact title; empty while
// there is none. (xdotool's own name search also matches the window class.)
QString windowOf(const QProcess &program, const QString &title)
{
    const QString ids = xdo({"search", "--onlyvisible", "--pid", QString::number(program.processId()), "--name", ""});
    for (const QString &id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (xdo({"getwindowname", id}) == title)
            return id;
    }
    return {};
}

QString plainText(const QString &rtfFile)
{
    RichTextBox box;
    return box.LoadFile(rtfFile).ok ? box.toPlainText() : QStringLiteral("<unreadable>");
}
} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT
    test::TemporarySettings *m_settings = nullptr;
    QTemporaryDir *m_dir = nullptr;
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString makeFile(const QString &name, const char *text = "text")
    {
        const QString p = path(name);
        return test::writeBytes(p, rtfOf(text)) ? p : QString();
    }

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

    // Most recent first, eight at most, each file once however it was named;
    // stored in "Recent" and shown again by the next program.
    void recentFilesOrderLimitAndDuplicates()
    {
        test::ScriptedDialogs dialogs;
        QStringList files;
        for (int i = 0; i < 10; ++i)
            files << makeFile(QStringLiteral("f%1.rtf").arg(i));
        QVERIFY(QDir(m_dir->path()).mkdir("sub"));
        QVERIFY(QFile::link(files[4], path("link.rtf")));
        frmMain *w = openMain();
        QCOMPARE(recentItems(w), QStringList());
        for (const QString &f : files) {
            dialogs.accept(f);
            run(w, "mnuFileOpen");
        }
        // The same files again, through "..", a link, and as saved.
        for (const QString &again : {path("sub/../f2.rtf"), path("link.rtf")}) {
            dialogs.accept(again);
            run(w, "mnuFileOpen");
        }
        dialogs.accept(files[9]);
        run(w, "mnuFileSaveAs");
        const QStringList expected{"&1 f9.rtf|" + files[9], "&2 link.rtf|" + path("link.rtf"),
                                   "&3 f2.rtf|" + files[2], "&4 f8.rtf|" + files[8],
                                   "&5 f7.rtf|" + files[7], "&6 f6.rtf|" + files[6],
                                   "&7 f5.rtf|" + files[5], "&8 f3.rtf|" + files[3]};
        QCOMPARE(recentItems(w), expected);
        QCOMPARE(w->menuItem("mnuFileRecent1")->statusTip(), files[9]);
        QSettings stored(m_settings->file(), QSettings::IniFormat);
        QCOMPARE(stored.childGroups(), QStringList({"Recent"})); // Settings comes with the window's close
        QCOMPARE(stored.value("Recent/File1").toString(), files[9]);
        QCOMPARE(stored.value("Recent/File8").toString(), files[3]);
        WindowRegistry::instance().reset();
        registerWindows();
        QCOMPARE(recentItems(openMain()), expected);
    }

    // Choosing a recent file opens it as File > Open does: into the active document.
    void recentFileOpensLikeOpen()
    {
        test::ScriptedDialogs dialogs;
        const QString a = makeFile("a.rtf", "alpha"), b = makeFile("b.rtf", "beta");
        frmMain *w = openMain();
        for (const QString &f : {a, b}) {
            dialogs.accept(f);
            run(w, "mnuFileOpen");
        }
        run(w, "mnuFileRecent2");
        QCOMPARE(captions(w), QStringList({a}));
        QCOMPARE(activeText(w)->toPlainText(), QStringLiteral("alpha"));
        QCOMPARE(recentItems(w).first(), "&1 a.rtf|" + a);
        // With no document open, it gets one of its own.
        w->mdiArea()->closeAllSubWindows();
        QTRY_VERIFY(!w->activeDocument());
        run(w, "mnuFileRecent2");
        QCOMPARE(captions(w), QStringList({b}));
    }

    void missingRecentFileIsOfferedForRemoval_data()
    {
        QTest::addColumn<Button>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("removed") << Button::Yes << QStringList({"&1 kept.rtf"});
        QTest::newRow("kept") << Button::No << QStringList({"&1 kept.rtf", "&2 gone.rtf"});
    }
    void missingRecentFileIsOfferedForRemoval()
    {
        QFETCH(Button, answer);
        QFETCH(QStringList, left);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        const QString gone = makeFile("gone.rtf"), kept = makeFile("kept.rtf");
        frmMain *w = openMain();
        for (const QString &f : {gone, kept}) {
            dialogs.accept(f);
            run(w, "mnuFileOpen");
        }
        QVERIFY(QFile::remove(gone));
        messages.answers.push_back(answer);
        run(w, "mnuFileRecent2");
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, "The file \"" + gone + "\" no longer exists. Remove it from the list?");
        QCOMPARE(messages.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QStringList shown;
        for (const QString &item : recentItems(w))
            shown << item.section(QLatin1Char('|'), 0, 0);
        QCOMPARE(shown, left);
        QCOMPARE(QSettings(m_settings->file(), QSettings::IniFormat).value("Recent/File2").toString(),
                 answer == Button::Yes ? QString() : gone);
        QCOMPARE(captions(w), QStringList({kept})); // the document is left alone
    }

    // Files from the command line open each in a document of its own,
    // relative names from the current folder; one that cannot be read is
    // named as File > Open names it, and leaves no document behind.
    void commandLineFiles()
    {
        test::ScriptedMessages messages;
        const QString a = makeFile("a.rtf", "alpha"), b = makeFile("b.rtf", "beta");
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        frmMain *w = openMain();
        w->openFiles({"a.rtf", path("missing.rtf"), b});
        QDir::setCurrent(old);
        QCOMPARE(captions(w), QStringList({a, b}));
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].text.startsWith("Could not open \"" + path("missing.rtf") + "\".\n\n"),
                 qPrintable(messages.shown[0].text));
        QCOMPARE(messages.shown[0].icon, QMessageBox::Critical);
        QCOMPARE(w->mdiArea()->subWindowList().first()->widget()->findChild<RichTextBox *>()->toPlainText(),
                 QStringLiteral("alpha"));
        QCOMPARE(recentItems(w).size(), 2);
    }

    void dropOpensLocalFiles_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<bool>("accepted");
        const QUrl a = QUrl::fromLocalFile("A"), b = QUrl::fromLocalFile("B");
        QTest::newRow("two files") << QList<QUrl>{a, b} << true;
        QTest::newRow("a web address") << QList<QUrl>{QUrl("https://example.com/a.rtf")} << false;
        QTest::newRow("a file and a web address") << QList<QUrl>{a, QUrl("https://example.com/a.rtf")} << false;
        QTest::newRow("nothing") << QList<QUrl>{} << false;
    }
    void dropOpensLocalFiles()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(bool, accepted);
        const QString a = makeFile("a.rtf", "alpha"), b = makeFile("b.rtf", "beta");
        for (QUrl &u : urls) {
            if (u.isLocalFile())
                u = QUrl::fromLocalFile(u.toLocalFile() == "A" ? a : b);
        }
        frmMain *w = openMain();
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = w->mdiArea()->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        if (!accepted)
            return;
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &drop);
        QCOMPARE(captions(w), QStringList({a, b}));
    }

    // Kept a few seconds after the last change, and ten after the first at
    // the latest however long the typing goes on.
    void keepingDelay_data()
    {
        QTest::addColumn<int>("sinceFirstChange");
        QTest::addColumn<int>("delay");
        QTest::newRow("first change") << 0 << 3000;
        QTest::newRow("typing for 7 s") << 7000 << 3000;
        QTest::newRow("typing for 8.5 s") << 8500 << 1500;
        QTest::newRow("typing for 10 s") << 10000 << 0;
        QTest::newRow("past 10 s") << 12000 << 0;
    }
    void keepingDelay()
    {
        QFETCH(int, sinceFirstChange);
        QFETCH(int, delay);
        QCOMPARE(Recovery::delayAfterChange(sinceFirstChange), delay);
    }

    // Changed text is kept, with the document's name; saving, closing and
    // ending the program properly take the kept copy away.
    void keptUntilSavedDiscardedOrClosed_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("saved") << "save";
        QTest::newRow("closed, discarding") << "close";
        QTest::newRow("undone to the saved text") << "undo";
        QTest::newRow("File > Exit, discarding") << "exit";
    }
    void keptUntilSavedDiscardedOrClosed()
    {
        QFETCH(QString, how);
        test::ScriptedDialogs dialogs;
        test::ScriptedMessages messages;
        const QString file = makeFile("notes.rtf", "saved");
        frmMain *w = openMain();
        const QString base = w->recovery()->base();
        dialogs.accept(file);
        run(w, "mnuFileOpen");
        typeInto(activeText(w), QStringLiteral(" and more"));
        QTRY_COMPARE_WITH_TIMEOUT(keptFiles(base).size(), 1, 6000);
        const QString kept = base + QLatin1Char('/') + keptFiles(base).first();
        QCOMPARE(plainText(kept), QStringLiteral("saved and more"));
        const QByteArray info = test::fileBytes(kept.chopped(4) + ".info");
        QVERIFY2(info.contains("path=" + QUrl::toPercentEncoding(file)), info.constData());
        QCOMPARE(QFileInfo(w->recovery()->folder()).absolutePath(), base);

        if (how == "save") {
            run(w, "mnuFileSave");
        } else if (how == "close") {
            messages.answers.push_back(Button::Discard);
            QVERIFY(w->mdiArea()->activeSubWindow()->close());
        } else if (how == "undo") {
            activeText(w)->undo();
        } else {
            messages.answers.push_back(Button::Discard);
            run(w, "mnuFileExit");
            QCOMPARE(messages.shown.size(), 1);
            WindowRegistry::instance().unloadAll(); // as the program does once its event loop returns
            QCOMPARE(QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
            return;
        }
        QTRY_COMPARE(keptFiles(base), QStringList());
        QVERIFY(!QFile::exists(kept.chopped(4) + ".info"));
        // Nothing is kept again before the next change.
        QVERIFY(!w->recovery()->keepNow(w->activeDocument() ? w->activeDocument() : nullptr));
    }

    // A running program's kept documents are its own: another program sees
    // none of them, and its own go when it ends, leaving the first's alone.
    void runningProgramsKeepToThemselves()
    {
        frmMain *w = openMain();
        const QString base = w->recovery()->base();
        run(w, "mnuFileNew");
        typeInto(activeText(w), QStringLiteral("first program"));
        QVERIFY(w->recovery()->keepNow(w->activeDocument()));
        {
            frmDocument other;
            Recovery second(base);
            second.watch(&other);
            typeInto(other.textBox(), QStringLiteral("second program"));
            QVERIFY(second.keepNow(&other));
            QCOMPARE(keptFiles(base).size(), 2);
            QVERIFY(second.folder() != w->recovery()->folder());
            RecoveryClaim claim(base);
            QCOMPARE(claim.documents.size(), 0);
        }
        QCOMPARE(keptFiles(base).size(), 1);
        QCOMPARE(QFileInfo(base + "/" + keptFiles(base).first()).absolutePath(), w->recovery()->folder());
        test::ScriptedMessages messages;
        w->recoverDocuments();
        QCOMPARE(messages.shown.size(), 0);
    }

    // The documents of a program that did not end properly: offered once,
    // all restored as changed with their names, or all discarded.
    void documentsOfAProgramGoneAreOffered_data()
    {
        QTest::addColumn<Button>("answer");
        QTest::newRow("restored") << Button::Yes;
        QTest::newRow("discarded") << Button::No;
    }
    void documentsOfAProgramGoneAreOffered()
    {
        QFETCH(Button, answer);
        test::ScriptedDialogs dialogs;
        const QString file = makeFile("notes.rtf", "saved");
        QString base;
        {
            // A program that ends without its destructors running, as a
            // crash ends it, is stood for by one whose lock is let go and
            // whose folder stays.
            frmMain *w = openMain();
            base = w->recovery()->base();
            run(w, "mnuFileNew");
            typeInto(activeText(w), QStringLiteral("untitled work"));
            QVERIFY(w->recovery()->keepNow(w->activeDocument()));
            run(w, "mnuFileNew");
            dialogs.accept(file);
            run(w, "mnuFileOpen");
            typeInto(activeText(w), QStringLiteral(" and more"));
            QVERIFY(w->recovery()->keepNow(w->activeDocument()));
            const QString folder = w->recovery()->folder();
            QVERIFY(QDir().rename(folder, folder + "-crashed"));
            WindowRegistry::instance().reset();
            QCOMPARE(keptFiles(base).size(), 2);
        }
        registerWindows();
        test::ScriptedMessages messages;
        messages.answers.push_back(answer);
        frmMain *w = openMain();
        w->startUp({});
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, "Tavrin did not end properly. These documents had unsaved changes:\n\n"
                                         "Tavrin Document 1\n"
                                             + file + "\n\nDo you want to restore them?");
        QCOMPARE(messages.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
        if (answer == Button::No) {
            QCOMPARE(captions(w), QStringList());
            QCOMPARE(keptFiles(base), QStringList());
        } else {
            QCOMPARE(captions(w), QStringList({"Tavrin Document 1", file}));
            const QList<QMdiSubWindow *> windows = w->mdiArea()->subWindowList(QMdiArea::CreationOrder);
            auto *first = qobject_cast<frmDocument *>(windows[0]->widget());
            auto *second = qobject_cast<frmDocument *>(windows[1]->widget());
            QCOMPARE(first->textBox()->toPlainText(), QStringLiteral("untitled work"));
            QCOMPARE(second->textBox()->toPlainText(), QStringLiteral("saved and more"));
            QVERIFY(first->isChanged() && second->isChanged() && first->isUntitled());
            // Now kept by this program alone.
            QCOMPARE(keptFiles(base).size(), 2);
            for (const QString &f : keptFiles(base))
                QCOMPARE(base + "/" + f.section('/', 0, 0), w->recovery()->folder());
            // Save writes to the document's own file, unasked.
            w->mdiArea()->setActiveSubWindow(windows[1]);
            run(w, "mnuFileSave");
            QCOMPARE(dialogs.shown.size(), 1); // only the Open before
            QCOMPARE(plainText(file), QStringLiteral("saved and more"));
        }
        // Asked once: the next start finds nothing.
        WindowRegistry::instance().reset();
        registerWindows();
        openMain()->startUp({});
        QCOMPARE(messages.shown.size(), 1);
    }

    // The real program, typed into on a real X server: killed, it offers its
    // text at the next start and restores it; ended properly, it leaves
    // nothing and the next start asks nothing. A second program running
    // beside the first asks nothing about the first's documents either.
    void endToEnd()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")
            || QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("needs an X server and xdotool (the recovery_desktop test)");
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        const QString base = home.filePath("data/Tavrin/Tavrin/recovery");
        const QString notes = makeFile("notes.rtf", "saved");
        const QString other = makeFile("other.rtf", "other");
        auto start = [&](QProcess &p, const QStringList &args) {
            p.setProcessEnvironment(env);
            p.start(QStringLiteral(TAVRIN_PROGRAM), args);
            QVERIFY(p.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(!windowOf(p, "Tavrin Revevi Tools").isEmpty(), 20000);
            xdo({"windowactivate", "--sync", windowOf(p, "Tavrin Revevi Tools")});
        };
        auto recentFirst = [&] {
            return QSettings(home.filePath("config/Tavrin/Tavrin.conf"), QSettings::IniFormat)
                .value("Recent/File1")
                .toString();
        };
        auto keptText = [&] {
            const QStringList kept = keptFiles(base);
            return kept.size() == 1 ? plainText(base + "/" + kept[0]) : QString::number(kept.size()) + " kept";
        };

        QProcess first;
        start(first, {notes});
        QTRY_COMPARE_WITH_TIMEOUT(recentFirst(), notes, 10000);
        xdo({"type", "--delay", "30", "hello world "});
        QTRY_COMPARE_WITH_TIMEOUT(keptText(), QStringLiteral("hello world saved"), 15000);

        // Once the second program has opened its file it has passed the
        // point where it would ask; it asks nothing and takes nothing.
        QProcess second;
        start(second, {other});
        QTRY_COMPARE_WITH_TIMEOUT(recentFirst(), other, 10000);
        QCOMPARE(windowOf(second, "Tavrin"), QString());
        QCOMPARE(keptText(), QStringLiteral("hello world saved"));
        second.kill();
        QVERIFY(second.waitForFinished());

        first.kill(); // SIGKILL: nothing of the program's own runs
        QVERIFY(first.waitForFinished());
        QCOMPARE(first.exitStatus(), QProcess::CrashExit);

        QProcess third;
        start(third, {});
        QTRY_VERIFY_WITH_TIMEOUT(!windowOf(third, "Tavrin").isEmpty(), 10000);
        xdo({"windowactivate", "--sync", windowOf(third, "Tavrin")});
        xdo({"key", "Return"}); // Yes
        // Restored, changed, and kept by the new program alone.
        const auto keptByThird = [&] {
            const QStringList kept = keptFiles(base);
            return kept.size() == 1 && kept[0].startsWith(QString::number(third.processId()) + "-");
        };
        QTRY_VERIFY_WITH_TIMEOUT(keptByThird(), 10000);
        QCOMPARE(keptText(), QStringLiteral("hello world saved"));
        // Save writes the restored text to its own file; Exit then ends at once.
        xdo({"windowactivate", "--sync", windowOf(third, "Tavrin Revevi Tools")});
        xdo({"key", "--delay", "200", "alt+f", "s"});
        QTRY_COMPARE_WITH_TIMEOUT(plainText(notes), QStringLiteral("hello world saved"), 10000);
        xdo({"key", "--delay", "200", "alt+f", "x"});
        QVERIFY(third.waitForFinished(10000));
        QCOMPARE(third.exitStatus(), QProcess::NormalExit);
        QCOMPARE(QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());

        QProcess fourth;
        start(fourth, {other});
        QTRY_COMPARE_WITH_TIMEOUT(recentFirst(), other, 10000);
        QCOMPARE(windowOf(fourth, "Tavrin"), QString());
        fourth.kill();
        fourth.waitForFinished();
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"

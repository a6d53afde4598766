// Writing in the documents: the Format menu and format bar, Redo, Select
// All, Find and Replace, and the keys that reach them.
#include "frmDocument.h"
#include "frmFind.h"
#include "frmMain.h"
#include "registerwindows.h"
#include "richtextbox.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextList>
#include <QToolBar>

using namespace tavrin;

namespace {
frmMain *openMain()
{
    return qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main));
}
void run(frmMain *w, const char *item)
{
    w->menuItem(QString::fromLatin1(item))->trigger();
}
bool checked(frmMain *w, const char *item)
{
    return w->menuItem(QString::fromLatin1(item))->isChecked();
}

// A new document holding the text, typed (so it is changed and can be undone).
RichTextBox *newDocument(frmMain *w, const QString &text)
{
    run(w, "mnuFileNew");
    RichTextBox *box = w->activeDocument()->textBox();
    QTextCursor c(box->document());
    c.insertText(text);
    box->setTextCursor(c);
    return box;
}

void select(QTextEdit *box, const QString &word)
{
    const int at = int(box->toPlainText().indexOf(word));
    QTextCursor c(box->document());
    c.setPosition(at);
    c.setPosition(at + int(word.size()), QTextCursor::KeepAnchor);
    box->setTextCursor(c);
}

void putCursorIn(QTextEdit *box, const QString &word)
{
    QTextCursor c(box->document());
    c.setPosition(int(box->toPlainText().indexOf(word)) + 1);
    box->setTextCursor(c);
}

// What is not plain about a word and its paragraph, as a list of words.
QStringList traits(const QTextEdit *box, const QString &word)
{
    QTextCursor c(box->document());
    c.setPosition(int(box->toPlainText().indexOf(word)) + 1);
    const QTextCharFormat f = c.charFormat();
    const QFont defaultFont = box->document()->defaultFont();
    const QFont font = f.font().resolve(defaultFont);
    QStringList out;
    if (f.fontWeight() >= QFont::DemiBold)
        out << "bold";
    if (f.fontItalic())
        out << "italic";
    if (f.fontUnderline())
        out << "underline";
    if (f.fontStrikeOut())
        out << "strikeout";
    if (font.family() != defaultFont.family())
        out << "font " + font.family();
    if (font.pointSizeF() != defaultFont.pointSizeF())
        out << "size " + QString::number(font.pointSizeF());
    if (f.foreground().style() != Qt::NoBrush)
        out << "colour " + f.foreground().color().name();
    if (f.background().style() != Qt::NoBrush)
        out << "highlight " + f.background().color().name();
    const QTextBlockFormat b = c.blockFormat();
    const Qt::Alignment a = b.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        out << "centre";
    else if (a & Qt::AlignJustify)
        out << "justify";
    else if (a & Qt::AlignRight)
        out << "right";
    if (const qreal indent = b.leftMargin() + b.indent() * box->document()->indentWidth())
        out << "indent " + QString::number(indent);
    return out;
}

// The document as the file saved from it reads back.
std::unique_ptr<RichTextBox> savedAndRead(RichTextBox *box, const QString &path)
{
    auto back = std::make_unique<RichTextBox>();
    if (!box->SaveFile(path).ok || !back->LoadFile(path).ok)
        return nullptr;
    return back;
}

// The main window active, the document's text focused, as when the user types.
void focusText(frmMain *w, QTextEdit *box)
{
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
}

frmFind *findWindow(frmMain *w)
{
    return w->findChild<frmFind *>("frmFind");
}
} // namespace

class TestEditing : public QObject
{
    Q_OBJECT
    test::TemporarySettings *m_settings = nullptr;
    QTemporaryDir *m_dir = nullptr;

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

    // Each format given to the middle paragraph's word stays on it, and only
    // there, through a save and a read of the file.
    void formatsAreSavedAndReadBack_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("answer"); // what the dialog answers: a font "family,size", a colour, or "" to cancel
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("bold") << QStringList{"mnuFormatBold"} << "" << QStringList{"bold"};
        QTest::newRow("bold twice") << QStringList{"mnuFormatBold", "mnuFormatBold"} << "" << QStringList{};
        QTest::newRow("italic") << QStringList{"mnuFormatItalic"} << "" << QStringList{"italic"};
        QTest::newRow("underline") << QStringList{"mnuFormatUnderline"} << "" << QStringList{"underline"};
        QTest::newRow("strikeout") << QStringList{"mnuFormatStrikeout"} << "" << QStringList{"strikeout"};
        QTest::newRow("all four") << QStringList{"mnuFormatBold", "mnuFormatItalic", "mnuFormatUnderline",
                                                 "mnuFormatStrikeout"}
                                  << "" << QStringList{"bold", "italic", "underline", "strikeout"};
        QTest::newRow("font") << QStringList{"mnuFormatFont"} << "DejaVu Serif,20"
                              << QStringList{"font DejaVu Serif", "size 20"};
        QTest::newRow("font cancelled") << QStringList{"mnuFormatFont"} << "" << QStringList{};
        QTest::newRow("colour") << QStringList{"mnuFormatColor"} << "#c00000" << QStringList{"colour #c00000"};
        QTest::newRow("highlight") << QStringList{"mnuFormatHighlight"} << "#ffff00"
                                   << QStringList{"highlight #ffff00"};
        QTest::newRow("centre") << QStringList{"mnuFormatCenter"} << "" << QStringList{"centre"};
        QTest::newRow("right") << QStringList{"mnuFormatAlignRight"} << "" << QStringList{"right"};
        QTest::newRow("justify") << QStringList{"mnuFormatJustify"} << "" << QStringList{"justify"};
        QTest::newRow("centre then left")
            << QStringList{"mnuFormatCenter", "mnuFormatAlignLeft"} << "" << QStringList{};
        QTest::newRow("indent twice") << QStringList{"mnuFormatIndent", "mnuFormatIndent"} << ""
                                      << QStringList{"indent 80"};
        QTest::newRow("indent and back") << QStringList{"mnuFormatIndent", "mnuFormatOutdent"} << "" << QStringList{};
    }
    void formatsAreSavedAndReadBack()
    {
        QFETCH(QStringList, commands);
        QFETCH(QString, answer);
        QFETCH(QStringList, expected);
        test::ScriptedFormatDialogs dialogs;
        if (answer.contains(','))
            dialogs.font(QFont(answer.section(',', 0, 0), answer.section(',', 1).toInt()));
        else if (!answer.isEmpty())
            dialogs.color(QColor(answer));
        frmMain *w = openMain();
        RichTextBox *box = newDocument(w, "alpha\nbeta\ngamma");
        select(box, "beta");
        for (const QString &c : commands)
            run(w, qPrintable(c));
        QCOMPARE(traits(box, "beta"), expected);
        const std::unique_ptr<RichTextBox> back = savedAndRead(box, m_dir->filePath("formats.rtf"));
        QVERIFY(back);
        QCOMPARE(back->toPlainText(), QStringLiteral("alpha\nbeta\ngamma"));
        QCOMPARE(traits(back.get(), "beta"), expected);
        QCOMPARE(traits(back.get(), "alpha"), QStringList());
        QCOMPARE(traits(back.get(), "gamma"), QStringList());
        // A dialog opens on what the selection has.
        if (commands.contains("mnuFormatFont")) {
            QCOMPARE(dialogs.shown.size(), 1);
            QCOMPARE(dialogs.shown[0].font.family(), box->document()->defaultFont().family());
        }
    }

    // Without a selection a format is for what is typed next; every format
    // command is one undo step.
    void formatAtTheTypingPositionAndUndo()
    {
        frmMain *w = openMain();
        RichTextBox *box = newDocument(w, "plain ");
        run(w, "mnuFormatBold");
        QVERIFY(checked(w, "mnuFormatBold"));
        QTest::keyClicks(box, "strong");
        QCOMPARE(traits(box, "strong"), QStringList{"bold"});
        QCOMPARE(traits(box, "plain"), QStringList());
        select(box, "plain");
        run(w, "mnuFormatItalic");
        run(w, "mnuFormatCenter");
        run(w, "mnuEditUndo");
        QCOMPARE(traits(box, "plain"), QStringList{"italic"});
        run(w, "mnuEditUndo");
        QCOMPARE(traits(box, "plain"), QStringList());
        run(w, "mnuEditRedo");
        QCOMPARE(traits(box, "plain"), QStringList{"italic"});
    }

    // The check marks and the format bar's boxes show the format at the
    // cursor, or the whole selection's, as the cursor moves.
    void statesFollowTheCursor()
    {
        frmMain *w = openMain();
        for (const char *item : {"mnuFormatBold", "mnuFormatFont", "mnuFormatBullets", "mnuEditFind", "mnuEditRedo"})
            QVERIFY2(!w->menuItem(item)->isEnabled(), item);
        // Until a document opens, an empty box stands in for the font box.
        auto *fontSize = w->findChild<QComboBox *>("cboFontSize");
        QVERIFY(!w->findChild<QFontComboBox *>("cboFontName"));
        QVERIFY(!w->findChild<QComboBox *>("cboFontName")->isEnabled() && !fontSize->isEnabled());
        QVERIFY(!w->findChild<QMenu *>("mnuFormat")->isEnabled());

        RichTextBox *box = newDocument(w, "plain strong\nserif");
        auto *fontName = w->findChild<QFontComboBox *>("cboFontName");
        QCOMPARE(w->findChildren<QComboBox *>("cboFontName").size(), 1);
        QVERIFY(w->menuItem("mnuFormatBold")->isEnabled() && fontName->isEnabled());
        QTextCursor c(box->document());
        c.setPosition(6);
        c.setPosition(12, QTextCursor::KeepAnchor);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.mergeCharFormat(bold);
        c.movePosition(QTextCursor::NextBlock);
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat serif;
        serif.setFontFamilies(QStringList{"DejaVu Serif"});
        serif.setFontPointSize(20);
        serif.setFontItalic(true);
        c.mergeCharFormat(serif);
        QTextBlockFormat centre;
        centre.setAlignment(Qt::AlignHCenter);
        c.mergeBlockFormat(centre);

        const QString defaultFamily = box->document()->defaultFont().family();
        const QString defaultSize = QString::number(box->document()->defaultFont().pointSizeF());
        putCursorIn(box, "strong");
        QVERIFY(checked(w, "mnuFormatBold") && !checked(w, "mnuFormatItalic") && checked(w, "mnuFormatAlignLeft"));
        QCOMPARE(fontName->currentFont().family(), defaultFamily);
        QCOMPARE(fontSize->currentText(), defaultSize);
        putCursorIn(box, "serif");
        QVERIFY(!checked(w, "mnuFormatBold") && checked(w, "mnuFormatItalic"));
        QVERIFY(checked(w, "mnuFormatCenter") && !checked(w, "mnuFormatAlignLeft"));
        QCOMPARE(fontName->currentFont().family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(fontSize->currentText(), QStringLiteral("20"));
        // Bold only when all of the selection is.
        select(box, "plain strong");
        QVERIFY(!checked(w, "mnuFormatBold"));
        run(w, "mnuFormatBold");
        QCOMPARE(traits(box, "plain"), QStringList{"bold"});
        QVERIFY(checked(w, "mnuFormatBold"));

        // The boxes change the selection's font; a size that is no size changes nothing.
        focusText(w, box);
        select(box, "plain");
        fontName->setCurrentFont(QFont("DejaVu Serif"));
        emit fontName->textActivated("DejaVu Serif");
        test::typeInto(fontSize, "30");
        QCOMPARE(traits(box, "plain"), QStringList({"bold", "font DejaVu Serif", "size 30"}));
        select(box, "plain");
        test::typeInto(fontSize, "huge");
        QCOMPARE(traits(box, "plain"), QStringList({"bold", "font DejaVu Serif", "size 30"}));
        QCOMPARE(fontSize->currentText(), QStringLiteral("30"));

        // The last document closed, everything is disabled again.
        box->document()->setModified(false);
        w->mdiArea()->closeAllSubWindows();
        QTRY_VERIFY(!w->menuItem("mnuFormatBold")->isEnabled());
        QVERIFY(!checked(w, "mnuFormatCenter") && !fontSize->isEnabled());
    }

    // An opened file shows the format of its first text, and typing there
    // takes it, as anywhere else in the text.
    void anOpenedFileShowsItsFormatAtTheStart()
    {
        frmMain *w = openMain();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("heading.rtf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Serif;}}\\f0\\fs28\\b Heading\\par\\b0\\fs24 plain\\par}");
        f.close();
        w->openFiles({path});
        QVERIFY(w->activeDocument());
        RichTextBox *box = w->activeDocument()->textBox();
        QCOMPARE(box->textCursor().position(), 0);
        QTRY_VERIFY(checked(w, "mnuFormatBold"));
        QCOMPARE(w->findChild<QComboBox *>("cboFontSize")->currentText(), QStringLiteral("14"));
        QCOMPARE(w->findChild<QFontComboBox *>("cboFontName")->currentFont().family(), QStringLiteral("DejaVu Serif"));
        focusText(w, box);
        QTest::keyClicks(box, "My ");
        QCOMPARE(box->document()->firstBlock().text(), QStringLiteral("My Heading"));
        QCOMPARE(traits(box, "My"), QStringList({"bold", "font DejaVu Serif", "size 14"}));
    }

    // The format bar sits below the toolbar and carries the menu's own
    // items; View > Format Bar shows and hides it, and the choice lasts.
    void formatBar()
    {
        frmMain *w = openMain();
        auto *bar = w->findChild<QToolBar *>("tbFormat");
        QVERIFY(w->toolBarBreak(bar));
        QVERIFY(bar->actions().contains(w->menuItem("mnuFormatBold")));
        QVERIFY(bar->actions().contains(w->menuItem("mnuFormatNumbering")));
        QVERIFY(bar->isVisible() && checked(w, "mnuViewFormatBar"));
        run(w, "mnuViewFormatBar");
        QVERIFY(!bar->isVisible());
        QCOMPARE(m_settings->stored("FormatBar"), QString()); // not among the main window's settings
        w->close();
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::Main));
        w = openMain();
        QVERIFY(!w->findChild<QToolBar *>("tbFormat")->isVisible() && !checked(w, "mnuViewFormatBar"));
        run(w, "mnuViewFormatBar");
        QVERIFY(w->findChild<QToolBar *>("tbFormat")->isVisible());
    }

    // Bullets and Numbering put the selected paragraphs in one list, change
    // its kind, and take them out again; the indent commands move list
    // items a level and other paragraphs a step.
    void lists()
    {
        frmMain *w = openMain();
        RichTextBox *box = newDocument(w, "one\ntwo\nthree");
        QTextDocument *doc = box->document();
        auto listOf = [doc](int n) { return doc->findBlockByNumber(n).textList(); };
        select(box, "one\ntwo");
        run(w, "mnuFormatBullets");
        QVERIFY(listOf(0) && listOf(0) == listOf(1) && !listOf(2));
        QCOMPARE(listOf(0)->format().style(), QTextListFormat::ListDisc);
        QVERIFY(checked(w, "mnuFormatBullets") && !checked(w, "mnuFormatNumbering"));
        run(w, "mnuFormatNumbering");
        QCOMPARE(listOf(0)->format().style(), QTextListFormat::ListDecimal);
        QCOMPARE(listOf(0), listOf(1));
        QVERIFY(!checked(w, "mnuFormatBullets") && checked(w, "mnuFormatNumbering"));
        // The second item a level down, then back into the first list.
        putCursorIn(box, "two");
        run(w, "mnuFormatIndent");
        QVERIFY(listOf(1) != listOf(0));
        QCOMPARE(listOf(1)->format().indent(), 2);
        run(w, "mnuFormatOutdent");
        QCOMPARE(listOf(1), listOf(0));
        QCOMPARE(listOf(0)->count(), 2);
        run(w, "mnuFormatOutdent"); // the first level is the least
        QCOMPARE(listOf(1)->format().indent(), 1);
        select(box, "one\ntwo");
        run(w, "mnuFormatNumbering");
        QVERIFY(!listOf(0) && !listOf(1));
        QCOMPARE(traits(box, "one"), QStringList());
        run(w, "mnuEditUndo");
        QVERIFY(listOf(0) && listOf(1));
    }

    // Lists in a file read back as lists, their kinds and levels kept.
    void listsAreSavedAndReadBack()
    {
        frmMain *w = openMain();
        RichTextBox *box = newDocument(w, "one\ntwo\nthree\nfour");
        select(box, "one\ntwo\nthree");
        run(w, "mnuFormatBullets");
        putCursorIn(box, "two");
        run(w, "mnuFormatIndent");
        putCursorIn(box, "four");
        run(w, "mnuFormatNumbering");
        const std::unique_ptr<RichTextBox> back = savedAndRead(box, m_dir->filePath("lists.rtf"));
        QVERIFY(back);
        QCOMPARE(back->toPlainText(), box->toPlainText());
        QStringList items;
        for (QTextBlock b = back->document()->begin(); b.isValid(); b = b.next()) {
            const QTextList *list = b.textList();
            QVERIFY2(list, qPrintable(b.text()));
            items << QStringLiteral("%1 %2 %3").arg(b.text()).arg(list->format().style()).arg(list->format().indent());
        }
        QCOMPARE(items, QStringList({"one -1 1", "two -1 2", "three -1 1", "four -4 1"}));
        QCOMPARE(back->document()->findBlockByNumber(0).textList(), back->document()->findBlockByNumber(2).textList());
    }

    // Find Next selects each match in turn from the cursor down, going on
    // from the top after the last and saying so.
    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QList<int>>("starts"); // of the matches found by four Find Next, -1 for none
        QTest::newRow("any case") << "spawn" << false << false << QList<int>{0, 6, 12, 20};
        QTest::newRow("match case") << "spawn" << true << false << QList<int>{6, 12, 6, 12};
        QTest::newRow("whole word") << "spawn" << false << true << QList<int>{0, 6, 20, 0};
        QTest::newRow("both") << "SPAWN" << true << true << QList<int>{20, 20, 20, 20};
        QTest::newRow("not found") << "axis" << false << false << QList<int>{-1, -1, -1, -1};
    }
    void find()
    {
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(QList<int>, starts);
        frmMain *w = openMain();
        RichTextBox *box = newDocument(w, "Spawn spawn spawned SPAWN");
        box->moveCursor(QTextCursor::Start);
        run(w, "mnuEditFind");
        frmFind *find = findWindow(w);
        QVERIFY(find && find->isVisible());
        find->findChild<QLineEdit *>("txtFind")->setText(text);
        find->findChild<QCheckBox *>("chkMatchCase")->setChecked(matchCase);
        find->findChild<QCheckBox *>("chkWholeWord")->setChecked(wholeWord);
        auto *status = find->findChild<QLabel *>("lblStatus");
        int previous = -1;
        for (int start : starts) {
            find->findChild<QPushButton *>("cmdFindNext")->click();
            if (start < 0) {
                QCOMPARE(status->text(), QStringLiteral("Cannot find \"%1\".").arg(text));
                QVERIFY(!box->textCursor().hasSelection());
                continue;
            }
            QCOMPARE(box->textCursor().selectionStart(), start);
            QCOMPARE(box->textCursor().selectedText().size(), text.size());
            QCOMPARE(status->text().contains("beginning"), start <= previous);
            previous = start;
        }
    }

    // Replace takes the selected match and finds the next; Replace All is
    // one undo step, never replaces its own replacements, and counts.
    void replace()
    {
        frmMain *w = openMain();
        RichTextBox *box = newDocument(w, "spawn Spawn spawn");
        box->moveCursor(QTextCursor::Start);
        run(w, "mnuEditReplace");
        frmFind *find = findWindow(w);
        find->findChild<QLineEdit *>("txtFind")->setText("spawn");
        find->findChild<QLineEdit *>("txtReplace")->setText("spawnpoint");
        auto *status = find->findChild<QLabel *>("lblStatus");
        find->findChild<QPushButton *>("cmdReplace")->click(); // nothing selected: finds the first
        QCOMPARE(box->toPlainText(), QStringLiteral("spawn Spawn spawn"));
        find->findChild<QPushButton *>("cmdReplace")->click();
        QCOMPARE(box->toPlainText(), QStringLiteral("spawnpoint Spawn spawn"));
        QCOMPARE(box->textCursor().selectionStart(), 11);
        run(w, "mnuEditUndo");
        QCOMPARE(box->toPlainText(), QStringLiteral("spawn Spawn spawn"));

        find->findChild<QPushButton *>("cmdReplaceAll")->click();
        QCOMPARE(box->toPlainText(), QStringLiteral("spawnpoint spawnpoint spawnpoint"));
        QCOMPARE(status->text(), QStringLiteral("Replaced 3 occurrences."));
        run(w, "mnuEditUndo");
        QCOMPARE(box->toPlainText(), QStringLiteral("spawn Spawn spawn"));
        find->findChild<QCheckBox *>("chkMatchCase")->setChecked(true);
        find->findChild<QLineEdit *>("txtFind")->setText("Spawn");
        find->findChild<QPushButton *>("cmdReplaceAll")->click();
        QCOMPARE(status->text(), QStringLiteral("Replaced 1 occurrence."));
        find->findChild<QLineEdit *>("txtFind")->setText("axis");
        find->findChild<QPushButton *>("cmdReplaceAll")->click();
        QCOMPARE(status->text(), QStringLiteral("Cannot find \"axis\"."));
        QCOMPARE(box->toPlainText(), QStringLiteral("spawn spawnpoint spawn"));
    }

    // Ctrl+F offers the selected text; F3 without the dialog finds it again,
    // and says so in a message when there is none left.
    void findNextWithoutTheDialog()
    {
        test::ScriptedMessages messages;
        frmMain *w = openMain();
        RichTextBox *box = newDocument(w, "axis allies axis");
        run(w, "mnuEditFindNext"); // nothing searched for yet: the dialog
        frmFind *find = findWindow(w);
        QVERIFY(find->isVisible());
        find->hide();
        select(box, "axis");
        run(w, "mnuEditFind");
        QCOMPARE(find->findChild<QLineEdit *>("txtFind")->text(), QStringLiteral("axis"));
        find->hide();
        run(w, "mnuEditFindNext");
        QCOMPARE(box->textCursor().selectionStart(), 12);
        QVERIFY(!find->isVisible());
        type(box);
        run(w, "mnuEditFindNext");
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QStringLiteral("Cannot find \"axis\"."));
    }

    // Each key reaches its command when typed in a document, once, and no
    // key is claimed twice.
    void shortcuts_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("expected"); // the word's traits, or what else shows the command ran
        QTest::newRow("bold") << QKeySequence("Ctrl+B") << "bold";
        QTest::newRow("italic") << QKeySequence("Ctrl+I") << "italic";
        QTest::newRow("underline") << QKeySequence("Ctrl+U") << "underline";
        QTest::newRow("centre") << QKeySequence("Ctrl+E") << "centre";
        QTest::newRow("right") << QKeySequence("Ctrl+R") << "right";
        QTest::newRow("justify") << QKeySequence("Ctrl+J") << "justify";
        QTest::newRow("left") << QKeySequence("Ctrl+L") << "";
        QTest::newRow("undo") << QKeySequence("Ctrl+Z") << "text:beta";
        QTest::newRow("redo") << QKeySequence("Ctrl+Y") << "text:beta gamma";
        QTest::newRow("select all") << QKeySequence("Ctrl+A") << "selected:beta gamma";
        QTest::newRow("find") << QKeySequence("Ctrl+F") << "find:beta";
        QTest::newRow("replace") << QKeySequence("Ctrl+H") << "find:beta";
        QTest::newRow("find next") << QKeySequence("F3") << "find:beta"; // nothing searched for yet
        QTest::newRow("save") << QKeySequence("Ctrl+S") << "dialog:Save";
        QTest::newRow("save as") << QKeySequence("Ctrl+Shift+S") << "dialog:Save As";
        QTest::newRow("print") << QKeySequence("Ctrl+P") << "dialog:Print";
    }
    void shortcuts()
    {
        QFETCH(QKeySequence, key);
        QFETCH(QString, expected);
        QTest::failOnWarning(QRegularExpression("Ambiguous"));
        test::ScriptedDialogs dialogs;
        frmMain *w = openMain();
        RichTextBox *box = newDocument(w, "beta");
        box->document()->clearUndoRedoStacks();
        QTest::keyClicks(box, " gamma"); // the change Ctrl+Z takes back
        if (expected == "text:beta gamma")
            box->undo();
        if (expected.isEmpty())
            run(w, "mnuFormatCenter");
        focusText(w, box);
        select(box, "beta");
        QTest::keySequence(box, key);
        if (expected.startsWith("text:"))
            QCOMPARE(box->toPlainText(), expected.mid(5));
        else if (expected.startsWith("selected:"))
            QCOMPARE(box->textCursor().selectedText(), expected.mid(9));
        else if (expected.startsWith("find:"))
            QTRY_VERIFY(findWindow(w) && findWindow(w)->isVisible()
                        && findWindow(w)->findChild<QLineEdit *>("txtFind")->text() == expected.mid(5));
        else if (expected.startsWith("dialog:")) {
            QCOMPARE(dialogs.shown.size(), 1);
            QCOMPARE(dialogs.shown[0].title, expected.mid(7));
        } else
            QCOMPARE(traits(box, "beta"), expected.isEmpty() ? QStringList() : QStringList{expected});
    }

private:
    static void type(QTextEdit *box)
    {
        QTextCursor c(box->document());
        c.select(QTextCursor::Document);
        c.insertText("allies");
        box->setTextCursor(c);
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"

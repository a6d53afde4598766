// The main window's editing and formatting commands: Redo, Select All, Find
// and Replace on the Edit menu, the Format menu and the format bar that
// carries its commands. Each acts on the active document's selection, or on
// the typing position when nothing is selected, as one undo step.
#include "frmMain.h"

#include "formatdialogs.h"
#include "frmDocument.h"
#include "frmFind.h"
#include "menus.h"
#include "messagebox.h"
#include "richtextbox.h"
#include "settingsstore.h"

#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QIconEngine>
#include <QLineEdit>
#include <QPainter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QToolBar>

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {
// Where the format bar's visibility is kept, beside the main window's own settings.
const QString formatSection = QStringLiteral("Editing");
const QString formatBarKey = QStringLiteral("FormatBar");

constexpr double MaxPointSize = 1638; // the largest size the RTF reader takes

// The format bar's images, drawn at whatever size the bar asks for: a letter
// for the character formats, lines for the alignments and lists.
class FormatIcon : public QIconEngine
{
public:
    enum Kind { Bold, Italic, Underline, Color, Left, Centre, Right, Justify, Bullets, Numbering };
    explicit FormatIcon(Kind kind)
        : m_kind(kind)
    {}
    QIconEngine *clone() const override { return new FormatIcon(m_kind); }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap image(size);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return image;
    }
    void paint(QPainter *p, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        const QColor ink = mode == QIcon::Disabled ? QColor(150, 150, 150) : QColor(30, 30, 30);
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        const qreal s = std::min(rect.width(), rect.height());
        const QRectF r(rect.x() + (rect.width() - s) / 2, rect.y() + (rect.height() - s) / 2, s, s);
        if (m_kind <= Color) {
            QFont f(QStringLiteral("Serif"));
            f.setPixelSize(int(s * 0.8));
            f.setBold(m_kind == Bold);
            f.setItalic(m_kind == Italic);
            f.setUnderline(m_kind == Underline);
            p->setFont(f);
            p->setPen(ink);
            static const char *const letters[] = {"B", "I", "U", "A"};
            p->drawText(m_kind == Color ? r.adjusted(0, 0, 0, -s * 0.2) : r, Qt::AlignCenter,
                        QLatin1String(letters[m_kind]));
            if (m_kind == Color)
                p->fillRect(QRectF(r.x() + s * 0.1, r.bottom() - s * 0.22, s * 0.8, s * 0.18),
                            mode == QIcon::Disabled ? ink : QColor(200, 0, 0));
        } else {
            const qreal line = std::max(1.0, s / 10);
            for (int i = 0; i < 4; ++i) {
                const qreal y = r.y() + s * (0.15 + 0.22 * i);
                const qreal full = s * 0.8, shorter = s * 0.55;
                qreal x = r.x() + s * 0.1, w = i % 2 ? shorter : full;
                switch (m_kind) {
                case Centre: x += (full - w) / 2; break;
                case Right: x += full - w; break;
                case Justify: w = full; break;
                case Bullets:
                case Numbering:
                    x = r.x() + s * 0.35;
                    w = s * 0.55;
                    if (m_kind == Bullets)
                        p->fillRect(QRectF(r.x() + s * 0.1, y - line / 2, line * 1.6, line * 1.6), ink);
                    else
                        p->fillRect(QRectF(r.x() + s * 0.15, y - line / 2, line / 1.2, line * 1.6), ink);
                    break;
                default: break;
                }
                p->fillRect(QRectF(x, y, w, line), ink);
            }
        }
        p->restore();
    }

private:
    Kind m_kind;
};

QIcon formatIcon(FormatIcon::Kind kind)
{
    return QIcon(new FormatIcon(kind));
}

// The paragraphs the selection touches, or the cursor's paragraph.
QList<QTextBlock> selectedBlocks(const QTextCursor &cursor)
{
    QList<QTextBlock> blocks;
    const QTextDocument *doc = cursor.document();
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    for (QTextBlock b = doc->findBlock(cursor.selectionStart()); b.isValid(); b = b.next()) {
        blocks << b;
        if (b == last)
            break;
    }
    return blocks;
}

// True when every character of the selection has the format, or, without a
// selection, when the typing format has it.
bool allSelected(const QTextEdit *box, const std::function<bool(const QTextCharFormat &)> &has)
{
    const QTextCursor c = box->textCursor();
    if (!c.hasSelection())
        return has(box->currentCharFormat());
    const int start = c.selectionStart(), end = c.selectionEnd();
    for (const QTextBlock &b : selectedBlocks(c)) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() > start && f.position() < end && !has(f.charFormat()))
                return false;
        }
    }
    return true;
}

bool isBold(const QTextCharFormat &f)
{
    return f.fontWeight() >= QFont::DemiBold;
}
bool isItalic(const QTextCharFormat &f)
{
    return f.fontItalic();
}
bool isUnderlined(const QTextCharFormat &f)
{
    return f.fontUnderline();
}
bool isStruckOut(const QTextCharFormat &f)
{
    return f.fontStrikeOut();
}

// The font at the cursor, what the document's own font leaves unsaid filled in.
QFont fontAtCursor(const QTextEdit *box)
{
    return box->currentCharFormat().font().resolve(box->document()->defaultFont());
}

// A size as the size box shows it: "12", "10.5".
QString sizeText(double points)
{
    return QLocale().toString(points, 'g', 5);
}
} // namespace

void frmMain::createFormatMenu(QMenuBar *bar)
{
    m_formatMenu = addMenu(bar, "mnuFormat", QStringLiteral("F&ormat"));
    QMenu *format = m_formatMenu;
    auto checkable = [](QAction *a) {
        a->setCheckable(true);
        return a;
    };
    checkable(addItem(format, "mnuFormatBold", QStringLiteral("&Bold"), this, &frmMain::mnuFormatBold_Click,
                      QKeySequence(Qt::CTRL | Qt::Key_B)))
        ->setIcon(formatIcon(FormatIcon::Bold));
    checkable(addItem(format, "mnuFormatItalic", QStringLiteral("&Italic"), this, &frmMain::mnuFormatItalic_Click,
                      QKeySequence(Qt::CTRL | Qt::Key_I)))
        ->setIcon(formatIcon(FormatIcon::Italic));
    checkable(addItem(format, "mnuFormatUnderline", QStringLiteral("&Underline"), this,
                      &frmMain::mnuFormatUnderline_Click, QKeySequence(Qt::CTRL | Qt::Key_U)))
        ->setIcon(formatIcon(FormatIcon::Underline));
    checkable(
        addItem(format, "mnuFormatStrikeout", QStringLiteral("Stri&keout"), this, &frmMain::mnuFormatStrikeout_Click));
    format->addSeparator();
    addItem(format, "mnuFormatFont", QStringLiteral("&Font..."), this, &frmMain::mnuFormatFont_Click);
    addItem(format, "mnuFormatColor", QStringLiteral("Text &Colour..."), this, &frmMain::mnuFormatColor_Click)
        ->setIcon(formatIcon(FormatIcon::Color));
    addItem(format, "mnuFormatHighlight", QStringLiteral("&Highlight..."), this, &frmMain::mnuFormatHighlight_Click);
    format->addSeparator();
    m_alignment = new QActionGroup(this);
    m_alignment->setExclusive(true);
    const struct {
        const char *name, *caption;
        QKeyCombination key;
        FormatIcon::Kind icon;
        Qt::Alignment alignment;
    } alignments[] = {
        {"mnuFormatAlignLeft", "Align &Left", Qt::CTRL | Qt::Key_L, FormatIcon::Left, Qt::AlignLeft},
        {"mnuFormatCenter", "C&entre", Qt::CTRL | Qt::Key_E, FormatIcon::Centre, Qt::AlignHCenter},
        {"mnuFormatAlignRight", "Align &Right", Qt::CTRL | Qt::Key_R, FormatIcon::Right, Qt::AlignRight},
        {"mnuFormatJustify", "&Justify", Qt::CTRL | Qt::Key_J, FormatIcon::Justify, Qt::AlignJustify},
    };
    for (const auto &a : alignments) {
        QAction *item = checkable(addItem(format, a.name, QString::fromLatin1(a.caption), QKeySequence(a.key)));
        item->setIcon(formatIcon(a.icon));
        item->setData(int(a.alignment));
        m_alignment->addAction(item);
    }
    connect(m_alignment, &QActionGroup::triggered, this, &frmMain::mnuFormatAlign_Click);
    format->addSeparator();
    checkable(addItem(format, "mnuFormatBullets", QStringLiteral("Bu&llets"), this, &frmMain::mnuFormatBullets_Click))
        ->setIcon(formatIcon(FormatIcon::Bullets));
    checkable(
        addItem(format, "mnuFormatNumbering", QStringLiteral("&Numbering"), this, &frmMain::mnuFormatNumbering_Click))
        ->setIcon(formatIcon(FormatIcon::Numbering));
    addItem(format, "mnuFormatIndent", QStringLiteral("&Increase Indent"), this, &frmMain::mnuFormatIndent_Click);
    addItem(format, "mnuFormatOutdent", QStringLiteral("&Decrease Indent"), this, &frmMain::mnuFormatOutdent_Click);
}

void frmMain::createFormatBar()
{
    addToolBarBreak();
    m_formatBar = addToolBar(QStringLiteral("Format Bar"));
    m_formatBar->setObjectName(QStringLiteral("tbFormat"));
    m_formatBar->setMovable(false);
    m_formatBar->setFloatable(false);
    // Qt's font box lists every installed font as it is made, which would
    // slow the start by as much as the rest of the window takes: until the
    // first document opens (without one the box is disabled anyway) an empty
    // box of the same size stands in its place.
    auto *standIn = new QComboBox(m_formatBar);
    standIn->setObjectName(QStringLiteral("cboFontName"));
    standIn->setEnabled(false);
    standIn->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    standIn->setMinimumContentsLength(10);
    m_fontNameStandIn = m_formatBar->addWidget(standIn);
    m_fontSize = new QComboBox(m_formatBar);
    m_fontSize->setObjectName(QStringLiteral("cboFontSize"));
    m_fontSize->setEditable(true);
    m_fontSize->setInsertPolicy(QComboBox::NoInsert);
    m_fontSize->setCompleter(nullptr); // "1" typed stays 1, not the 10 of the list
    m_fontSize->setFocusPolicy(Qt::ClickFocus);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        m_fontSize->addItem(QString::number(size));
    m_fontSize->setMinimumContentsLength(4);
    m_formatBar->addWidget(m_fontSize);
    connect(m_fontSize, &QComboBox::textActivated, this, &frmMain::cboFontSize_Click);
    // The box tells only of sizes on its list; a size typed that is not is taken here.
    connect(m_fontSize->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (m_fontSize->findText(m_fontSize->currentText()) < 0)
            cboFontSize_Click(m_fontSize->currentText());
    });
    m_formatBar->addSeparator();
    // The menu's own items, so a button and its menu item are one command.
    for (const char *name :
         std::initializer_list<const char *>{"mnuFormatBold", "mnuFormatItalic", "mnuFormatUnderline", "mnuFormatColor",
                                             nullptr, "mnuFormatAlignLeft", "mnuFormatCenter", "mnuFormatAlignRight",
                                             "mnuFormatJustify", nullptr, "mnuFormatBullets", "mnuFormatNumbering"}) {
        if (name)
            m_formatBar->addAction(menuItem(QLatin1String(name)));
        else
            m_formatBar->addSeparator();
    }
    const bool shown =
        GetSetting(applicationTitle(), formatSection, formatBarKey, QStringLiteral("1")) != QLatin1String("0");
    menuItem(QStringLiteral("mnuViewFormatBar"))->setChecked(shown);
    m_formatBar->setVisible(shown);
}

void frmMain::createFontNameBox()
{
    if (m_fontName)
        return;
    m_fontName = new QFontComboBox(m_formatBar);
    m_fontName->setObjectName(QStringLiteral("cboFontName"));
    m_fontName->setFocusPolicy(Qt::ClickFocus);
    // Narrow enough that the bar's buttons fit beside it in the first-run window.
    m_fontName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_fontName->setMinimumContentsLength(10);
    // As in every editable box here, what is typed stays as typed.
    m_fontName->setCompleter(nullptr);
    m_fontName->setInsertPolicy(QComboBox::NoInsert);
    m_formatBar->insertWidget(m_fontNameStandIn, m_fontName);
    m_formatBar->removeAction(m_fontNameStandIn);
    delete m_fontNameStandIn; // and the stand-in box with it
    m_fontNameStandIn = nullptr;
    connect(m_fontName, &QComboBox::textActivated, this, &frmMain::cboFontName_Click);
}

void frmMain::mnuViewFormatBar_Click()
{
    const bool shown = menuItem(QStringLiteral("mnuViewFormatBar"))->isChecked();
    m_formatBar->setVisible(shown);
    SaveSetting(applicationTitle(), formatSection, formatBarKey, shown ? QStringLiteral("1") : QStringLiteral("0"));
}

void frmMain::watchDocument(frmDocument *document)
{
    RichTextBox *box = document->textBox();
    connect(box, &QTextEdit::currentCharFormatChanged, this, &frmMain::updateMenus);
    connect(box, &QTextEdit::cursorPositionChanged, this, &frmMain::updateMenus);
    connect(box, &QTextEdit::selectionChanged, this, &frmMain::updateMenus);
}

RichTextBox *frmMain::activeTextBox() const
{
    frmDocument *document = activeDocument();
    return document ? document->textBox() : nullptr;
}

void frmMain::showFormatOf(const RichTextBox *box)
{
    if (!box) {
        for (QAction *item : m_formatMenu->actions())
            item->setChecked(false);
        return;
    }
    menuItem(QStringLiteral("mnuFormatBold"))->setChecked(allSelected(box, isBold));
    menuItem(QStringLiteral("mnuFormatItalic"))->setChecked(allSelected(box, isItalic));
    menuItem(QStringLiteral("mnuFormatUnderline"))->setChecked(allSelected(box, isUnderlined));
    menuItem(QStringLiteral("mnuFormatStrikeout"))->setChecked(allSelected(box, isStruckOut));

    const QTextCursor cursor = box->textCursor();
    const Qt::Alignment a = cursor.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    const char *aligned = (a & Qt::AlignHCenter)   ? "mnuFormatCenter"
                          : (a & Qt::AlignJustify) ? "mnuFormatJustify"
                          : (a & Qt::AlignRight)   ? "mnuFormatAlignRight"
                                                   : "mnuFormatAlignLeft";
    menuItem(QLatin1String(aligned))->setChecked(true);
    const QTextList *list = cursor.currentList();
    const int style = list ? list->format().style() : 0;
    menuItem(QStringLiteral("mnuFormatBullets"))->setChecked(style == QTextListFormat::ListDisc);
    menuItem(QStringLiteral("mnuFormatNumbering"))->setChecked(style == QTextListFormat::ListDecimal);

    // The boxes show the font without telling the document anything back.
    const QFont font = fontAtCursor(box);
    if (m_fontName) {
        const QSignalBlocker quiet(m_fontName);
        m_fontName->setCurrentFont(QFont(font.family()));
    }
    {
        const QSignalBlocker quiet(m_fontSize);
        const QString size = sizeText(font.pointSizeF());
        const int index = m_fontSize->findText(size);
        if (index >= 0)
            m_fontSize->setCurrentIndex(index);
        m_fontSize->setEditText(size);
    }
}

void frmMain::onText(const std::function<void(RichTextBox *)> &command)
{
    // The commands are disabled without a document; a call from elsewhere finds nothing to do.
    if (RichTextBox *box = activeTextBox()) {
        command(box);
        updateMenus();
    }
}

void frmMain::mnuEditRedo_Click()
{
    onText([](RichTextBox *box) { box->redo(); });
}

void frmMain::mnuEditSelectAll_Click()
{
    onText([](RichTextBox *box) { box->selectAll(); });
}

void frmMain::mnuFormatBold_Click()
{
    onText([](RichTextBox *box) {
        QTextCharFormat f;
        f.setFontWeight(allSelected(box, isBold) ? QFont::Normal : QFont::Bold);
        box->mergeCurrentCharFormat(f);
    });
}

void frmMain::mnuFormatItalic_Click()
{
    onText([](RichTextBox *box) {
        QTextCharFormat f;
        f.setFontItalic(!allSelected(box, isItalic));
        box->mergeCurrentCharFormat(f);
    });
}

void frmMain::mnuFormatUnderline_Click()
{
    onText([](RichTextBox *box) {
        QTextCharFormat f;
        f.setFontUnderline(!allSelected(box, isUnderlined));
        box->mergeCurrentCharFormat(f);
    });
}

void frmMain::mnuFormatStrikeout_Click()
{
    onText([](RichTextBox *box) {
        QTextCharFormat f;
        f.setFontStrikeOut(!allSelected(box, isStruckOut));
        box->mergeCurrentCharFormat(f);
    });
}

void frmMain::mnuFormatFont_Click()
{
    onText([this](RichTextBox *box) {
        const std::optional<QFont> chosen = chooseFont(this, fontAtCursor(box), QStringLiteral("Font"));
        if (!chosen)
            return;
        // Only what the dialog offers; spacing and the like stay as they were.
        QTextCharFormat f;
        f.setFontFamilies(QStringList{chosen->family()});
        if (chosen->pointSizeF() > 0)
            f.setFontPointSize(std::clamp(chosen->pointSizeF(), 1.0, MaxPointSize));
        f.setFontWeight(chosen->weight());
        f.setFontItalic(chosen->italic());
        f.setFontUnderline(chosen->underline());
        f.setFontStrikeOut(chosen->strikeOut());
        box->mergeCurrentCharFormat(f);
    });
}

void frmMain::mnuFormatColor_Click()
{
    onText([this](RichTextBox *box) {
        const QBrush now = box->currentCharFormat().foreground();
        const QColor initial = now.style() != Qt::NoBrush ? now.color() : box->palette().color(QPalette::Text);
        if (const std::optional<QColor> chosen = chooseColor(this, initial, QStringLiteral("Text Colour"))) {
            QTextCharFormat f;
            f.setForeground(*chosen);
            box->mergeCurrentCharFormat(f);
        }
    });
}

void frmMain::mnuFormatHighlight_Click()
{
    onText([this](RichTextBox *box) {
        const QBrush now = box->currentCharFormat().background();
        const QColor initial = now.style() != Qt::NoBrush ? now.color() : QColor(Qt::yellow);
        if (const std::optional<QColor> chosen = chooseColor(this, initial, QStringLiteral("Highlight"))) {
            QTextCharFormat f;
            f.setBackground(*chosen);
            box->mergeCurrentCharFormat(f);
        }
    });
}

void frmMain::mnuFormatAlign_Click(QAction *item)
{
    onText([item](RichTextBox *box) { box->setAlignment(Qt::Alignment(item->data().toInt())); });
}

void frmMain::cboFontName_Click(const QString &family)
{
    onText([&family](RichTextBox *box) {
        QTextCharFormat f;
        f.setFontFamilies(QStringList{family});
        box->mergeCurrentCharFormat(f);
        box->setFocus();
    });
}

void frmMain::cboFontSize_Click(const QString &size)
{
    onText([&size](RichTextBox *box) {
        // A size that is not a number, or out of range, is not taken; the box
        // goes back to the size at the cursor (updateMenus shows it).
        bool ok = false;
        double points = QLocale().toDouble(size.trimmed(), &ok);
        if (!ok)
            points = size.trimmed().toDouble(&ok);
        if (ok && std::isfinite(points) && points >= 1 && points <= MaxPointSize) {
            QTextCharFormat f;
            f.setFontPointSize(std::round(points * 2) / 2);
            box->mergeCurrentCharFormat(f);
        }
        box->setFocus();
    });
}

void frmMain::toggleList(int style)
{
    onText([style](RichTextBox *box) {
        QTextCursor cursor = box->textCursor();
        const QList<QTextBlock> blocks = selectedBlocks(cursor);
        const bool all = std::all_of(blocks.begin(), blocks.end(), [style](const QTextBlock &b) {
            return b.textList() && b.textList()->format().style() == style;
        });
        cursor.beginEditBlock();
        if (all) {
            // Off: the paragraphs leave their list, back where they were before it.
            for (const QTextBlock &b : blocks) {
                QTextBlockFormat f = b.blockFormat();
                f.setObjectIndex(-1);
                QTextCursor(b).setBlockFormat(f);
            }
        } else {
            // On: one list of the selected paragraphs, at the level the first one had.
            QTextListFormat f;
            f.setStyle(QTextListFormat::Style(style));
            f.setIndent(blocks.first().textList() ? blocks.first().textList()->format().indent() : 1);
            cursor.createList(f);
        }
        cursor.endEditBlock();
    });
}

void frmMain::mnuFormatBullets_Click()
{
    toggleList(QTextListFormat::ListDisc);
}

void frmMain::mnuFormatNumbering_Click()
{
    toggleList(QTextListFormat::ListDecimal);
}

void frmMain::changeIndent(int step)
{
    onText([step](RichTextBox *box) {
        QTextCursor cursor = box->textCursor();
        const qreal indentWidth = box->document()->indentWidth();
        cursor.beginEditBlock();
        for (const QTextBlock &b : selectedBlocks(cursor)) {
            QTextCursor at(b);
            if (const QTextList *list = b.textList()) {
                // A list item moves a level; it joins the list of that level
                // and style just above it, or starts one.
                QTextListFormat f = list->format();
                const int level = f.indent() + step;
                if (level < 1)
                    continue;
                f.setIndent(level);
                QTextBlock above = b.previous();
                while (above.isValid() && above.textList() && above.textList()->format().indent() > level)
                    above = above.previous();
                const QTextList *join = above.isValid() ? above.textList() : nullptr;
                if (join && join != list && join->format().indent() == level && join->format().style() == f.style()) {
                    QTextBlockFormat bf = b.blockFormat();
                    bf.setObjectIndex(join->objectIndex());
                    at.setBlockFormat(bf);
                } else {
                    at.createList(f);
                }
                continue;
            }
            // Any other paragraph: a step of the document's indent, down to
            // the margin it was read with as well.
            QTextBlockFormat f = b.blockFormat();
            if (step > 0)
                f.setIndent(f.indent() + 1);
            else if (f.indent() > 0)
                f.setIndent(f.indent() - 1);
            else if (f.leftMargin() > 0)
                f.setLeftMargin(std::max<qreal>(0, f.leftMargin() - indentWidth));
            else
                continue;
            at.setBlockFormat(f);
        }
        cursor.endEditBlock();
    });
}

void frmMain::mnuFormatIndent_Click()
{
    changeIndent(1);
}

void frmMain::mnuFormatOutdent_Click()
{
    changeIndent(-1);
}

// ---- Find and Replace ------------------------------------------------------------

void frmMain::mnuEditFind_Click()
{
    onText([this](RichTextBox *box) {
        if (!m_find)
            m_find = new frmFind([this] { return static_cast<QTextEdit *>(activeTextBox()); }, this);
        // A selection within one paragraph is what to look for.
        const QString selected = box->textCursor().selectedText();
        m_find->showWith(selected.contains(QChar::ParagraphSeparator) || selected.contains(QChar::LineSeparator)
                             ? QString()
                             : selected);
    });
}

void frmMain::mnuEditReplace_Click()
{
    mnuEditFind_Click();
}

void frmMain::mnuEditFindNext_Click()
{
    if (!m_find || m_find->findText().isEmpty()) {
        mnuEditFind_Click(); // nothing searched for yet
        return;
    }
    findAgain();
}

void frmMain::findAgain()
{
    const frmFind::Outcome outcome = m_find->findNext();
    if (m_find->isVisible())
        return; // its status line says what happened
    if (outcome == frmFind::Outcome::NotFound)
        messageBox(this, m_find->status(), QMessageBox::Ok, QMessageBox::Information);
    else if (outcome == frmFind::Outcome::Wrapped)
        statusBar()->showMessage(m_find->status(), 5000);
}

} // namespace tavrin

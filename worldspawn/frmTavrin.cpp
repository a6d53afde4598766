#include "frmTavrin.h"

#include "menus.h"
#include "windowregistry.h"
#include "worldspawn.h"

#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include "copybox.h"
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

void DropDownComboBox::showPopup()
{
    emit dropDown();
    QComboBox::showPopup();
}

frmTavrin::frmTavrin(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmTavrin"));
    setWindowTitle(QStringLiteral("Tavrin CoD2 WorldSpawn Settings"));

    auto *central = new QWidget(this);
    setCentralWidget(central);

    // Created in this order, so the copy box is made first and the label
    // that shares its place is raised below it.
    Text1 = new CopyBox(central);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Command1 = new QPushButton(QStringLiteral("MP/SPSettings"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    Combo1 = new DropDownComboBox(central);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setMinimumContentsLength(22);
    Combo1->setEditText(QStringLiteral("MP/SP_LEVELS"));
    Label3 = new QLabel(QStringLiteral("Display Settings:"), central);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label1 = new QLabel(central);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignTop | Qt::AlignRight);
    Label1->setTextFormat(Qt::PlainText);

    // Made after the controls above, so they keep their order.
    cmdCopyEntity = new QPushButton(QStringLiteral("Copy as E&ntity"), central);
    cmdCopyEntity->setObjectName(QStringLiteral("cmdCopyEntity"));
    cmdCopyEntity->setToolTip(QStringLiteral("Copies the shown map's worldspawn as a map file writes it"));
    auto *swatchColumn = new QVBoxLayout;
    const char *const swatchNames[3] = {"swColor", "swSunDiffuseColor", "swSunColor"};
    for (int i = 0; i < 3; ++i) {
        swatches[i] = new QFrame(central);
        swatches[i]->setObjectName(QLatin1String(swatchNames[i]));
        swatches[i]->setFrameShape(QFrame::Box);
        swatches[i]->setFixedSize(40, 40);
        swatches[i]->setAutoFillBackground(true);
        swatchColumn->addWidget(swatches[i]);
    }
    swatchColumn->addStretch(1);

    auto *grid = new QGridLayout(central);
    grid->addWidget(Combo1, 0, 0);
    grid->addWidget(Command1, 0, 1);
    grid->addWidget(Label3, 1, 0, 1, 2);
    grid->addWidget(Label1, 2, 0, 1, 2);
    grid->addWidget(Text1, 2, 0, 1, 2);
    // The new controls in a column of their own at the right.
    grid->addWidget(cmdCopyEntity, 0, 2);
    grid->addLayout(swatchColumn, 2, 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    Text1->raise(); // covers the label

    setTabOrder(Combo1, Command1);
    setTabOrder(Command1, Text1);
    setTabOrder(Text1, cmdCopyEntity);

    addItem(menuBar(), "mnuEffects", QStringLiteral("&Effects List"), this, &frmTavrin::mnuEffects_Click);
    // Alt+E stays with the effects list; the copy takes Alt+N, through the
    // menu item alone (two holders of one key would each wait for a second press).
    mnuCopyEntity =
        addItem(menuBar(), "mnuCopyEntity", QStringLiteral("Copy as E&ntity"), this, &frmTavrin::cmdCopyEntity_Click);
    cmdCopyEntity->setShortcut(QKeySequence());
    connect(cmdCopyEntity, &QPushButton::clicked, this, &frmTavrin::cmdCopyEntity_Click);

    connect(Combo1, &DropDownComboBox::dropDown, this, &frmTavrin::Combo1_DropDown);
    connect(Command1, &QPushButton::clicked, this, &frmTavrin::Command1_Click);

    resize(520, 360);
    Form_Load();
}

void frmTavrin::Form_Load()
{
    Label1->clear();
    Text1->clear();
    m_shown = nullptr;
    showSwatches(nullptr);
}

void frmTavrin::showSwatches(const MapRow *row)
{
    // Nothing to copy until a map is shown.
    cmdCopyEntity->setEnabled(row);
    mnuCopyEntity->setEnabled(row);
    for (int i = 0; i < 3; ++i) {
        const std::optional<QColor> color = row ? WorldspawnColor(colorKeys(*row)[i].value) : std::nullopt;
        swatches[i]->setVisible(color.has_value());
        if (!color)
            continue;
        QPalette palette = swatches[i]->palette();
        palette.setColor(QPalette::Window, *color);
        swatches[i]->setPalette(palette);
        const ColorKey key = colorKeys(*row)[i];
        swatches[i]->setToolTip(QLatin1String(key.key) + QLatin1Char(' ') + key.value);
    }
}

void frmTavrin::Combo1_DropDown()
{
    // The list is rebuilt on every opening, so it never holds duplicates.
    Combo1->clear();
    Combo1->addItems(mapList());
    Combo1->setCurrentIndex(-1);
    Combo1->clearEditText();
}

void frmTavrin::Command1_Click()
{
    const MapRow *row = FindMap(Combo1->currentText());
    if (!row)
        return;
    Label1->setText(RenderSettings(*row));
    Text1->setPlainText(Label1->text());
    m_shown = row;
    showSwatches(row);
}

void frmTavrin::cmdCopyEntity_Click()
{
    if (m_shown)
        QGuiApplication::clipboard()->setText(RenderEntity(*m_shown));
}

void frmTavrin::mnuEffects_Click()
{
    // The viewer steps aside for the browser, and stays loaded with its content.
    if (WindowRegistry::instance().show(WindowId::Cod2Efx))
        hide();
}

} // namespace tavrin

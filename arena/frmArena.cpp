#include "frmArena.h"

#include "arena.h"
#include "arenafile.h"
#include "messagebox.h"
#include "windowregistry.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace tavrin {

frmArena::frmArena(QWidget *parent)
    : QMainWindow(parent)
    , cd1(this)
{
    setObjectName(QStringLiteral("frmArena"));
    setWindowTitle(QStringLiteral("COD 2 Arena GSC Maker"));

    auto *central = new QWidget(this);
    setCentralWidget(central);
    lblMap = new QLabel(QStringLiteral("Map:"), central);
    lblMap->setObjectName(QStringLiteral("lblMap"));
    txtMap = new QLineEdit(central);
    txtMap->setObjectName(QStringLiteral("txtMap"));
    lblLongname = new QLabel(QStringLiteral("Longname:"), central);
    lblLongname->setObjectName(QStringLiteral("lblLongname"));
    txtLongName = new QLineEdit(central);
    txtLongName->setObjectName(QStringLiteral("txtLongName"));
    Label3 = new QLabel(QStringLiteral("Gametype:"), central);
    Label3->setObjectName(QStringLiteral("Label3"));
    cboGameType = new QComboBox(central);
    cboGameType->setObjectName(QStringLiteral("cboGameType"));
    cboGameType->setEditable(true);
    cboGameType->setInsertPolicy(QComboBox::NoInsert); // typing never adds to the list

    auto *grid = new QGridLayout(central);
    grid->addWidget(lblMap, 0, 0);
    grid->addWidget(txtMap, 0, 1);
    grid->addWidget(lblLongname, 1, 0);
    grid->addWidget(txtLongName, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(cboGameType, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    txtMap->setMinimumWidth(220);

    setTabOrder(txtMap, txtLongName);
    setTabOrder(txtLongName, cboGameType);

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuNew = mnuFile->addAction(QStringLiteral("&New"));
    mnuNew->setObjectName(QStringLiteral("mnuNew"));
    mnuSaveAs = mnuFile->addAction(QStringLiteral("S&ave As"));
    mnuSaveAs->setObjectName(QStringLiteral("mnuSaveAs"));
    mnuExit = mnuFile->addAction(QStringLiteral("&Exit"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    mnuAbout = menuBar()->addAction(QStringLiteral("About"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));

    connect(mnuNew, &QAction::triggered, this, &frmArena::mnuNew_Click);
    connect(mnuSaveAs, &QAction::triggered, this, &frmArena::mnuSaveAs_Click);
    connect(mnuExit, &QAction::triggered, this, &frmArena::mnuExit_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmArena::mnuAbout_Click);

    Form_Load();
    txtMap->setFocus();
}

Arena &frmArena::arena()
{
    return WindowRegistry::instance().state<Arena>(WindowId::Arena);
}

void frmArena::Form_Load()
{
    cboGameType->clear();
    cboGameType->addItems({QStringLiteral("dm"), QStringLiteral("ctf"), QStringLiteral("tdm"),
                           QStringLiteral("hq"), QStringLiteral("sd"), QStringLiteral("dm tdm"),
                           QStringLiteral("dm tdm ctf"), QStringLiteral("dm tdm ctf hq"),
                           QStringLiteral("dm tdm hq ctf"), QStringLiteral("dm tdm ctf hq sd")});
    // Nothing picked: the box starts empty.
    cboGameType->setCurrentIndex(-1);
    cboGameType->clearEditText();
}

void frmArena::mnuNew_Click()
{
    txtMap->clear();
    txtLongName->clear();
    cboGameType->setCurrentIndex(-1);
    cboGameType->clearEditText();
}

void frmArena::mnuSaveAs_Click()
{
    Arena &record = arena();
    record.map = txtMap->text();
    record.longname = txtLongName->text();
    record.gametype = cboGameType->currentText();
    if (anyEmpty(txtMap->text(), txtLongName->text(), cboGameType->currentText())) {
        messageBox(this, IncompleteEntryText, QMessageBox::Ok, QMessageBox::Critical,
                   QStringLiteral("Error"));
        return;
    }
    saveArenaFile(this, cd1, record.ArenaString());
}

void frmArena::mnuExit_Click()
{
    // Exit leaves the maker, as a user expects; the rest of the program goes on.
    close();
}

void frmArena::mnuAbout_Click()
{
    WindowRegistry::instance().show(WindowId::About);
}

} // namespace tavrin

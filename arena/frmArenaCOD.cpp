#include "frmArenaCOD.h"

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

frmArenaCOD::frmArenaCOD(QWidget *parent)
    : QMainWindow(parent)
    , cd1(this)
{
    setObjectName(QStringLiteral("frmArenaCOD"));
    setWindowTitle(QStringLiteral("Tavrin (COD) Arena CFG"));

    auto *central = new QWidget(this);
    setCentralWidget(central);
    M = new QLabel(QStringLiteral("Map:"), central);
    M->setObjectName(QStringLiteral("M"));
    txtMap = new QLineEdit(central);
    txtMap->setObjectName(QStringLiteral("txtMap"));
    Label2 = new QLabel(QStringLiteral("Longname:"), central);
    Label2->setObjectName(QStringLiteral("Label2"));
    txtGame = new QLineEdit(central);
    txtGame->setObjectName(QStringLiteral("txtGame"));
    Label3 = new QLabel(QStringLiteral("Gametypes:"), central);
    Label3->setObjectName(QStringLiteral("Label3"));
    cboGt = new QComboBox(central);
    cboGt->setObjectName(QStringLiteral("cboGt"));
    cboGt->setEditable(true);
    cboGt->setInsertPolicy(QComboBox::NoInsert); // typing never adds to the list

    auto *grid = new QGridLayout(central);
    grid->addWidget(M, 0, 0);
    grid->addWidget(txtMap, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(txtGame, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(cboGt, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    txtMap->setMinimumWidth(220);

    setTabOrder(txtMap, txtGame);
    setTabOrder(txtGame, cboGt);

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuSaveAs = mnuFile->addAction(QStringLiteral("Save As"));
    mnuSaveAs->setObjectName(QStringLiteral("mnuSaveAs"));

    connect(mnuSaveAs, &QAction::triggered, this, &frmArenaCOD::mnuSaveAs_Click);

    Form_Load();
    txtMap->setFocus();
}

ArenaCOD &frmArenaCOD::arena()
{
    return WindowRegistry::instance().state<ArenaCOD>(WindowId::ArenaCOD);
}

void frmArenaCOD::Form_Load()
{
    cboGt->addItems({QStringLiteral("tdm"), QStringLiteral("dm"), QStringLiteral("hq"),
                     QStringLiteral("bel"), QStringLiteral("sd"), QStringLiteral("re"),
                     QStringLiteral("tdm dm"), QStringLiteral("tdm dm bel"),
                     QStringLiteral("sd re hq"), QStringLiteral("tdm dm hq bel sd re")});
    // Nothing picked: the box starts empty.
    cboGt->setCurrentIndex(-1);
    cboGt->clearEditText();
}

void frmArenaCOD::mnuSaveAs_Click()
{
    ArenaCOD &record = arena();
    record.map = txtMap->text();
    record.longname = txtGame->text();
    record.gametype = cboGt->currentText();
    // This window's message carries the application title.
    if (anyEmpty(txtMap->text(), txtGame->text(), cboGt->currentText())) {
        messageBox(this, IncompleteEntryText, QMessageBox::Ok, QMessageBox::Critical);
        return;
    }
    saveArenaFile(this, cd1, record.sCompleteString());
}

} // namespace tavrin

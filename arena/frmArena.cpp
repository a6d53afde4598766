#include "frmArena.h"

#include "arena.h"
#include "windowregistry.h"

#include <QMenu>
#include <QMenuBar>

namespace tavrin {

frmArena::frmArena(QWidget *parent)
    : ArenaMaker({"lblMap", "lblLongname", "txtLongName", "Gametype:", "cboGameType"}, parent)
    , txtMap(m_map)
    , txtLongName(m_longname)
    , cboGameType(m_gametype)
{
    setObjectName(QStringLiteral("frmArena"));
    setWindowTitle(QStringLiteral("COD 2 Arena GSC Maker"));

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
}

Arena &frmArena::arena()
{
    return WindowRegistry::instance().state<Arena>(WindowId::Arena);
}

void frmArena::Form_Load()
{
    fillGametypes({QStringLiteral("dm"), QStringLiteral("ctf"), QStringLiteral("tdm"),
                   QStringLiteral("hq"), QStringLiteral("sd"), QStringLiteral("dm tdm"),
                   QStringLiteral("dm tdm ctf"), QStringLiteral("dm tdm ctf hq"),
                   QStringLiteral("dm tdm hq ctf"), QStringLiteral("dm tdm ctf hq sd")});
}

void frmArena::mnuNew_Click()
{
    clearBoxes();
}

void frmArena::mnuSaveAs_Click()
{
    saveAs(arena(), &Arena::ArenaString, QStringLiteral("Error"));
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

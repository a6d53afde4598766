#include "frmArena.h"

#include "arena.h"
#include "menus.h"
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

    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    mnuNew = addItem(mnuFile, "mnuNew", QStringLiteral("&New"), this, &frmArena::mnuNew_Click);
    mnuSaveAs = addItem(mnuFile, "mnuSaveAs", QStringLiteral("S&ave As"), this, &frmArena::mnuSaveAs_Click);
    mnuExit = addItem(mnuFile, "mnuExit", QStringLiteral("&Exit"), this, &frmArena::mnuExit_Click);
    mnuAbout = addShowItem(menuBar(), "mnuAbout", QStringLiteral("About"), WindowId::About);

    Form_Load();
}

Arena &frmArena::arena()
{
    return WindowRegistry::instance().state<Arena>(WindowId::Arena);
}

void frmArena::Form_Load()
{
    fillGametypes({QStringLiteral("dm"), QStringLiteral("ctf"), QStringLiteral("tdm"), QStringLiteral("hq"),
                   QStringLiteral("sd"), QStringLiteral("dm tdm"), QStringLiteral("dm tdm ctf"),
                   QStringLiteral("dm tdm ctf hq"), QStringLiteral("dm tdm hq ctf"),
                   QStringLiteral("dm tdm ctf hq sd")});
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

} // namespace tavrin

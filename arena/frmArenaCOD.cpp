#include "frmArenaCOD.h"

#include "arena.h"
#include "menus.h"
#include "windowregistry.h"

#include <QMenu>
#include <QMenuBar>

namespace tavrin {

frmArenaCOD::frmArenaCOD(QWidget *parent)
    : ArenaMaker({"M", "Label2", "txtGame", "Gametypes:", "cboGt"}, parent)
    , txtMap(m_map)
    , txtGame(m_longname)
    , cboGt(m_gametype)
{
    setObjectName(QStringLiteral("frmArenaCOD"));
    setWindowTitle(QStringLiteral("Tavrin (COD) Arena CFG"));

    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    mnuSaveAs = addItem(mnuFile, "mnuSaveAs", QStringLiteral("Save As"), this, &frmArenaCOD::mnuSaveAs_Click);

    Form_Load();
}

ArenaCOD &frmArenaCOD::arena()
{
    return WindowRegistry::instance().state<ArenaCOD>(WindowId::ArenaCOD);
}

void frmArenaCOD::Form_Load()
{
    fillGametypes({QStringLiteral("tdm"), QStringLiteral("dm"), QStringLiteral("hq"), QStringLiteral("bel"),
                   QStringLiteral("sd"), QStringLiteral("re"), QStringLiteral("tdm dm"), QStringLiteral("tdm dm bel"),
                   QStringLiteral("sd re hq"), QStringLiteral("tdm dm hq bel sd re")});
}

void frmArenaCOD::mnuSaveAs_Click()
{
    // This window's message carries the application's title.
    saveAs(arena(), &ArenaCOD::sCompleteString, QString());
}

} // namespace tavrin

#include "registerwindows.h"

#include "frmArena.h"
#include "frmArenaCOD.h"
#include "frmCod2Efx.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmMapGsc.h"
#include "frmMenuOptions.h"
#include "frmOptions.h"
#include "frmTavrin.h"
#include "frmWebBrowser.h"
#include "windowregistry.h"

namespace tavrin {

void registerWindows()
{
    auto &registry = WindowRegistry::instance();
    registry.registerWindow(WindowId::Main, [] { return new frmMain; });
    registry.registerWindow(WindowId::MenuOptions, [] { return new frmMenuOptions; });
    registry.registerWindow(WindowId::Tavrin, [] { return new frmTavrin; });
    registry.registerWindow(WindowId::Cod2Efx, [] { return new frmCod2Efx; });
    registry.registerWindow(WindowId::Arena, [] { return new frmArena; });
    registry.registerWindow(WindowId::ArenaCOD, [] { return new frmArenaCOD; });
    registry.registerWindow(WindowId::MapGsc, [] { return new frmMapGsc; });
    registry.registerWindow(WindowId::Options, [] { return new frmOptions; });
    registry.registerWindow(WindowId::About, [] { return new frmAbout; });
    registry.registerWindow(WindowId::WebBrowser, [] { return new frmWebBrowser; });
}

} // namespace tavrin

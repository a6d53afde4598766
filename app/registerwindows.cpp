#include "registerwindows.h"

#include "frmAbout.h"
#include "frmMain.h"
#include "frmMenuOptions.h"
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
    registry.registerWindow(WindowId::About, [] { return new frmAbout; });
    registry.registerWindow(WindowId::WebBrowser, [] { return new frmWebBrowser; });
}

} // namespace tavrin

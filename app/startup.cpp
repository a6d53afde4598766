#include "startup.h"

#include "registerwindows.h"
#include "windowregistry.h"

#include <QApplication>
#include <QIcon>

namespace tavrin {

void startTavrin()
{
    QApplication::setOrganizationName(QStringLiteral("Tavrin"));
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tavrin-48.png")));
    registerWindows();
    WindowRegistry::instance().show(WindowId::Main);
}

} // namespace tavrin

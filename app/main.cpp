#include "windowregistry.h"
#include "registerwindows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tavrin"));
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tavrin-48.png")));

    tavrin::registerWindows();
    tavrin::WindowRegistry::instance().show(tavrin::WindowId::Main);
    const int code = QApplication::exec();
    // Windows still loaded (hidden ones too) go with the process.
    tavrin::WindowRegistry::instance().unloadAll();
    return code;
}

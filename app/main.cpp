#include "startup.h"
#include "windowregistry.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    tavrin::startTavrin();
    const int code = QApplication::exec();
    // Windows still loaded (hidden ones too) go with the process.
    tavrin::WindowRegistry::instance().unloadAll();
    return code;
}

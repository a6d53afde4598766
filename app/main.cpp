#include "startup.h"
#include "windowregistry.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The arguments are the files to open.
    tavrin::startTavrin(QApplication::arguments().mid(1));
    const int code = QApplication::exec();
    // Windows still loaded (hidden ones too) go with the process.
    tavrin::WindowRegistry::instance().unloadAll();
    return code;
}

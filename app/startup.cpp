#include "startup.h"

#include "frmMain.h"
#include "registerwindows.h"
#include "windowregistry.h"

#include <QApplication>
#include <QIcon>
#include <QPointer>
#include <QTimer>

namespace tavrin {

void startTavrin(const QStringList &files)
{
    QApplication::setOrganizationName(QStringLiteral("Tavrin"));
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tavrin-48.png")));
    registerWindows();
    QPointer<frmMain> main = qobject_cast<frmMain *>(WindowRegistry::instance().show(WindowId::Main));
    // Inside the event loop, so that File > Exit during a read ends the program.
    QTimer::singleShot(0, main, [main, files] {
        if (main)
            main->startUp(files);
    });
}

} // namespace tavrin

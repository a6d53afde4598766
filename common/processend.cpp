#include "processend.h"

#include <QCoreApplication>

namespace tavrin {

namespace {
ExitGuard &guard()
{
    static ExitGuard current;
    return current;
}
} // namespace

void setExitGuard(ExitGuard g)
{
    guard() = std::move(g);
}

void endProcess()
{
    if (guard() && !guard()())
        return;
    // exit(), not quit(): quit() closes every window first, which would run
    // their close handling and store the main window's placement.
    QCoreApplication::exit(0);
}

} // namespace tavrin

// Start-up of the program against a bare Qt window (and against one with the
// least menu bar, toolbar and status bar), and the opening of each tool window. Prints one line when its main window is
// first shown on screen: "shown <peak resident kB>", then ends at once (the driver times the line). With --tools, it
// then opens each tool window in turn and prints "open <window> <milliseconds>" for each.
#include "peakmemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>

#include <cstdio>
#include <unistd.h>

#ifdef TAVRIN_BENCH_PROGRAM
#include "frmWebBrowser.h"
#include "startup.h"
#include "windowregistry.h"
#endif

namespace {
bool waitExposed(QWidget *w, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!(w->windowHandle() && w->windowHandle()->isExposed()) && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return w->windowHandle() && w->windowHandle()->isExposed();
}

#ifdef TAVRIN_BENCH_PROGRAM
void openTools()
{
    using tavrin::WindowId;
    const std::pair<WindowId, const char *> tools[] = {
        {WindowId::MenuOptions, "frmMenuOptions"},
        {WindowId::Tavrin, "frmTavrin"},
        {WindowId::Cod2Efx, "frmCod2Efx"},
        {WindowId::MapGsc, "frmMapGsc"},
        {WindowId::Arena, "frmArena"},
        {WindowId::ArenaCOD, "frmArenaCOD"},
        {WindowId::Options, "frmOptions"},
        {WindowId::About, "frmAbout"},
        {WindowId::WebBrowser, "frmWebBrowser"},
    };
    auto &registry = tavrin::WindowRegistry::instance();
    // The updates window loads its engine and a blank page: the time is the
    // window's, and nothing leaves the machine.
    tavrin::frmWebBrowser::setUpdatesAddress(QUrl(QStringLiteral("about:blank")));
    for (const auto &[id, name] : tools) {
        if (!registry.isRegistered(id))
            continue;
        QElapsedTimer t;
        t.start();
        QWidget *w = registry.show(id);
        const bool shown = w && waitExposed(w);
        std::printf("open %s %.1f%s\n", name, t.nsecsElapsed() / 1e6, shown ? "" : " (not shown)");
        std::fflush(stdout);
        // Leave the options window's maker open; everything goes at the end.
    }
}
#endif
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool tools = argc > 1 && qstrcmp(argv[1], "--tools") == 0;
#ifdef TAVRIN_BENCH_PROGRAM
    tavrin::startTavrin();
    QWidget *main = tavrin::WindowRegistry::instance().widget(tavrin::WindowId::Main);
#else
    QMainWindow window;
    window.setCentralWidget(new QMdiArea);
#ifdef TAVRIN_BENCH_CHROME
    // The least any main window with a menu, a toolbar and a status bar draws:
    // one menu, one toolbar button, one status text.
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"));
    window.addToolBar(QStringLiteral("Toolbar"))
        ->addAction(QIcon(QStringLiteral(":/icons/document-open.png")), QStringLiteral("Open"));
    window.statusBar()->showMessage(QStringLiteral("Status"));
#endif
    window.show();
    QWidget *main = &window;
#endif
    if (!waitExposed(main))
        return 1;
    std::printf("shown %ld\n", peakResidentKb());
    std::fflush(stdout);
#ifdef TAVRIN_BENCH_PROGRAM
    if (tools)
        openTools();
#else
    Q_UNUSED(tools);
#endif
    _exit(0); // the time to tear down is not start-up
}

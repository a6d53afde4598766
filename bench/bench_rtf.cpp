// Reading and writing a large rich text document: our RTF reader and writer
// against Qt's own HTML import and export of the same document (see
// benchdocument.h; our writer turns it into about 10 MB of RTF). Each measure
// is the median of several runs; the ratios are ours over Qt's.
#include "benchdocument.h"
#include "rtf.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

// Median in milliseconds of `runs` timings of `work`, after one run to warm up.
// `work` returns what it made, kept alive until the timer has stopped.
double medianMs(int runs, const std::function<std::shared_ptr<void>()> &work)
{
    work();
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        std::shared_ptr<void> made = work();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms.size() % 2 ? ms[ms.size() / 2] : (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QTextDocument source;
    tavrin::bench::generateDocument(source);
    const QByteArray rtfData = tavrin::rtf::write(source);
    // Both sides work from the document as our reader makes it.
    QTextDocument doc;
    if (!tavrin::rtf::read(rtfData, doc).ok)
        return 1;
    const QString html = doc.toHtml();

    const double readOurs = medianMs(runs, [&] {
        auto d = std::make_shared<QTextDocument>();
        tavrin::rtf::read(rtfData, *d);
        return d;
    });
    const double readQt = medianMs(runs, [&] {
        auto d = std::make_shared<QTextDocument>();
        d->setHtml(html);
        return d;
    });
    const double writeOurs = medianMs(runs, [&] { return std::make_shared<QByteArray>(tavrin::rtf::write(doc)); });
    const double writeQt = medianMs(runs, [&] { return std::make_shared<QString>(doc.toHtml()); });

    std::printf("RTF reading and writing, median of %d runs each:\n", runs);
    std::printf("  document: %.1f MB of RTF (%.1f MB of HTML), %d paragraphs, %d pictures, a %dx%d table\n",
                rtfData.size() / 1e6, html.toUtf8().size() / 1e6, doc.blockCount(), tavrin::bench::Pictures, tavrin::bench::TableRows,
                tavrin::bench::TableColumns);
    std::printf("  reading: ours %8.1f ms   Qt's HTML import %8.1f ms   ratio %.2f (goal: at most 1.5)\n",
                readOurs, readQt, readOurs / readQt);
    std::printf("  writing: ours %8.1f ms   Qt's HTML export %8.1f ms   ratio %.2f (goal: at most 1.0)\n",
                writeOurs, writeQt, writeOurs / writeQt);
    return 0;
}

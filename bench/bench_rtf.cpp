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

// An RTF table of the given rows and three columns, as Word writes one.
QByteArray tableRtf(int rows)
{
    QByteArray out = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\r\n";
    for (int r = 0; r < rows; ++r) {
        out += "\\trowd\\trgaph108\\cellx2000\\cellx4000\\cellx9000\r\n";
        out += "\\pard\\intbl map " + QByteArray::number(r)
               + "\\cell\\pard\\intbl mp_name\\cell\\pard\\intbl a note\\cell\\row\r\n";
    }
    return out + "}";
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

    // Reading a table must grow with its size, not with its square.
    double tableMs[2];
    const int tableRows[2] = {1000, 50000};
    for (int i = 0; i < 2; ++i) {
        const QByteArray data = tableRtf(tableRows[i]);
        tableMs[i] = medianMs(i ? std::max(1, runs / 2) : runs, [&] {
            auto d = std::make_shared<QTextDocument>();
            tavrin::rtf::read(data, *d);
            return d;
        });
    }

    std::printf("RTF reading and writing, median of %d runs each:\n", runs);
    std::printf("  document: %.1f MB of RTF (%.1f MB of HTML), %d paragraphs, %d pictures, a %dx%d table\n",
                rtfData.size() / 1e6, html.toUtf8().size() / 1e6, doc.blockCount(), tavrin::bench::Pictures,
                tavrin::bench::TableRows, tavrin::bench::TableColumns);
    std::printf("  reading: ours %8.1f ms   Qt's HTML import %8.1f ms   ratio %.2f (goal: at most 1.5)\n", readOurs,
                readQt, readOurs / readQt);
    std::printf("  writing: ours %8.1f ms   Qt's HTML export %8.1f ms   ratio %.2f (goal: at most 1.0)\n", writeOurs,
                writeQt, writeOurs / writeQt);
    std::printf("  a table of 3 columns: %d rows %8.1f ms, %d rows %8.1f ms, ratio %.1f for %dx the rows\n",
                tableRows[0], tableMs[0], tableRows[1], tableMs[1], tableMs[1] / tableMs[0],
                tableRows[1] / tableRows[0]);
    return 0;
}

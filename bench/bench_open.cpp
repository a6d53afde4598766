// Opening a large document, from the Open dialog's OK to the first paint of
// its text, against Qt's own floor: the same content as HTML, read into a
// shown QTextEdit with setHtml. Also the longest the program leaves its event
// loop waiting meanwhile (a 10 ms timer records the gaps between its turns),
// the peak memory at the first paint, and the longest wait in the 3 s after,
// while the box lays out the rest. Every measure runs in a process of its
// own, so that its peak memory is its own.
//
//   bench_open [runs]                  generates the documents (about 10 and
//                                      20 MB of RTF, see benchdocument.h),
//                                      measures each side in turn and prints
//                                      the medians
//   bench_open measure ours|floor FILE prints "<ms> <longest gap ms> <peak kB>
//                                      <longest gap in the 3 s after, ms>"
#include "peakmemory.h"
#include "benchdocument.h"
#include "frmDocument.h"
#include "frmMain.h"
#include "messagebox.h"
#include "richtextbox.h"
#include "rtf.h"
#include "startup.h"
#include "windowregistry.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPaintEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int BoxWidth = 900, BoxHeight = 600; // the text box on both sides
constexpr int LaterMs = 3000;                  // how long the event loop is watched after the first paint

// Handles events until ready() holds (or five seconds have passed).
bool waitFor(const std::function<bool()> &ready)
{
    QElapsedTimer t;
    t.start();
    while (!ready() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return ready();
}

// One measure: started by start(), ended by the first paint of the text box's
// viewport that paints(); meanwhile a 10 ms timer records the longest gap
// between two turns of the event loop.
class Measure : public QObject
{
public:
    Measure(QTextEdit *box, std::function<bool()> paints)
        : m_paints(std::move(paints))
    {
        box->viewport()->installEventFilter(this);
        m_ticks.setTimerType(Qt::PreciseTimer);
        m_ticks.setInterval(10);
        connect(&m_ticks, &QTimer::timeout, this, [this] { tick(); });
    }

    void start()
    {
        m_clock.start();
        m_last = 0;
        m_ticks.start();
    }

    // Runs the event loop until the first paint; prints the line and answers
    // the exit code.
    int run(const std::function<void()> &open)
    {
        QTimer::singleShot(0, this, open);
        if (QCoreApplication::exec() != 0 || m_ms < 0)
            return 1;
        std::printf("%.1f %.1f %ld %.1f\n", m_ms, m_gapUntilPaint, m_peakKb, m_longestGap);
        return 0;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_clock.isValid() && m_ms < 0 && m_paints()) {
            tick();
            m_ms = m_clock.nsecsElapsed() / 1e6;
            m_peakKb = peakResidentKb();
            // Then the box lays out the rest of the document in steps between
            // events, as Qt lays out any large document.
            m_gapUntilPaint = m_longestGap;
            m_longestGap = 0;
            QTimer::singleShot(LaterMs, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void tick()
    {
        const double now = m_clock.nsecsElapsed() / 1e6;
        m_longestGap = std::max(m_longestGap, now - m_last);
        m_last = now;
    }

    std::function<bool()> m_paints;
    QElapsedTimer m_clock;
    QTimer m_ticks;
    double m_last = 0, m_longestGap = 0, m_ms = -1, m_gapUntilPaint = 0;
    long m_peakKb = 0;
};

// Our side: the program's own main window and File > Open, the dialog
// answered at once with the file; the clock starts at its OK.
int measureOurs(const QString &file)
{
    using namespace tavrin;
    setMessageBackend([](const MessageRequest &m) {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(m.text));
        QCoreApplication::exit(1);
        return QMessageBox::Ok;
    });
    startTavrin();
    auto *main = qobject_cast<frmMain *>(WindowRegistry::instance().widget(WindowId::Main));
    if (!main || !waitFor([main] { return main->windowHandle() && main->windowHandle()->isExposed(); }))
        return 1;
    main->resize(1200, 900);
    main->menuItem(QStringLiteral("mnuFileNew"))->trigger();
    RichTextBox *box = main->activeDocument()->textBox();
    QWidget *sub = main->activeDocument()->parentWidget(); // the document's window in the document area
    sub->resize(sub->size() + QSize(BoxWidth, BoxHeight) - box->size());
    const QTextDocument *empty = box->document();
    Measure measure(box, [box, empty] { return box->document() != empty; });
    bool painted = false;
    struct Painted : QObject {
        bool &flag;
        explicit Painted(bool &f)
            : flag(f)
        {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            flag |= e->type() == QEvent::Paint;
            return false;
        }
    } watch(painted);
    box->viewport()->installEventFilter(&watch);
    if (!waitFor([&painted] { return painted; }))
        return 1;
    CommonDialog::setBackend([&](const DialogRequest &, QPrinter *) {
        measure.start();
        return DialogAnswer{true, file};
    });
    return measure.run([main] { main->menuItem(QStringLiteral("mnuFileOpen"))->trigger(); });
}

// Qt's floor: a shown QTextEdit takes the file's HTML with setHtml.
int measureFloor(const QString &file)
{
    QTextEdit box;
    box.setLineWrapMode(QTextEdit::FixedPixelWidth);
    box.setLineWrapColumnOrWidth(BoxWidth - 40);
    box.resize(BoxWidth, BoxHeight);
    box.show();
    if (!waitFor([&box] { return box.windowHandle() && box.windowHandle()->isExposed(); }))
        return 1;
    QCoreApplication::processEvents();
    Measure measure(&box, [&box] { return !box.document()->isEmpty(); });
    return measure.run([&] {
        measure.start();
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            QCoreApplication::exit(1);
        box.setHtml(QString::fromUtf8(f.readAll()));
    });
}

struct Result {
    double ms = 0, gap = 0, peakMiB = 0, gapLater = 0;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

bool measureInChild(const QString &side, const QString &file, Result &out)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("measure"), side, file});
    if (!p.waitForFinished(15 * 60 * 1000) || p.exitCode() != 0)
        return false;
    const QList<QByteArray> words = p.readAllStandardOutput().trimmed().split(' ');
    if (words.size() != 4)
        return false;
    out = {words[0].toDouble(), words[1].toDouble(), words[2].toDouble() / 1024, words[3].toDouble()};
    return true;
}

int runAll(int runs)
{
    QTemporaryDir dir;
    struct Size {
        int paragraphs;
        QString rtf, html;
        double rtfMB = 0, htmlMB = 0;
    };
    std::vector<Size> sizes = {{30000, {}, {}}, {60000, {}, {}}};
    for (Size &s : sizes) {
        QTextDocument source;
        tavrin::bench::generateDocument(source, s.paragraphs);
        const QByteArray rtfData = tavrin::rtf::write(source);
        // Both sides read the document as our reader makes it.
        QTextDocument doc;
        if (!tavrin::rtf::read(rtfData, doc).ok)
            return 1;
        const QByteArray html = doc.toHtml().toUtf8();
        s.rtf = dir.filePath(QStringLiteral("open%1.rtf").arg(s.paragraphs));
        s.html = dir.filePath(QStringLiteral("open%1.html").arg(s.paragraphs));
        QFile r(s.rtf), h(s.html);
        if (!r.open(QIODevice::WriteOnly) || r.write(rtfData) != rtfData.size() || !h.open(QIODevice::WriteOnly)
            || h.write(html) != html.size())
            return 1;
        s.rtfMB = rtfData.size() / 1e6;
        s.htmlMB = html.size() / 1e6;
    }

    std::printf("opening a document, from the Open dialog's OK to the first paint, median of %d runs each:\n", runs);
    std::printf("  %-27s %9s %9s %6s %13s %13s %13s\n", "document", "Qt floor", "ours", "ratio", "longest gap",
                "gap later", "peak memory");
    std::printf("  %-27s %9s %9s %6s %13s %13s %13s\n", "", "", "", "", "floor/ours", "floor/ours", "floor/ours");
    for (const Size &s : sizes) {
        std::vector<double> floorMs, floorGap, floorPeak, floorLater, oursMs, oursGap, oursPeak, oursLater;
        for (int i = 0; i < runs; ++i) {
            Result floor, ours;
            if (!measureInChild(QStringLiteral("floor"), s.html, floor)
                || !measureInChild(QStringLiteral("ours"), s.rtf, ours)) {
                std::fprintf(stderr, "a measure failed\n");
                return 1;
            }
            floorMs.push_back(floor.ms), floorGap.push_back(floor.gap), floorPeak.push_back(floor.peakMiB);
            floorLater.push_back(floor.gapLater);
            oursMs.push_back(ours.ms), oursGap.push_back(ours.gap), oursPeak.push_back(ours.peakMiB);
            oursLater.push_back(ours.gapLater);
        }
        const QByteArray name =
            QStringLiteral("%1 MB RTF (%2 MB HTML)").arg(s.rtfMB, 0, 'f', 1).arg(s.htmlMB, 0, 'f', 1).toUtf8();
        std::printf("  %-27s %6.0f ms %6.0f ms %6.2f %7.0f/%.0f ms %7.0f/%.0f ms %6.0f/%.0f MiB\n", name.constData(),
                    median(floorMs), median(oursMs), median(oursMs) / median(floorMs), median(floorGap),
                    median(oursGap), median(floorLater), median(oursLater), median(floorPeak), median(oursPeak));
    }
    std::printf("  goals: ratio at most 0.30; our longest gap at most 100 ms; our peak memory at most the floor's\n");
    std::printf("  (gap later: the longest in the 3 s after the first paint, while Qt lays out the rest)\n");
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("measure"))
        return args[2] == QLatin1String("ours") ? measureOurs(args[3]) : measureFloor(args[3]);
    return runAll(args.size() > 1 ? std::max(1, args[1].toInt()) : 3);
}

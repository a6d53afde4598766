// The RTF reader and writer: files other programs wrote, broken and hostile
// input, code pages, the round trip, the selection writer and LibreOffice;
// documents too large to lay out, each opened in a process of its own.
#include "rtf.h"
#include "rtflists.h"
#include "rtftables.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPageLayout>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <sys/resource.h>

#include <cstdio>
#include <functional>
#include <vector>

namespace rtf = tavrin::rtf;

namespace {

const QString DataDir = QStringLiteral(TAVRIN_TEST_DATA "/rtf");

QByteArray fileBytes(const QString &name)
{
    QFile f(QDir(DataDir).filePath(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing test file %s", qPrintable(name));
    return f.readAll();
}

QImage imageOf(const QTextDocument &doc, const QTextImageFormat &f)
{
    return doc.resource(QTextDocument::ImageResource, QUrl(f.name()))
        .value<QImage>()
        .convertToFormat(QImage::Format_ARGB32);
}

// Plain text of a document, table cells included, one line per block, each
// picture as <img its size on the page of its size in pixels>.
QString plainText(const QTextDocument &doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        lines << QString();
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
            const QSize px = f.isValid() ? imageOf(doc, f).size() : QSize();
            lines.last() += !f.isValid() ? it.fragment().text()
                                         : QStringLiteral("<img %1x%2 of %3x%4>")
                                               .arg(f.width())
                                               .arg(f.height())
                                               .arg(px.width())
                                               .arg(px.height())
                                               .repeated(it.fragment().length());
        }
    }
    return lines.join(u'\n');
}

// A body after a fixed header.
QByteArray body(const QByteArray &b)
{
    return "{\\rtf1\\ansi\\deff0 " + b + "}";
}

// The lines of n table rows of one cell each, every row as wide as the widest.
QString rows(int n, const QString &cell, int width = 1)
{
    return QStringList(n, cell + QString(width - 1, u'\n')).join(u'\n');
}

// The format of every run as one line each, with the values a reader sees,
// so that two documents compare equal when they look the same; a block in a
// table says which cell of how many rows and columns.
QString describe(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        const QTextTable *t = QTextCursor(b).currentTable();
        const QTextTableCell cell = t ? t->cellAt(b.position()) : QTextTableCell();
        out << QStringLiteral("block %1align=%2 l=%3 r=%4 fi=%5 sb=%6 sa=%7")
                   .arg(t ? QStringLiteral("cell=%1,%2 of %3x%4 ")
                                .arg(cell.row())
                                .arg(cell.column())
                                .arg(t->rows())
                                .arg(t->columns())
                          : QString())
                   .arg(int(bf.alignment() & Qt::AlignHorizontal_Mask))
                   .arg(bf.leftMargin())
                   .arg(bf.rightMargin())
                   .arg(bf.textIndent())
                   .arg(bf.topMargin())
                   .arg(bf.bottomMargin());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QTextImageFormat img = f.toImageFormat();
            const QImage pixels = img.isValid() ? imageOf(doc, img) : QImage();
            out << QStringLiteral("  '%1' b=%2 i=%3 u=%4 s=%5 font=%6 pt=%7 fg=%8 bg=%9 v=%10 href=%11 img=%12x%13 %14")
                       .arg(it.fragment().text())
                       .arg(f.fontWeight() >= QFont::DemiBold)
                       .arg(f.fontItalic())
                       .arg(f.fontUnderline())
                       .arg(f.fontStrikeOut())
                       .arg(f.fontFamilies().toStringList().value(0, doc.defaultFont().family()))
                       .arg(f.fontPointSize() > 0 ? f.fontPointSize() : doc.defaultFont().pointSizeF())
                       .arg(f.foreground().style() ? f.foreground().color().name() : QString())
                       .arg(f.background().style() ? f.background().color().name() : QString())
                       .arg(int(f.verticalAlignment()))
                       .arg(f.isAnchor() ? f.anchorHref() : QString())
                       .arg(img.width())
                       .arg(img.height())
                       .arg(qHashBits(pixels.constBits(), pixels.sizeInBytes()));
        }
    }
    return out.join(u'\n');
}

// Every paragraph as a line: a list item as its list's number in the
// document, its style and indent, number prefix and suffix, start, and text;
// other paragraphs as their text after two spaces.
QString listItems(const QTextDocument &doc)
{
    static const char *const styles[] = {"disc", "circle", "square", "decimal", "a", "A", "i", "I"};
    QStringList out;
    QList<const QTextList *> lists;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextList *list = b.textList();
        if (!list) {
            out << QStringLiteral("  ") + b.text();
            continue;
        }
        if (!lists.contains(list))
            lists << list;
        const QTextListFormat f = list->format();
        const int style = -int(f.style()) - 1;
        QString line = QStringLiteral("%1 %2@%3")
                           .arg(lists.indexOf(list) + 1)
                           .arg(style >= 0 && style < 8 ? styles[style] : "?")
                           .arg(f.indent());
        if (style >= 3)
            line += QStringLiteral(" '%1#%2'")
                        .arg(f.numberPrefix(), f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : ".");
        if (f.hasProperty(rtf::ListStart))
            line += QStringLiteral(" from %1").arg(f.intProperty(rtf::ListStart));
        out << line + QStringLiteral(": ") + b.text();
    }
    return out.join(u'\n');
}

// Compares two describe() texts, naming the first line that differs.
#define COMPARE_DESCRIPTIONS(actual, expected)                                                                         \
    do {                                                                                                               \
        const QString a0_ = (actual), e0_ = (expected);                                                                \
        const QStringList a_ = a0_.split(u'\n'), e_ = a0_ == e0_ ? a_ : e0_.split(u'\n');                              \
        for (qsizetype i_ = 0; a0_ != e0_ && i_ < std::max(a_.size(), e_.size()); ++i_)                                \
            QVERIFY2(a_.value(i_) == e_.value(i_), qPrintable(QStringLiteral("line %1:\n  got      %2\n  expected %3") \
                                                                  .arg(i_ + 1)                                         \
                                                                  .arg(a_.value(i_), e_.value(i_))));                  \
    } while (false)

// Fails unless the text holds every line given, in that order.
#define VERIFY_IN_ORDER(text, ...)                                                                                     \
    do {                                                                                                               \
        const QString t_ = (text);                                                                                     \
        const QStringList lines_ = __VA_ARGS__;                                                                        \
        qsizetype from_ = 0;                                                                                           \
        for (const QString &l_ : lines_) {                                                                             \
            QVERIFY2((from_ = t_.indexOf(l_, from_)) >= 0,                                                             \
                     qPrintable(QStringLiteral("'%1' not found in order in:\n%2").arg(l_, t_.left(3000))));            \
            from_ += l_.size();                                                                                        \
        }                                                                                                              \
    } while (false)

template <typename Format, typename Set> Format make(Set set)
{
    Format f;
    set(f);
    return f;
}

QTextCharFormat boldFormat()
{
    return make<QTextCharFormat>([](auto &f) { f.setFontWeight(QFont::Bold); });
}

// What a corpus file must read as.
struct Expect {
    QStringList text = {}, absent = {}, described = {};
};

// The document's top-level tables and runs of paragraphs, in order, and how
// much the fullest cell of each table holds.
QString shape(const QTextDocument &doc)
{
    QStringList parts;
    int paragraphs = 0;
    for (QTextFrame::iterator it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        auto *table = qobject_cast<QTextTable *>(it.currentFrame());
        if (!table) {
            paragraphs += it.currentBlock().isValid();
            continue;
        }
        if (paragraphs)
            parts << QStringLiteral("%1 paragraphs").arg(std::exchange(paragraphs, 0));
        int mostBlocks = 0, mostChars = 0;
        for (int r = 0; r < table->rows(); ++r) {
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QTextCursor all = cell.firstCursorPosition();
                all.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                mostBlocks = std::max(mostBlocks, cell.lastCursorPosition().blockNumber()
                                                      - cell.firstCursorPosition().blockNumber() + 1);
                mostChars = std::max(mostChars, int(all.selectedText().size()));
            }
        }
        parts << QStringLiteral("table %1x%2 of cells up to %3 paragraphs, %4 characters")
                     .arg(table->rows())
                     .arg(table->columns())
                     .arg(mostBlocks)
                     .arg(mostChars);
    }
    if (paragraphs)
        parts << QStringLiteral("%1 paragraphs").arg(paragraphs);
    return parts.join(QStringLiteral(", "));
}

// Every character of the document but white space, in order.
// Each top-level table's grid, its columns' widths (twips as kept, and
// pixels), its cells that span others, their shading and borders, and the
// text of every cell in order.
QString describeTable(const QTextTable *t)
{
    QStringList widths, cells;
    const QVariantList twips = t->format().property(rtf::TableColumnTwips).toList();
    const auto constraints = t->format().columnWidthConstraints();
    for (qsizetype c = 0; c < constraints.size(); ++c)
        widths << QStringLiteral("%1=%2px").arg(twips.value(c).toInt()).arg(constraints.at(c).rawValue(), 0, 'f', 1);
    for (int r = 0; r < t->rows(); ++r) {
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            QString d;
            for (auto item = cell.begin(); !item.atEnd(); ++item) {
                if (auto *nested = qobject_cast<QTextTable *>(item.currentFrame()))
                    d += u'(' + describeTable(nested) + u')';
                else if (item.currentBlock().isValid())
                    d += (d.isEmpty() || d.endsWith(u')') ? QString() : QStringLiteral("/"))
                         + item.currentBlock().text();
            }
            if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
                d += QStringLiteral("[%1x%2]").arg(cell.rowSpan()).arg(cell.columnSpan());
            const QTextTableCellFormat f = cell.format().toTableCellFormat();
            if (f.background().style() != Qt::NoBrush)
                d += u'{' + f.background().color().name() + u'}';
            if (f.topBorder() > 0)
                d += QStringLiteral("<top %1 %2>").arg(f.topBorder()).arg(f.topBorderBrush().color().name());
            if (f.hasProperty(QTextFormat::TextVerticalAlignment))
                d += QStringLiteral("<v%1>").arg(int(f.verticalAlignment()));
            cells << d;
        }
    }
    return QStringLiteral("%1x%2 [%3] %4").arg(t->rows()).arg(t->columns()).arg(widths.join(u' '), cells.join(u'|'));
}

QString tables(const QTextDocument &doc)
{
    QStringList out;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it)
        if (auto *t = qobject_cast<QTextTable *>(it.currentFrame()))
            out << describeTable(t);
    return out.join(u'\n');
}

QString letters(const QTextDocument &doc)
{
    QString out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (QChar c : b.text())
            if (!c.isSpace())
                out += c;
    return out;
}

// A PNG file that says it holds a picture of the given size (its data is cut short).
QByteArray pngHeader(quint32 width, quint32 height)
{
    const auto crc = [](QByteArrayView data) {
        quint32 c = 0xFFFFFFFF;
        for (char ch : data) {
            c ^= uchar(ch);
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
        }
        return ~c;
    };
    const auto be = [](quint32 v) {
        const char bytes[] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(bytes, 4);
    };
    const auto chunk = [&](const QByteArray &type, const QByteArray &data) {
        return be(quint32(data.size())) + type + data + be(crc(type + data));
    };
    return "\x89PNG\r\n\x1a\n" + chunk("IHDR", be(width) + be(height) + QByteArray("\x08\x06\0\0\0", 5))
           + chunk("IDAT", QByteArray(8, '\0')) + chunk("IEND", {});
}

// ---- documents too large to lay out ---------------------------------------

// AddressSanitizer slows our code (not Qt's) down: the documents are a
// twentieth of their size there, in the same shapes.
#if defined(__SANITIZE_ADDRESS__)
constexpr int Scale = 20;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int Scale = 20;
#else
constexpr int Scale = 1;
#endif
#else
constexpr int Scale = 1;
#endif

constexpr qint64 MiB = 1 << 20;

struct Hostile {
    QString name;
    std::function<QByteArray()> data;
    bool refused;   // or else opened, with
    qint64 letters; // this many characters other than white space
};

qint64 nonSpace(QByteArrayView text)
{
    return std::count_if(text.begin(), text.end(), [](char c) { return c != ' '; });
}

// Documents that froze the program, or could have: each opens, fully laid
// out, or is refused, within 30 s and 2 GiB.
std::vector<Hostile> hostileDocuments()
{
    const bool full = Scale == 1;
    const qint64 million = 1'000'000 / Scale;
    const QByteArray sentence = "The quick brown fox jumps over the lazy dog, again and again.";
    std::vector<Hostile> list;
    const qint64 depth = 10 * million;
    list.push_back({"deep groups",
                    [=] { return "{\\rtf1 a" + QByteArray(depth, '{') + "b" + QByteArray(depth, '}') + "c}"; }, false,
                    3});
    // Every size, indent, spacing and count beyond reason; giant letters
    // in a narrow cell fill the table.
    list.push_back(
        {"giant control parameters",
         [] {
             QImage image(40, 20, QImage::Format_RGB32);
             image.fill(Qt::darkGreen);
             QByteArray png;
             QBuffer buffer(&png);
             buffer.open(QIODevice::WriteOnly);
             image.save(&buffer, "PNG");
             return "{\\rtf1\\ansi\\ansicpg999999999\\deff999999999\\uc999999999{\\fonttbl{"
                    "\\f999999999\\fcharset999999999 A;}}"
                    "{\\colortbl;\\red999999999\\green-999999999\\blue99999999999;}\\f999999999\\cf999999999\\cb-"
                    "999999999"
                    "\\fs999999999\\li-2147483648\\ri2147483647\\fi-2147483648\\sb999999999\\sa999999999\\sl-"
                    "999999999\\slmult0"
                    "\\expndtw999999999\\charscalex999999999 "
                    + QByteArray("W\\par ").repeated(200)
                    + "\\trowd\\trleft-999999999\\trrh999999999\\cellx999999999999\\cellx-999999999999\\intbl "
                    + QByteArray(3000, 'W') + "\\cell\\row"
                    + "\\pard{"
                      "\\pict\\pngblip\\picw999999999\\pich999999999\\picwgoal999999999\\pichgoal999999999\\picscalex99"
                      "9999999\\picscaley999999999 "
                    + png.toHex() + "}\\u999999999 ?\\u-999999999 ?\\bin999999999 }";
         },
         false, 200 + 3000 + 1});
    const qint64 cells = million;
    list.push_back(
        {"a million cells in rows",
         [=] { return "{\\rtf1 " + QByteArray("\\trowd\\cellx1000\\intbl x\\cell\\row\n").repeated(cells) + "}"; },
         full, cells});
    list.push_back(
        {"a million cells in one row",
         [=] { return "{\\rtf1\\trowd\\cellx1000\\intbl " + QByteArray("x\\cell ").repeated(cells) + "\\row}"; }, full,
         cells});
    list.push_back(
        {"a million paragraphs in one cell",
         [=] { return "{\\rtf1\\trowd\\cellx5000\\intbl " + QByteArray("x\\par ").repeated(cells) + "\\cell\\row}"; },
         full, cells});
    const qint64 some = 400'000 / Scale;
    list.push_back(
        {"400,000 paragraphs in one cell",
         [=] { return "{\\rtf1\\trowd\\cellx5000\\intbl " + QByteArray("x\\par ").repeated(some) + "\\cell\\row}"; },
         false, some});
    const qint64 wideRows = 7000 / Scale;
    list.push_back(
        {"7,000 rows of 63 empty cells",
         [=] {
             return "{\\rtf1\\trowd" + QByteArray("\\cellx100").repeated(63)
                    + QByteArray("\\intbl" + QByteArray("\\cell").repeated(63) + "\\row\n").repeated(wideRows) + "}";
         },
         false, 0});
    const qint64 lines = 200 * MiB / (sentence.size() + 6) / Scale;
    list.push_back({"200 MB of paragraphs", [=] { return "{\\rtf1 " + (sentence + "\\par\n").repeated(lines) + "}"; },
                    full, lines * nonSpace(sentence)});
    const qint64 sentences = 200 * MiB / (sentence.size() + 1) / Scale;
    list.push_back({"200 MB in one paragraph", [=] { return "{\\rtf1 " + (sentence + ' ').repeated(sentences) + "}"; },
                    full, sentences * nonSpace(sentence)});
    const qint64 bytes = 200 * MiB / Scale;
    list.push_back({"200 MB without a space or a paragraph break",
                    [=] { return "{\\rtf1 " + QByteArray(bytes, 'x') + "}"; }, full, bytes});
    // One colour compresses to almost nothing, and decodes to 120 MiB.
    const int side = full ? 5600 : 1250;
    list.push_back({"pictures beyond what they may take decoded",
                    [=] {
                        QImage image(side, side, QImage::Format_RGB32);
                        image.fill(Qt::darkGreen);
                        QByteArray png;
                        QBuffer buffer(&png);
                        buffer.open(QIODevice::WriteOnly);
                        image.save(&buffer, "PNG");
                        return "{\\rtf1 " + ("{\\pict\\pngblip " + png.toHex() + "}").repeated(5) + "}";
                    },
                    full, 5});
    const qint64 giant = 5000 / Scale;
    list.push_back({"giant letters beyond Qt's layout",
                    [=] { return "{\\rtf1\\fs3276 " + QByteArray("WWWW\\par\n").repeated(giant) + "}"; }, full,
                    4 * giant});
    return list;
}

// The child process: opens one of them as the document window shows a
// document (read, set into a text box that is shown, laid out to its end and
// painted there), and prints what that took.
int openHostile(const QString &name, int argc, char **argv)
{
    if (Scale == 1) {
        const rlimit limit{2048 * MiB, 2048 * MiB};
        setrlimit(RLIMIT_AS, &limit);
    }
    QApplication app(argc, argv);
    Hostile hostile;
    for (const Hostile &h : hostileDocuments())
        if (h.name == name)
            hostile = h;
    if (!hostile.data)
        return 2;
    QByteArray data = hostile.data();
    QElapsedTimer timer;
    timer.start();
    QTextDocument doc;
    const rtf::ReadResult result = rtf::read(data, doc);
    data = QByteArray();
    const qint64 readMs = timer.elapsed();
    QTextEdit edit;
    edit.resize(800, 600);
    edit.setDocument(&doc);
    edit.show();
    QApplication::processEvents();
    const QSizeF size = doc.documentLayout()->documentSize(); // the whole document laid out
    edit.verticalScrollBar()->setValue(edit.verticalScrollBar()->maximum());
    edit.viewport()->grab();
    const qint64 layoutMs = timer.elapsed() - readMs;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %lld %lld %ld %lld %.0f\n", result.ok ? "opened" : "refused", readMs, layoutMs, usage.ru_maxrss,
                qint64(letters(doc).size()), size.height());
    return result.ok == result.error.isEmpty() && (result.ok || doc.isEmpty()) ? 0 : 3;
}

} // namespace

Q_DECLARE_METATYPE(Expect)

class TestRtf : public QObject
{
    Q_OBJECT
private slots:
    void recognisesRtf_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("isRtf");
        QTest::addColumn<bool>("readable");
        QTest::newRow("plain") << QByteArray("{\\rtf1 x}") << true << true;
        QTest::newRow("leading white space") << QByteArray(" \r\n\t{\\rtf1 x}") << true << true;
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF{\\rtf1 x}") << true << true;
        QTest::newRow("junk before") << QByteArray("/{\\rtf1 x}") << false << true;
        QTest::newRow("plain text") << QByteArray("foobar") << false << false;
        QTest::newRow("empty") << QByteArray() << false << false;
        QTest::newRow("other group") << QByteArray("{\\pard x}") << false << false;
        QTest::newRow("far into the data") << QByteArray(2000, 'x') + "{\\rtf1 x}" << false << false;
    }
    void recognisesRtf()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, isRtf);
        QFETCH(bool, readable);
        QCOMPARE(rtf::isRtf(data), isRtf);
        // What is not RTF leaves the document alone and says why.
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("kept"));
        const rtf::ReadResult r = rtf::read(data, doc);
        QCOMPARE(r.ok, readable);
        QCOMPARE(r.error.isEmpty(), readable);
        QTextCursor cursor(&doc);
        QCOMPARE(rtf::insert(data, cursor).ok, readable);
        if (!readable)
            QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
    }

    // Every file, and every input that once broke the reader (most found by
    // the fuzz target), reads quickly, and what we write of it reads back
    // with the same text and pictures. Some files hold known text, formats
    // and tables, in order, and not other text.
    void corpusFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Expect>("expect");
        const Expect hello{.text = {"Hello world in {RTF}\u2026"}, .absent = {"-"}};
        const QHash<QString, Expect> known{
            {"Test01.rtf",
             {.text = {"Hellou RTF World", "[A] == [A] == [A] == [A]", "Unicode: [\u0393] - ANSI-fallback: [G]",
                       "same but different: \"[\u0393]\"", "something to ignore: visible."},
              .absent = {"should not appear", "this neither", "[G]]"},
              .described = {"'Hellou RTF World' b=0 i=0 u=0 s=0 font=Verdana pt=18",
                            "'abc' b=0 i=1 u=0 s=0 font=Symbol pt=12 fg=#ff0000 bg=#0000ff",
                            "'strikethrough' b=0 i=0 u=0 s=1 font=Arial", "'bold+italic' b=1 i=1 u=0"}}},
            {"Issue34.rtf",
             {.text = {"\u0423 \u0425 \u0412 \u0410 \u041b \u0410",
                       "\u0411.\u0406. \u0413\u0443\u043b\u044c\u043a\u043e"}}}, // 1251
            {"RtfParserTest_5.rtf",
             {.text = {"\u30d0\u30fc\u30b8\u30e7\u30f3 8.5", "\u30ea\u30ea\u30fc\u30b9 \u30ce\u30fc\u30c8"}}}, // 932
            {"RtfParserTest_4.rtf",
             {.text =
                  {"\u30d0\u30fc\u30b8\u30e7\u30f3\u30a2\u30c3\u30d7\u6ce8\u6587\u66f8"}}}, // 932 font in a 1252 file
            {"Issue52.rtf",
             {.text = {"\u9023\u90a6\u570b\u969b\u5c08\u5229\u5546\u6a19\u4e8b\u52d9\u6240"},
              .absent = {"<HTML>", "DOCTYPE"}}}, // 950
            // Links keep their address; the visible text is the field's result.
            {"Hyperlink.rtf",
             {.text = {"Include www link http://www.cnn.com/", "Hyperlink within doc bookmark_1"},
              .absent = {"HYPERLINK", "datafield", "00d0c9ea"},
              .described = {"href=../../Desktop/any_document.rtf", "href=http://www.cnn.com/",
                            "href=mailto:phthenry@earthlink.net?subject=subject%20line", "href=#bookmark_1"}}},
            {"nested_table_report.rtf",
             {.text = {"Approval", "Some text here.", "List item three.", "Comment Date", "Comment By", "07/13/2018",
                       "John Doe"}}},
            {"RtfParserTest_fail_0.rtf", hello},            // junk before
            {"RtfParserTest_fail_1.rtf", hello},            // junk after
            {"RtfParserTest_fail_2.rtf", hello},            // an extra brace
            {"RtfParserTest_fail_3.rtf", hello},            // cut short
            {"Issue49.rtf", {.text = {"5% Auf Patronen"}}}, // unclosed font table
            {"LibreOffice-sample.rtf",
             {.text =
                  {"Tavrin map notes", "Plain, bold, italic, underlined and struck words.",
                   "\u041a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430 \u0438 \u65e5\u672c\u8a9e and \u00fcmlauts.",
                   "mp_harbor\naxis\nmp_toujane\nallies", "Indented paragraph."},
              .absent = {"?", "Default Page Style"},
              .described = {"block cell=0,1 of 2x2 ", "'axis'", "block cell=1,0 of 2x2 ", "'mp_toujane'"}}},
            // PNG pictures are shown and metafiles stand as placeholders of their size; the JPEG in Issue39's page
            // header is shown where the header stands.
            {"Issue37.rtf",
             {.text = {"<img 243.6x186.333 of 302x231>", "Proba proba", "<img 258.933x138.733 of 321x172>"}}},
            {"Issue39.rtf", {.text = {"<img"}}},
            {"Issue33.rtf", {.text = {"<img 24x24 of 24x24>"}}},
        };
        qsizetype used = 0;
        for (const QString &sub : {QString(), QStringLiteral("regressions")}) {
            const QStringList files =
                QDir(DataDir + u'/' + sub).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
            QVERIFY(!files.isEmpty());
            for (const QString &f : files) {
                used += known.contains(f);
                QTest::newRow(qPrintable(f)) << QDir(sub).filePath(f) << known.value(f);
            }
        }
        QCOMPARE(used, known.size());
    }
    void corpusFile()
    {
        QFETCH(QString, name);
        QFETCH(Expect, expect);
        const QByteArray data = fileBytes(name);
        QElapsedTimer timer;
        timer.start();
        QTextDocument doc;
        const rtf::ReadResult read = rtf::read(data, doc);
        QCOMPARE(read.ok, data.contains("{\\rtf"));
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        const QString text = plainText(doc);
        QTextDocument back;
        QVERIFY(rtf::read(rtf::write(doc), back).ok);
        if (read.continued) // cut for Qt's layout limits, where the copy may be cut elsewhere
            QCOMPARE(plainText(back).remove(u'\n'), QString(text).remove(u'\n'));
        else
            QCOMPARE(plainText(back), text);
        VERIFY_IN_ORDER(text, expect.text);
        VERIFY_IN_ORDER(describe(doc), expect.described);
        for (const QString &a : expect.absent)
            QVERIFY2(!text.contains(a), qPrintable(a));
    }

    // No table is wider than 63 columns: the cells beyond go into the row's
    // last cell, and the short row keeps empty cells.
    // Lists from the list tables of Word 97 and later, Aspose and LibreOffice,
    // and from the older numbering of WordPad and Word 6: real lists with
    // their style, level, number text and start, items of one list override
    // and level in one list, and no marker left in the text unless the
    // paragraph is no item. An item's text starts at its \li. What we write
    // of them reads back the same.
    void readsLists_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("items");
        QTest::addColumn<qreal>("textStart"); // of the first item, pixels
        const QString wordPad = QStringLiteral("  Paragraph\n1 disc@1: Bullet\n1 disc@1: Bullet 2\n  Paragraph 2\n"
                                               "2 decimal@1 '#.': List 1\n2 decimal@1 '#.': List 2");
        QTest::newRow("Word 97") << fileBytes("ListWord.rtf") << wordPad << 48.0;
        QTest::newRow("WordPad") << fileBytes("List.rtf") << wordPad << 48.0;
        QTest::newRow("Aspose") << fileBytes("ListGoogle.rtf")
                                << QStringLiteral(
                                       "  Paragraph\n1 disc@1:     Bullet  \n1 disc@1: Bullet 2\n  Paragraph 2\n"
                                       "2 decimal@1 '#.': Item 1\n2 decimal@1 '#.': Item 2")
                                << 48.0;
        QTest::newRow("LibreOffice")
            << fileBytes("ListLibreOffice.rtf")
            << QStringLiteral(
                   "  Intro\n1 disc@1: Disc one\n1 disc@1: Disc two\n2 disc@2: Nested circle\n2 disc@2: Nested two\n"
                   "3 disc@3: Square\n1 disc@1: Disc three\n  Between\n4 decimal@1 '#.' from 5: Five\n"
                   "4 decimal@1 '#.' from 5: Six\n5 i@1 '#.': roman\n6 A@1 '#.': Alpha\n7 a@1 '#.': alpha\n8 I@1 '#.': "
                   "ROMAN")
            << 709 / 15.0;
        const QByteArray fonts =
            "{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}{\\f2 Courier New;}{\\f3\\fcharset2 Wingdings;}}";
        QTest::newRow("Word's bullets, levels and overrides")
            << "{\\rtf1" + fonts
                   + "{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 "
                     "?;}{\\levelnumbers;}\\f1\\fi-360\\li720}"
                     "{\\listlevel\\levelnfc23{\\leveltext\\'01o;}{\\levelnumbers;}\\f2\\fi-360\\li1440}"
                     "{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3929 "
                     "?;}{\\levelnumbers;}\\f3\\fi-360\\li2160}\\listid7}"
                     "{\\list{\\listlevel\\levelnfc4\\levelstartat3{\\leveltext\\'03(\\'00);}{\\levelnumbers\\'02;}"
                     "\\fi-360\\li720}\\listid8}}"
                     "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}{"
                     "\\listoverride\\listid8\\listoverridecount0\\ls2}"
                     "{\\listoverride\\listid8\\listoverridecount1{\\lfolevel\\listoverridestartat\\levelstartat9}"
                     "\\ls3}}\n"
                     "{\\listtext\\f1\\'b7\\tab}\\pard\\ls1 A\\par\n{\\listtext\\f2 o\\tab}\\pard\\ls1\\ilvl1 B\\par\n"
                     "{\\listtext\\f3\\'a7\\tab}\\pard\\ls1\\ilvl2 C\\par\n\\pard Between\\par\n{\\listtext "
                     "c)\\tab}\\pard\\ls2 D\\par\n"
                     "{\\listtext\\f1\\'b7\\tab}\\pard\\ls1 E\\par\n{\\listtext i)\\tab}\\pard\\ls3 "
                     "F\\par\n{\\listtext 9.\\tab}\\pard\\ls9 G\\par}"
            << QStringLiteral(
                   "1 disc@1: A\n2 circle@2: B\n3 square@3: C\n  Between\n4 a@1 '(#)' from 3: D\n1 disc@1: E\n"
                   "5 a@1 '(#)' from 9: F\n  9.\tG")
            << 48.0;
        QTest::newRow("older numbering")
            << "{\\rtf1" + fonts
                   + "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li720 "
                     "One\\par\n"
                     "{\\pntext\\f1\\'b7\\tab}Two\\par\n"
                     "\\pard{\\pntext IV)\\tab}{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart4{\\pntxta)}}\\li720 Three\\par\n"
                     "\\pard{\\pntext (b)\\tab}{\\*\\pn\\pnlvl2\\pnlcltr\\pnstart2{\\pntxtb(}{\\pntxta)}}\\li1440 "
                     "Four\\par\n"
                     "\\pard{\\pntext (c)\\tab}{\\*\\pn\\pnlvl2\\pnlcltr\\pnstart2{\\pntxtb(}{\\pntxta)}}\\li1440 "
                     "Five\\par\n"
                     "\\pard\\fi-360\\li720 Plain\\par\n"
                     "{\\pntext 1.\\tab}\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta.}}\\li720 Six\\par\n"
                     "\\pard{\\pntext\\f2 o\\tab}{\\*\\pn\\pnlvlblt\\pnf2{\\pntxtb o}}\\li360 Seven\\par}"
            << QStringLiteral("1 disc@1: One\n1 disc@1: Two\n2 I@1 '#)' from 4: Three\n3 a@2 '(#)' from 2: Four\n3 a@2 "
                              "'(#)' from 2: Five\n"
                              "  Plain\n4 decimal@1 '#.': Six\n5 circle@1: Seven")
            << 48.0;
    }
    void readsLists()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, items);
        QFETCH(qreal, textStart);
        QTextDocument doc;
        QVERIFY(rtf::read(data, doc).ok);
        QCOMPARE(listItems(doc), items);
        QTextBlock first = doc.begin();
        while (first.isValid() && !first.textList())
            first = first.next();
        QVERIFY(first.isValid());
        QCOMPARE(first.blockFormat().leftMargin() + first.textList()->format().indent() * doc.indentWidth(), textStart);
        QCOMPARE(first.blockFormat().textIndent(), 0.0);

        const QByteArray out = rtf::write(doc);
        QTextDocument back;
        QVERIFY(rtf::read(out, back).ok);
        QCOMPARE(listItems(back), items);
        COMPARE_DESCRIPTIONS(describe(back), describe(doc));
        QCOMPARE(rtf::write(back), out);
    }

    // Lists made in the editor, of every style, at any indent and start,
    // are written with Word's list tables and a marker for readers without
    // lists, and read back the same; so is a plain paragraph's indent.
    void writesLists_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("indent");
        QTest::addColumn<int>("start"); // 0: none set
        QTest::addColumn<QByteArray>("thirdMarker");
        using F = QTextListFormat;
        QTest::newRow("disc") << int(F::ListDisc) << 1 << 0 << QByteArray("{\\listtext\\f1 \\'b7\\tab}");
        QTest::newRow("circle at 2") << int(F::ListCircle) << 2 << 0 << QByteArray("{\\listtext\\f1 o\\tab}");
        QTest::newRow("square at 3") << int(F::ListSquare) << 3 << 0 << QByteArray("{\\listtext\\f1 \\'a7\\tab}");
        QTest::newRow("decimal") << int(F::ListDecimal) << 1 << 0 << QByteArray("{\\listtext 3.\\tab}");
        QTest::newRow("decimal from 5") << int(F::ListDecimal) << 1 << 5 << QByteArray("{\\listtext 7.\\tab}");
        QTest::newRow("lower alpha") << int(F::ListLowerAlpha) << 1 << 0 << QByteArray("{\\listtext c.\\tab}");
        QTest::newRow("upper alpha from 26")
            << int(F::ListUpperAlpha) << 2 << 26 << QByteArray("{\\listtext AB.\\tab}");
        QTest::newRow("lower roman") << int(F::ListLowerRoman) << 1 << 0 << QByteArray("{\\listtext iii.\\tab}");
        QTest::newRow("upper roman at 12") << int(F::ListUpperRoman) << 12 << 0 << QByteArray("{\\listtext III.\\tab}");
    }
    void writesLists()
    {
        QFETCH(int, style);
        QFETCH(int, indent);
        QFETCH(int, start);
        QFETCH(QByteArray, thirdMarker);
        QTextDocument doc;
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("Intro"));
        c.insertBlock();
        QTextListFormat format;
        format.setStyle(QTextListFormat::Style(style));
        format.setIndent(indent);
        if (start)
            format.setProperty(rtf::ListStart, start);
        c.createList(format);
        c.insertText(QStringLiteral("one"));
        c.insertBlock();
        c.insertText(QStringLiteral("two"));
        c.insertBlock();
        c.insertText(QStringLiteral("three"));
        c.insertBlock(make<QTextBlockFormat>([](auto &f) { f.setIndent(2); }));
        c.insertText(QStringLiteral("indented"));

        const QByteArray out = rtf::write(doc);
        const int level = std::min(indent, 9) - 1;
        VERIFY_IN_ORDER(QString::fromLatin1(out),
                        {"{\\*\\listtable", "\\levelstartat" + QString::number(start ? start : 1),
                         "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}",
                         "\\ls1\\ilvl" + QString::number(level) + "{\\listtext", "one",
                         "\\ls1\\ilvl" + QString::number(level), "three", "\\li1200", "indented"});
        QVERIFY2(out.contains(thirdMarker + "three"), out.constData());
        QTextDocument back;
        QVERIFY(rtf::read(out, back).ok);
        QString items = listItems(doc);
        if (indent > 9) // the deepest level a file has; the text still starts where it did
            items.replace(QStringLiteral("@%1").arg(indent), QStringLiteral("@9"));
        QCOMPARE(listItems(back), items);
        for (QTextBlock a = doc.begin(), b = back.begin(); a.isValid() && b.isValid(); a = a.next(), b = b.next()) {
            const auto start = [](const QTextBlock &x) {
                return x.blockFormat().leftMargin() + x.blockFormat().indent() * x.document()->indentWidth()
                       + (x.textList() ? x.textList()->format().indent() * x.document()->indentWidth() : 0);
            };
            QCOMPARE(start(b), start(a));
        }
    }

    // Line spacing and tab stops, with the leaders and bar tabs Qt does not
    // draw, are read and written back exactly.
    void paragraphGeometry_data()
    {
        QTest::addColumn<QByteArray>("words");
        QTest::addColumn<QString>("expected");
        QTest::newRow("at least") << QByteArray("\\sl300\\slmult0") << "line 3 20";
        QTest::newRow("exactly") << QByteArray("\\sl-300\\slmult0") << "line 2 20";
        QTest::newRow("multiple") << QByteArray("\\sl276\\slmult1") << "line 1 115";
        QTest::newRow("tab kinds and leaders")
            << QByteArray("\\tx720\\tqr\\tldot\\tx5000\\tqc\\tlhyph\\tx3000\\tqdec\\tleq\\tx4000"
                          "\\tlul\\tx100\\tlth\\tx200\\tlmdot\\tx301\\tb1001")
            << "line 0 0 tab 0 48 0 tab 1 333.333 1 tab 2 200 2 tab 3 266.667 5 . tab 0 6.66667 3 tab 0 13.3333 4 tab "
               "0 20.0667 6 tab 0 66.7333 8";
        QTest::newRow("with a list item") << QByteArray("\\sl-480\\slmult0\\tx360") << "line 2 32 tab 0 24 0";
    }
    void paragraphGeometry()
    {
        QFETCH(QByteArray, words);
        QFETCH(QString, expected);
        const bool item = QByteArray(QTest::currentDataTag()).contains("list");
        const auto geometry = [](const QTextDocument &doc) {
            const QTextBlockFormat f = doc.begin().blockFormat();
            QString s = QStringLiteral("line %1 %2").arg(f.lineHeightType()).arg(f.lineHeight());
            const QList<int> leaders = f.property(rtf::ParagraphTabLeaders).value<QList<int>>();
            for (qsizetype i = 0; i < f.tabPositions().size(); ++i) {
                const QTextOption::Tab t = f.tabPositions().at(i);
                s += QStringLiteral(" tab %1 %2 %3").arg(t.type).arg(t.position).arg(leaders.value(i));
                if (!t.delimiter.isNull())
                    s += u' ' + t.delimiter;
            }
            return s;
        };
        const QByteArray list =
            item ? "{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid1}}"
                   "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                 : "";
        QTextDocument doc, back;
        QVERIFY(rtf::read(body(list + "\\pard" + words + (item ? "\\ls1" : "") + " text\\par next"), doc).ok);
        QCOMPARE(geometry(doc), expected);
        QCOMPARE(bool(doc.begin().textList()), item);
        const QByteArray out = rtf::write(doc);
        QVERIFY2(out.contains(words + (item ? "\\ls1" : " text")), out.constData());
        QVERIFY(rtf::read(out, back).ok);
        QCOMPARE(geometry(back), expected);
        QCOMPARE(rtf::write(back), out);
    }

    // A document without lists, tab stops or line spacing is written as it
    // always was.
    void writesPlainDocumentUnchanged()
    {
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("Bold"), boldFormat());
        c.insertBlock(make<QTextBlockFormat>([](auto &f) {
            f.setIndent(1);
            f.setTextIndent(-10);
            f.setBottomMargin(6);
        }));
        c.insertText(QStringLiteral("Indented"), QTextCharFormat());
        QCOMPARE(rtf::write(doc),
                 QByteArray(
                     "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 DejaVu Sans;}}\r\n"
                     "{\\colortbl;}\r\n\\pard\\b Bold\\par\r\n\\pard\\li600\\fi-150\\sa90\\b0 Indented\\par\r\n}\r\n"));
    }

    void wideTable()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1\\trowd\\intbl a\\cell\\row\\trowd\\intbl " + QByteArray("b\\cell ").repeated(62)
                              + "c\\cell d\\cell\\row}",
                          doc)
                    .ok);
        VERIFY_IN_ORDER(describe(doc), {"block cell=0,62 of 2x63 ", "block cell=1,62 of 2x63 ", "'c'",
                                        "block cell=1,62 of 2x63 ", "'d'"});
    }

    // A table keeps its structure: its columns' widths from the cells' right
    // edges (the empty column too), cells merged across by \\clmgf/\\clmrg or
    // spanning the edges of other rows, cells merged down, shading, borders.
    // What we write of it reads back the same, in LibreOffice too (see
    // tests/data/rtf/lo-*.rtf).
    void tableStructure_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("structure");
        QTest::newRow("widths from \\cellx after \\trleft, empty column kept")
            << body("\\trowd\\trleft-108\\cellx1392\\cellx3000\\cellx3300 \\intbl a\\cell\\cell c\\cell\\row")
            << "1x3 [1500=100.0px 1608=107.2px 300=20.0px] a||c";
        QTest::newRow("merged across by \\clmgf and \\clmrg")
            << body("\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\cellx3000\\intbl ab\\cell\\cell c\\cell\\row"
                    "\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl d\\cell e\\cell f\\cell\\row")
            << "2x3 [1000=66.7px 1000=66.7px 1000=66.7px] ab[1x2]|c|d|e|f";
        QTest::newRow("spans by the edges of other rows")
            << body("\\trowd\\cellx2000\\cellx3000\\intbl head\\cell x\\cell\\row"
                    "\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl a\\cell b\\cell c\\cell\\row"
                    "\\trowd\\cellx1000\\cellx3000\\intbl d\\cell e\\cell\\row")
            << "3x3 [1000=66.7px 1000=66.7px 1000=66.7px] head[1x2]|x|a|b|c|d|e[1x2]";
        QTest::newRow("merged down, then across and down")
            << body("\\trowd\\clvmgf\\cellx1000\\clvmgf\\clmgf\\cellx2000\\clmrg\\cellx3000\\intbl a\\cell "
                    "b\\cell\\cell\\row"
                    "\\trowd\\clvmrg\\cellx1000\\clvmrg\\clmrg\\cellx2000\\clvmrg\\clmrg\\cellx3000\\intbl\\cell "
                    "more\\cell\\cell\\row"
                    "\\trowd\\clvmrg\\cellx1000\\cellx2000\\cellx3000\\intbl\\cell c\\cell d\\cell\\row")
            << "3x3 [1000=66.7px 1000=66.7px 1000=66.7px] a[3x1]|b/more[2x2]|c|d";
        QTest::newRow("shading, borders, vertical alignment")
            << body("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                    "\\trowd\\clcbpat2\\cellx1000\\clshdng2500\\cellx2000\\clvertalc\\clbrdrt\\brdrs\\brdrw30\\brdrcf1"
                    "\\cellx3000"
                    "\\intbl a\\cell b\\cell c\\cell\\row")
            << "1x3 [1000=66.7px 1000=66.7px 1000=66.7px] a{#0000ff}|b{#bfbfbf}|c<top 2 #ff0000><v3>";
        // Edges that do not rise are no grid: a column for each cell, as they come.
        QTest::newRow("broken edges") << body("\\trowd\\cellx2000\\cellx1000\\intbl a\\cell b\\cell\\row"
                                              "\\trowd\\cellx500\\intbl c\\cell d\\cell\\row")
                                      << "2x2 [] a|b|c|d";
        QTest::newRow("a merge with nothing before it")
            << body("\\trowd\\clmrg\\cellx1000\\clvmrg\\cellx2000\\intbl a\\cell b\\cell\\row")
            << "1x2 [1000=66.7px 1000=66.7px] a|b";
        QTest::newRow("nested, after the cell's text")
            << body("\\trowd\\cellx3000\\cellx6000\\intbl a\\cell b\\par\\pard\\intbl\\itap2 x\\nestcell y\\nestcell"
                    "{\\*\\nesttableprops\\trowd\\cellx1000\\clcbpat0\\cellx2500\\nestrow}{\\nonesttables\\par}"
                    "\\pard\\intbl\\itap2 "
                    "z\\nestcell\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2500\\nestrow}{"
                    "\\nonesttables\\par}"
                    "\\pard\\intbl after\\cell\\row")
            << "1x2 [3000=200.0px 3000=200.0px] a|b(2x2 [1000=66.7px 1500=100.0px] x|y|z|)after";
        // Tables nested deeper go into the cells of the nested one.
        QTest::newRow("nested first in its cell, deeper flattened")
            << body("\\trowd\\cellx3000\\intbl\\itap2 x\\itap3 "
                    "deep\\nestcell\\nestcell{\\*\\nesttableprops\\trowd\\cellx900\\nestrow}"
                    "\\itap2\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\nestrow}\\itap1\\cell\\row")
            << "1x1 [3000=200.0px] (2x2 [900=60.0px 100=6.7px] xdeep||[1x2])";
        QTest::newRow("LibreOffice's file")
            << fileBytes(QStringLiteral("lo-spans.rtf"))
            << QStringLiteral("4x4 [1511=100.7px 776=51.7px 2936=195.7px 1151=76.7px] Map[1x2]<top 1 "
                              "#808080><v3>|Notes[2x1]<top 1 #808080><v3>|"
                              "<top 1 "
                              "#808080><v3>|mp_a<v3>|<v3>|x{#ffff00}<v3>|mp_b[2x1]<v3>|1<v3>|two<v3>|<v3>|<v3>|wide["
                              "1x2]{#c0c0ff}<v3>");
        QTest::newRow("Word's file") << fileBytes(QStringLiteral("merged_cells.rtf"))
                                     << QString::fromUtf16(
                                            u"5x5 [1701=113.4px 1701=113.4px 1701=113.4px 1701=113.4px 1701=113.4px] "
                                            u"Vertical merged cells.[3x1]<top 1.33333 #ff0000>|\u00A0|Horizontal "
                                            u"merged cells[1x3]<top 1.33333 #0000ff>|");
    }
    void tableStructure()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, structure);
        QTextDocument doc, back;
        QVERIFY(rtf::read(data, doc).ok);
        const QString read = tables(doc);
        QVERIFY2(read == structure || (structure.endsWith(u'|') && read.startsWith(structure)), qPrintable(read));
        // A table without widths is written 6.5 inches wide, its columns
        // sharing that: so it reads back.
        QVERIFY(rtf::read(rtf::write(doc), back).ok);
        QString written = tables(back);
        if (read.contains(QLatin1String("[]")))
            written.replace(QRegularExpression(QStringLiteral("^(\\d+x\\d+) \\[[^\\]]*\\]")), QStringLiteral("\\1 []"));
        QCOMPARE(written, read);
    }

    // Tables of many rows read in time that grows with their size: each is
    // built once, when its rows are known.
    void manyRows()
    {
        const QByteArray row = "\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl a\\cell b\\cell c\\cell\\row\r\n";
        QElapsedTimer timer;
        qint64 ms[2];
        for (int i : {0, 1}) {
            const QByteArray data = body(row.repeated(i ? 20000 : 2000));
            timer.start();
            QTextDocument doc;
            QVERIFY(rtf::read(data, doc).ok);
            ms[i] = std::max<qint64>(timer.elapsed(), 1);
        }
        QVERIFY2(ms[1] < 30 * ms[0] + 200, qPrintable(QStringLiteral("%1 ms, %2 ms").arg(ms[0]).arg(ms[1])));
    }

    // What Qt could not lay out, or only while the window waits, is cut into
    // pieces it can: all the text stays, in order, and what we write of it
    // reads back cut in the same places.
    void limits_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("letters");
        const QString x = QStringLiteral("x");
        QTest::newRow("a table goes on in a new one when half full")
            << body(QByteArray("\\trowd\\cellx1\\intbl x\\cell\\row ").repeated(5000))
            << "1 paragraphs, table 4000x1 of cells up to 1 paragraphs, 1 characters, 1 paragraphs, "
               "table 1000x1 of cells up to 1 paragraphs, 1 characters, 1 paragraphs"
            << x.repeated(5000);
        QTest::newRow("a full cell goes on after its table")
            << body("\\trowd\\cellx1\\cellx2\\intbl " + QByteArray("x\\par ").repeated(20000) + "y\\cell z\\cell\\row")
            << "1 paragraphs, table 1x2 of cells up to 15998 paragraphs, 31995 characters, 4003 paragraphs, "
               "table 1x2 of cells up to 1 paragraphs, 1 characters, 1 paragraphs"
            << x.repeated(20000) + "yz";
        // Giant letters in a column of its own: one a line, 2912 pixels each.
        QTest::newRow("giant letters fill a cell")
            << body("\\trowd\\cellx1\\intbl\\fs3276 " + QByteArray(3000, 'W') + "\\cell\\row")
            << "1 paragraphs, table 1x1 of cells up to 1 paragraphs, 1440 characters, 1 paragraphs"
            << QString(3000, u'W');
        QTest::newRow("a long paragraph goes on in new ones")
            << body(QByteArray("x ").repeated(125000)) << "3 paragraphs" << x.repeated(125000);
        QTest::newRow("so does a long run without a space")
            << body(QByteArray(25000, 'x')) << "3 paragraphs" << x.repeated(25000);
        // Cut where a character ends, every 10,000 bytes or just after: after
        // 'a', each pair of bytes is one character.
        const QString kana = QString(150000, QChar(0x3042));
        QTest::newRow("Shift-JIS bytes") << body("\\ansicpg932 a" + QByteArray("\x82\xa0").repeated(150000))
                                         << "30 paragraphs" << u'a' + kana;
        QTest::newRow("Shift-JIS escapes")
            << body("\\ansicpg932 a" + QByteArray("\\'82\\'a0").repeated(150000)) << "30 paragraphs" << u'a' + kana;
    }
    void limits()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, shape);
        QFETCH(QString, letters);
        QTextDocument doc, back;
        const rtf::ReadResult read = rtf::read(data, doc);
        QVERIFY(read.ok);
        QVERIFY(read.continued);
        QCOMPARE(::shape(doc), shape);
        QVERIFY(::letters(doc) == letters);
        QVERIFY(rtf::read(rtf::write(doc), back).ok);
        QCOMPARE(::shape(back), shape);
        QVERIFY(plainText(back) == plainText(doc));
    }

    // A document too large to show is refused and nothing of it is kept: the
    // document read into is left empty, one pasted into as it was.
    void refused_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("error");
        QTest::newRow("too tall") << body(QByteArray("\\fs3276 W\\par ").repeated(6000)) << "too long to show";
        QTest::newRow("a picture too large to decode")
            << body("a{\\pict\\pngblip " + pngHeader(20000, 20000).toHex() + "}b") << "pictures are too large";
    }
    void refused()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, error);
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("kept"));
        const rtf::ReadResult read = rtf::read(data, doc);
        QVERIFY(!read.ok);
        QVERIFY2(read.error.contains(error), qPrintable(read.error));
        QVERIFY(doc.isEmpty());

        QTextDocument target;
        target.setPlainText(QStringLiteral("keep this"));
        QTextCursor cursor(&target);
        cursor.setPosition(5);
        cursor.setPosition(9, QTextCursor::KeepAnchor);
        const rtf::ReadResult pasted = rtf::insert(data, cursor);
        QVERIFY(!pasted.ok);
        QCOMPARE(pasted.error, read.error);
        QCOMPARE(target.toPlainText(), QStringLiteral("keep this"));
        QCOMPARE(cursor.selectedText(), QStringLiteral("this"));
    }

    // Each in a process of its own, so that a layout that never ends, or
    // memory that runs out, fails here rather than freezing the run.
    void hostileDocument_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<qint64>("letters");
        for (const Hostile &h : hostileDocuments())
            QTest::newRow(qPrintable(h.name)) << h.name << h.refused << h.letters;
    }
    void hostileDocument()
    {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        QFETCH(qint64, letters);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--open"), name});
        const bool finished = child.waitForFinished(90000);
        if (!finished) {
            child.kill();
            child.waitForFinished();
        }
        QVERIFY2(finished, "still reading or laying out after 90 s");
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        // outcome, read ms, layout ms, peak KiB, letters, laid-out height
        const QList<QByteArray> out = child.readAllStandardOutput().trimmed().split(' ');
        QCOMPARE(out.size(), 6);
        qInfo("%s in %lld + %lld ms, peak %lld MiB, %s pixels tall", out[0].constData(), out[1].toLongLong(),
              out[2].toLongLong(), out[3].toLongLong() / 1024, out[5].constData());
        QCOMPARE(out[0], QByteArray(refused ? "refused" : "opened"));
        QVERIFY2(out[1].toLongLong() + out[2].toLongLong() <= 30000, "slower than 30 s");
        QVERIFY2(out[3].toLongLong() <= 2048 * 1024, "more than 2 GiB");
        if (!refused)
            QCOMPARE(out[4].toLongLong(), letters);
    }

    // Small and hostile input alike: it must read within 5 s, without a
    // crash, and give the text around any damage.
    void input_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        // Pictures: PNG and JPEG shown at their goal size or scaled, the rest as placeholders.
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        image.setPixelColor(3, 2, Qt::red);
        QByteArray png, jpeg;
        QBuffer pngBuffer(&png), jpegBuffer(&jpeg);
        QVERIFY(pngBuffer.open(QIODevice::WriteOnly) && image.save(&pngBuffer, "PNG"));
        QVERIFY(jpegBuffer.open(QIODevice::WriteOnly) && image.save(&jpegBuffer, "JPEG"));
        const QByteArray pngHex = png.toHex();
        const QString shown = QStringLiteral("a<img 40x20 of 40x20>b");
        QTest::newRow("goal size") << body("a{\\pict\\pngblip\\picw40\\pich20\\picwgoal900\\pichgoal300 " + pngHex
                                           + "}b")
                                   << "a<img 60x20 of 40x20>b";
        QTest::newRow("scaled") << body("a{\\pict\\picscalex50\\picscaley200\\pngblip\r\n" + pngHex + "}b")
                                << "a<img 20x40 of 40x20>b";
        QTest::newRow("jpeg") << body("a{\\pict\\jpegblip " + jpeg.toHex() + "}b") << shown;
        QTest::newRow("binary data") << body("a{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png
                                             + "}b")
                                     << shown;
        QTest::newRow("Word's pair") << body("a{\\*\\shppict{\\pict\\pngblip " + pngHex
                                             + "}}{\\nonshppict{\\pict\\wmetafile8 " + pngHex + "}}b")
                                     << shown;
        QTest::newRow("metafile") << body("a{\\pict\\wmetafile8\\picw40\\pich20 " + pngHex + "}b")
                                  << "a<img 1.51181x1 of 8x8>b";
        QTest::newRow("giant size, kept in proportion")
            << body("a{\\pict\\pngblip\\picwgoal90000\\pichgoal999999999\\picscaley999999999 " + pngHex + "}b")
            << "a<img 60x2112 of 40x20>b";
        QTest::newRow("broken picture data")
            << body("a{\\pict\\pngblip\\picwgoal-5 zz" + pngHex.left(60) + "}b") << "a<img 96x96 of 96x96>b";

        QTest::newRow("\\u and \\ucN") << body("\\u915G\\uc2\\u915GGx\\uc0\\u915 G")
                                       << QString::fromUtf16(u"\u0393\u0393x\u0393G");
        QTest::newRow("\\u fallbacks as hex, cut by a group")
            << body("\\u915\\'47x{\\uc3\\u915G}G{\\uc0\\u916}\\u917GH")
            << QString::fromUtf16(u"\u0393x\u0393G\u0394\u0395H");
        QTest::newRow("negative \\u, surrogate pair")
            << body("\\u-4064?\\u-10179?\\u-8704?") << QString::fromUtf16(u"\uf020\U0001F600");
        QTest::newRow("escapes and specials")
            << body("\\\\ \\{ \\}a\\~b\\-c\\_d\\tab e\\line f\\emdash\\bullet")
            << QString::fromUtf16(u"\\ { }a\u00a0b\u00adc\u2011d\te\u2028f\u2014\u2022");
        QTest::newRow("paragraphs") << body("a\r\nb\\par c\\par\\par d\\par") << QStringLiteral("ab\nc\n\nd");
        QTest::newRow("1251") << body("\\ansicpg1251 \\'cf\\'f0\\'e8") << QString::fromUtf16(u"\u041f\u0440\u0438");
        QTest::newRow("font charset beats code page") << body(
            "\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 A;}{\\f1\\fcharset0 B;}{\\f2 C;}}\\f0\\'cf\\f1\\'cf\\f2\\'cf")
                                                      << QString::fromUtf16(u"\u041f\u00cf\u041f");
        QTest::newRow("932, trail byte a backslash or text")
            << body("\\ansicpg932 \\'83\\'5c\\'83\\'74\\'83Z") << QString::fromUtf16(u"\u30bd\u30d5\u30bb");
        QTest::newRow("936") << body("\\ansicpg936 \\'d6\\'d0\\'ce\\'c4") << QString::fromUtf16(u"\u4e2d\u6587");
        QTest::newRow("font charsets") << body(
            "{\\fonttbl{\\f0\\fcharset129 G;}{\\f1\\fcharset136 M;}{\\f2\\fcharset222 T;}{\\f3\\fcharset238 E;}"
            "{\\f4\\fcharset163 V;}{\\f5\\fcharset161 K;}{\\f6\\fcharset177 H;}}"
            "\\'c7\\'d1\\f1\\'a4\\'a4\\f2\\'a1\\f3\\'8a\\f4\\'d0\\f5\\'c1\\f6\\'e0")
                                       << QString::fromUtf16(u"\ud55c\u4e2d\u0e01\u0160\u0110\u0391\u05d0");
        QTest::newRow("mac") << body("\\mac \\'8a") << QString::fromUtf16(u"\u00e4");
        QTest::newRow("skipped destinations")
            << body("{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}"
                    "{\\*\\foo X}{\\*\\themedata 01}{\\object{\\*\\objdata 0a}{\\result R}}x{\\v hidden}y\\v z\\v0 "
                    "{\\upr{A}{\\*\\ud{U}}}{\\field{\\*\\fldinst PAGE}}")
            << QStringLiteral("RxyU");
        // What Qt has no place for keeps its text: headers and footers where
        // they stand, footnotes and comments in brackets where they are referred to.
        QTest::newRow("headers, footers, footnotes, comments")
            << body("{\\header Head\\par}{\\footerr "
                    "Foot\\par}Spawns{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} eight}"
                    " here{\\*\\atnid JB}{\\*\\annotation{\\*\\atnref 1}Check}.{\\*\\ftnsep \\chftnsep}")
            << QStringLiteral("Head\nFoot\nSpawns[ eight] here[Check].");
        QTest::newRow("characters that would break the document")
            << body("a\\u0?b\\u64976?\\u64977?\\u65532?\\u8233?c") << QString::fromUtf16(u"ab\u2028c");
        QTest::newRow("table cells in order")
            << body("\\trowd\\cellx1\\cellx2 \\intbl A\\cell B\\cell\\row\\intbl C\\cell D\\cell\\row\\pard E")
            << QStringLiteral("\nA\nB\nC\nD\nE");
        QTest::newRow("no \\intbl, more cells than \\cellx")
            << body("\\trowd\\cellx1 A\\cell B\\cell\\row\\pard C") << QStringLiteral("\nA\nB\nC");
        QTest::newRow("nested cells") << body(
            "\\trowd\\cellx1\\intbl A\\itap2 B\\nestcell "
            "C\\nestcell{\\*\\nesttableprops\\trowd\\cellx9\\nestrow}\\itap1 \\cell\\row")
                                      << QStringLiteral("\nA\nB\nC\n\n");

        const QByteArray deep(100000, '{'), undeep(100000, '}');
        QTest::newRow("deep nesting") << "{\\rtf1 a" + deep + "b" << QStringLiteral("ab");
        QTest::newRow("deep nesting closed")
            << "{\\rtf1 a" + deep + "b" + undeep + "{\\*\\x" + deep + undeep + "}c}" << QStringLiteral("abc");
        QTest::newRow("closing braces only") << "{\\rtf1 a}" + undeep + "b" << QStringLiteral("a");
        QTest::newRow("huge numbers") << QByteArray(
            "{\\rtf1 \\fs99999999999999999999999 \\li-99999999999999999 a{\\uc99999999999\\u65 bcd}e"
            "\\u-99999999999 ?f\\sa99999999999999 g\\'ffff}")
                                      << QString::fromUtf16(u"aAefg\u00ffff");
        QTest::newRow("long control words")
            << "{\\rtf1 a\\" + QByteArray(100000, 'x') + "5 b\\par" + QByteArray(40, 'x') + " c}"
            << QStringLiteral("abc");
        QTest::newRow("\\bin longer than the file")
            << QByteArray("{\\rtf1 a\\bin999999999 bcd}") << QStringLiteral("a");
        QTest::newRow("\\bin negative, in a skipped group")
            << QByteArray("{\\rtf1 a\\bin-5 b{\\*\\x\\bin3 }}{}c}") << QStringLiteral("abc");
        QTest::newRow("bad indexes") << QByteArray(
            "{\\rtf1{\\fonttbl{\\f0 A;}}{\\colortbl;\\red1;}\\f99999\\cf99999\\highlight-3\\cb2147483647\\f-5 x}")
                                     << QStringLiteral("x");
        QTest::newRow("truncated in hex escape") << QByteArray("{\\rtf1 a\\'8") << QStringLiteral("a");
        QTest::newRow("truncated after backslash") << QByteArray("{\\rtf1 a\\") << QStringLiteral("a");
        QTest::newRow("truncated in picture")
            << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e47") << QStringLiteral("a");
        QTest::newRow("truncated in table")
            << QByteArray("{\\rtf1\\trowd\\cellx5\\intbl a\\cell b") << QStringLiteral("\na\nb\n");
        // A table's cell grid is its rows times its widest row, and a table
        // holds at most 16,000 cells and paragraphs: a row that fills it goes
        // on after it, and in a new table, a table half full at a row's end
        // goes on in a new one. No cell is lost.
        QTest::newRow("many cells") << "{\\rtf1\\trowd\\intbl " + QByteArray("x\\cell ").repeated(20000) + "\\row}"
                                    << u'\n' + rows(20000, QStringLiteral("x"));
        QTest::newRow("one long row under many short ones")
            << "{\\rtf1 " + QByteArray("\\trowd\\cellx1\\intbl x\\cell\\row ").repeated(300) + "\\trowd\\intbl "
                   + QByteArray("y\\cell ").repeated(1000) + "\\row}"
            << u'\n' + rows(300, QStringLiteral("x"), 16) + u'\n' + rows(16, QStringLiteral("y")) + QString(18, u'\n')
                   + rows(984, QStringLiteral("y")) + u'\n';
        QTest::newRow("many wide rows") << "{\\rtf1\\trowd" + QByteArray("\\cellx1").repeated(63) + "\\intbl "
                                               + QByteArray("x\\row ").repeated(2700) + "}"
                                        << u'\n'
                                               + (QStringList(21, rows(125, QStringLiteral("x"), 63))
                                                  << rows(75, QStringLiteral("x"), 63))
                                                     .join(QStringLiteral("\n\n"))
                                               + u'\n';
        QTest::newRow("many font entries")
            << "{\\rtf1{\\fonttbl" + QByteArray("\\f1 A;").repeated(100000) + "}x}" << QStringLiteral("x");
        QTest::newRow("long field instruction")
            << "{\\rtf1{\\field{\\*\\fldinst HYPERLINK " + QByteArray("\\'41x").repeated(100000) + "}{\\fldrslt y}}}"
            << QStringLiteral("y");
        // Lists: broken tables and items stay text, their marker with them;
        // a paragraph keeps 64 tab stops and 64 characters of its marker.
        QTest::newRow("broken list tables")
            << body("{\\*\\listtable{\\list{\\listlevel{\\leveltext\\'ff;}{\\levelnumbers\\'ff\\'00;}}\\listid1}"
                    "{\\list\\listid1}{\\listlevel\\levelnfc4}}{\\*\\listoverridetable{\\listoverride\\listid5\\ls1}{"
                    "\\listoverride\\ls-3{\\lfolevel"
                    "\\levelstartat-9}{\\lfolevel}}}{\\listtext x\\tab}\\ls1\\ilvl99 a\\par\\ls2147483647 "
                    "b{\\*\\pn\\pnlvl99{\\pntxtb}}\\par\\pard\\ls-3 c")
            << QStringLiteral("x\ta\nb\nc");
        QTest::newRow("marker of a last paragraph that is no item")
            << body("a\\par{\\listtext 2.\\tab}\\ls4 b") << QStringLiteral("a\n2.\tb");
        QTest::newRow("many tab stops, a long marker")
            << body(QByteArray("\\tqc\\tx100").repeated(100) + "{\\listtext " + QByteArray(1000, 'x') + "}a")
            << QString(64, u'x') + u'a';
        QTest::newRow("many list items") << body(
            "{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid1}}"
            "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
            + QByteArray("{\\listtext 1.\\tab}\\pard\\ls1 x\\par ").repeated(20000) + "y")
                                         << QStringList(20000, QStringLiteral("x")).join(u'\n') + QStringLiteral("\ny");
        // 10,000 characters without a space end a paragraph.
        QTest::newRow("many formats") << "{\\rtf1 " + QByteArray("\\b a\\b0 b").repeated(50000) + "}"
                                      << QStringList(10, QStringLiteral("ab").repeated(5000)).join(u'\n');
    }
    void input()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, text);
        QElapsedTimer timer;
        timer.start();
        QTextDocument doc, back;
        QVERIFY(rtf::read(data, doc).ok);
        QCOMPARE(plainText(doc), text);
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        if (doc.blockCount() > 100000)
            return; // the widest table, whose round trip adds seconds and nothing new
        // What we write of it reads back the same, pictures pixel for pixel.
        QVERIFY(rtf::read(rtf::write(doc), back).ok);
        COMPARE_DESCRIPTIONS(describe(back), describe(doc));
    }

    // A picture Qt cannot draw stands as a placeholder of its size that says
    // what it is, and goes back into the file as it stood, in a saved
    // document and in a copied selection alike.
    void picturesQtCannotDraw_data()
    {
        QTest::addColumn<QByteArray>("group");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QSizeF>("shown");
        QTest::newRow("WMF, goal size") << QByteArray(
            "{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 010009000003}")
                                        << "WMF picture" << QSizeF(96, 48);
        QTest::newRow("WMF, own size in 0.01 mm")
            << QByteArray("{\\pict\\wmetafile8\\picw5080\\pich2540 0100\r\n0900}") << "WMF picture" << QSizeF(192, 96);
        QTest::newRow("EMF, scaled, with metadata") << QByteArray(
            "{\\pict{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}\\emfblip\\picwgoal1440\\pichgoal1440\\picscalex50 01000000}")
                                                    << "EMF picture" << QSizeF(48, 96);
        QTest::newRow("Mac PICT, pixels")
            << QByteArray("{\\pict\\macpict\\picw100\\pich50 0000}") << "PICT picture" << QSizeF(100, 50);
        QTest::newRow("bitmap") << QByteArray("{\\pict\\dibitmap0\\picw30\\pich20 28000000}") << "Bitmap picture"
                                << QSizeF(30, 20);
        QTest::newRow("binary data") << QByteArray("{\\pict\\wmetafile8\\picwgoal300\\pichgoal300\\bin4 {}\\\x01}")
                                     << "WMF picture" << QSizeF(20, 20);
        QTest::newRow("PNG that does not decode")
            << QByteArray("{\\pict\\pngblip\\picwgoal600\\pichgoal300 89504e470d0a1a0a00}") << "PNG picture"
            << QSizeF(40, 20);
        QTest::newRow("no size at all") << QByteArray("{\\pict\\wmetafile8 0100}") << "WMF picture" << QSizeF(96, 96);
    }
    void picturesQtCannotDraw()
    {
        QFETCH(QByteArray, group);
        QFETCH(QString, kind);
        QFETCH(QSizeF, shown);
        QTextDocument doc;
        QVERIFY(rtf::read(body("before " + group + " after"), doc).ok);
        QTextCursor at(&doc);
        at.setPosition(7);
        at.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        const QTextImageFormat image = at.charFormat().toImageFormat();
        QVERIFY(image.isValid());
        QCOMPARE(QSizeF(image.width(), image.height()), shown);
        QCOMPARE(image.toolTip(), kind);
        QVERIFY(!doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>().isNull());

        // The group is written back byte for byte, and again after a second read.
        const QByteArray written = rtf::write(doc);
        QVERIFY2(written.contains(group), written.constData());
        QTextDocument back;
        QVERIFY(rtf::read(written, back).ok);
        QCOMPARE(rtf::write(back), written);
        QCOMPARE(plainText(back), plainText(doc));
        QVERIFY(rtf::write(at).contains(group));
    }

    // A picture cut short by the end of its file is left out, so that what
    // we write never holds half a group.
    void pictureCutShortIsLeftOut()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1 a{\\pict\\wmetafile8\\picwgoal300 0100", doc).ok);
        QCOMPARE(plainText(doc), QStringLiteral("a"));
    }

    // Paper, orientation and margins are kept with the document and written
    // back exactly; a file without them gets none and writes none.
    void pageSettings_data()
    {
        QTest::addColumn<QByteArray>("words");
        QTest::addColumn<QPageSize::PageSizeId>("paper");
        QTest::addColumn<QPageLayout::Orientation>("orientation");
        QTest::addColumn<QMarginsF>("margins"); // points: left, top, right, bottom
        QTest::newRow("Word, A4 landscape")
            << QByteArray("\\paperw16838\\paperh11906\\margl1134\\margr1134\\margt1418\\margb1134\\landscape")
            << QPageSize::A4 << QPageLayout::Landscape << QMarginsF(56.7, 70.9, 56.7, 56.7);
        QTest::newRow("Letter, default margins") << QByteArray("\\paperw12240\\paperh15840") << QPageSize::Letter
                                                 << QPageLayout::Portrait << QMarginsF(90, 72, 90, 72);
        QTest::newRow("margins alone, on Letter")
            << QByteArray("\\margl720\\margr720\\margt720\\margb720") << QPageSize::Letter << QPageLayout::Portrait
            << QMarginsF(36, 36, 36, 36);
        QTest::newRow("A5, wider than tall without the word")
            << QByteArray("\\paperw11906\\paperh8391\\margl567\\margr567\\margt567\\margb567") << QPageSize::A5
            << QPageLayout::Landscape << QMarginsF(28.35, 28.35, 28.35, 28.35);
    }
    void pageSettings()
    {
        QFETCH(QByteArray, words);
        QFETCH(QPageSize::PageSizeId, paper);
        QFETCH(QPageLayout::Orientation, orientation);
        QFETCH(QMarginsF, margins);
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1\\ansi" + words + " text}", doc).ok);
        const std::optional<QPageLayout> layout = rtf::pageLayout(doc);
        QVERIFY(layout);
        QCOMPARE(layout->pageSize().id(), paper);
        QCOMPARE(layout->orientation(), orientation);
        const QMarginsF got = layout->margins(QPageLayout::Point);
        QVERIFY2(std::abs(got.left() - margins.left()) < 0.1 && std::abs(got.top() - margins.top()) < 0.1
                     && std::abs(got.right() - margins.right()) < 0.1
                     && std::abs(got.bottom() - margins.bottom()) < 0.1,
                 qPrintable(
                     QStringLiteral("%1 %2 %3 %4").arg(got.left()).arg(got.top()).arg(got.right()).arg(got.bottom())));
        const QByteArray written = rtf::write(doc);
        QTextDocument back;
        QVERIFY(rtf::read(written, back).ok);
        QCOMPARE(rtf::write(back), written);
        QCOMPARE(*rtf::pageLayout(back), *layout);
        if (words.contains("landscape"))
            QVERIFY2(written.contains(words), written.constData());

        // A layout set on the document (Page Setup) is written and read back;
        // a file without page settings leaves none, even on a document that had some.
        rtf::setPageLayout(doc,
                           QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF(20, 30, 40, 50)));
        QVERIFY(rtf::read(rtf::write(doc), back).ok);
        QCOMPARE(rtf::pageLayout(back)->pageSize().id(), QPageSize::A5);
        QCOMPARE(rtf::pageLayout(back)->margins(), QMarginsF(20, 30, 40, 50));
        QVERIFY(rtf::read(body("plain"), back).ok);
        QVERIFY(!rtf::pageLayout(back));
        QVERIFY(!rtf::write(back).contains("paperw"));
    }

    // What we write, we read back with the same text and formats.
    // A read tells its progress at least every 32 KiB, inside a skipped
    // group too, and stops where the progress says so.
    void progress_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("paragraphs") << QByteArray("word {\\b bold}\\par\n").repeated(20000);
        QTest::newRow("skipped group") << "{\\*\\unknown " + QByteArray("hidden ").repeated(60000) + "}shown";
    }
    void progress()
    {
        QFETCH(QByteArray, body);
        const QByteArray data = "{\\rtf1 " + body + "}";
        qint64 last = 0, widest = 0;
        bool steady = true;
        QTextDocument doc;
        QVERIFY(rtf::read(data, doc, [&](qint64 done, qint64 total) {
                    steady = steady && total == data.size() && done >= last && done < total;
                    widest = std::max(widest, done - last);
                    last = done;
                    return true;
                }).ok);
        QVERIFY(steady);
        QVERIFY2(widest <= 32 * 1024 + 64 && data.size() - last <= 32 * 1024, qPrintable(QString::number(widest)));

        const QString whole = doc.toPlainText();
        const rtf::ReadResult stopped =
            rtf::read(data, doc, [](qint64 done, qint64 total) { return done < total / 2; });
        QVERIFY(!stopped.ok && stopped.cancelled && stopped.error.isEmpty());
        QVERIFY(whole.startsWith(doc.toPlainText()) && doc.toPlainText().size() < whole.size());
    }

    void roundTrip_data()
    {
        QTest::addColumn<QTextCharFormat>("chr");
        QTest::addColumn<QTextBlockFormat>("block");
        QTest::addColumn<QString>("text");
        const QString words = QStringLiteral("Map notes");
        using C = QTextCharFormat;
        using B = QTextBlockFormat;
        QTest::newRow("plain") << C() << B() << words;
        QTest::newRow("bold, spaces after control words") << boldFormat() << B() << QStringLiteral("  two leading");
        QTest::newRow("all at once") << make<C>([](C &f) {
            f.setFontWeight(QFont::Bold);
            f.setFontItalic(true);
            f.setFontUnderline(true);
            f.setFontStrikeOut(true);
            f.setFontFamilies({QStringLiteral("Courier New")});
            f.setFontPointSize(20.5);
            f.setForeground(QColor(0x12, 0x34, 0x56));
            f.setBackground(QColor(Qt::yellow));
        }) << B() << words;
        QTest::newRow("superscript") << make<C>([](C &f) { f.setVerticalAlignment(C::AlignSuperScript); }) << B()
                                     << words;
        QTest::newRow("link") << make<C>([](C &f) {
            f.setAnchor(true);
            f.setAnchorHref(QStringLiteral("https://example.com/a?b=c d"));
        }) << B() << words;
        QTest::newRow("centred") << C() << make<B>([](B &f) { f.setAlignment(Qt::AlignHCenter); }) << words;
        QTest::newRow("right") << C() << make<B>([](B &f) { f.setAlignment(Qt::AlignRight); }) << words;
        QTest::newRow("justified, indents and spacing") << C() << make<B>([](B &f) {
            f.setAlignment(Qt::AlignJustify);
            f.setLeftMargin(48);
            f.setRightMargin(20);
            f.setTextIndent(-16);
            f.setTopMargin(8);
            f.setBottomMargin(12);
        }) << words;
        QTest::newRow("special characters")
            << C() << B()
            << QString::fromUtf16(u"\u041f\u0440\u0438\u0432\u0435\u0442 \u65e5\u672c\u8a9e \u00e9\u00df \uffe5 "
                                  u"\U0001F600 \u00a0 a\\b {c} \\par d;\tb\u2028c");
    }
    void roundTrip()
    {
        QFETCH(QTextCharFormat, chr);
        QFETCH(QTextBlockFormat, block);
        QFETCH(QString, text);
        QTextDocument doc;
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("Before "));
        c.insertText(text, chr);
        c.insertText(QStringLiteral(" after"), QTextCharFormat());
        c.insertBlock(block);
        c.insertText(text, chr);
        c.insertBlock();
        c.insertBlock(); // an empty last paragraph survives too

        const QByteArray out = rtf::write(doc);
        QTextDocument back;
        QVERIFY(rtf::read(out, back).ok);
        COMPARE_DESCRIPTIONS(describe(back), describe(doc));
        QCOMPARE(rtf::write(back), out); // writing what we read gives the same file
    }

    void writerOutput()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        c.insertText(QString::fromUtf16(u"a\\{b}\u00e9\uffe5\U0001F600"), boldFormat());
        c.insertBlock();
        c.insertText(QStringLiteral("x"));
        const QByteArray out = rtf::write(doc);
        QVERIFY2(out.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"), out.constData());
        QVERIFY2(out.contains("{\\fonttbl{\\f0") && out.contains("{\\colortbl;") && out.contains("\\uc1")
                     && out.contains("a\\\\\\{b\\}\\u233?\\u-27?\\u-10179?\\u-8704?"),
                 out.constData());
        for (char ch : out)
            QVERIFY(uchar(ch) < 0x80 && (ch >= 0x20 || ch == '\r' || ch == '\n'));
        QCOMPARE(out.count("\\par\r\n"), 2);
        QVERIFY(out.endsWith("}\r\n"));
    }

    // Copy writes the selection alone; Paste puts it in place of a selection.
    void selectionCopyAndPaste()
    {
        QTextDocument source;
        QVERIFY(rtf::read("{\\rtf1 one {\\b two} three}", source).ok);
        QTextCursor c(&source);
        c.setPosition(5);
        c.setPosition(10, QTextCursor::KeepAnchor); // "wo th"
        const QByteArray copied = rtf::write(c);

        QTextDocument target;
        target.setPlainText(QStringLiteral("xyz\nsecond"));
        QTextCursor t(&target);
        t.setBlockFormat(make<QTextBlockFormat>([](auto &f) { f.setAlignment(Qt::AlignHCenter); }));
        t.setPosition(1);
        t.setPosition(2, QTextCursor::KeepAnchor); // "y" is replaced
        QVERIFY(rtf::insert(copied, t).ok);
        QCOMPARE(target.toPlainText(), QStringLiteral("xwo thz\nsecond"));
        QCOMPARE(t.position(), 6);
        QCOMPARE(target.begin().blockFormat().alignment(), Qt::AlignHCenter); // the paragraph keeps its format
        VERIFY_IN_ORDER(describe(target), {"'wo' b=1", "' th' b=0"});
        target.undo(); // one step takes the whole paste back
        QCOMPARE(target.toPlainText(), QStringLiteral("xyz\nsecond"));

        // Whole paragraphs pasted mid-line split it around them.
        QTextDocument two;
        two.setPlainText(QStringLiteral("first\nsecond\n"));
        QTextCursor all(&two);
        all.select(QTextCursor::Document);
        QTextCursor at(&target);
        at.setPosition(1);
        QVERIFY(rtf::insert(rtf::write(all), at).ok);
        QCOMPARE(target.toPlainText(), QStringLiteral("xfirst\nsecond\nyz\nsecond"));
        // A pasted marker of a paragraph that is no list item stays text.
        QTextCursor end(&target);
        end.movePosition(QTextCursor::End);
        QVERIFY(rtf::insert("{\\rtf1{\\listtext 1.\\tab}\\ls4 item}", end).ok);
        QVERIFY(target.toPlainText().endsWith(QStringLiteral("second1.\titem")));

        // An empty selection is an RTF file without text.
        QTextDocument empty;
        QVERIFY(rtf::read(rtf::write(QTextCursor(&source)), empty).ok);
        QVERIFY(empty.isEmpty());
    }

    // LibreOffice reads what we write: it converts our file to its own RTF,
    // and that holds our text and formats.
    void libreOfficeReadsOurFile()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        QTextDocument doc;
        QTextCursor c(&doc);
        c.setBlockFormat(make<QTextBlockFormat>([](auto &f) { f.setAlignment(Qt::AlignHCenter); }));
        c.insertText(QStringLiteral("Bold words"), boldFormat());
        c.insertText(QStringLiteral(" then "), QTextCharFormat());
        c.insertText(QString::fromUtf16(u"italic \u043a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430"),
                     make<QTextCharFormat>([](auto &f) {
                         f.setFontItalic(true);
                         f.setForeground(QColor(Qt::red));
                     }));
        c.insertBlock(QTextBlockFormat());
        c.insertText(QStringLiteral("Mono {braces} \\ slash"), make<QTextCharFormat>([](auto &f) {
                         f.setFontFamilies({QStringLiteral("DejaVu Sans Mono")});
                         f.setFontPointSize(16);
                         f.setFontUnderline(true);
                     }));
        c.insertBlock(QTextBlockFormat());
        c.createList(QTextListFormat::ListCircle);
        c.insertText(QStringLiteral("Circle item"));
        QTextListFormat numbers;
        numbers.setStyle(QTextListFormat::ListUpperRoman);
        numbers.setProperty(rtf::ListStart, 3);
        c.insertBlock(QTextBlockFormat());
        c.createList(numbers);
        c.insertText(QStringLiteral("Numbered item"));

        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("ours.rtf")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(rtf::write(doc)) > 0);
        file.close();

        QProcess lo;
        lo.start(soffice, {QStringLiteral("-env:UserInstallation=")
                               + QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("rtf"),
                           QStringLiteral("--outdir"), dir.filePath(QStringLiteral("out")), file.fileName()});
        QVERIFY(lo.waitForFinished(120000));
        QFile converted(dir.filePath(QStringLiteral("out/ours.rtf")));
        QVERIFY2(converted.open(QIODevice::ReadOnly), lo.readAllStandardError().constData());
        const QByteArray theirs = converted.readAll();
        QVERIFY(theirs.contains("LibreOffice"));

        QTextDocument back;
        QVERIFY(rtf::read(theirs, back).ok);
        QCOMPARE(plainText(back), plainText(doc));
        VERIFY_IN_ORDER(describe(back),
                        {"'Bold words' b=1 i=0",
                         "'italic \u043a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430' b=0 i=1 u=0 s=0",
                         "fg=#ff0000", "'Mono {braces} \\ slash' b=0 i=0 u=1 s=0 font=DejaVu Sans Mono pt=16"});
        QCOMPARE(back.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        VERIFY_IN_ORDER(listItems(back), {"1 circle@1: Circle item", "2 I@1 '#.' from 3: Numbered item"});
    }
};

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--open") == 0)
        return openHostile(QString::fromLocal8Bit(argv[2]), argc, argv);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestRtf test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rtf.moc"

// The RTF reader and writer: files other programs wrote, broken and hostile
// input, code pages, the round trip, the selection writer and LibreOffice.
#include "rtf.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>

namespace rtf = tavrin::rtf;

namespace {

const QString DataDir = QStringLiteral(TAVRIN_TEST_DATA "/rtf");

QByteArray fileBytes(const QString &name)
{
    QFile f(DataDir + u'/' + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing test file %s", qPrintable(name));
    return f.readAll();
}

// Plain text of a document, table cells included, one line per block.
QString plainText(const QTextDocument &doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines.join(u'\n');
}

QString readText(const QByteArray &data)
{
    QTextDocument doc;
    const rtf::ReadResult r = rtf::read(data, doc);
    return r.ok ? plainText(doc) : QStringLiteral("<not rtf>");
}

// The format of every run as one line each, with the values a reader sees,
// so that two documents compare equal when they look the same.
QString describe(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        out << QStringLiteral("block align=%1 l=%2 r=%3 fi=%4 sb=%5 sa=%6")
                   .arg(int(bf.alignment() & Qt::AlignHorizontal_Mask))
                   .arg(bf.leftMargin()).arg(bf.rightMargin()).arg(bf.textIndent())
                   .arg(bf.topMargin()).arg(bf.bottomMargin());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QStringList families = f.fontFamilies().toStringList();
            out << QStringLiteral("  '%1' b=%2 i=%3 u=%4 s=%5 font=%6 pt=%7 fg=%8 bg=%9 v=%10 href=%11")
                       .arg(it.fragment().text())
                       .arg(f.fontWeight() >= QFont::DemiBold).arg(f.fontItalic())
                       .arg(f.fontUnderline()).arg(f.fontStrikeOut())
                       .arg(families.value(0, doc.defaultFont().family()))
                       .arg(f.fontPointSize() > 0 ? f.fontPointSize() : doc.defaultFont().pointSizeF())
                       .arg(f.foreground().style() ? f.foreground().color().name() : QString())
                       .arg(f.background().style() ? f.background().color().name() : QString())
                       .arg(int(f.verticalAlignment()))
                       .arg(f.isAnchor() ? f.anchorHref() : QString());
        }
    }
    return out.join(u'\n');
}

// Compares two describe() texts, naming the first line that differs.
#define COMPARE_DESCRIPTIONS(actual, expected)                                                   \
    do {                                                                                          \
        const QStringList a_ = (actual).split(u'\n'), e_ = (expected).split(u'\n');               \
        for (qsizetype i_ = 0; i_ < std::max(a_.size(), e_.size()); ++i_)                         \
            QVERIFY2(a_.value(i_) == e_.value(i_),                                                \
                     qPrintable(QStringLiteral("line %1:\n  got      %2\n  expected %3")          \
                                    .arg(i_ + 1).arg(a_.value(i_), e_.value(i_))));               \
    } while (false)

QTextCharFormat boldFormat()
{
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    return f;
}

// Every image of the document, in order.
QList<QTextImageFormat> images(const QTextDocument &doc)
{
    QList<QTextImageFormat> found;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                for (int i = 0; i < it.fragment().length(); ++i)
                    found << it.fragment().charFormat().toImageFormat();
    return found;
}

QImage imageOf(const QTextDocument &doc, const QTextImageFormat &f)
{
    return doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
}

QTextTable *firstTable(const QTextDocument &doc)
{
    for (QTextFrame *f : doc.rootFrame()->childFrames())
        if (auto *t = qobject_cast<QTextTable *>(f))
            return t;
    return nullptr;
}

} // namespace

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
        QTest::newRow("control word only") << QByteArray("\\foobar") << false << false;
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
        if (!readable) {
            QCOMPARE(r.error, QStringLiteral("The file is not in rich text format."));
            QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
            QTextCursor cursor(&doc);
            QVERIFY(!rtf::insert(data, cursor).ok);
            QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
        }
    }

    // Every file reads without a crash, and what we write of it reads back
    // with the same text.
    void corpusFile_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList files = QDir(DataDir).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
        QVERIFY(files.size() > 40);
        for (const QString &f : files)
            QTest::newRow(qPrintable(f)) << f;
    }
    void corpusFile()
    {
        QFETCH(QString, name);
        const QByteArray data = fileBytes(name);
        QTextDocument doc;
        const rtf::ReadResult r = rtf::read(data, doc);
        QCOMPARE(r.ok, !data.trimmed().isEmpty() && data.contains("{\\rtf"));
        const QByteArray written = rtf::write(doc);
        QTextDocument back;
        QVERIFY(rtf::read(written, back).ok);
        QCOMPARE(plainText(back), plainText(doc));
        QCOMPARE(images(back).size(), images(doc).size());
    }

    void corpusText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("expected"); // in this order
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("unicode with fallbacks") << "Test01.rtf"
            << QStringList{"Hellou RTF World", "[A] == [A] == [A] == [A]",
                           "Unicode: [\u0393] - ANSI-fallback: [G]", "same but different: \"[\u0393]\"",
                           "something to ignore: visible."}
            << QStringList{"should not appear", "this neither", "[G]]"};
        QTest::newRow("1251") << "Issue34.rtf" << QStringList{"\u0423 \u0425 \u0412 \u0410 \u041b \u0410",
            "\u0411.\u0406. \u0413\u0443\u043b\u044c\u043a\u043e", "\u0412.\u0410.\u0427\u0435\u0440\u043d\u0435\u043d\u043a\u043e"} << QStringList{};
        QTest::newRow("932 file") << "RtfParserTest_5.rtf"
            << QStringList{"\u30d0\u30fc\u30b8\u30e7\u30f3 8.5", "\u30ea\u30ea\u30fc\u30b9 \u30ce\u30fc\u30c8"} << QStringList{};
        QTest::newRow("932 font in 1252 file") << "RtfParserTest_4.rtf"
            << QStringList{"\u30d0\u30fc\u30b8\u30e7\u30f3\u30a2\u30c3\u30d7\u6ce8\u6587\u66f8\uff08\u9280\u884c\u632f\u8fbc\uff09"} << QStringList{};
        QTest::newRow("950") << "Issue52.rtf" << QStringList{"\u9023\u90a6\u570b\u969b\u5c08\u5229\u5546\u6a19\u4e8b\u52d9\u6240"}
            << QStringList{"<HTML>", "DOCTYPE"};
        QTest::newRow("936 font") << "Issue23.rtf" << QStringList{"\u5c31\u8bca\u65f6\u95f4", "\u53d1\u70ed\u4e00\u65e5"} << QStringList{};
        QTest::newRow("hyperlinks") << "Hyperlink.rtf"
            << QStringList{"Include www link http://www.cnn.com/", "Hyperlink within doc bookmark_1"}
            << QStringList{"HYPERLINK", "datafield", "00d0c9ea"};
        QTest::newRow("nested table") << "nested_table_report.rtf"
            << QStringList{"Approval", "Some text here.", "List item three.", "Comment Date", "Comment By",
                           "07/13/2018", "John Doe"} << QStringList{};
        QTest::newRow("list bullets") << "ListWord.rtf" << QStringList{"Paragraph", "\u00b7\tBullet", "2.\tList 2"} << QStringList{};
        QTest::newRow("junk before") << "RtfParserTest_fail_0.rtf" << QStringList{"Hello world in {RTF}\u2026"} << QStringList{};
        QTest::newRow("junk after") << "RtfParserTest_fail_1.rtf" << QStringList{"Hello world in {RTF}\u2026"} << QStringList{"-"};
        QTest::newRow("extra brace") << "RtfParserTest_fail_2.rtf" << QStringList{"Hello world in {RTF}\u2026"} << QStringList{};
        QTest::newRow("truncated") << "RtfParserTest_fail_3.rtf" << QStringList{"Hello world in {RTF}\u2026"} << QStringList{};
        QTest::newRow("unclosed font table") << "Issue49.rtf" << QStringList{"5% Auf Patronen"} << QStringList{};
        QTest::newRow("LibreOffice") << "LibreOffice-sample.rtf"
            << QStringList{"Tavrin map notes", "Plain, bold, italic, underlined and struck words.",
                           "\u041a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430 \u0438 \u65e5\u672c\u8a9e and \u00fcmlauts.",
                           "mp_harbor\naxis\nmp_toujane\nallies", "Indented paragraph."}
            << QStringList{"?", "Default Page Style"};
    }
    void corpusText()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, absent);
        const QString text = readText(fileBytes(name));
        qsizetype from = 0;
        for (const QString &e : expected) {
            const qsizetype at = text.indexOf(e, from);
            if (at < 0)
                QFAIL(qPrintable(QStringLiteral("'%1' not found in order in:\n%2").arg(e, text.left(3000))));
            from = at + e.size();
        }
        for (const QString &a : absent)
            QVERIFY2(!text.contains(a), qPrintable(a));
    }

    void corpusStructure()
    {
        // Links keep their address; the visible text is the field's result.
        QTextDocument links;
        QVERIFY(rtf::read(fileBytes(QStringLiteral("Hyperlink.rtf")), links).ok);
        QStringList hrefs;
        for (QTextBlock b = links.begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isAnchor())
                    hrefs << it.fragment().charFormat().anchorHref();
        QCOMPARE(hrefs, (QStringList{"../../Desktop/any_document.rtf", "http://www.cnn.com/",
                                     "mailto:phthenry@earthlink.net?subject=subject%20line", "http://www.cnn.com/",
                                     "../../Desktop/any_document.rtf", "#bookmark_1"}));

        // Tables become real tables, cells in reading order.
        QTextDocument tables;
        QVERIFY(rtf::read(fileBytes(QStringLiteral("LibreOffice-sample.rtf")), tables).ok);
        QTextTable *t = firstTable(tables);
        QVERIFY(t);
        QCOMPARE(t->rows(), 2);
        QCOMPARE(t->columns(), 2);
        QCOMPARE(QTextCursor(t->cellAt(1, 0).firstCursorPosition()).block().text(), QStringLiteral("mp_toujane"));
        QCOMPARE(QTextCursor(t->cellAt(0, 1).firstCursorPosition()).block().text(), QStringLiteral("axis"));

        // No table is wider than 63 columns: the cells beyond go into the
        // row's last cell, and the short row keeps empty cells.
        QTextDocument wide;
        QVERIFY(rtf::read("{\\rtf1\\trowd\\intbl a\\cell\\row\\trowd\\intbl "
                          + QByteArray("b\\cell ").repeated(62) + "c\\cell d\\cell\\row}", wide).ok);
        t = firstTable(wide);
        QVERIFY(t);
        QCOMPARE(t->rows(), 2);
        QCOMPARE(t->columns(), 63);
        QCOMPARE(t->cellAt(0, 62).firstPosition(), t->cellAt(0, 62).lastPosition());
        QTextCursor last = t->cellAt(1, 62).firstCursorPosition();
        last.setPosition(t->cellAt(1, 62).lastPosition(), QTextCursor::KeepAnchor);
        QCOMPARE(last.selection().toPlainText(), QStringLiteral("c\nd"));

        // PNG pictures are images with their data as resources; metafiles and
        // the JPEG in Issue39's page header are left out.
        for (const char *name : {"Issue37.rtf", "Issue39.rtf", "Issue33.rtf"}) {
            QTextDocument doc;
            QVERIFY(rtf::read(fileBytes(QString::fromLatin1(name)), doc).ok);
            const QList<QTextImageFormat> shown = images(doc);
            QCOMPARE(shown.size(), qstrcmp(name, "Issue37.rtf") == 0 ? 2 : 0);
            for (const QTextImageFormat &img : shown) {
                QVERIFY(!imageOf(doc, img).isNull());
                QVERIFY(img.width() > 10 && img.height() > 10);
            }
        }
    }

    // Pictures: PNG and JPEG shown at their goal size or scaled, the rest left out.
    void pictures_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("count");
        QTest::addColumn<QSizeF>("size");
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QByteArray png, jpeg;
        QBuffer pngBuffer(&png), jpegBuffer(&jpeg);
        QVERIFY(pngBuffer.open(QIODevice::WriteOnly) && image.save(&pngBuffer, "PNG"));
        QVERIFY(jpegBuffer.open(QIODevice::WriteOnly) && image.save(&jpegBuffer, "JPEG"));
        const QByteArray pngHex = png.toHex();
        QTest::newRow("goal size") << "{\\pict\\pngblip\\picw40\\pich20\\picwgoal900\\pichgoal300 " + pngHex + "}" << 1 << QSizeF(60, 20);
        QTest::newRow("scaled") << "{\\pict\\picscalex50\\picscaley200\\pngblip\r\n" + pngHex + "}" << 1 << QSizeF(20, 40);
        QTest::newRow("jpeg") << "{\\pict\\jpegblip " + jpeg.toHex() + "}" << 1 << QSizeF(40, 20);
        QTest::newRow("binary data") << "{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}" << 1 << QSizeF(40, 20);
        QTest::newRow("Word's pair") << "{\\*\\shppict{\\pict\\pngblip " + pngHex + "}}{\\nonshppict{\\pict\\wmetafile8 " + pngHex + "}}" << 1 << QSizeF(40, 20);
        QTest::newRow("metafile") << "{\\pict\\wmetafile8\\picw40\\pich20 " + pngHex + "}" << 0 << QSizeF();
        QTest::newRow("broken data") << "{\\pict\\pngblip " + pngHex.left(60) + "}" << 0 << QSizeF();
    }
    void pictures()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, count);
        QFETCH(QSizeF, size);
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1 a" + body + "b}", doc).ok);
        QCOMPARE(doc.toPlainText().remove(QChar::ObjectReplacementCharacter), QStringLiteral("ab"));
        const QList<QTextImageFormat> shown = images(doc);
        QCOMPARE(shown.size(), count);
        if (count) {
            QCOMPARE(QSizeF(shown[0].width(), shown[0].height()), size);
            QCOMPARE(imageOf(doc, shown[0]).size(), QSize(40, 20));
        }
    }

    void formatsFromFile()
    {
        QTextDocument doc;
        QVERIFY(rtf::read(fileBytes(QStringLiteral("Test01.rtf")), doc).ok);
        const QString d = describe(doc);
        QVERIFY2(d.contains(QStringLiteral("'Hellou RTF World' b=0 i=0 u=0 s=0 font=Verdana pt=18")), qPrintable(d));
        QVERIFY(d.contains(QStringLiteral("'abc' b=0 i=1 u=0 s=0 font=Symbol pt=12 fg=#ff0000 bg=#0000ff")));
        QVERIFY(d.contains(QStringLiteral("'strikethrough' b=0 i=0 u=0 s=1 font=Arial")));
        QVERIFY(d.contains(QStringLiteral("'bold+italic' b=1 i=1 u=0")));
        QVERIFY(d.contains(QStringLiteral("', normal' b=0 i=0 u=0 s=0 font=Verdana")));
    }

    // Each case is a body after a fixed header, and the text it must give.
    void smallInput_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("\\u fallback skipped") << QByteArray("\\u915G") << QString::fromUtf16(u"\u0393");
        QTest::newRow("\\uc2") << QByteArray("\\uc2\\u915GGx") << QString::fromUtf16(u"\u0393x");
        QTest::newRow("\\uc0") << QByteArray("\\uc0\\u915 G") << QString::fromUtf16(u"\u0393G");
        QTest::newRow("fallback as hex") << QByteArray("\\u915\\'47x") << QString::fromUtf16(u"\u0393x");
        QTest::newRow("fallback ends with group") << QByteArray("{\\uc3\\u915G}G") << QString::fromUtf16(u"\u0393G");
        QTest::newRow("\\uc in group only") << QByteArray("{\\uc0\\u915}\\u916GH") << QString::fromUtf16(u"\u0393\u0394H");
        QTest::newRow("negative") << QByteArray("\\u-4064?") << QString::fromUtf16(u"\uf020");
        QTest::newRow("surrogate pair") << QByteArray("\\u-10179?\\u-8704?") << QString::fromUtf16(u"\U0001F600");
        QTest::newRow("escapes") << QByteArray("\\\\ \\{ \\}") << QString::fromUtf16(u"\\ { }");
        QTest::newRow("special") << QByteArray("a\\~b\\-c\\_d\\tab e\\line f\\emdash\\bullet") << QString::fromUtf16(u"a\u00a0b\u00adc\u2011d\te\u2028f\u2014\u2022");
        QTest::newRow("line ends ignored") << QByteArray("ab\r\ncd") << QStringLiteral("abcd");
        QTest::newRow("paragraphs") << QByteArray("a\\par b\\par\\par c") << QStringLiteral("a\nb\n\nc");
        QTest::newRow("final \\par dropped") << QByteArray("a\\par b\\par") << QStringLiteral("a\nb");
        QTest::newRow("1251") << QByteArray("\\ansicpg1251 \\'cf\\'f0\\'e8") << QString::fromUtf16(u"\u041f\u0440\u0438");
        QTest::newRow("font charset beats code page") << QByteArray("\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 A;}{\\f1\\fcharset0 B;}{\\f2 C;}}\\f0\\'cf\\f1\\'cf\\f2\\'cf") << QString::fromUtf16(u"\u041f\u00cf\u041f");
        QTest::newRow("932 trail byte is a backslash") << QByteArray("\\ansicpg932 \\'83\\'5c\\'83\\'74\\'83\\'67") << QString::fromUtf16(u"\u30bd\u30d5\u30c8");
        QTest::newRow("932 trail byte as text") << QByteArray("\\ansicpg932 \\'83Z") << QString::fromUtf16(u"\u30bb");
        QTest::newRow("936") << QByteArray("\\ansicpg936 \\'d6\\'d0\\'ce\\'c4") << QString::fromUtf16(u"\u4e2d\u6587");
        QTest::newRow("949") << QByteArray("{\\fonttbl{\\f0\\fcharset129 G;}}\\'c7\\'d1") << QString::fromUtf16(u"\ud55c");
        QTest::newRow("950") << QByteArray("{\\fonttbl{\\f0\\fcharset136 M;}}\\'a4\\'a4\\'a4\\'e5") << QString::fromUtf16(u"\u4e2d\u6587");
        QTest::newRow("874") << QByteArray("{\\fonttbl{\\f0\\fcharset222 T;}}\\'a1") << QString::fromUtf16(u"\u0e01");
        QTest::newRow("1250") << QByteArray("{\\fonttbl{\\f0\\fcharset238 E;}}\\'8a") << QString::fromUtf16(u"\u0160");
        QTest::newRow("1253") << QByteArray("\\ansicpg1253 \\'c1") << QString::fromUtf16(u"\u0391");
        QTest::newRow("1255") << QByteArray("\\ansicpg1255 \\'e0") << QString::fromUtf16(u"\u05d0");
        QTest::newRow("1258") << QByteArray("{\\fonttbl{\\f0\\fcharset163 V;}}\\'d0") << QString::fromUtf16(u"\u0110");
        QTest::newRow("mac") << QByteArray("\\mac \\'8a") << QString::fromUtf16(u"\u00e4");
        QTest::newRow("skipped destinations") << QByteArray("{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}{\\header H}{\\footerr F}"
            "{\\*\\foo X}{\\*\\themedata 01}{\\pict\\wmetafile8 0102}{\\object{\\*\\objdata 0a}{\\result R}}x") << QStringLiteral("Rx");
        QTest::newRow("hidden text") << QByteArray("a{\\v hidden}b\\v c\\v0 d") << QStringLiteral("abd");
        QTest::newRow("unicode version of \\upr") << QByteArray("{\\upr{A}{\\*\\ud{U}}}") << QStringLiteral("U");
        QTest::newRow("field without result") << QByteArray("a{\\field{\\*\\fldinst PAGE}}b") << QStringLiteral("ab");
        QTest::newRow("characters that would break the document") << QByteArray("a\\u0?b\\u64976?\\u64977?\\u65532?\\u8233?c")
            << QString::fromUtf16(u"ab\u2028c");
        QTest::newRow("table cells in order") << QByteArray("\\trowd\\cellx1\\cellx2 \\intbl A\\cell B\\cell\\row\\intbl C\\cell D\\cell\\row\\pard E")
            << QStringLiteral("\nA\nB\nC\nD\nE");
        QTest::newRow("row without \\intbl") << QByteArray("\\trowd\\cellx1 A\\cell\\row\\pard B") << QStringLiteral("\nA\nB");
        QTest::newRow("more cells than \\cellx") << QByteArray("\\trowd\\cellx1\\intbl A\\cell B\\cell C\\cell\\row") << QStringLiteral("\nA\nB\nC\n");
        QTest::newRow("nested cells flattened") << QByteArray("\\trowd\\cellx1\\intbl A\\itap2 B\\nestcell C\\nestcell{\\*\\nesttableprops\\trowd\\cellx9\\nestrow}\\itap1 \\cell\\row")
            << QStringLiteral("\nAB\nC\n\n");
    }
    void smallInput()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        QCOMPARE(readText("{\\rtf1\\ansi\\deff0 " + body + "}"), text);
    }

    // Input made to hurt: it must read quickly, without a crash, and give the
    // text around the damage.
    void hostileInput_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        QTest::newRow("deep nesting") << "{\\rtf1 a" + QByteArray(100000, '{') + "b" << QStringLiteral("ab");
        QTest::newRow("deep nesting closed") << "{\\rtf1 a" + QByteArray(100000, '{') + "b" + QByteArray(100000, '}') + "c}" << QStringLiteral("abc");
        QTest::newRow("deep skipped nesting") << "{\\rtf1 a{\\*\\x" + QByteArray(100000, '{') + QByteArray(100000, '}') + "}b}" << QStringLiteral("ab");
        QTest::newRow("closing braces only") << "{\\rtf1 a}" + QByteArray(100000, '}') + "b" << QStringLiteral("a");
        QTest::newRow("huge numbers") << QByteArray("{\\rtf1 \\fs99999999999999999999999 \\li-99999999999999999 a{\\uc99999999999\\u65 bcd}e"
                                                    "\\u-99999999999 ?f\\sa99999999999999 g\\'ffff}") << QString::fromUtf16(u"aAefg\u00ffff");
        QTest::newRow("long control word") << "{\\rtf1 a\\" + QByteArray(100000, 'x') + "5 b}" << QStringLiteral("ab");
        QTest::newRow("long control word like \\par") << "{\\rtf1 a\\par" + QByteArray(40, 'x') + " b}" << QStringLiteral("ab");
        QTest::newRow("\\bin longer than the file") << QByteArray("{\\rtf1 a\\bin999999999 bcd}") << QStringLiteral("a");
        QTest::newRow("\\bin negative") << QByteArray("{\\rtf1 a\\bin-5 b}") << QStringLiteral("ab");
        QTest::newRow("\\bin in skipped group with braces") << QByteArray("{\\rtf1 a{\\*\\x\\bin3 }}{}b}") << QStringLiteral("ab");
        QTest::newRow("bad indexes") << QByteArray("{\\rtf1{\\fonttbl{\\f0 A;}}{\\colortbl;\\red1;}\\f99999\\cf99999\\highlight-3\\cb2147483647\\f-5 x}")
            << QStringLiteral("x");
        QTest::newRow("truncated in hex escape") << QByteArray("{\\rtf1 a\\'8") << QStringLiteral("a");
        QTest::newRow("truncated after backslash") << QByteArray("{\\rtf1 a\\") << QStringLiteral("a");
        QTest::newRow("truncated in picture") << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e47") << QStringLiteral("a");
        QTest::newRow("truncated in table") << QByteArray("{\\rtf1\\trowd\\cellx5\\intbl a\\cell b") << QStringLiteral("\na\nb\n");
        QTest::newRow("broken picture data") << QByteArray("{\\rtf1 a{\\pict\\pngblip\\picwgoal-5 zz89504e470d0a}b}") << QStringLiteral("ab");
        QTest::newRow("many cells") << "{\\rtf1\\trowd\\intbl " + QByteArray("x\\cell ").repeated(20000) + "\\row}"
            << QStringLiteral("\n") + QStringList(20000, QStringLiteral("x")).join(u'\n') + QStringLiteral("\n");
        QTest::newRow("many rows") << "{\\rtf1 " + QByteArray("\\trowd\\cellx1\\intbl x\\cell\\row ").repeated(20000) + "\\pard e}"
            << QStringLiteral("\n") + QStringList(20000, QStringLiteral("x")).join(u'\n') + QStringLiteral("\ne");
        // A table's cell grid is its rows times its widest row.
        QTest::newRow("one long row under many short ones")
            << "{\\rtf1 " + QByteArray("\\trowd\\cellx1\\intbl x\\cell\\row ").repeated(300) + "\\trowd\\intbl "
                   + QByteArray("y\\cell ").repeated(1000) + "\\row}"
            << QStringLiteral("\n") + QStringList(300, u'x' + QString(62, u'\n')).join(u'\n')
                   + QStringLiteral("\n") + QStringList(1000, QStringLiteral("y")).join(u'\n') + QStringLiteral("\n");
        QTest::newRow("many wide rows")
            << "{\\rtf1\\trowd" + QByteArray("\\cellx1").repeated(63) + "\\intbl " + QByteArray("x\\row ").repeated(2700) + "}"
            << QStringLiteral("\n") + QStringList(2700, u'x' + QString(62, u'\n')).join(u'\n') + QStringLiteral("\n");
        QTest::newRow("many font entries") << "{\\rtf1{\\fonttbl" + QByteArray("\\f1 A;").repeated(100000) + "}x}" << QStringLiteral("x");
        QTest::newRow("long field instruction") << "{\\rtf1{\\field{\\*\\fldinst HYPERLINK " + QByteArray("\\'41x").repeated(100000) + "}{\\fldrslt y}}}"
            << QStringLiteral("y");
        QTest::newRow("many formats") << "{\\rtf1 " + QByteArray("\\b a\\b0 b").repeated(50000) + "}" << QString(QStringLiteral("ab").repeated(50000));
    }
    void hostileInput()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, text);
        QElapsedTimer timer;
        timer.start();
        QTextDocument doc;
        QVERIFY(rtf::read(data, doc).ok);
        QCOMPARE(plainText(doc), text);
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }

    // Inputs that once broke the reader (most found by the fuzz target): each
    // reads quickly, and what we write of it reads back with the same text.
    void regressionFile_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(DataDir + QStringLiteral("/regressions"));
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty());
        for (const QString &f : files)
            QTest::newRow(qPrintable(f)) << dir.filePath(f);
    }
    void regressionFile()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        QElapsedTimer timer;
        timer.start();
        QTextDocument doc;
        if (!rtf::read(data, doc).ok)
            return;
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QTextDocument back;
        QVERIFY(rtf::read(rtf::write(doc), back).ok);
        QCOMPARE(plainText(back), plainText(doc));
    }

    // What we write, we read back with the same text and formats.
    void roundTrip_data()
    {
        QTest::addColumn<QTextCharFormat>("chr");
        QTest::addColumn<QTextBlockFormat>("block");
        QTest::addColumn<QString>("text");
        const QString words = QStringLiteral("Map notes");
        auto chr = [](auto set) { QTextCharFormat f; set(f); return f; };
        auto blk = [](auto set) { QTextBlockFormat f; set(f); return f; };
        QTest::newRow("plain") << QTextCharFormat() << QTextBlockFormat() << words;
        QTest::newRow("bold") << boldFormat() << QTextBlockFormat() << words;
        QTest::newRow("italic") << chr([](QTextCharFormat &f) { f.setFontItalic(true); }) << QTextBlockFormat() << words;
        QTest::newRow("underline") << chr([](QTextCharFormat &f) { f.setFontUnderline(true); }) << QTextBlockFormat() << words;
        QTest::newRow("strikeout") << chr([](QTextCharFormat &f) { f.setFontStrikeOut(true); }) << QTextBlockFormat() << words;
        QTest::newRow("family") << chr([](QTextCharFormat &f) { f.setFontFamilies({QStringLiteral("Courier New")}); }) << QTextBlockFormat() << words;
        QTest::newRow("size") << chr([](QTextCharFormat &f) { f.setFontPointSize(20.5); }) << QTextBlockFormat() << words;
        QTest::newRow("colour") << chr([](QTextCharFormat &f) { f.setForeground(QColor(0x12, 0x34, 0x56)); }) << QTextBlockFormat() << words;
        QTest::newRow("background") << chr([](QTextCharFormat &f) { f.setBackground(QColor(Qt::yellow)); }) << QTextBlockFormat() << words;
        QTest::newRow("superscript") << chr([](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); }) << QTextBlockFormat() << words;
        QTest::newRow("link") << chr([](QTextCharFormat &f) { f.setAnchor(true); f.setAnchorHref(QStringLiteral("https://example.com/a?b=c d")); }) << QTextBlockFormat() << words;
        QTest::newRow("all at once") << chr([](QTextCharFormat &f) {
            f.setFontWeight(QFont::Bold); f.setFontItalic(true); f.setFontUnderline(true); f.setFontStrikeOut(true);
            f.setFontFamilies({QStringLiteral("Arial")}); f.setFontPointSize(9); f.setForeground(QColor(Qt::red)); f.setBackground(QColor(Qt::blue));
        }) << QTextBlockFormat() << words;
        QTest::newRow("centred") << QTextCharFormat() << blk([](QTextBlockFormat &f) { f.setAlignment(Qt::AlignHCenter); }) << words;
        QTest::newRow("right") << QTextCharFormat() << blk([](QTextBlockFormat &f) { f.setAlignment(Qt::AlignRight); }) << words;
        QTest::newRow("justified") << QTextCharFormat() << blk([](QTextBlockFormat &f) { f.setAlignment(Qt::AlignJustify); }) << words;
        QTest::newRow("indents and spacing") << QTextCharFormat() << blk([](QTextBlockFormat &f) {
            f.setLeftMargin(48); f.setRightMargin(20); f.setTextIndent(-16); f.setTopMargin(8); f.setBottomMargin(12);
        }) << words;
        QTest::newRow("unicode") << QTextCharFormat() << QTextBlockFormat()
            << QString::fromUtf16(u"\u041f\u0440\u0438\u0432\u0435\u0442 \u65e5\u672c\u8a9e \u00e9\u00df \uffe5 \U0001F600 \u00a0");
        QTest::newRow("rtf characters") << QTextCharFormat() << QTextBlockFormat() << QStringLiteral("a\\b {c} \\par d;");
        QTest::newRow("tab and line break") << QTextCharFormat() << QTextBlockFormat() << QString::fromUtf16(u"a\tb\u2028c\td");
        QTest::newRow("spaces after control words") << boldFormat() << QTextBlockFormat() << QStringLiteral("  two leading");
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
        // Writing what we read gives the same file.
        QCOMPARE(rtf::write(back), out);
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
        QVERIFY(out.contains("{\\fonttbl{\\f0"));
        QVERIFY(out.contains("{\\colortbl;"));
        QVERIFY(out.contains("\\uc1"));
        QVERIFY2(out.contains("a\\\\\\{b\\}\\u233?\\u-27?\\u-10179?\\u-8704?"), out.constData());
        for (char ch : out)
            QVERIFY(uchar(ch) < 0x80 && (ch >= 0x20 || ch == '\r' || ch == '\n'));
        QCOMPARE(out.count("\\pard"), 2);
        QCOMPARE(out.count("\\par\r\n"), 2);
        QVERIFY(out.endsWith("}\r\n"));
    }

    void imagesAndTablesRoundTrip()
    {
        QImage image(7, 5, QImage::Format_ARGB32);
        image.fill(QColor(10, 200, 30));
        image.setPixelColor(3, 2, QColor(250, 0, 0));
        QTextDocument doc;
        doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:pic")), image);
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("Picture: "));
        QTextImageFormat img;
        img.setName(QStringLiteral("mem:pic"));
        img.setWidth(30);
        img.setHeight(20);
        c.insertImage(img);
        c.insertBlock();
        c.insertText(QStringLiteral("Before the table"));
        c.insertBlock();
        QTextTable *table = c.insertTable(2, 3);
        for (int r = 0; r < 2; ++r)
            for (int col = 0; col < 3; ++col) {
                QTextCursor cell = table->cellAt(r, col).firstCursorPosition();
                cell.insertText(QStringLiteral("r%1c%2").arg(r).arg(col), r == 0 ? boldFormat() : QTextCharFormat());
                if (r == 1 && col == 2) {
                    cell.insertBlock();
                    cell.insertText(QStringLiteral("second line"));
                }
            }
        c.setPosition(table->lastPosition() + 1);
        c.insertText(QStringLiteral("After the table"));

        const QByteArray out = rtf::write(doc);
        QVERIFY(out.contains("{\\pict\\pngblip\\picw7\\pich5\\picwgoal450\\pichgoal300"));
        QTextDocument back;
        QVERIFY(rtf::read(out, back).ok);
        COMPARE_DESCRIPTIONS(describe(back), describe(doc));
        QCOMPARE(back.blockCount(), doc.blockCount());

        QTextTable *t = firstTable(back);
        QVERIFY(t);
        QCOMPARE(t->rows(), 2);
        QCOMPARE(t->columns(), 3);
        QCOMPARE(t->cellAt(1, 2).firstCursorPosition().block().text(), QStringLiteral("r1c2"));
        QCOMPARE(t->cellAt(1, 2).lastCursorPosition().block().text(), QStringLiteral("second line"));

        const QList<QTextImageFormat> read = images(back);
        QCOMPARE(read.size(), 1);
        QCOMPARE(read[0].width(), 30.0);
        QCOMPARE(read[0].height(), 20.0);
        QCOMPARE(imageOf(back, read[0]).convertToFormat(QImage::Format_ARGB32), image);
    }

    // Copy writes the selection alone; Paste puts it in place of a selection.
    void selectionCopyAndPaste()
    {
        QTextDocument source;
        QTextCursor c(&source);
        c.insertText(QStringLiteral("one "));
        c.insertText(QStringLiteral("two"), boldFormat());
        c.insertText(QStringLiteral(" three"), QTextCharFormat());
        c.setPosition(5);
        c.setPosition(10, QTextCursor::KeepAnchor); // "wo th"
        const QByteArray copied = rtf::write(c);
        QVERIFY(rtf::isRtf(copied));

        QTextDocument target;
        target.setPlainText(QStringLiteral("xyz\nsecond"));
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        QTextCursor t(&target);
        t.setBlockFormat(centred);
        t.setPosition(1);
        t.setPosition(2, QTextCursor::KeepAnchor); // "y" is replaced
        QVERIFY(rtf::insert(copied, t).ok);
        QCOMPARE(target.toPlainText(), QStringLiteral("xwo thz\nsecond"));
        QCOMPARE(t.position(), 6);
        QCOMPARE(target.begin().blockFormat().alignment(), Qt::AlignHCenter); // the paragraph keeps its format
        QVERIFY2(describe(target).contains(QStringLiteral("'wo' b=1")), qPrintable(describe(target)));
        QVERIFY(describe(target).contains(QStringLiteral("' th' b=0")));
        // One undo step takes the whole paste back.
        target.undo();
        QCOMPARE(target.toPlainText(), QStringLiteral("xyz\nsecond"));

        // Whole paragraphs pasted mid-line split it around them.
        c.setPosition(0);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        QTextDocument two;
        QTextCursor tc(&two);
        tc.insertText(QStringLiteral("first"));
        tc.insertBlock();
        tc.insertText(QStringLiteral("second"));
        tc.insertBlock();
        tc.setPosition(0);
        tc.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        QTextCursor at(&target);
        at.setPosition(1);
        QVERIFY(rtf::insert(rtf::write(tc), at).ok);
        QCOMPARE(target.toPlainText(), QStringLiteral("xfirst\nsecond\nyz\nsecond"));

        // An empty selection is an RTF file without text.
        QTextCursor none(&source);
        QTextDocument empty;
        QVERIFY(rtf::read(rtf::write(none), empty).ok);
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
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        c.setBlockFormat(centred);
        c.insertText(QStringLiteral("Bold words"), boldFormat());
        c.insertText(QStringLiteral(" then "), QTextCharFormat());
        QTextCharFormat italic;
        italic.setFontItalic(true);
        italic.setForeground(QColor(Qt::red));
        c.insertText(QString::fromUtf16(u"italic \u043a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430"), italic);
        c.insertBlock(QTextBlockFormat());
        QTextCharFormat mono;
        mono.setFontFamilies({QStringLiteral("DejaVu Sans Mono")});
        mono.setFontPointSize(16);
        mono.setFontUnderline(true);
        c.insertText(QStringLiteral("Mono {braces} \\ slash"), mono);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QDir(dir.path()).mkdir(QStringLiteral("in"));
        QFile file(dir.filePath(QStringLiteral("in/ours.rtf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(rtf::write(doc));
        file.close();

        QProcess lo;
        lo.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
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
        const QString d = describe(back);
        QVERIFY2(d.contains(QStringLiteral("'Bold words' b=1 i=0")), qPrintable(d));
        QVERIFY(d.contains(QString::fromUtf16(u"'italic \u043a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430' b=0 i=1 u=0 s=0")));
        QVERIFY(d.contains(QStringLiteral("fg=#ff0000")));
        QVERIFY(d.contains(QStringLiteral("'Mono {braces} \\ slash' b=0 i=0 u=1 s=0 font=DejaVu Sans Mono pt=16")));
        QCOMPARE(back.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    }
};

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"

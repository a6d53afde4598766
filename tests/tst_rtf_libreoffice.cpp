// LibreOffice judges our round trip: each file is opened and saved with our
// reader and writer, then LibreOffice converts the original and our copy to
// its own flat XML and to plain text, and the structure it sees must agree:
// list items with their numbers or bullets, tab stops, and tables (cells,
// spans, column widths within 1%). Skipped where soffice is not installed.
#include "rtf.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QUrl>
#include <QXmlStreamReader>

#include <map>

using namespace tavrin;

namespace {

// The files judged: written by LibreOffice, Word and WordPad.
const QStringList Files = {
    QStringLiteral("lo-mapnotes.rtf"),    // numbered steps, a checklist, a tabbed price list, merged header cells
    QStringLiteral("lo-spawnreport.rtf"), // a nested table, empty columns of fixed width
    QStringLiteral("lo-spans.rtf"),       // header cells spanning columns and rows, shading
    QStringLiteral("lo-nested.rtf"),      // a table nested in a cell
    QStringLiteral("pn-lists.rtf"),       // WordPad's lists
    QStringLiteral("LibreOffice-sample.rtf"),
    QStringLiteral("ListWord.rtf"),
    QStringLiteral("List.rtf"),
    QStringLiteral("merged_cells.rtf"),
    QStringLiteral("nested_table_report.rtf"),
};

struct Tab {
    double position; // points
    QString kind, leader;
};

struct Table {
    std::vector<double> widths; // points
    QStringList rows;           // each cell as "c", "c2x1" (columns x rows) or "-" (covered)
};

// What LibreOffice sees of a document.
struct Structure {
    QStringList listLines;              // list items as text lines, label included
    std::vector<std::vector<Tab>> tabs; // the tab stops of each paragraph that has some
    std::vector<Table> tables;          // in document order, nested ones after their parent's start
};

double points(const QString &length)
{
    static const QRegularExpression re(QStringLiteral("^(-?[0-9.]+)(in|cm|mm|pt|pc)?$"));
    const auto m = re.match(length.trimmed());
    if (!m.hasMatch())
        return 0;
    const double v = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    if (unit == QLatin1String("in"))
        return v * 72;
    if (unit == QLatin1String("cm"))
        return v * 72 / 2.54;
    if (unit == QLatin1String("mm"))
        return v * 72 / 25.4;
    if (unit == QLatin1String("pc"))
        return v * 12;
    return v;
}

// The styles of a flat XML document, with what we compare of each.
struct Style {
    QString parent;
    bool hasTabs = false;
    std::vector<Tab> tabs;
    QString columnWidth;
};

class FlatXml
{
public:
    explicit FlatXml(const QByteArray &xml) { parse(xml); }
    Structure structure;

private:
    QHash<QString, Style>
        m_styles; // both the common and the automatic ones (names do not clash in LibreOffice's output)

    std::vector<Tab> tabsOf(QString name) const
    {
        for (int depth = 0; depth < 32 && !name.isEmpty(); ++depth) {
            const auto it = m_styles.constFind(name);
            if (it == m_styles.constEnd())
                break;
            if (it->hasTabs)
                return it->tabs;
            name = it->parent;
        }
        return {};
    }

    void parse(const QByteArray &xml)
    {
        // Styles come before the body, so one pass reads both.
        QXmlStreamReader r(xml);
        QString style;         // the style being read
        std::vector<int> open; // indexes of the tables being read, innermost last
        while (!r.atEnd()) {
            r.readNext();
            if (r.isEndElement() && r.qualifiedName() == QLatin1String("table:table"))
                open.pop_back();
            if (!r.isStartElement())
                continue;
            const auto a = r.attributes();
            const QStringView name = r.qualifiedName();
            if (name == QLatin1String("style:style")) {
                style = a.value(QLatin1String("style:name")).toString();
                m_styles[style].parent = a.value(QLatin1String("style:parent-style-name")).toString();
            } else if (name == QLatin1String("style:tab-stops")) {
                m_styles[style].hasTabs = true;
            } else if (name == QLatin1String("style:tab-stop")) {
                QString kind = a.value(QLatin1String("style:type")).toString();
                if (kind.isEmpty())
                    kind = QStringLiteral("left");
                QString leader = a.value(QLatin1String("style:leader-text")).toString();
                if (a.value(QLatin1String("style:leader-style")) == QLatin1String("none"))
                    leader.clear();
                m_styles[style].tabs.push_back(
                    {points(a.value(QLatin1String("style:position")).toString()), kind, leader.trimmed()});
            } else if (name == QLatin1String("style:table-column-properties")) {
                m_styles[style].columnWidth = a.value(QLatin1String("style:column-width")).toString();
            } else if (name == QLatin1String("text:p") || name == QLatin1String("text:h")) {
                std::vector<Tab> tabs = tabsOf(a.value(QLatin1String("text:style-name")).toString());
                if (!tabs.empty())
                    structure.tabs.push_back(std::move(tabs));
            } else if (name == QLatin1String("table:table")) {
                open.push_back(int(structure.tables.size()));
                structure.tables.emplace_back();
            } else if (name == QLatin1String("table:table-column") && !open.empty()) {
                const int repeat = std::max(1, a.value(QLatin1String("table:number-columns-repeated")).toInt());
                const auto it = m_styles.constFind(a.value(QLatin1String("table:style-name")).toString());
                const double width = it == m_styles.constEnd() ? 0 : points(it->columnWidth);
                for (int i = 0; i < repeat; ++i)
                    structure.tables[open.back()].widths.push_back(width);
            } else if (name == QLatin1String("table:table-row") && !open.empty()) {
                structure.tables[open.back()].rows.append(QString());
            } else if ((name == QLatin1String("table:table-cell") || name == QLatin1String("table:covered-table-cell"))
                       && !open.empty() && !structure.tables[open.back()].rows.isEmpty()) {
                QString cell = QStringLiteral("-");
                if (name == QLatin1String("table:table-cell")) {
                    const int columns = std::max(1, a.value(QLatin1String("table:number-columns-spanned")).toInt());
                    const int rows = std::max(1, a.value(QLatin1String("table:number-rows-spanned")).toInt());
                    cell = columns == 1 && rows == 1 ? QStringLiteral("c")
                                                     : QStringLiteral("c%1x%2").arg(columns).arg(rows);
                }
                QString &row = structure.tables[open.back()].rows.last();
                row += row.isEmpty() ? cell : QLatin1Char(' ') + cell;
            }
        }
    }
};

// LibreOffice's text export puts a list item's label after an indent of
// spaces; no other line starts with one.
QStringList listLines(const QByteArray &text)
{
    QStringList lines;
    for (const QString &line : QString::fromUtf8(text).remove(QChar(0xFEFF)).split(QLatin1Char('\n'))) {
        const QString l = QString(line).remove(QLatin1Char('\r'));
        if (l.startsWith(QLatin1Char(' ')) && !l.trimmed().isEmpty())
            lines.append(l);
    }
    return lines;
}

QString describe(const std::vector<Tab> &tabs)
{
    QStringList parts;
    for (const Tab &t : tabs)
        parts.append(QStringLiteral("%1pt %2 '%3'").arg(t.position, 0, 'f', 1).arg(t.kind, t.leader));
    return parts.join(QStringLiteral(", "));
}

bool near(double a, double b)
{
    return std::abs(a - b) <= std::max(0.01 * std::max(std::abs(a), std::abs(b)), 0.5);
}

} // namespace

class TestRtfLibreOffice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::map<QString, Structure> m_original, m_ours;
    QString m_skip;

    bool convert(const QString &soffice, const QString &to, const QStringList &files)
    {
        QProcess lo;
        lo.setProcessChannelMode(QProcess::MergedChannels);
        lo.start(soffice, QStringList{QStringLiteral("-env:UserInstallation=")
                                          + QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("profile"))).toString(),
                                      QStringLiteral("--headless"), QStringLiteral("--convert-to"), to,
                                      QStringLiteral("--outdir"), m_dir.filePath(QStringLiteral("out"))}
                              + files);
        return lo.waitForFinished(240000) && lo.exitCode() == 0;
    }

private slots:
    void initTestCase()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty()) {
            m_skip = QStringLiteral("LibreOffice (soffice) is not installed");
            return;
        }
        QVERIFY(m_dir.isValid());
        QStringList inputs;
        for (const QString &name : Files) {
            QFile in(QStringLiteral(TAVRIN_TEST_DATA "/rtf/") + name);
            QVERIFY2(in.open(QIODevice::ReadOnly), qPrintable(name));
            const QByteArray original = in.readAll();
            QTextDocument doc;
            QVERIFY2(rtf::read(original, doc).ok, qPrintable(name));
            const QString base = QFileInfo(name).completeBaseName();
            for (const auto &[prefix, bytes] : {std::pair{QStringLiteral("original-"), original},
                                                std::pair{QStringLiteral("ours-"), rtf::write(doc)}}) {
                QFile out(m_dir.filePath(prefix + base + QStringLiteral(".rtf")));
                QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
                inputs.append(out.fileName());
            }
        }
        // Two runs of LibreOffice for all the files: each start takes seconds.
        QVERIFY(convert(soffice, QStringLiteral("fodt"), inputs));
        QVERIFY(convert(soffice, QStringLiteral("txt:Text"), inputs));
        for (const QString &name : Files) {
            const QString base = QFileInfo(name).completeBaseName();
            for (auto *side : {&m_original, &m_ours}) {
                const QString stem = m_dir.filePath(
                    QStringLiteral("out/")
                    + (side == &m_original ? QStringLiteral("original-") : QStringLiteral("ours-")) + base);
                QFile xml(stem + QStringLiteral(".fodt")), text(stem + QStringLiteral(".txt"));
                QVERIFY2(xml.open(QIODevice::ReadOnly) && text.open(QIODevice::ReadOnly), qPrintable(stem));
                Structure s = FlatXml(xml.readAll()).structure;
                s.listLines = listLines(text.readAll());
                (*side)[name] = std::move(s);
            }
        }
    }

    void agrees_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString &name : Files)
            QTest::newRow(qPrintable(name)) << name;
    }

    void agrees()
    {
        if (!m_skip.isEmpty())
            QSKIP(qPrintable(m_skip));
        QFETCH(QString, file);
        const Structure &want = m_original.at(file), &got = m_ours.at(file);

        QCOMPARE(got.listLines, want.listLines);

        QStringList wantTabs, gotTabs;
        for (const auto &t : want.tabs)
            wantTabs.append(describe(t));
        for (const auto &t : got.tabs)
            gotTabs.append(describe(t));
        QCOMPARE(gotTabs.size(), wantTabs.size());
        for (size_t i = 0; i < want.tabs.size(); ++i) {
            QCOMPARE(got.tabs[i].size(), want.tabs[i].size());
            for (size_t j = 0; j < want.tabs[i].size(); ++j) {
                const Tab &w = want.tabs[i][j], &g = got.tabs[i][j];
                QVERIFY2(near(g.position, w.position) && g.kind == w.kind && g.leader == w.leader,
                         qPrintable(
                             QStringLiteral("paragraph %1: ours %2, original %3").arg(i).arg(gotTabs[i], wantTabs[i])));
            }
        }

        QCOMPARE(got.tables.size(), want.tables.size());
        for (size_t i = 0; i < want.tables.size(); ++i) {
            const Table &w = want.tables[i], &g = got.tables[i];
            QCOMPARE(g.rows, w.rows);
            QCOMPARE(g.widths.size(), w.widths.size());
            for (size_t c = 0; c < w.widths.size(); ++c)
                QVERIFY2(near(g.widths[c], w.widths[c]),
                         qPrintable(QStringLiteral("table %1, column %2: ours %3 pt, original %4 pt")
                                        .arg(i)
                                        .arg(c)
                                        .arg(g.widths[c])
                                        .arg(w.widths[c])));
        }
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestRtfLibreOffice test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rtf_libreoffice.moc"

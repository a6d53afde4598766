#include "benchdocument.h"

#include <QImage>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <random>

namespace tavrin::bench {

namespace {

const char16_t *const Words[] = {
    u"map",          u"brush",     u"entity",        u"spawn",           u"origin",
    u"angles",       u"light",     u"sun",           u"ambient",         u"fog",
    u"portal",       u"trigger",   u"script",        u"model",           u"texture",
    u"patch",        u"terrain",   u"clip",          u"caulk",           u"sky",
    u"compile",      u"vis",       u"bsp",           u"radiant",         u"axis",
    u"allies",       u"objective", u"\u00e9t\u00e9", u"gr\u00fc\u00dfe", u"\u043a\u0430\u0440\u0442\u0430",
    u"\u5730\u56f3",
};
const char *const Families[] = {"Arial", "Times New Roman", "Courier New", "Verdana", "Georgia"};
const double Sizes[] = {8, 9, 10, 11, 12, 14, 18, 24};
const QRgb Colours[] = {0x000000, 0xaa0000, 0x00aa00, 0x0000aa, 0x886600, 0x660088, 0x008888, 0x555555};
const Qt::Alignment Alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};

QImage picture(int n)
{
    QImage image(160 + 40 * n, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    for (int i = 0; i < 12; ++i)
        p.fillRect(i * 17 % image.width(), i * 9 % 100, 30, 20, QColor::fromHsv((n * 50 + i * 29) % 360, 200, 220));
    p.end();
    return image;
}

} // namespace

void generateDocument(QTextDocument &doc, int paragraphs)
{
    std::mt19937 rng(20240611);
    auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
    QTextCursor c(&doc);
    for (int n = 0; n < Pictures; ++n)
        doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture%1.png").arg(n)), picture(n));

    for (int para = 0; para < paragraphs; ++para) {
        QTextBlockFormat block;
        block.setAlignment(Alignments[pick(4)]);
        if (pick(4) == 0)
            block.setLeftMargin(20 * (1 + pick(4)));
        if (pick(6) == 0)
            block.setTextIndent(pick(2) ? 24 : -16);
        if (pick(5) == 0)
            block.setTopMargin(6);
        if (pick(5) == 0)
            block.setBottomMargin(8);
        if (para > 0)
            c.insertBlock(block);
        else
            c.setBlockFormat(block);

        const int runs = 2 + pick(6);
        for (int r = 0; r < runs; ++r) {
            QTextCharFormat f;
            f.setFontFamilies({QString::fromLatin1(Families[pick(5)])});
            f.setFontPointSize(Sizes[pick(8)]);
            if (pick(3) == 0)
                f.setFontWeight(QFont::Bold);
            if (pick(4) == 0)
                f.setFontItalic(true);
            if (pick(6) == 0)
                f.setFontUnderline(true);
            if (pick(20) == 0)
                f.setFontStrikeOut(true);
            if (pick(3) == 0)
                f.setForeground(QColor(Colours[pick(8)]));
            if (pick(15) == 0)
                f.setBackground(QColor(Qt::yellow));
            QString text;
            const int words = 3 + pick(8);
            for (int w = 0; w < words; ++w) {
                text += QString::fromUtf16(Words[pick(int(std::size(Words)))]);
                text += u' ';
            }
            c.insertText(text, f);
        }

        if (para % (paragraphs / Pictures) == paragraphs / Pictures / 2) {
            QTextImageFormat image;
            const int n = para / (paragraphs / Pictures);
            image.setName(QStringLiteral("picture%1.png").arg(n));
            c.insertImage(image);
        }
        if (para == paragraphs / 3) {
            QTextTable *table = c.insertTable(TableRows, TableColumns);
            for (int row = 0; row < TableRows; ++row)
                for (int col = 0; col < TableColumns; ++col)
                    table->cellAt(row, col).firstCursorPosition().insertText(
                        QStringLiteral("cell %1.%2").arg(row).arg(col));
            c.movePosition(QTextCursor::End);
        }
    }
}

} // namespace tavrin::bench

// libFuzzer target for the RTF reader: any bytes are read into a document,
// the document is written back, and what we wrote is read again. The reader
// must survive anything, and our own output must read back to the same text,
// in the same paragraphs unless the reader had to continue one in a new one.
#include "rtf.h"

#include <QTextBlock>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// One line per block, table cells included: what a reader of the document sees.
QString blockTexts(const QTextDocument &doc)
{
    QString text;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        text += b.text();
        text += u'\n';
    }
    return text;
}

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_rtf: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument doc;
    const tavrin::rtf::ReadResult first = tavrin::rtf::read(bytes, doc);
    if (!first.ok) {
        if (first.error.isEmpty() || !doc.isEmpty())
            fail("a refused read must explain itself and leave the document alone");
        return 0;
    }

    const QByteArray written = tavrin::rtf::write(doc);
    QTextDocument back;
    if (!tavrin::rtf::read(written, back).ok)
        fail("our own output is not read as RTF");
    if (first.continued) {
        // Continued for Qt's layout limits: the copy's breaks may fall
        // elsewhere, but never a character of its text.
        if (blockTexts(back).remove(u'\n') != blockTexts(doc).remove(u'\n'))
            fail("our own output reads back with a different text");
    } else if (blockTexts(back) != blockTexts(doc)) {
        fail("our own output reads back with a different text");
    }
    return 0;
}

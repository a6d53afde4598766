// The reader's bytes: the code pages of a file's fonts decoded to text,
// and the tests of single bytes the tokenizer makes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <array>
#include <memory>
#include <unordered_map>

namespace tavrin::rtf::reading {

// Code pages whose characters take one or two bytes, and their lead bytes.
inline bool isLeadByte(int codePage, uchar b)
{
    switch (codePage) {
    case 932:
    case 10001: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950: return b >= 0x81 && b <= 0xFE;
    default: return false;
    }
}

// The code page of a font's \fcharset.
int codePageOfCharset(int charset, int documentCodePage);

inline bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
inline int hexValue(char c)
{
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}
inline bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Bytes that end a run of plain text.
constexpr std::array<bool, 256> makeSpecials()
{
    std::array<bool, 256> s{};
    s[uchar('\\')] = s[uchar('{')] = s[uchar('}')] = s[uchar('\r')] = s[uchar('\n')] = true;
    return s;
}
constexpr std::array<bool, 256> Specials = makeSpecials();

// Bytes in a Windows (or Mac) code page to text, with a decoder per code page.
class CodePages
{
public:
    QString decode(int codePage, QByteArrayView bytes)
    {
        bool ascii = true;
        for (char c : bytes)
            if (uchar(c) >= 0x80) {
                ascii = false;
                break;
            }
        if (ascii)
            return QString::fromLatin1(bytes);
        QStringDecoder &decoder = decoderFor(codePage);
        decoder.resetState();
        return decoder.decode(bytes);
    }

private:
    QStringDecoder &decoderFor(int codePage)
    {
        auto it = m_decoders.find(codePage);
        if (it != m_decoders.end())
            return it->second;
        QStringDecoder decoder(icuName(codePage).constData(), QStringConverter::Flag::Stateless);
        if (!decoder.isValid())
            decoder = QStringDecoder("windows-1252", QStringConverter::Flag::Stateless);
        return m_decoders.emplace(codePage, std::move(decoder)).first->second;
    }

    static QByteArray icuName(int codePage)
    {
        switch (codePage) {
        case 437: return "IBM437";
        case 850: return "IBM850";
        case 932: return "windows-932";
        case 936: return "GBK";
        case 949: return "windows-949";
        case 950: return "windows-950";
        case 10000: return "macintosh";
        case 10001: return "Shift_JIS";
        case 65001: return "UTF-8";
        default: return "windows-" + QByteArray::number(codePage);
        }
    }

    std::unordered_map<int, QStringDecoder> m_decoders;
};

// Text arriving as bytes in some code page and as Unicode characters, in
// order. Bytes wait until a character or the end, so that a double-byte
// character split over two \'hh escapes decodes as one.
class TextSink
{
public:
    void addBytes(CodePages &pages, int codePage, QByteArrayView bytes)
    {
        if (codePage != m_codePage && !m_bytes.isEmpty())
            decodeBytes(pages);
        m_codePage = codePage;
        m_bytes.append(bytes);
    }
    void addChar(CodePages &pages, char16_t c)
    {
        if (!m_bytes.isEmpty())
            decodeBytes(pages);
        m_text.append(QChar(c));
    }
    bool isEmpty() const { return m_text.isEmpty() && m_bytes.isEmpty(); }
    // True unless the bytes waiting end inside a character of their code
    // page, where the text cannot be cut.
    bool atCharBoundary() const
    {
        const qsizetype n = m_bytes.size();
        if (n == 0)
            return true;
        if (m_codePage == 65001) {
            qsizetype i = n - 1;
            while (i > 0 && n - i < 4 && (uchar(m_bytes[i]) & 0xC0) == 0x80)
                --i;
            const uchar lead = uchar(m_bytes[i]);
            const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            return n - i >= length;
        }
        if (!isLeadByte(m_codePage, 0x81))
            return true; // one byte a character
        qsizetype i = 0;
        while (i < n)
            i += isLeadByte(m_codePage, uchar(m_bytes[i])) ? 2 : 1;
        return i == n;
    }
    // The text so far; the sink is empty afterwards.
    QString take(CodePages &pages)
    {
        if (!m_bytes.isEmpty())
            decodeBytes(pages);
        QString t = m_text;
        m_text.resize(0);
        return t;
    }
    void clear()
    {
        m_text.resize(0);
        m_bytes.resize(0);
    }

private:
    void decodeBytes(CodePages &pages)
    {
        m_text.append(pages.decode(m_codePage, m_bytes));
        m_bytes.resize(0);
    }
    QString m_text;
    QByteArray m_bytes;
    int m_codePage = 1252;
};

} // namespace tavrin::rtf::reading

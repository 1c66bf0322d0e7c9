// Windows-1252 differs from Latin-1 only in 0x80-0x9F; that block is a table, the rest is the identity.
#include "workspace/Cp1252.h"

#include <QHash>

namespace {

// Bytes 0x80 to 0x9F; the undefined ones keep their C1 control code so that every byte survives a round trip.
constexpr char16_t HighBlock[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const QHash<char16_t, unsigned char>& ReverseHighBlock()
{
    static const QHash<char16_t, unsigned char> table = [] {
        QHash<char16_t, unsigned char> t;
        for (int i = 0; i < 32; ++i)
            t.insert(HighBlock[i], static_cast<unsigned char>(0x80 + i));
        return t;
    }();
    return table;
}

// The byte for one UTF-16 unit, or -1 when there is none.
int ByteFor(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    auto it = ReverseHighBlock().constFind(u);
    return it == ReverseHighBlock().constEnd() ? -1 : *it;
}

}  // namespace

namespace Cp1252 {

QString ToQString(std::string_view bytes)
{
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* d = out.data();
    for (unsigned char b : bytes)
        *d++ = QChar(b >= 0x80 && b < 0xA0 ? HighBlock[b - 0x80] : char16_t(b));
    return out;
}

std::string FromQString(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        int b = ByteFor(c.unicode());
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

QString Unstorable(const QString& text)
{
    QString bad;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (ByteFor(c.unicode()) >= 0)
            continue;
        // A character beyond the basic plane is two units; report it whole.
        QString ch = c;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ch += text[++i];
        if (!bad.contains(ch))
            bad += ch;
    }
    return bad;
}

}  // namespace Cp1252

// Qt's text to and from the Windows-1252 bytes of the core, through the core's own table.
#include "workspace/QtCp1252.h"

#include "support/Cp1252Table.h"

namespace qt_cp1252 {

QString toQString(std::string_view bytes)
{
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* d = out.data();
    for (unsigned char b : bytes)
        *d++ = QChar(static_cast<char16_t>(tavlix::cp1252::toUnicode(b)));
    return out;
}

std::string fromQString(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        int b = tavlix::cp1252::fromUnicode(c.unicode());
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

QString unstorableChars(const QString& text)
{
    QString bad;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (tavlix::cp1252::fromUnicode(c.unicode()) >= 0)
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

}  // namespace qt_cp1252

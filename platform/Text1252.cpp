#include "platform/Text1252.h"

#include <array>

namespace {
// 0x80..0x9F; 0 marks a byte without a character of its own.
constexpr std::array<char16_t, 32> obere_steuerzeichen = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}

namespace Text1252 {

QString dekodieren(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* ziel = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        char16_t c = b;
        if (b >= 0x80 && b <= 0x9F && obere_steuerzeichen[b - 0x80] != 0)
            c = obere_steuerzeichen[b - 0x80];
        ziel[i] = QChar(c);
    }
    return text;
}

char zeichen(QChar qc) {
    const char16_t c = qc.unicode();
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    if (c >= 0x80 && c <= 0x9F)  // a byte that has no character of its own
        return obere_steuerzeichen[c - 0x80] == 0 ? static_cast<char>(c) : '?';
    for (std::size_t i = 0; i < obere_steuerzeichen.size(); ++i)
        if (obere_steuerzeichen[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

QByteArray kodieren(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        bytes[i] = zeichen(text[i]);
    return bytes;
}

}  // namespace Text1252

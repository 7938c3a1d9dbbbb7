#pragma once
// Fixed-width text field of the station's tables. The bytes are kept in the
// station's code page exactly as they were read or assigned, so a record read
// from a project file and written again is unchanged byte for byte.
#include <QString>

#include <array>
#include <cstddef>

#include "platform/Text1252.h"

template <std::size_t N>
class Festtext {
public:
    static constexpr std::size_t Breite = N;

    // A field never assigned holds N zero characters: it is not blank and
    // does not compare equal to the empty text.
    Festtext() { bytes_.fill('\0'); }
    Festtext(const QString& text) { *this = text; }  // NOLINT: assignment-like

    // Left-aligns the text, pads it with blanks or cuts it to N characters.
    Festtext& operator=(const QString& text) {
        const QByteArray kodiert = Text1252::kodieren(text.left(static_cast<qsizetype>(N)));
        bytes_.fill(' ');
        std::copy(kodiert.begin(), kodiert.end(), bytes_.begin());
        return *this;
    }

    // All N characters.
    QString roh() const { return Text1252::dekodieren(QByteArray(bytes_.data(), N)); }
    // The text with trailing blanks removed, as every reader sees it.
    QString text() const;
    operator QString() const { return text(); }  // NOLINT: readers take the trimmed text

    bool operator==(const Festtext&) const = default;
    bool ist_leer() const { return text().isEmpty(); }

    char* daten() { return bytes_.data(); }
    const char* daten() const { return bytes_.data(); }

private:
    std::array<char, N> bytes_;
};

// Trailing blanks removed (blanks only: zero characters and tabs stay).
QString RTrim(const QString& text);
// Blanks removed on both sides (blanks only: zero characters and tabs stay).
QString Trim(const QString& text);
// The first 16 characters, on which block names are compared.
inline QString Links16(const QString& text) { return text.left(16); }

template <std::size_t N>
QString Festtext<N>::text() const { return RTrim(roh()); }

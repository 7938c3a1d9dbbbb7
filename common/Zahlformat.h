#pragma once
// Number texts with the decimal comma, built on decimal digits: a value is
// taken with 15 significant digits and rounded half away from zero, so that
// 0,1235 rounds to 0,124 whatever its binary form.
#include <QString>

#include <optional>

struct Dezimalzahl {
    bool negativ = false;
    QString ziffern;    // the digits, no sign, no separator
    int nachkomma = 0;  // how many of them stand after the separator

    static Dezimalzahl aus_Zahl(double wert);
    // "-12,5", "12.5", "7": comma or point as separator; nothing for any other text.
    static std::optional<Dezimalzahl> aus_Text(const QString& text);

    bool ist_null() const;
    // Rounded half away from zero to 'stellen' decimals.
    Dezimalzahl gerundet(int stellen) const;
    // Multiplied by 10^e.
    Dezimalzahl verschoben(int e) const;
    QString Ganzteil() const;       // at least "0"
    QString Nachkommateil() const;  // exactly 'nachkomma' digits
    // The shortest ordinary text: "-0,5", "123,5", "1000" (no exponent).
    QString Text() const;
};

// A number pattern of digit placeholders: "0" always shown, "#" only when
// needed, "." the place of the decimal comma (kept even with no decimals:
// "0000." gives "1235,"). Characters before the first and after the last
// placeholder are copied.
QString Zahl_formatieren(const Dezimalzahl& zahl, const QString& muster);
QString Zahl_formatieren(double wert, const QString& muster);
// The shortest ordinary text of a number, decimal comma.
QString Zahl_als_Text(double wert);

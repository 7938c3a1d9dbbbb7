#pragma once
// Reading and writing the numbers of the two block forms.
#include <QString>

#include <optional>

// A meter reading: sign, digits, ".", digits, "E", signed exponent, with
// "." as decimal separator whatever the locale. Blanks and line ends around
// it and anything from a "," on (the separator of a buffered reply) are
// ignored. Nothing for any other text and for values beyond the double range.
std::optional<double> Messwert_lesen(const QString& Messwerttext);

// A 32-bit setting of the code-driven form as the operator sees it: decimal
// comma, no more digits than the field holds ("0,2", "10").
QString Blockzahl_als_Text(float wert);

#pragma once
// Number texts of the station. The box writes a decimal point, the operator's
// texts a decimal comma; both are read.
#include <QString>

#include <optional>

// The number a whole text stands for (blanks and line ends around it allowed),
// or nothing when the text is not a number.
std::optional<double> Zahl_lesen(const QString& text);
// The text in the pattern "0.000000E+00" when it is a number, else unchanged.
QString Format_Exponent(const QString& text);
QString Format_Exponent(double wert);

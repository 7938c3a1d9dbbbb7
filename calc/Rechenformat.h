#pragma once
// The number pattern ("Format") of a calculated value in the logger line:
// digit placeholders "0" (always shown) and "#" (shown when needed), "." the
// place of the decimal separator, "," between integer placeholders for
// thousands grouping, and an exponent "E+00" / "E-00" after the digits
// ("0.00E+00"). The decimal separator written is the comma, the grouping
// mark the point; with 'punkt' the two swap.
#include <QString>

namespace Rechenformat {

// Whether the pattern is one of the above, with nothing else in it.
bool anwendbar(const QString& muster);
// The refusal shown when a definition line carries a pattern that is not.
QString Meldung(const QString& muster);
// 'wert' written with the pattern; a pattern that is not applicable keeps the
// older meaning (placeholders and ".", other characters copied around them).
QString anwenden(double wert, const QString& muster, bool punkt = false);

}  // namespace Rechenformat

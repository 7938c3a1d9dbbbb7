#include "points/Messblockwerte.h"

#include <QRegularExpression>

#include <cmath>

std::optional<double> Messwert_lesen(const QString& Messwerttext) {
    static const QRegularExpression form(R"(^([+-]?(?:\d+\.?\d*|\.\d+))[Ee]([+-]?\d+)$)");
    const qsizetype komma = Messwerttext.indexOf(',');
    const QString text = (komma >= 0 ? Messwerttext.left(komma) : Messwerttext).trimmed();
    const QRegularExpressionMatch treffer = form.match(text);
    if (!treffer.hasMatch())
        return std::nullopt;
    // Mantissa and exponent read as one number: rounded once, not twice.
    bool ok = false;
    const double wert = (treffer.captured(1) + 'e' + treffer.captured(2)).toDouble(&ok);
    if (!ok || !std::isfinite(wert))
        return std::nullopt;
    return wert;
}

QString Blockzahl_als_Text(float wert) {
    return QString::number(static_cast<double>(wert), 'g', 7).replace('.', ',');
}

#include "common/Zahltext.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdio>

std::optional<double> Zahl_lesen(const QString& text) {
    static const QRegularExpression zahl(R"(^\s*([+-]?(?:\d+[.,]?\d*|[.,]\d+)(?:[eE][+-]?\d+)?)\s*$)");
    const QRegularExpressionMatch treffer = zahl.match(text);
    if (!treffer.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double wert = treffer.captured(1).replace(',', '.').toDouble(&ok);
    if (!ok || !std::isfinite(wert))
        return std::nullopt;
    return wert;
}

QString Format_Exponent(double wert) {
    char puffer[40];
    std::snprintf(puffer, sizeof puffer, "%.6E", wert);
    return QString::fromLatin1(puffer);
}

QString Format_Exponent(const QString& text) {
    const std::optional<double> wert = Zahl_lesen(text);
    return wert ? Format_Exponent(*wert) : text;
}

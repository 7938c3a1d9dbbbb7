#include "common/Zahlformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {
bool ist_Platzhalter(QChar c) { return c == '0' || c == '#'; }
}

Dezimalzahl Dezimalzahl::aus_Zahl(double wert) {
    Dezimalzahl z;
    if (!std::isfinite(wert) || wert == 0) {
        z.ziffern = "0";
        return z;
    }
    // d.ddddddddddddddde±XX, the digits "%.14e" gives.
    char puffer[40];
    char* ende = std::to_chars(puffer, puffer + sizeof puffer, std::fabs(wert), std::chars_format::scientific, 14).ptr;
    char* e = std::find(puffer, ende, 'e');
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+'), ende, exponent);
    z.negativ = wert < 0;
    puffer[1] = puffer[0];  // the digits without the point
    z.ziffern = QString::fromLatin1(puffer + 1, e - puffer - 1);
    z.nachkomma = 14 - exponent;
    if (z.nachkomma < 0) {
        z.ziffern += QString(-z.nachkomma, '0');
        z.nachkomma = 0;
    }
    return z;
}

std::optional<Dezimalzahl> Dezimalzahl::aus_Text(const QString& eingabe) {
    QString text = eingabe.trimmed();
    Dezimalzahl z;
    if (text.startsWith('-') || text.startsWith('+')) {
        z.negativ = text.startsWith('-');
        text.remove(0, 1);
    }
    int trenner = text.indexOf(',');
    if (trenner < 0)
        trenner = text.indexOf('.');
    const QString ganz = trenner < 0 ? text : text.left(trenner);
    const QString nach = trenner < 0 ? QString() : text.mid(trenner + 1);
    if (ganz.isEmpty() && nach.isEmpty())
        return std::nullopt;
    for (const QChar c : ganz + nach)
        if (!c.isDigit() || c.unicode() > '9')
            return std::nullopt;
    z.ziffern = ganz + nach;
    z.nachkomma = static_cast<int>(nach.size());
    return z;
}

bool Dezimalzahl::ist_null() const {
    for (const QChar c : ziffern)
        if (c != '0')
            return false;
    return true;
}

Dezimalzahl Dezimalzahl::gerundet(int stellen) const {
    if (stellen < 0)
        stellen = 0;
    Dezimalzahl z = *this;
    if (z.nachkomma <= stellen) {
        z.ziffern += QString(stellen - z.nachkomma, '0');
        z.nachkomma = stellen;
        return z;
    }
    const int weg = z.nachkomma - stellen;
    // Every digit lies below the last kept place: nothing is left to round up.
    if (weg > z.ziffern.size()) {
        z.ziffern = "0";
        z.nachkomma = stellen;
        return z;
    }
    const bool aufrunden = z.ziffern[z.ziffern.size() - weg] >= '5';
    z.ziffern.chop(weg);
    z.nachkomma = stellen;
    if (aufrunden) {
        int i = static_cast<int>(z.ziffern.size()) - 1;
        for (; i >= 0; --i) {
            if (z.ziffern[i] == '9') {
                z.ziffern[i] = '0';
            } else {
                z.ziffern[i] = QChar(z.ziffern[i].unicode() + 1);
                break;
            }
        }
        if (i < 0)
            z.ziffern.prepend('1');
    }
    if (z.ziffern.isEmpty())
        z.ziffern = "0";
    return z;
}

Dezimalzahl Dezimalzahl::verschoben(int e) const {
    Dezimalzahl z = *this;
    z.nachkomma -= e;
    if (z.nachkomma < 0) {
        z.ziffern += QString(-z.nachkomma, '0');
        z.nachkomma = 0;
    }
    return z;
}

QString Dezimalzahl::Ganzteil() const {
    QString ganz = ziffern.size() > nachkomma ? ziffern.left(ziffern.size() - nachkomma) : QString();
    while (ganz.size() > 1 && ganz[0] == '0')
        ganz.remove(0, 1);
    return ganz.isEmpty() ? QString("0") : ganz;
}

QString Dezimalzahl::Nachkommateil() const {
    const QString rechts = ziffern.right(nachkomma);
    return QString(nachkomma - rechts.size(), '0') + rechts;
}

QString Dezimalzahl::Text() const {
    QString nach = Nachkommateil();
    while (nach.endsWith('0'))
        nach.chop(1);
    const QString ganz = Ganzteil();
    const bool null = ganz == "0" && nach.isEmpty();
    return (negativ && !null ? "-" : "") + ganz + (nach.isEmpty() ? QString() : "," + nach);
}

QString Zahl_formatieren(const Dezimalzahl& zahl, const QString& muster) {
    int erster = -1, letzter = -1;
    for (int i = 0; i < muster.size(); ++i)
        if (ist_Platzhalter(muster[i]) || muster[i] == '.') {
            if (erster < 0)
                erster = i;
            letzter = i;
        }
    if (erster < 0)
        return muster;
    const QString kern = muster.mid(erster, letzter - erster + 1);
    const int punkt = static_cast<int>(kern.indexOf('.'));
    const QString ganzmuster = punkt < 0 ? kern : kern.left(punkt);
    const QString nachmuster = punkt < 0 ? QString() : kern.mid(punkt + 1);

    int ganz_nullen = 0;
    for (const QChar c : ganzmuster)
        ganz_nullen += c == '0';
    int höchstens = 0, mindestens = 0;
    for (int i = 0; i < nachmuster.size(); ++i)
        if (ist_Platzhalter(nachmuster[i])) {
            ++höchstens;
            if (nachmuster[i] == '0')
                mindestens = höchstens;
        }

    const Dezimalzahl r = zahl.gerundet(höchstens);
    QString nach = r.Nachkommateil();
    while (nach.size() > mindestens && nach.endsWith('0'))
        nach.chop(1);
    QString ganz = r.Ganzteil();
    if (ganz == "0" && ganz_nullen == 0)
        ganz.clear();
    else if (ganz.size() < ganz_nullen)
        ganz = QString(ganz_nullen - ganz.size(), '0') + ganz;
    const bool null = r.ist_null();
    QString text = (r.negativ && !null ? "-" : "") + ganz;
    if (punkt >= 0)
        text += "," + nach;
    return muster.left(erster) + text + muster.mid(letzter + 1);
}

QString Zahl_formatieren(double wert, const QString& muster) {
    return Zahl_formatieren(Dezimalzahl::aus_Zahl(wert), muster);
}

QString Zahl_als_Text(double wert) { return Dezimalzahl::aus_Zahl(wert).Text(); }

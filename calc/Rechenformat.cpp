#include "calc/Rechenformat.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "common/Zahlformat.h"

namespace Rechenformat {

namespace {
const QRegularExpression Form(QStringLiteral("^([#0][#0,]*)?(\\.[#0]*)?([Ee][+-]0+)?$"));

struct Teile {
    int ganz_nullen = 0, ganz_stellen = 0;
    bool gruppieren = false, punkt = false;
    int höchstens = 0, mindestens = 0;
    bool exponent = false, exp_plus = false;
    QChar e;
    int exp_stellen = 0;
};

bool zerlegen(const QString& muster, Teile& t) {
    const QRegularExpressionMatch m = Form.match(muster);
    const QString stellen = m.captured(1) + m.captured(2);
    if (!m.hasMatch() || !(stellen.contains('#') || stellen.contains('0')))
        return false;
    const QString ganz = m.captured(1);
    if (ganz.endsWith(','))
        return false;  // a trailing comma would scale by thousands
    for (QChar c : ganz) {
        t.ganz_nullen += c == '0';
        t.ganz_stellen += c != ',';
    }
    t.gruppieren = ganz.contains(',');
    if (!m.captured(2).isEmpty()) {
        t.punkt = true;
        const QString nach = m.captured(2).mid(1);
        for (int i = 0; i < nach.size(); ++i)
            if (nach[i] == '0')
                t.mindestens = i + 1;
        t.höchstens = static_cast<int>(nach.size());
    }
    const QString exp = m.captured(3);
    if (!exp.isEmpty()) {
        if (t.gruppieren)
            return false;
        t.exponent = true;
        t.e = exp[0];
        t.exp_plus = exp[1] == '+';
        t.exp_stellen = static_cast<int>(exp.size()) - 2;
    }
    return true;
}

QString gruppiert(const QString& ganz, QChar zeichen) {
    QString text;
    for (int i = 0; i < ganz.size(); ++i) {
        if (i > 0 && (ganz.size() - i) % 3 == 0)
            text += zeichen;
        text += ganz[i];
    }
    return text;
}

// Digits before the separator without leading zeros ("" for zero).
QString Ziffern_vor(const Dezimalzahl& d) {
    QString g = d.Ganzteil();
    while (g.startsWith('0'))
        g.remove(0, 1);
    return g;
}

// Power of ten of the leading digit of a non-zero value.
int Größenordnung(const Dezimalzahl& d) {
    const int vor = static_cast<int>(d.ziffern.size()) - d.nachkomma;
    for (int i = 0; i < d.ziffern.size(); ++i)
        if (d.ziffern[i] != '0')
            return vor - 1 - i;
    return 0;
}

// The patterns of a run are few and the same for every record: each is
// taken apart once.
const Teile* zerlegt(const QString& muster) {
    static QHash<QString, std::optional<Teile>> schon;
    auto it = schon.constFind(muster);
    if (it == schon.cend()) {
        if (schon.size() > 1000)
            schon.clear();
        Teile t;
        it = schon.insert(muster, zerlegen(muster, t) ? std::optional<Teile>(t) : std::nullopt);
    }
    return it->has_value() ? &**it : nullptr;
}
}  // namespace

bool anwendbar(const QString& muster) { return zerlegt(muster) != nullptr; }

QString Meldung(const QString& muster) {
    return "Das Format \"" + muster +
           "\" kann nicht angewendet werden!\r"
           "Erlaubt sind 0 und # als Stellen, . als Dezimalzeichen, , für die Tausender "
           "und E+00 für den Exponenten (z.B. #,##0.00 oder 0.00E+00).";
}

QString anwenden(double wert, const QString& muster, bool punkt) {
    const QChar dezimal = punkt ? '.' : ',', tausender = punkt ? ',' : '.';
    const Teile* zerlegung = zerlegt(muster);
    if (!zerlegung) {
        QString text = Zahl_formatieren(wert, muster);
        if (punkt) {
            const qsizetype k = text.indexOf(',');
            if (k >= 0)
                text[k] = '.';
        }
        return text;
    }
    const Teile& t = *zerlegung;
    Dezimalzahl d = Dezimalzahl::aus_Zahl(wert);
    int exponent = 0;
    if (t.exponent && !d.ist_null()) {
        const int vorne = std::max(t.ganz_stellen, 1);
        exponent = Größenordnung(d) - (vorne - 1);
        Dezimalzahl m = d.verschoben(-exponent).gerundet(t.höchstens);
        if (Ziffern_vor(m).size() > vorne)  // 9,99 rounded up to 10,0
            ++exponent;
        d = d.verschoben(-exponent);
    }
    const Dezimalzahl r = d.gerundet(t.höchstens);
    QString nach = r.Nachkommateil();
    while (nach.size() > t.mindestens && nach.endsWith('0'))
        nach.chop(1);
    QString ganz = Ziffern_vor(r);
    if (ganz.size() < t.ganz_nullen)
        ganz = QString(t.ganz_nullen - ganz.size(), '0') + ganz;
    if (t.gruppieren)
        ganz = gruppiert(ganz, tausender);
    QString text = (r.negativ && !r.ist_null() ? "-" : "") + ganz;
    if (t.punkt)
        text += dezimal + nach;
    if (t.exponent) {
        QString ziffern = QString::number(std::abs(exponent));
        if (ziffern.size() < t.exp_stellen)
            ziffern = QString(t.exp_stellen - ziffern.size(), '0') + ziffern;
        text += t.e + QString(exponent < 0 ? "-" : t.exp_plus ? "+" : "") + ziffern;
    }
    return text;
}

}  // namespace Rechenformat

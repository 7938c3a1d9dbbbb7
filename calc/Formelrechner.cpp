#include "calc/Formelrechner.h"

#include <charconv>
#include <cmath>
#include <cstdint>

Formeltoken Formeltokens[101];

// ---- references ------------------------------------------------------------

void Referenz_abtrennen(const QString& text, QString& name, i16& position, QString& rest) {
    name.clear();
    position = 0;
    const qsizetype zu = text.indexOf(']');
    if (zu < 0) {
        rest.clear();
        return;
    }
    const qsizetype auf = zu > 0 ? text.lastIndexOf('[', zu - 1) : -1;
    if (auf >= 0) {
        name = text.mid(auf + 1, zu - auf - 1);
        position = static_cast<i16>(qMin<qsizetype>(auf + 1, 32767));
    }
    rest = text.mid(zu + 1);
    if (!rest.contains(']'))
        rest.clear();
}

void Referenzen_auflisten(const QString& formel, QStringList& liste) {
    QString rest = formel;
    qsizetype verbraucht = 0;  // characters up to and including the previous "]"
    qsizetype k = 0;
    do {
        QString name, neuer_rest;
        i16 position = 0;
        const qsizetype zu = rest.indexOf(']');
        Referenz_abtrennen(rest, name, position, neuer_rest);
        // A "]" without its "[" is no reference; the evaluator rejects it later.
        if (position > 0 && k < liste.size())
            liste[k++] = QString::number(position + verbraucht) + ';' + name;
        verbraucht += zu + 1;
        rest = neuer_rest;
    } while (!rest.isEmpty());
}

// ---- evaluation ------------------------------------------------------------

namespace {

bool ist_Operator(QChar c) {
    switch (c.unicode()) {
    case '+': case '-': case '*': case '/': case '^': case '(': case ')':
        return true;
    default:
        return false;
    }
}

bool ist_Ziffer(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

bool ist_Funktionsanfang(QChar c) {
    switch (c.unicode()) {
    case 'A': case 'C': case 'E': case 'L': case 'S': case 'T':
        return true;
    default:
        return false;
    }
}

// Whether the pending operator p is reduced before c is pushed. ")" stands
// for the end of a group and of the formula as well. "*" and "/" wait for a
// "+", "-" or ")", so their chains are reduced from the right; "^" waits for
// anything but another "^" (right to left).
bool reduzieren(QChar p, QChar c) {
    const bool c_strich = c == '+' || c == '-' || c == ')';
    switch (p.unicode()) {
    case '+': case '-': case '*': case '/':
        return c_strich;
    case '^':
        return c_strich || c == '*' || c == '/';
    default:
        return false;  // "(" only goes with its ")"
    }
}

class Formelauswertung {
public:
    // 'werte': the values of the Formelplatz characters of the text, in order.
    explicit Formelauswertung(QStringView text, const double* werte = nullptr)
        : text_(text), länge_(text.size()), werte_(werte) {}

    // Runs over the whole text; false when it cannot be evaluated at all.
    bool laufen();
    // Reads the text as one number; false unless all of it is that number.
    bool nur_Zahl(double& wert) {
        return länge_ > 0 && (ist_Ziffer(text_[0]) || text_[0] == ',') && Zahl_lesen(wert) && pos_ == länge_;
    }
    double Ergebnis() const { return anzahl_ == 1 ? Formeltokens[0].Wert : 0; }
    bool Fehler() const { return fehler_; }

private:
    // The internal steps.
    bool Zahl_lesen(double& wert);
    bool Funktionsname_lesen(QString& name);
    bool Funktion_anwenden(const QString& name, double argument, double& ergebnis);
    void Rechenschritt();

    bool Wert_ablegen(double wert);
    bool Operator_ablegen(QChar op);
    bool Funktion_ablegen(const QString& name);
    bool Operator_lesen(QChar op);
    bool Platz_ablegen(double wert);
    bool Gruppe_schließen();
    void ausrechnen(QChar c);
    bool ist_Wert(int i) const { return Formeltokens[i].Operator.isNull() && Formeltokens[i].Funktion.isEmpty(); }
    void Laufzeitfehler() { fehler_ = true; }

    const QStringView text_;
    const qsizetype länge_;
    const double* werte_;
    int platz_ = 0;  // next value of werte_
    qsizetype pos_ = 0;  // next unread character
    int anzahl_ = 0;     // pending tokens in Formeltokens
    bool operand_erwartet_ = true;
    bool fehler_ = false;
};

bool Formelauswertung::Wert_ablegen(double wert) {
    if (anzahl_ >= 101)
        return false;
    Formeltoken& t = Formeltokens[anzahl_++];
    t.Wert = wert;
    t.Operator = QChar();
    if (!t.Funktion.isEmpty())
        t.Funktion.clear();
    return true;
}

bool Formelauswertung::Operator_ablegen(QChar op) {
    if (anzahl_ >= 101)
        return false;
    Formeltoken& t = Formeltokens[anzahl_++];
    t.Wert = 0;
    t.Operator = op;
    if (!t.Funktion.isEmpty())
        t.Funktion.clear();
    return true;
}

bool Formelauswertung::Funktion_ablegen(const QString& name) {
    if (anzahl_ >= 101)
        return false;
    Formeltoken& t = Formeltokens[anzahl_++];
    t.Wert = 0;
    t.Operator = QChar();
    t.Funktion = name;
    return true;
}

// Digits and "," with an optional exponent "E", "E-" or "E+" and its digits.
// Like the original reader it runs up to the next operator character, so any
// other character inside the run makes the number invalid.
bool Formelauswertung::Zahl_lesen(double& wert) {
    // puffer[0] holds a "0" for a number that starts with its comma.
    char puffer[96];
    puffer[0] = '0';
    int n = 1;
    int kommas = 0, ziffern = 0, exponentziffern = 0;
    bool exponent = false, gültig = true;
    // For the quick conversion: the digits as an integer, how many of them
    // stand after the comma, the exponent.
    std::uint64_t mantisse = 0;
    int mantissenziffern = 0, nachkomma = 0, exponentwert = 0;
    bool exponent_negativ = false;
    while (pos_ < länge_) {
        const QChar c = text_[pos_];
        char z = '?';
        if (ist_Ziffer(c)) {
            z = static_cast<char>(c.unicode());
            const int ziffer = z - '0';
            if (exponent) {
                ++exponentziffern;
                if (exponentwert < 10000)
                    exponentwert = exponentwert * 10 + ziffer;
            } else {
                ++ziffern;
                if (mantisse != 0 || ziffer != 0)
                    ++mantissenziffern;
                if (mantissenziffern <= 19)
                    mantisse = mantisse * 10 + static_cast<std::uint64_t>(ziffer);
                if (kommas > 0)
                    ++nachkomma;
            }
        } else if (c == ',' && !exponent) {
            z = '.';
            ++kommas;
        } else if (c == 'E' && !exponent && ziffern > 0) {
            z = 'E';
            exponent = true;
        } else if ((c == '+' || c == '-') && exponent && puffer[n - 1] == 'E') {
            z = static_cast<char>(c.unicode());  // the sign of the exponent
            exponent_negativ = c == '-';
        } else if (ist_Operator(c)) {
            break;
        } else {
            gültig = false;
        }
        if (n < static_cast<int>(sizeof puffer))
            puffer[n++] = z;
        else
            gültig = false;  // no number of the station is this long
        ++pos_;
    }
    if (!gültig || kommas > 1 || ziffern == 0 || (exponent && exponentziffern == 0))
        return false;
    // Up to 2^53 and a power of ten up to 10^22 both are exact, and one
    // multiplication or division rounds correctly: the same value the full
    // conversion gives, without it.
    static constexpr double Zehnerpotenz[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const int potenz = (exponent_negativ ? -exponentwert : exponentwert) - nachkomma;
    if (mantissenziffern <= 19 && mantisse <= (std::uint64_t{1} << 53) && potenz >= -22 && potenz <= 22) {
        const double m = static_cast<double>(mantisse);
        wert = potenz >= 0 ? m * Zehnerpotenz[potenz] : m / Zehnerpotenz[-potenz];
        return std::isfinite(wert);
    }
    const char* anfang = puffer[1] == '.' ? puffer : puffer + 1;
    const auto [ende, fehler] = std::from_chars(anfang, puffer + n, wert);
    return fehler == std::errc() && ende == puffer + n && std::isfinite(wert);
}

// A function name runs up to the "(" of its argument.
bool Formelauswertung::Funktionsname_lesen(QString& name) {
    const qsizetype anfang = pos_;
    while (pos_ < länge_ && text_[pos_] != '(')
        ++pos_;
    if (pos_ >= länge_)
        return false;
    name = text_.mid(anfang, pos_ - anfang).toString();
    return true;
}

// The result is written only for the eight names (compared exactly).
bool Formelauswertung::Funktion_anwenden(const QString& name, double x, double& ergebnis) {
    if (name == QLatin1String("Sin"))
        ergebnis = std::sin(x);
    else if (name == QLatin1String("Cos"))
        ergebnis = std::cos(x);
    else if (name == QLatin1String("Tan"))
        ergebnis = std::tan(x);
    else if (name == QLatin1String("Abs"))
        ergebnis = std::fabs(x);
    else if (name == QLatin1String("Atn"))
        ergebnis = std::atan(x);
    else if (name == QLatin1String("Exp"))
        ergebnis = std::exp(x);
    else if (name == QLatin1String("Log")) {
        if (x <= 0)
            return false;
        ergebnis = std::log(x);
    } else if (name == QLatin1String("Sqr")) {
        if (x < 0)
            return false;
        ergebnis = std::sqrt(x);
    } else {
        return false;
    }
    return std::isfinite(ergebnis);
}

// Reduces the newest triple value, operator, value. Chains of "*" and "/"
// are reduced from the right, so an operator "/" before the left operand
// turns "*" into "/" and "/" into "*": a/b*c is a/(b/c) = (a/b)*c and a/b/c
// is a/(b*c), which is left to right.
void Formelauswertung::Rechenschritt() {
    const double t1 = Formeltokens[anzahl_ - 3].Wert;
    const QChar op = Formeltokens[anzahl_ - 2].Operator;
    const double t3 = Formeltokens[anzahl_ - 1].Wert;
    const bool t0_geteilt = anzahl_ >= 4 && Formeltokens[anzahl_ - 4].Operator == '/';
    double r = 0;
    bool teilen = false;
    switch (op.unicode()) {
    case '+': r = t1 + t3; break;
    case '-': r = t1 - t3; break;
    case '^':
        if (t1 == 0 && t3 < 0)
            r = NAN;  // division by zero
        else
            r = std::pow(t1, t3);
        break;
    case '*': teilen = t0_geteilt; break;
    case '/': teilen = !t0_geteilt; break;
    default: r = NAN; break;
    }
    if (op == '*' || op == '/') {
        if (teilen)
            r = t3 == 0 ? NAN : t1 / t3;
        else
            r = t1 * t3;
    }
    if (!std::isfinite(r)) {
        Laufzeitfehler();
        r = 0;  // the evaluation goes on; the result is marked invalid anyway
    }
    anzahl_ -= 2;
    Formeltokens[anzahl_ - 1].Wert = r;
}

// Reduces the pending operators that come before c.
void Formelauswertung::ausrechnen(QChar c) {
    while (anzahl_ >= 3 && ist_Wert(anzahl_ - 1) && ist_Wert(anzahl_ - 3) &&
           reduzieren(Formeltokens[anzahl_ - 2].Operator, c))
        Rechenschritt();
}

// "(", value, ")" becomes the value; the functions standing before the "("
// are applied to it.
bool Formelauswertung::Gruppe_schließen() {
    ausrechnen(')');
    if (anzahl_ < 2 || !ist_Wert(anzahl_ - 1) || Formeltokens[anzahl_ - 2].Operator != '(')
        return false;
    double wert = Formeltokens[anzahl_ - 1].Wert;
    anzahl_ -= 2;
    while (anzahl_ >= 1 && !Formeltokens[anzahl_ - 1].Funktion.isEmpty()) {
        double ergebnis = 0;
        if (!Funktion_anwenden(Formeltokens[anzahl_ - 1].Funktion, wert, ergebnis)) {
            Laufzeitfehler();
            ergebnis = 0;
        }
        wert = ergebnis;
        --anzahl_;
    }
    operand_erwartet_ = false;
    return Wert_ablegen(wert);
}

bool Formelauswertung::Operator_lesen(QChar op) {
    switch (op.unicode()) {
    case '(':
        if (!operand_erwartet_ || !Operator_ablegen('('))
            return false;
        // "(-x": the sign belongs to the number, and a ")" right after it
        // closes the group at once.
        if (pos_ + 1 < länge_ && text_[pos_] == '-' && (ist_Ziffer(text_[pos_ + 1]) || text_[pos_ + 1] == ',')) {
            ++pos_;
            double wert = 0;
            if (!Zahl_lesen(wert) || !Wert_ablegen(-wert))
                return false;
            operand_erwartet_ = false;
            if (pos_ < länge_ && text_[pos_] == ')') {
                ++pos_;
                return Gruppe_schließen();
            }
        }
        return true;
    case ')':
        // A group always ends as if "+0" stood before its ")".
        return Operator_lesen('+') && Wert_ablegen(0) && Gruppe_schließen();
    default:
        // An operator right after another one finds the 0 an operator token
        // carries as its left operand: 2*-5 is 2*0-5.
        if (operand_erwartet_ && !Wert_ablegen(0))
            return false;
        ausrechnen(op);
        operand_erwartet_ = true;
        return Operator_ablegen(op);
    }
}

// A prepared value, as its text would be read in that place: a number, or
// a negative one as "(-x)", which holds a second token while it is read.
bool Formelauswertung::Platz_ablegen(double wert) {
    if (!operand_erwartet_ || (std::signbit(wert) && anzahl_ >= 100) || !Wert_ablegen(wert))
        return false;
    operand_erwartet_ = false;
    return true;
}

bool Formelauswertung::laufen() {
    while (pos_ < länge_) {
        const QChar c = text_[pos_];
        if (werte_ && c == Formelplatz) {
            ++pos_;
            if (!Platz_ablegen(werte_[platz_++]))
                return false;
        } else if (ist_Ziffer(c) || c == ',') {
            double wert = 0;
            if (!operand_erwartet_ || !Zahl_lesen(wert) || !Wert_ablegen(wert))
                return false;
            operand_erwartet_ = false;
        } else if (ist_Funktionsanfang(c)) {
            QString name;
            if (!operand_erwartet_ || !Funktionsname_lesen(name) || !Funktion_ablegen(name))
                return false;
        } else if (ist_Operator(c)) {
            ++pos_;
            if (!Operator_lesen(c))
                return false;
        } else {
            return false;  // blanks, lower-case letters, "." and the like
        }
    }
    if (operand_erwartet_)
        return false;
    ausrechnen(')');
    return anzahl_ == 1 && ist_Wert(0);
}

}  // namespace

void Formel_berechnen(QString& formel, double& Ergebnis, i16& Fehler) {
    Fehler = 0;
    const QString text = "0+" + formel + "+0";
    formel.clear();
    Formelauswertung auswertung(text);
    const bool vollständig = auswertung.laufen();
    if (!vollständig || auswertung.Fehler()) {
        Fehler = 1;
        Ergebnis = Ungültiger_Wert;
        return;
    }
    Ergebnis = auswertung.Ergebnis();
}

void Vorlage_berechnen(QStringView vorlage, const double* werte, double& Ergebnis, i16& Fehler) {
    Fehler = 0;
    Formelauswertung auswertung(vorlage, werte);
    if (!auswertung.laufen() || auswertung.Fehler()) {
        Fehler = 1;
        Ergebnis = Ungültiger_Wert;
        return;
    }
    Ergebnis = auswertung.Ergebnis();
}

bool Rechenzahl_lesen(QStringView text, double& wert) { return Formelauswertung(text).nur_Zahl(wert); }

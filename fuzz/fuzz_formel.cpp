// Formulas of the calculated values: the references listed and the value
// computed, and the values of a record put into a bound formula both ways
// (as numbers and written into its text), which must agree.
#include <cstdlib>
#include <cstring>

#include "Fuzzstation.h"
#include "calc/CalcuReihenfolge.h"
#include "calc/Formelrechner.h"
#include "platform/Text1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe) {
    Station();
    const QString formel = Text1252::dekodieren(Eingabe(daten, größe));
    QStringList liste(51);
    Referenzen_auflisten(formel, liste);
    QString name, rest;
    i16 position = 0;
    Referenz_abtrennen(formel, name, position, rest);
    QString f = formel;
    double ergebnis = 0;
    i16 fehler = 0;
    Formel_berechnen(f, ergebnis, fehler);

    static const char* const Logwerte[] = {"3",   "-3",   "0",    "-0,00", "1,5",  "-0,0001", "1E-7", "-2,5E+3",
                                           "NaN", "abc",  "",     " 7 ",   "9E99", "12345678901234567", "0,5E",
                                           "-,5", "1,2,3", "+4", "0,00001", "-99999999999999,9"};
    Rechensatz& satz = Daten.Rechentabelle[0];
    satz = Rechensatz{};
    satz.Formel = formel;
    for (int j = 0; j < 50 && !liste[j].isEmpty(); ++j) {
        const qsizetype trenner = liste[j].indexOf(';');
        satz.Referenzposition[j] = static_cast<i16>(liste[j].left(trenner).toInt());
        satz.Referenzname[j] = liste[j].mid(trenner + 1);
        satz.Scanposition[j] = static_cast<i16>(1 + satz.Referenzname[j].size() % 3);
    }
    for (int p = 1; p <= 3; ++p)
        Daten.Messwerttexte[p].Logwert = Logwerte[(größe + static_cast<size_t>(p) * (daten && größe ? daten[0] : 0)) % std::size(Logwerte)];
    const double schnell = CalcuReihenfolge::Rechensatz_berechnen(satz), text = CalcuReihenfolge::Rechensatz_aus_Text(satz);
    if (std::memcmp(&schnell, &text, sizeof schnell) != 0)
        std::abort();
    return 0;
}

// Formulas of the calculated values: the references listed and the value computed.
#include "Fuzzstation.h"
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
    return 0;
}

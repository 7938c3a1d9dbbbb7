// The record files of a project, read into the tables, and what the run
// builds from them: block configurations, units, relay frames.
#include "Fuzzstation.h"
#include "points/MBForm1.h"
#include "project/Projektdateien.h"
#include "run/Hauptfenster.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe) {
    Station();
    if (größe < 1)
        return 0;
    using namespace Projektdateien;
    static const Tabelle* const tabellen[] = {&kanaele, &scanlist, &aufzlist, &messbvar, &fkt_cnst, &optiscan,
                                              &vorg_rei, &Buttons,  &Dformat,  &Datlog,   &Stromaus, &matrix};
    constexpr size_t n = sizeof tabellen / sizeof tabellen[0];
    Daten = Programmdaten{};
    MBForm1::Meßblockvar_vorbeleg();
    lesen(*tabellen[daten[0] % n], Eingabe(daten + 1, größe - 1), Daten);
    for (int b = 1; b <= 20; ++b) {
        const QString name = Daten.Messblocktabelle[b].Messblockname.text();
        QString init, format, einheit;
        double faktor = 1;
        i16 anzahl = 1, funktion = 0;
        MBForm1::Initialisierungsstring_erstellen(name, init, format, faktor, anzahl, 0, funktion);
        MBForm1::Einheit_erstellen(name, einheit);
    }
    for (int i = 1; i <= 120; ++i) {
        const Scanlistensatz& s = Daten.Scanlistentabelle[i];
        Hauptfenster::Relaisframe(s.Gruppennummer, s.Klemmennummer, i % 2 == 0);
    }
    return 0;
}

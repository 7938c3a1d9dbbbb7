// Replies of the value fetches through the block evaluation into the value
// texts, and the number patterns every value passes.
#include <cstring>

#include "Fuzzstation.h"
#include "common/Zahlformat.h"
#include "platform/Text1252.h"
#include "points/MBForm1.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe) {
    Station();
    static const bool vorbereitet = [] {
        Datenformat::Vorgaben_setzen();
        Datenlogger::Vorgaben_setzen();
        MBForm1::Meßblockvar_vorbeleg();
        return true;
    }();
    (void)vorbereitet;
    if (größe < 13)
        return 0;
    const int block = 1 + daten[0] % 9;
    const i16 kanäle = static_cast<i16>(1 + daten[1] % 4);
    const i16 anzahl = static_cast<i16>(1 + daten[2] % 4);
    const i16 stellen = static_cast<i16>(daten[3] % 12);
    double wert;
    std::memcpy(&wert, daten + 4, sizeof wert);
    const QString rest = Text1252::dekodieren(Eingabe(daten + 12, größe - 12));

    const QString name = Daten.Messblocktabelle[block].Messblockname.text();
    for (int i = 1; i <= 4; ++i) {
        Daten.Scanlistentabelle[i].Messblockname = name;
        Daten.Scanlistentabelle[i].Signalname = QString("S%1").arg(i);
    }
    QString init, format;
    double faktor = 1;
    i16 messanzahl = 1, funktion = 0;
    MBForm1::Initialisierungsstring_erstellen(name, init, format, faktor, messanzahl, 23, funktion);
    QString antwort = rest;
    MBForm1::Auswerten(1, antwort, kanäle, format, faktor, anzahl);
    MBForm1::Header_erstellen();

    // The patterns directly, with any value and any text.
    for (const char* muster : {"0.0000000000", "#0.000", "0000.", "#.###", "0.000000E+00"})
        Zahl_formatieren(wert, muster);
    Zahl_als_Text(wert);
    if (const auto z = Dezimalzahl::aus_Text(rest))
        Zahl_formatieren(*z, rest.left(20));
    QString s = rest, r;
    Datenformat::Digitformat(stellen, s, r, daten[3] & 0x80 ? "auto" : "0.000");
    return 0;
}

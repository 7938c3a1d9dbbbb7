// The replies of the device search, as they collect in the search buffer.
#include "Fuzzstation.h"
#include "platform/Text1252.h"
#include "project/Projekt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe) {
    Station();
    QString puffer = Text1252::dekodieren(Eingabe(daten, größe));
    Gerätesatz liste[21];
    qint16 anzahl = 0;
    Projekt::Suchpuffer_auswerten(puffer, liste, anzahl);
    return 0;
}

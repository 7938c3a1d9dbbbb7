// "Rechen.ini" of a project: read into the calculation list, its
// definitions bound to the scan list and computed.
#include "Fuzzstation.h"
#include "calc/CalcuReihenfolge.h"
#include "recording/Datendateien.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe) {
    Station();
    static CalcuReihenfolge* seite = [] {
        Daten.Projektname = "fuzz.kxp";
        Datendateien::Projektkurzname();
        QDir().mkpath(QFileInfo(CalcuReihenfolge::Rechenini_Pfad()).path());
        return new CalcuReihenfolge;
    }();
    for (int i = 1; i <= 3; ++i) {
        Daten.Scanlistentabelle[i].Signalname = QString("U%1").arg(i);
        Daten.Messwerttexte[i].Logwert = QString("%1,5").arg(i);
    }
    QFile datei(CalcuReihenfolge::Rechenini_Pfad());
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    datei.write(Eingabe(daten, größe));
    datei.close();
    seite->rechnenini_lesen();
    if (seite->CalcuVar_vorbelegen()) {
        seite->CalcuVar_berechnen();
        CalcuReihenfolge::RechnenHeader_erstellen();
        CalcuReihenfolge::RechnenLogzeile_erstellen();
        CalcuReihenfolge::RechnenDatzeile_erstellen();
    }
    return 0;
}

// Where the run hands a scan to the data files and to the matrices.
#include "recording/Datendateien.h"
#include "run/Hauptfenster.h"

void Hauptfenster::Datensatz_ordnen() { Datendateien::Reihenfolge_ändern(); }

void Hauptfenster::Datensatz_schreiben() {
    Datendateien::Datenlogzeile_erstellen();
    Datendateien::Meßdatei_öffnen();
    Datendateien::Meßdat_speichern();
    Datendateien::Meßdatei_schließen();
}

void Hauptfenster::Loggerdateien_verschieben(const QString& Dateiname) {
    Datendateien::Datenlogfiles_umkopieren(Dateiname);
}

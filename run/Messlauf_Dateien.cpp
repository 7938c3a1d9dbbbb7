// Where the run hands a scan to the data files and to the matrices.
#include "run/Hauptfenster.h"

void Hauptfenster::Datensatz_ordnen() {}
void Hauptfenster::Datensatz_schreiben() {}
void Hauptfenster::Loggerdateien_verschieben(const QString&) {}
void Hauptfenster::Matrix_messen(const QString&) {}

#pragma once
// The run log "Protokolldat.txt" in the program directory: one line per
// event, date and time in front, appended and never rewritten.
#include <QString>

void Protokolldatei_schreiben(const QString& Meldung);
QString Protokolldateipfad();

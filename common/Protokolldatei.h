#pragma once
// The run log "Protokolldat.txt" in the program directory: one line per
// event, date and time in front, appended and never rewritten. So that a
// fault lasting for months cannot fill the disk, a log that has reached its
// limit is renamed to "Protokolldat_alt.txt" (replacing the one before) and
// a new one is begun: the two files together hold at most twice the limit.
#include <QString>

void Protokolldatei_schreiben(const QString& Meldung);
QString Protokolldateipfad();
QString Protokolldatei_alt_pfad();

// Size of the run log at which it is put aside.
constexpr qint64 Protokolldatei_Grenze = 8 * 1024 * 1024;
// For tests: another limit (0 restores the default).
void Protokolldatei_Grenze_setzen(qint64 Bytes);

#pragma once
// "Kesti.ini" in the program directory: each key once, one separator
// character, then a value of fixed width. Values are read and overwritten in
// place; keys are never added or removed.
#include <QString>

QString Kestiinipfad();
// The 'Breite' characters that begin one character after the first
// occurrence of 'Schlüssel'; empty when the file or the key is missing.
QString Kestiini_abfragen(const QString& Schlüssel, const QString& Breite);
// Overwrites in place at most 'Breite' characters, and no more than the new
// value has; the rest of the file stays byte for byte. False when the file
// cannot be read or written or lacks the key (then nothing is written).
bool Kestiini_schreiben(const QString& Schlüssel, const QString& Breite, const QString& Wert);
// Whether the file can be read at all.
bool Kestiini_lesbar();

#pragma once
// The measuring-point tables (terminals, signal names, measurement blocks)
// live in Daten; these are the procedures that set them up.
#include <QString>
#include <QStringList>

// Default terminal names ("A 01" .. "P 08") and kinds: odd slots "Input",
// even slots "Sense". Element 0 and group 0 are left alone.
void Kanalname_in_Var_schreiben();

// Empty names in the channel table, block table, scan list and recording
// order, the recording settings at their defaults, then the default terminal
// names. Numeric fields of the tables keep their values.
void Variablen_initialisieren();

// Blocks offered to the operator: records 1, 2, ... up to the first one named
// "neu", then "neu".
QStringList Messblockliste();

// Gives the current "neu" record the typed name and makes the next record
// "neu". With 'mit_Vorlage' (SCPI form) the block starts from
// Messblockvorlage. False, and nothing changed, when the table is full.
bool Messblock_anlegen(const QString& name, bool mit_Vorlage);

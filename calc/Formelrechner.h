#pragma once
// The formula evaluator of the calculated values: listing the signal
// references "[name]" of a formula, and evaluating a formula that holds only
// numbers (decimal comma), + - * / ^, parentheses and the eight functions.
// Formulas stored in projects rely on the quirks kept here: an operator
// directly after another one acts as if a 0 stood between them (2*-5 is -5),
// and only "(-x)" gives a negative operand.
#include <QChar>
#include <QString>
#include <QStringList>

#include "common/Programmdaten.h"

// One entry of the token table.
struct Formeltoken {
    double Wert = 0;    // number, or the value a group has been reduced to
    QChar Operator;     // + - * / ^ ( ) for operator tokens, else '\0'
    QString Funktion;   // name of a function token, else ""
};

// The token table every evaluation reuses (indexes 0 to 100). It holds the
// tokens still pending; a formula that needs more than 101 at once is an
// error.
extern Formeltoken Formeltokens[101];

// Splits off the first reference of 'text': the name between the "[" nearest
// before the first "]" and that "]", the 1-based position of that "[", and
// the text after the "]" (empty when it holds no further "]"). Without a "]"
// (or without a "[" before it) name is "" and position 0.
void Referenz_abtrennen(const QString& text, QString& name, i16& position, QString& rest);

// Writes "position;name" of each reference, in formula order, into the
// entries of 'liste' (never beyond its size); the positions count in the
// whole formula. Entries after the last reference are left as they were.
void Referenzen_auflisten(const QString& formel, QStringList& liste);

// Evaluates the formula. Fehler is 0, or 1 after any error (division by zero,
// overflow, a function outside its domain, a text outside the formula
// language); the evaluation then still ends, and Ergebnis is 9E99, the
// marker the data files use for an invalid value. The formula text is
// consumed: 'formel' is empty afterwards.
void Formel_berechnen(QString& formel, double& Ergebnis, i16& Fehler);

// The value a failed formula yields.
constexpr double Ungültiger_Wert = 9e99;

// A formula prepared once for many evaluations: "0+" + formula + "+0" with
// each reference replaced by this character.
constexpr QChar Formelplatz = QChar(0x0001);
// Evaluates a prepared formula with the references' values in order, a
// negative one standing for its "(-x)"; the same result and error as
// Formel_berechnen on the text with the values written in, wherever those
// texts begin and end at an operator.
void Vorlage_berechnen(QStringView vorlage, const double* werte, double& Ergebnis, i16& Fehler);
// Reads 'text' as the evaluator reads a number; false unless the whole text
// is one number.
bool Rechenzahl_lesen(QStringView text, double& wert);

#pragma once
// Entry rules of the on-screen keyboard while it edits a formula of the
// calculation list: a signal reference "[name]" is one unit. It is inserted
// whole from the signal list, the cursor keys step over it, "Del" behind it
// removes it whole, a click into it selects it whole, and typing never lands
// inside it. A reference is a "[" with the next "]" after it and no bracket
// in between; a lone bracket typed by the operator is an ordinary character.
#include <QString>

struct Formelzeile {
    QString Text;
    int Cursor = 0;        // 0 .. Text.size(), between characters
    int Auswahlanfang = 0;  // selection set by Formel_markieren
    int Auswahllänge = 0;
};

// The reference that the cursor position lies strictly inside (after its "["
// and up to its "]"): its first and last character index, or false.
bool Formel_Referenz_um(const QString& text, int cursor, int& anfang, int& ende);

// A character key (or the blank): inserted at the cursor, behind the
// reference when the cursor stands inside one.
void Formel_Zeichen_einfügen(Formelzeile& zeile, const QString& zeichen);
// A name picked from the signal list: "[" + name without trailing blanks + "]".
void Formel_Signal_einfügen(Formelzeile& zeile, const QString& signalname);
// "<-" and "->": one character, or a whole reference.
void Formel_Cursor_links(Formelzeile& zeile);
void Formel_Cursor_rechts(Formelzeile& zeile);
// "Del" (a backspace): the character before the cursor, or the whole
// reference when the cursor stands at its end or inside it.
void Formel_Del(Formelzeile& zeile);
// A click into the text: selects the whole reference around the cursor.
void Formel_markieren(Formelzeile& zeile);

// "Return": a definition line needs its "=".
inline bool Formel_annehmbar(const QString& text) { return text.contains('='); }
inline const char* const Formelfehler_Hinweis = "Fehler im Rechenstring!";

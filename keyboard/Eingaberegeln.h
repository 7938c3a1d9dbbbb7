#pragma once
// The entry rules of the on-screen keyboard that need no window: the checks
// of a typed name and the cursor arithmetic that keeps a bracketed signal
// reference ("[" + name + "]") whole.
#include <QString>
#include <QStringList>

namespace Eingaberegeln {

// ---- names ------------------------------------------------------------------

// Characters a signal name may hold: A-Z, a-z, Ä Ö Ü ä ö ü, digits and
// + - * / ^ ( ) blank . , _
bool Signalzeichen_erlaubt(QChar zeichen);

// The refusal of a signal name, empty when it is accepted. 'schließen' tells
// whether the keyboard closes with the refusal (a forbidden character) or
// stays open for correction.
struct Prüfergebnis {
    QString Meldung;
    bool schließen = false;
    bool angenommen() const { return Meldung.isEmpty(); }
};
Prüfergebnis Signalname_prüfen(const QString& text);

// The refusal of a block name against the blocks offered ('blöcke', as
// Messblockliste() gives them, "neu" included), empty when accepted.
QString Blockname_prüfen(const QString& text, const QStringList& blöcke);

// The refusal of a matrix file name (caller "Matrix"), empty when accepted:
// the name becomes part of file names, so / \ : * ? " < > | are refused.
QString Matrixdateiname_prüfen(const QString& text);

// What an edit of a terminal's signal name means for the lists.
enum class Änderung { nichts, geändert, hinzu, gelöscht };
Änderung Signaländerung(const QString& alt, const QString& neu);
QString Markertext(Änderung änderung);

// ---- signal references --------------------------------------------------------

// A line being edited: its text, the cursor (0..length) and a selection
// (start, length; length 0 = none).
struct Zeile {
    QString Text;
    int Cursor = 0;
    int Auswahlbeginn = 0;
    int Auswahllänge = 0;
    bool operator==(const Zeile&) const = default;
};

// The reference [start, end) in which 'cursor' stands strictly inside
// (behind its "[" and before or at its "]"); false when there is none.
bool Referenz_um(const QString& text, int cursor, int& beginn, int& ende);
// The reference that ends right before 'cursor'; false when there is none.
bool Referenz_vor(const QString& text, int cursor, int& beginn);
// The reference that starts right at 'cursor'; false when there is none.
bool Referenz_ab(const QString& text, int cursor, int& ende);

// Inserts at the cursor (a selection is replaced). With 'klammern' a cursor
// inside a reference is first put behind it, so no reference is split.
void einfügen(Zeile& zeile, const QString& was, bool klammern);
// One place to the left or right; with 'klammern' a reference is one place.
void links(Zeile& zeile, bool klammern);
void rechts(Zeile& zeile, bool klammern);
// Backspace: the selection, else the character before the cursor; a
// reference that ends at the cursor (or holds it) goes as a whole.
void löschen(Zeile& zeile);
// A click in the line: inside a reference the whole reference is selected.
void markieren(Zeile& zeile);

}  // namespace Eingaberegeln

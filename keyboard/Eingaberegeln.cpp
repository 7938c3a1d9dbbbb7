#include "keyboard/Eingaberegeln.h"

#include <algorithm>

#include "common/Festtext.h"

namespace Eingaberegeln {

namespace {
bool nur_Leerzeichen(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c != ' ')
            return false;
    return true;
}
}  // namespace

bool Signalzeichen_erlaubt(QChar c) {
    const char16_t u = c.unicode();
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9'))
        return true;
    switch (u) {
    case 196: case 214: case 220: case 228: case 246: case 252:  // Ä Ö Ü ä ö ü
    case '+': case '-': case '*': case '/': case '^': case '(': case ')':
    case ' ': case '.': case ',': case '_':
        return true;
    default:
        return false;
    }
}

Prüfergebnis Signalname_prüfen(const QString& text) {
    for (QChar c : text)
        if (!Signalzeichen_erlaubt(c))
            return {QString(c) + " Zeichen ist nicht erlaubt!", true};
    if (nur_Leerzeichen(text))
        return {"Signalbezeichung darf nicht aus Leerzeichen bestehen", false};
    // The width limit alone lets narrow letters run past the 20 characters
    // the tables keep; such a name would be cut short.
    if (RTrim(text).size() > 20)
        return {"Bitte max. 20 Zeichen!", false};
    return {};
}

QString Blockname_prüfen(const QString& text, const QStringList& blöcke) {
    const QString name = RTrim(text);
    for (const QString& b : blöcke)
        if (RTrim(b) == name)
            return "Diese Messblockname existiert bereits!";
    if (text.size() > 16)
        return "Bitte max. 16 Zeichen!";
    if (nur_Leerzeichen(text))
        return "Messblockname darf nicht aus Leerzeichen bestehen!";
    return {};
}

QString Matrixdateiname_prüfen(const QString& text) {
    for (QChar c : text)
        if (QStringLiteral("/\\:*?\"<>|").contains(c))
            return "Dateiname darf folgende Zeichen nicht enthalten: /\\:*?\"<>|";
    return {};
}

Änderung Signaländerung(const QString& alt, const QString& neu) {
    const QString a = RTrim(alt), n = RTrim(neu);
    if (a == n)
        return Änderung::nichts;
    if (!a.isEmpty() && !n.isEmpty())
        return Änderung::geändert;
    if (a.isEmpty())
        return Änderung::hinzu;
    return Änderung::gelöscht;
}

QString Markertext(Änderung änderung) {
    switch (änderung) {
    case Änderung::geändert: return "geändert";
    case Änderung::hinzu: return "hinzu";
    case Änderung::gelöscht: return "gelöscht";
    case Änderung::nichts: break;
    }
    return "nichts";
}

// ---- signal references --------------------------------------------------------

bool Referenz_um(const QString& text, int cursor, int& beginn, int& ende) {
    if (cursor <= 0 || cursor > text.size())
        return false;
    const qsizetype b = text.lastIndexOf('[', cursor - 1);
    if (b < 0)
        return false;
    const qsizetype zu_davor = text.indexOf(']', b + 1);
    if (zu_davor >= 0 && zu_davor < cursor)
        return false;  // that reference closed before the cursor
    const qsizetype e = text.indexOf(']', cursor);
    if (e < 0)
        return false;
    const qsizetype auf_danach = text.indexOf('[', cursor);
    if (auf_danach >= 0 && auf_danach < e)
        return false;
    beginn = static_cast<int>(b);
    ende = static_cast<int>(e) + 1;
    return true;
}

bool Referenz_vor(const QString& text, int cursor, int& beginn) {
    if (cursor < 2 || cursor > text.size() || text[cursor - 1] != ']')
        return false;
    const qsizetype b = text.lastIndexOf('[', cursor - 2);
    if (b < 0)
        return false;
    const qsizetype zu = text.indexOf(']', b + 1);
    if (zu != cursor - 1)
        return false;
    beginn = static_cast<int>(b);
    return true;
}

bool Referenz_ab(const QString& text, int cursor, int& ende) {
    if (cursor < 0 || cursor >= text.size() || text[cursor] != '[')
        return false;
    const qsizetype e = text.indexOf(']', cursor + 1);
    if (e < 0)
        return false;
    const qsizetype auf = text.indexOf('[', cursor + 1);
    if (auf >= 0 && auf < e)
        return false;
    ende = static_cast<int>(e) + 1;
    return true;
}

namespace {
// The selection grown so that it holds every reference it touches.
void Auswahl_erweitern(Zeile& z) {
    int a = z.Auswahlbeginn, e = z.Auswahlbeginn + z.Auswahllänge;
    int b = 0, bis = 0;
    if (Referenz_um(z.Text, a, b, bis))
        a = b;
    if (Referenz_um(z.Text, e, b, bis))
        e = bis;
    z.Auswahlbeginn = a;
    z.Auswahllänge = e - a;
}

void Auswahl_entfernen(Zeile& z) {
    z.Text.remove(z.Auswahlbeginn, z.Auswahllänge);
    z.Cursor = z.Auswahlbeginn;
    z.Auswahlbeginn = z.Cursor;
    z.Auswahllänge = 0;
}

void Auswahl_aufheben(Zeile& z) {
    z.Auswahlbeginn = z.Cursor;
    z.Auswahllänge = 0;
}
}  // namespace

void einfügen(Zeile& z, const QString& was, bool klammern) {
    z.Cursor = std::clamp(z.Cursor, 0, static_cast<int>(z.Text.size()));
    if (z.Auswahllänge > 0) {
        if (klammern)
            Auswahl_erweitern(z);
        Auswahl_entfernen(z);
    }
    int b = 0, e = 0;
    if (klammern && Referenz_um(z.Text, z.Cursor, b, e))
        z.Cursor = e;
    z.Text.insert(z.Cursor, was);
    z.Cursor += static_cast<int>(was.size());
    Auswahl_aufheben(z);
}

void links(Zeile& z, bool klammern) {
    int b = 0, e = 0;
    if (klammern && Referenz_vor(z.Text, z.Cursor, b))
        z.Cursor = b;
    else if (klammern && Referenz_um(z.Text, z.Cursor, b, e))
        z.Cursor = b;
    else if (z.Cursor > 0)
        --z.Cursor;
    Auswahl_aufheben(z);
}

void rechts(Zeile& z, bool klammern) {
    int b = 0, e = 0;
    if (klammern && Referenz_ab(z.Text, z.Cursor, e))
        z.Cursor = e;
    else if (klammern && Referenz_um(z.Text, z.Cursor, b, e))
        z.Cursor = e;
    else if (z.Cursor < z.Text.size())
        ++z.Cursor;
    Auswahl_aufheben(z);
}

void löschen(Zeile& z) {
    z.Cursor = std::clamp(z.Cursor, 0, static_cast<int>(z.Text.size()));
    if (z.Auswahllänge > 0) {
        Auswahl_erweitern(z);
        Auswahl_entfernen(z);
        return;
    }
    int b = 0, e = 0;
    if (Referenz_vor(z.Text, z.Cursor, b)) {
        z.Auswahlbeginn = b;
        z.Auswahllänge = z.Cursor - b;
    } else if (Referenz_um(z.Text, z.Cursor, b, e)) {
        z.Auswahlbeginn = b;
        z.Auswahllänge = e - b;
    } else if (z.Cursor > 0) {
        z.Auswahlbeginn = z.Cursor - 1;
        z.Auswahllänge = 1;
    } else {
        return;
    }
    Auswahl_entfernen(z);
}

void markieren(Zeile& z) {
    int b = 0, e = 0;
    if (z.Auswahllänge == 0 && Referenz_um(z.Text, z.Cursor, b, e)) {
        z.Auswahlbeginn = b;
        z.Auswahllänge = e - b;
        z.Cursor = e;
    }
}

}  // namespace Eingaberegeln

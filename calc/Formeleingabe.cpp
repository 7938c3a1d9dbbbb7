#include "calc/Formeleingabe.h"

#include <algorithm>

#include "common/Festtext.h"

namespace {
int begrenzt(const QString& text, int cursor) { return std::clamp(cursor, 0, static_cast<int>(text.size())); }

// The reference whose "]" stands at index 'zu', or false.
bool Referenz_bis(const QString& text, int zu, int& anfang) {
    if (zu < 0 || zu >= text.size() || text[zu] != ']')
        return false;
    for (int i = zu - 1; i >= 0; --i) {
        if (text[i] == ']')
            return false;
        if (text[i] == '[') {
            anfang = i;
            return true;
        }
    }
    return false;
}

// The reference whose "[" stands at index 'auf', or false.
bool Referenz_ab(const QString& text, int auf, int& ende) {
    if (auf < 0 || auf >= text.size() || text[auf] != '[')
        return false;
    for (int i = auf + 1; i < text.size(); ++i) {
        if (text[i] == '[')
            return false;
        if (text[i] == ']') {
            ende = i;
            return true;
        }
    }
    return false;
}

void aus_Referenz_heraus(Formelzeile& zeile) {
    zeile.Cursor = begrenzt(zeile.Text, zeile.Cursor);
    int anfang = 0, ende = 0;
    if (Formel_Referenz_um(zeile.Text, zeile.Cursor, anfang, ende))
        zeile.Cursor = ende + 1;
}
}  // namespace

bool Formel_Referenz_um(const QString& text, int cursor, int& anfang, int& ende) {
    cursor = begrenzt(text, cursor);
    // The nearest "[" before the cursor, with no "]" between it and the cursor.
    for (int i = cursor - 1; i >= 0; --i) {
        if (text[i] == ']')
            return false;
        if (text[i] == '[') {
            if (!Referenz_ab(text, i, ende) || ende < cursor - 1)
                return false;
            anfang = i;
            return cursor > i && cursor <= ende;
        }
    }
    return false;
}

void Formel_Zeichen_einfügen(Formelzeile& zeile, const QString& zeichen) {
    aus_Referenz_heraus(zeile);
    zeile.Text.insert(zeile.Cursor, zeichen);
    zeile.Cursor += static_cast<int>(zeichen.size());
    zeile.Auswahllänge = 0;
}

void Formel_Signal_einfügen(Formelzeile& zeile, const QString& signalname) {
    Formel_Zeichen_einfügen(zeile, '[' + RTrim(signalname) + ']');
}

void Formel_Cursor_links(Formelzeile& zeile) {
    zeile.Cursor = begrenzt(zeile.Text, zeile.Cursor);
    zeile.Auswahllänge = 0;
    if (zeile.Cursor == 0)
        return;
    int anfang = 0, ende = 0;
    if (Referenz_bis(zeile.Text, zeile.Cursor - 1, anfang))
        zeile.Cursor = anfang;
    else if (Formel_Referenz_um(zeile.Text, zeile.Cursor, anfang, ende))
        zeile.Cursor = anfang;
    else
        --zeile.Cursor;
}

void Formel_Cursor_rechts(Formelzeile& zeile) {
    zeile.Cursor = begrenzt(zeile.Text, zeile.Cursor);
    zeile.Auswahllänge = 0;
    if (zeile.Cursor >= zeile.Text.size())
        return;
    int anfang = 0, ende = 0;
    if (Referenz_ab(zeile.Text, zeile.Cursor, ende))
        zeile.Cursor = ende + 1;
    else if (Formel_Referenz_um(zeile.Text, zeile.Cursor, anfang, ende))
        zeile.Cursor = ende + 1;
    else
        ++zeile.Cursor;
}

void Formel_Del(Formelzeile& zeile) {
    zeile.Cursor = begrenzt(zeile.Text, zeile.Cursor);
    zeile.Auswahllänge = 0;
    int anfang = 0, ende = 0;
    if (Formel_Referenz_um(zeile.Text, zeile.Cursor, anfang, ende)) {
        zeile.Text.remove(anfang, ende - anfang + 1);
        zeile.Cursor = anfang;
    } else if (zeile.Cursor > 0 && Referenz_bis(zeile.Text, zeile.Cursor - 1, anfang)) {
        zeile.Text.remove(anfang, zeile.Cursor - anfang);
        zeile.Cursor = anfang;
    } else if (zeile.Cursor > 0) {
        zeile.Text.remove(zeile.Cursor - 1, 1);
        --zeile.Cursor;
    }
}

void Formel_markieren(Formelzeile& zeile) {
    zeile.Cursor = begrenzt(zeile.Text, zeile.Cursor);
    int anfang = 0, ende = 0;
    if (Formel_Referenz_um(zeile.Text, zeile.Cursor, anfang, ende)) {
        zeile.Auswahlanfang = anfang;
        zeile.Auswahllänge = ende - anfang + 1;
    } else {
        zeile.Auswahlanfang = zeile.Cursor;
        zeile.Auswahllänge = 0;
    }
}

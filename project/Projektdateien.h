#pragma once
// The per-project record files: every table written field by field in its
// declaration order, without gaps, little-endian, text fields as their bytes.
#include <QByteArray>
#include <QString>

#include "common/Programmdaten.h"

namespace Projektdateien {

// One table of the project store: its folder under "c:\kestrix\intern",
// its record length and its first and last record.
struct Tabelle {
    const char* Verzeichnis;
    int Satzlänge;
    int erster;
    int letzter;
};

inline constexpr Tabelle kanaele{"kanaele", 441, 1, 16};
inline constexpr Tabelle scanlist{"scanlist", 53, 1, 120};
inline constexpr Tabelle aufzlist{"aufzlist", 53, 1, 120};
inline constexpr Tabelle messbvar{"messbvar", 144, 1, 20};
inline constexpr Tabelle fkt_cnst{"fkt_cnst", 142, 1, 20};
inline constexpr Tabelle optiscan{"optiscan", 40, 1, 20};
inline constexpr Tabelle vorg_rei{"vorg_rei", 40, 1, 20};
inline constexpr Tabelle Buttons{"Buttons", 2, 1, 10};
inline constexpr Tabelle Dformat{"Dformat", 28, 1, 1};
inline constexpr Tabelle Datlog{"Datlog", 18, 1, 1};
inline constexpr Tabelle Stromaus{"Stromaus", 2, 1, 1};
inline constexpr Tabelle matrix{"matrix", 72, 1, 8};

// The file of a table for the current project name.
QString Pfad(const char* verzeichnis, const QString& projektname);

// A table's records as the file holds them, and back. Reading a file that
// is too short leaves the missing records as they were.
QByteArray schreiben(const Tabelle& t, Programmdaten& d);
void lesen(const Tabelle& t, const QByteArray& inhalt, Programmdaten& d);

// Single records, for the tests of the layouts.
QByteArray Satz(Kanalgruppe& g);
QByteArray Satz(Scanlistensatz& s);
QByteArray Satz(Messblocksatz& m);
QByteArray Satz(Funktionskonstantensatz& f);
QByteArray Satz(Datenformatsatz_t& f);
QByteArray Satz(Datenloggersatz_t& l);
QByteArray Satz(Matrixsatz& m);

}  // namespace Projektdateien

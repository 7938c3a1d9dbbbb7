#pragma once
// The per-project record files: every table written field by field in its
// declaration order, without gaps, little-endian, text fields as their bytes.
#include <QByteArray>
#include <QList>
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

// ---- saving a project as one step -------------------------------------------
// The files of a save are written into a folder of their own beside the table
// folders (".neu") and synced; renaming that folder (".fertig") commits the
// save; only then is each file renamed over the old one. A save cut short
// before the commit leaves the old project, one cut short after it is
// finished at the next start. The table files keep their places and bytes.

struct Satzdatei {
    QString Verzeichnis;  // "kanaele", ..., "SerNo", "matrix"
    QByteArray Inhalt;
};

// Writes 'dateien' as project 'projektname'. With 'projektbezeichnung' the
// current-project file gets that content in the same step, after the project
// is complete. false: 'fehler' names what failed; when 'unverändert' is true
// nothing on disk changed.
bool Projekt_schreiben(const QString& projektname, const QList<Satzdatei>& dateien,
                       const QByteArray* projektbezeichnung, QStringList& fehler, bool& unverändert);

// At start: finishes a committed save, drops an uncommitted one and removes
// the temporary files that a replace cut short left in the table folders.
// false when a committed save could not be finished.
bool Speicherung_nachholen();

}  // namespace Projektdateien

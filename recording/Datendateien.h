#pragma once
// The files of a measurement run, procedures of the data-format page: the
// data-interface files in the root of Ramdisk1, rewritten with every record
// for the other programs of the station, and the logger files that grow on
// Ramdisk2 and are moved every hour into the project's data directory. They
// only work on Daten, so the run calls them without the page.
//
// The data-interface files are written into a temporary file beside them and
// renamed over the old one when the record is closed, so a reader sees the
// previous or the new file, never a half-written one. Logger lines that the
// buffer drive cannot take are held back and written, in order, at the next
// chance (the next record, or the next move).
#include <QString>

class Datendateien {
public:
    // Daten.Projektkurzname: the project name up to its first ".".
    static void Projektkurzname();

    // Output texts into recording order, and Daten.Datenzeile.
    static void Reihenfolge_ändern();
    // Daten.Logzeile, Logzeile_roh, Logzeile_rech, with the calculated values.
    static void Datenlogzeile_erstellen();

    // One record: open every file, write it, close them again.
    static void Meßdatei_öffnen();
    static void Meßdat_speichern();
    static void Meßdatei_schließen();

    // The data and configuration directories of the station and the project.
    static void Meßdatenverz_anleg();

    // Moves one period's logger files from the buffer drive into the project
    // directory (one file, or ".cal" and ".roh" when stored separately).
    static void Datenlogfiles_umkopieren(const QString& Dateiname);
    // Moves one file; false when it stays in the buffer for the next move.
    // A move stopped at any point (the program killed) is completed by the
    // next one without losing or repeating a line.
    static bool Datenlogfile_umkopieren(const QString& Dateiname, const QString& Kopfzeile);
    // For tests: called between the steps of a move (1 renamed, 2 held-back
    // lines added, 3 project file cut back, 4 appended, 5 synced, 6 done).
    static inline void (*Prüfpunkt)(int Schritt) = nullptr;

    // The calculation list shows at least one definition.
    static bool Rechenwerte_definiert();
    // Lines of the recording-order list.
    static int Aufzeichnungszeilen();

    // Project data directory: "c:\kestrix\extern\messdat\" + Projektkurzname + "\".
    static QString Projektdatenverzeichnis();

    // Bytes of logger lines held back for a buffer file (empty when none).
    static QByteArray Rückstand(const QString& Dateiname);
    // Forgets files, held-back lines and fault states (a new program state).
    static void Zustand_zurücksetzen();

    // How long a failed open of a data-interface file is retried before the
    // record goes on without it, and the pause between two tries.
    static constexpr int Öffnungsversuche = 10;
    static constexpr double Wiederholpause_s = 0.5;
};

#pragma once
// The station addresses its files with Windows paths ("c:\kestrix\intern\...").
// Drive letter x: is the folder "x" under the station root; every further
// component is matched without regard to case, as on the original platform.
#include <QString>

namespace Pfade {
// KESTRIX_ROOT, else ~/.local/share/kestrix.
QString Stationswurzel();
// Folder of the executable, or KESTRIX_PROGDIR.
QString Programmverzeichnis();
// Local path for a Windows path. Components that do not exist yet keep the
// spelling given, so the result can be used to create them.
QString lokal(const QString& windowspfad);
// A file of the program directory, its name matched without regard to case.
QString im_Programmverzeichnis(const QString& name);
// The entry of 'ordner' whose name equals 'name' without regard to case
// ('name' itself when there is none).
QString eintrag_suchen(const QString& ordner, const QString& name);
}

enum class Laufwerkstyp { unbestimmt, kein_Stammverzeichnis, wechselbar, fest, Netzwerk, CDROM, RAMDisk };

// Type of a drive root such as "d:\"; tests replace it.
class Laufwerksabfrage {
public:
    virtual ~Laufwerksabfrage() = default;
    virtual Laufwerkstyp Typ(const QString& wurzel);
};
Laufwerksabfrage& laufwerke();
void laufwerke_ersetzen(Laufwerksabfrage* neu);  // nullptr restores the real one

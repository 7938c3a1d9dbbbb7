#pragma once

// The wizard's own small stand-ins for the platform. Nothing here is shared
// with the measuring program; each piece sits behind an interface a test can
// replace.

#include <QByteArray>
#include <QRect>
#include <QString>

class QWidget;

namespace Loadmate {

// Screen geometry is given in twips; the quarter-VGA panel has 15 per pixel.
constexpr int Twips_pro_Pixel = 15;
constexpr int Pixel(int twips) { return twips / Twips_pro_Pixel; }
inline QRect Twips(int links, int oben, int breite, int höhe)
{
    return QRect(Pixel(links), Pixel(oben), Pixel(breite), Pixel(höhe));
}

// Single-byte text of the box and of the old platform.
QString Ansi_nach_Unicode(const QByteArray &ansi);
// Characters without a Windows-1252 code become '?'.
QByteArray Unicode_nach_Ansi(const QString &text);

// The folder the wizard takes its files from and whose measuring program it
// replaces: LOADMATE_DIR, else the folder of the executable.
QString Programmordner();
// A file of that folder.
QString Programmdatei(const QString &name);

// Replaces ziel with a copy of quelle so that ziel is at every moment either
// the old or the complete new file: copy beside it, flush, one rename.
// On failure ziel is untouched and fehler says why (German).
bool Datei_sicher_ersetzen(const QString &quelle, const QString &ziel, QString *fehler);

// Message boxes with an OK button. Tests install a recorder.
class Meldungen {
public:
    virtual ~Meldungen() = default;
    virtual void Meldung(QWidget *eltern, const QString &text) = 0;
};
Meldungen &meldungen();
// Installs a replacement (nullptr: the real message box again); not owned.
void Meldungen_ersetzen(Meldungen *ersatz);

// Waits while window events keep being processed; blocks in the event loop
// until an event arrives or the deadline passes.
class Warten {
public:
    virtual ~Warten() = default;
    virtual void Sekunden(double sekunden) = 0;
};
Warten &warten();
void Warten_ersetzen(Warten *ersatz);

// The real wait, for replacements that only want to watch.
void Ereignisse_verarbeiten_für(double sekunden);
// Processes what is pending now, without blocking.
void Ereignisse_verarbeiten();

} // namespace Loadmate

#pragma once
// The matrix measurement after every scan: calibration lines, voltages,
// temperatures and the lines of the matrix files. Everything here works on
// Daten and plain texts, so it can be used without the main window; the
// frames to the box are sent by Hauptfenster::Keith2000_Matrix.
#include <QByteArray>
#include <QString>

#include <optional>

namespace Matrixmessung {

constexpr int Höchstpunkte = 64;

struct Koeffizienten {
    double a = 0, b = 0, c = 0;  // T = a·U² + b·U + c
};

// Points 1..64; a point without coefficients gets no temperature.
struct Kalibrierung {
    std::optional<Koeffizienten> Punkt[Höchstpunkte + 1];
};

// Voltages of points 1..64; a point whose reading did not arrive has none.
struct Spannungen {
    std::optional<double> Punkt[Höchstpunkte + 1];
};

// One calibration line: three characters of label, a, "x2", one character,
// b, "x", one character, c. Nothing when "x2" or the "x" after it is missing
// or a coefficient is no number.
std::optional<Koeffizienten> Kalibrierzeile_lesen(const QString& zeile);
// The lines of a calibration file in point order (Windows-1252, CR LF or LF).
// An unreadable line leaves its own point without coefficients and no other.
Kalibrierung Kalibrierung_lesen(const QByteArray& datei);
// The calibration file of matrix 1..8, copied from the template first when
// it is missing; no coefficients at all when there is neither.
Kalibrierung Kalibrierdatei_lesen(int matrix);

// Whether any matrix is switched on: then the matrices reconfigure the meter
// after the scan.
bool eine_eingeschaltet();

// Points measured for a Punktzahl: Punktzahl + 1, at least 2, at most 64.
int Punktanzahl(int Punktzahl);
// Letter "A".."H" of matrix 1..8.
QString Buchstabe(int matrix);
// Relay frame of a cross point: input relay of module m channel r, sense
// relay of module m channel c.
QString Kreuzpunktframe(int m, int r, int c);

// The fetched text of n readings separated by commas, in point order. A
// reading that is missing, no number, or the overflow mark gives none.
Spannungen Spannungen_aufteilen(const QString& Werte, int n);

// "00.0000" between 0 and 100 °C, else "-1" (also without voltage or coefficients).
QString Temperaturtext(const std::optional<double>& U, const std::optional<Koeffizienten>& k);
// "0.000000" between 0.01 and 1.0 V, else "0" (also without voltage).
QString Spannungstext(const std::optional<double>& U);

// First scan-list entry whose trimmed signal name equals the trimmed
// 'Signal' (up to the first empty name); 0 when there is none.
int Signal_suchen(const QString& Signal);

struct Zeilen {
    QString Temperatur;  // RAM-disk "_c" line
    QString Spannung;    // RAM-disk "_r" line
    QString Kopf;        // header of the data files
    QString Daten_c;     // data line of the "_c" file
    QString Daten_r;     // data line of the "_r" file
};
// The lines of matrix m for its n points, from Daten (Matrixtabelle,
// Messwerttexte, Trennzeichen, Logtrennzeichen, Datenloggersatz).
Zeilen Zeilen_bilden(int matrix, int n, const Spannungen& U, const Kalibrierung& kal);

// Windows path of the "_r" or "_c" data file ('art' "r" or "c") beside the
// run's logger files; empty when no name can be formed.
QString Datendatei(int matrix, const QString& Dateiname, const QString& art);
// Replaces the two RAM-disk files and appends to the data files that the
// matrix asks for (header first when a file is new).
void Dateien_schreiben(int matrix, const Zeilen& z, const QString& Dateiname);

}  // namespace Matrixmessung

#pragma once
// Reading the station's data files: the data-interface ring "Daten&.txt"
// (newest line first), the logger files (".txt", ".roh", ".cal", by hour, day
// or month) and the matrix data files. No widgets here: the window, the tests
// and the benchmark use the same code.
//
// A line is a row of fields, each ended by the separator (TAB, ";" or ":").
// Fields are told apart by their look: a date ("07 12 26", "07 Dez"), a time
// ("14:30:05", "7.12.26 14:30:05"), the placeholder "--", a number with
// decimal comma or point, a gap ("NaN", "9E99", "+9.9E37", "gelöscht!") or
// text (signal names, units, header columns).
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <string_view>
#include <vector>

namespace dadavu {

enum class Feldart : unsigned char { Leer, Datum, Zeit, Strich, Zahl, Lücke, Text };

struct Feld {
    Feldart art = Feldart::Leer;
    std::string_view text;
    double zahl = 0;
    int tag = 0, monat = 0, jahr = -1;  // date part; monat 0 = none, jahr -1 = none
    int sekunde = -1;                   // time of day in seconds; -1 = none
};

// The separator of a line: its last character when that is one, else the
// first TAB, ";" or ":" in that order.
char Trennzeichen_der_Zeile(std::string_view zeile);
// Splits a line (without its line end) into classified fields. With ":" as
// separator a time "hh:mm:ss" spans three pieces; they are joined again.
void Felder_zerlegen(std::string_view zeile, char trenner, std::vector<Feld>& felder);
// Windows-1252 bytes to text.
QString Text1252(std::string_view bytes);

// Which signal to read: by name when the file names its columns (header line
// or names in the line), else by position among the values (1 = first).
struct Signalwahl {
    QString name;
    int index = 1;
};

// One signal: times in ms since the epoch (or record numbers when the file
// holds no time), values; NaN marks a gap.
struct Reihe {
    QString name;
    QString einheit;
    std::vector<double> t;
    std::vector<double> y;
};

struct Dateiinhalt {
    QStringList namen;      // per value position, as the newest line or header names them ("" = unnamed)
    QStringList einheiten;  // likewise
    std::vector<Reihe> reihen;  // one per Signalwahl, oldest point first
    int verworfen = 0;          // lines dropped: cut off by a power failure, unreadable
    bool mit_zeit = true;       // false: t holds record numbers
};

// "Daten&.txt": up to 99 lines, newest first. 'dateidatum' (the file's date)
// completes lines without a date or without a year.
Dateiinhalt Datenschnittstelle_lesen(const QByteArray& bytes, const std::vector<Signalwahl>& wahl,
                                     const QDate& dateidatum);
// A logger or matrix data file. 'startdatum' is the date its name gives
// (invalid when none); 'dateidatum' the date of its last change.
Dateiinhalt Loggerdatei_lesen(const QByteArray& bytes, const std::vector<Signalwahl>& wahl,
                              const QDate& startdatum, const QDate& dateidatum, const QString& dateiname = {});
// Date given by a logger file name: "yymmddhh.txt" (hour), "yyMMMdd.txt"
// (day, "26Dez07"), "yyyyMMM.txt" (month, first day); the same names with
// ".roh" / ".cal" and with a matrix suffix "_MatrixA_c.txt". Invalid otherwise.
QDate Datum_aus_Dateiname(const QString& name);
// Milliseconds since the epoch of a local date and second of day.
double Zeitpunkt_ms(const QDate& datum, int sekunde);

}  // namespace dadavu

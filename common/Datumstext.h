#pragma once
// Date and time texts from the patterns of the station ("dd mmm yy",
// "hh:mm:ss", "yymmdd", ...). Month abbreviations are always the German ones,
// whatever the machine's locale, because file names and data lines depend
// on them.
#include <QDate>
#include <QString>
#include <QTime>

// "Jan" "Feb" "Mrz" "Apr" "Mai" "Jun" "Jul" "Aug" "Sep" "Okt" "Nov" "Dez";
// empty outside 1..12.
QString Monatskürzel(int monat);
// Date pattern: d, dd (day), m, mm (month), mmm (month abbreviation),
// yy, yyyy (year); every other character is copied.
QString Datum_formatieren(const QDate& datum, const QString& muster);
// Time pattern: h, hh, m, mm (minutes), s, ss; every other character is copied.
QString Zeit_formatieren(const QTime& zeit, const QString& muster);

#pragma once
// Every text file and fixed-width field of the station is single-byte
// Windows-1252; in memory texts are Unicode. These two functions are the
// only crossing between the two.
#include <QByteArray>
#include <QString>

namespace Text1252 {
// Bytes without a character of their own (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the control point of the same number, so every byte survives a
// round trip.
QString dekodieren(const QByteArray& bytes);
// Characters outside the code page become '?'.
QByteArray kodieren(const QString& text);
char zeichen(QChar c);
}

#pragma once
// The scan list, the recording order and a dragged list as short texts, so
// tests compare what the pages hold with lines written out by hand.
#include <QString>
#include <QStringList>

#include "calc/Listenzeile.h"
#include "common/Programmdaten.h"

namespace Tabellentexte {

inline QString Klemmenname(int g, int t) { return QString(QChar('A' + g - 1)) + QString(" %1").arg(t, 2, 10, QChar('0')); }

// "V1 Ua A 01" per scan position (1..) up to the end record; the end record
// must have empty names.
inline QStringList Scantabelle() {
    QStringList s;
    for (int i = 1; i <= 120; ++i) {
        const Scanlistensatz& r = Daten.Scanlistentabelle[i];
        if (r.Signalname.text().isEmpty())
            break;
        s << r.Messblockname.text() + ' ' + r.Signalname.text() + ' ' + Klemmenname(r.Gruppennummer, r.Klemmennummer);
    }
    return s;
}

// "V1 Ua A 01" per column (0..); a placeholder reads "gelöscht! gelöscht! -".
inline QStringList Aufzeichnungstabelle() {
    QStringList s;
    for (int j = 0; j <= 120; ++j) {
        const Scanlistensatz& r = Daten.Aufzeichnungstabelle[j];
        if (r.Signalname.text().isEmpty())
            break;
        const QString klemme = r.Gruppennummer == 0 && r.Klemmennummer == 0
                                   ? QString("-")
                                   : Klemmenname(r.Gruppennummer, r.Klemmennummer);
        s << r.Messblockname.text() + ' ' + r.Signalname.text() + ' ' + klemme;
    }
    return s;
}

// "V1 Ua" per list line.
inline QStringList Zeilen(const Ziehliste* liste) {
    QStringList s;
    for (const QString& z : liste->Zeilen())
        s << Listenzeile::Block(z) + ' ' + Listenzeile::Signal(z);
    return s;
}

}  // namespace Tabellentexte

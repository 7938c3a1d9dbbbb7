#include "common/Kestiini.h"

#include <QFile>
#include <QSaveFile>

#include "platform/Pfade.h"
#include "platform/Text1252.h"

namespace {
bool lesen(QByteArray& inhalt) {
    QFile datei(Kestiinipfad());
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    inhalt = datei.readAll();
    return datei.error() == QFile::NoError;
}
}

QString Kestiinipfad() { return Pfade::im_Programmverzeichnis("Kesti.ini"); }

bool Kestiini_lesbar() {
    QByteArray inhalt;
    return lesen(inhalt);
}

QString Kestiini_abfragen(const QString& Schlüssel, const QString& Breite) {
    QByteArray inhalt;
    if (!lesen(inhalt))
        return {};
    const qsizetype stelle = inhalt.indexOf(Text1252::kodieren(Schlüssel));
    if (stelle < 0)
        return {};
    return Text1252::dekodieren(inhalt.mid(stelle + Schlüssel.size() + 1, Breite.toInt()));
}

bool Kestiini_schreiben(const QString& Schlüssel, const QString& Breite, const QString& Wert) {
    QByteArray inhalt;
    if (!lesen(inhalt))
        return false;
    const qsizetype stelle = inhalt.indexOf(Text1252::kodieren(Schlüssel));
    // Without the key the in-place write would land at the start of the file.
    if (stelle < 0)
        return false;
    const qsizetype anfang = stelle + Schlüssel.size() + 1;
    const QByteArray neu = Text1252::kodieren(Wert.left(Breite.toInt()));
    const qsizetype anzahl = std::min<qsizetype>(neu.size(), inhalt.size() - anfang);
    if (anzahl > 0)
        inhalt.replace(anfang, anzahl, neu.left(anzahl));
    // Written beside and renamed, so a power failure leaves the old or the new file.
    QSaveFile datei(Kestiinipfad());
    if (!datei.open(QIODevice::WriteOnly))
        return false;
    datei.write(inhalt);
    return datei.commit();
}

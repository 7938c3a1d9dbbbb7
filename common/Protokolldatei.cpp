#include "common/Protokolldatei.h"

#include <QFile>

#include "platform/Pfade.h"
#include "platform/Text1252.h"
#include "platform/Uhr.h"

QString Protokolldateipfad() { return Pfade::im_Programmverzeichnis("Protokolldat.txt"); }

void Protokolldatei_schreiben(const QString& Meldung) {
    const QDateTime jetzt = uhr().jetzt();
    const QString zeile = jetzt.toString("dd.MM.yyyy") + "  " + jetzt.toString("hh:mm:ss") + "  " + Meldung + "\r\n";
    // Opened and closed for every line, so the file is complete after each one;
    // a log that cannot be written is simply not written.
    QFile datei(Protokolldateipfad());
    if (datei.open(QIODevice::WriteOnly | QIODevice::Append))
        datei.write(Text1252::kodieren(zeile));
}

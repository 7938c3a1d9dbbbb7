#include "common/Protokolldatei.h"

#include <QFile>

#include <cstdio>

#include "platform/Pfade.h"
#include "platform/Text1252.h"
#include "platform/Uhr.h"

namespace {
qint64 grenze = Protokolldatei_Grenze;
}

QString Protokolldateipfad() { return Pfade::im_Programmverzeichnis("Protokolldat.txt"); }
QString Protokolldatei_alt_pfad() { return Pfade::im_Programmverzeichnis("Protokolldat_alt.txt"); }

void Protokolldatei_Grenze_setzen(qint64 Bytes) { grenze = Bytes > 0 ? Bytes : Protokolldatei_Grenze; }

void Protokolldatei_schreiben(const QString& Meldung) {
    const QDateTime jetzt = uhr().jetzt();
    const QString zeile = jetzt.toString("dd.MM.yyyy") + "  " + jetzt.toString("hh:mm:ss") + "  " + Meldung + "\r\n";
    const QByteArray bytes = Text1252::kodieren(zeile);
    // Opened and closed for every line, so the file is complete after each one;
    // a log that cannot be written is simply not written.
    QFile datei(Protokolldateipfad());
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    if (datei.size() > 0 && datei.size() + bytes.size() > grenze) {
        datei.close();
        // rename() replaces the old file in one step; a log that cannot be
        // put aside goes on growing rather than losing its lines.
        std::rename(QFile::encodeName(Protokolldateipfad()).constData(),
                    QFile::encodeName(Protokolldatei_alt_pfad()).constData());
        if (!datei.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
    }
    datei.write(bytes);
}

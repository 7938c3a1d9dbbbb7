// What the main window does while no run is active, and the configuration list.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "common/Programmdaten.h"
#include "common/Protokolldatei.h"
#include "platform/Pfade.h"
#include "platform/Programmende.h"
#include "platform/Programmstarter.h"
#include "platform/Text1252.h"
#include "run/Hauptfenster.h"

void Hauptfenster::Leerlaufprüfungen() {
    Shape2->hide();
    const QString wurzel = Daten.Ramdisk1.roh();
    const QStringList einträge = QDir(Pfade::lokal(wurzel)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString& eintrag : einträge) {
        if (eintrag == "UPDATE.EXE") {
            // A file whose start failed is tried again once it has been replaced.
            const QFileInfo datei(Pfade::lokal(wurzel + eintrag));
            const QString stand = QString::number(datei.size()) + ' ' +
                                  QString::number(datei.lastModified().toMSecsSinceEpoch());
            // (kept as a property of the window: the size and time of the file whose start failed)
            if (stand == property("Update_gescheitert").toString())
                continue;
            Delay_events(1);
            if (programmstarter().starten(wurzel + "update.exe")) {
                programmende().sofort_beenden(0);
                return;
            }
            // Ending without the update running would leave the station without its program.
            Protokolldatei_schreiben("UPDATE.EXE konnte nicht gestartet werden");
            setProperty("Update_gescheitert", stand);
        } else if (eintrag == "ende.txt" || eintrag == "Ende.txt") {
            QFile::remove(Pfade::lokal(wurzel + "Ende.txt"));
            programmende().sofort_beenden(0);
            return;
        }
    }
}

void Hauptfenster::Messstellenliste_erzeugen() {
    QString text = "Kanal\tSignalart\tSignalbezeichnung\tMessblockbezeichnung\r\n";
    const QString nicht_belegt = " nicht belegt   ";
    for (int g = 1; g <= 16; ++g) {
        text += "\r\n";
        for (int t = 1; t <= 8; ++t) {
            const Kanalgruppe& gruppe = Daten.Kanaltabelle[g];
            const QString signal = gruppe.Signalbezeichnung[t].text().trimmed().isEmpty()
                                       ? nicht_belegt
                                       : gruppe.Signalbezeichnung[t].roh();
            const QString block = gruppe.Messblockzuordnung[t].text().trimmed();
            text += QChar('A' + g - 1) + QString(" ") + QString::number(t) + '\t' + gruppe.Art[t].roh() + "   \t" +
                    signal + '\t' + (block.isEmpty() ? nicht_belegt : block) + "\r\n";
        }
    }
    text += "\r\n\r\nRechenformeln:\r\n\r\n";
    for (int k = 0; k <= 200 && !Daten.Rechentabelle[k].Name.trimmed().isEmpty(); ++k) {
        const Rechensatz& satz = Daten.Rechentabelle[k];
        text += satz.Name.trimmed().leftJustified(16, ' ') + " = " + satz.Formel + "\r\n";
    }
    // The run does not depend on the list: a drive that cannot take it is only logged.
    QSaveFile datei(Pfade::lokal(Daten.Ramdisk1.roh() + "Konfigurationsliste.txt"));
    if (!datei.open(QIODevice::WriteOnly) || datei.write(Text1252::kodieren(text)) < 0 || !datei.commit())
        Protokolldatei_schreiben("Konfigurationsliste.txt konnte nicht geschrieben werden");
}

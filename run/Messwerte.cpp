// Closing the relays of a scan entry, triggering the meter and fetching its values.
#include <QDate>
#include <QTime>

#include "common/Programmdaten.h"
#include "common/Protokolldatei.h"
#include "common/Steuerelemente.h"
#include "platform/Uhr.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"
#include "run/Hauptfenster.h"

namespace {
const QString Überlauf = "+9.9E37";
}

QString Hauptfenster::Relaisframe(int L, int C, bool vierleiter) {
    const auto ziffern = [](int a, int b, int c, int d) {
        return QString::number(a) + QString::number(b) + QString::number(c) + QString::number(d) + "2";
    };
    const bool ungerade = L >= 1 && L <= 15 && L % 2 == 1;
    if (vierleiter)
        return ungerade ? ziffern((L + 1) / 2, C, (L + 1) / 2, C) : "00002";
    if (ungerade)
        return ziffern((L + 1) / 2, C, 0, 0);
    if (L >= 2 && L <= 16 && L % 2 == 0)
        return ziffern(0, 0, L / 2, C);
    return "00002";
}

void Hauptfenster::Relais_schließen(int Zeile) {
    const Scanlistensatz& eintrag = Daten.Scanlistentabelle[Zeile];
    const QString block = eintrag.Messblockname.text().trimmed().left(16);
    for (int b = 1; b <= 20; ++b) {
        const Messblocksatz& m = Daten.Messblocktabelle[b];
        if (m.Messblockname.text().trimmed().left(16) != block)
            continue;
        const bool vierleiter = m.Funktionspräfix.text().trimmed() == ":FRES" || m.Funktionsnummer == 8;
        const int C = eintrag.Klemmennummer;
        // Every digit lies between 0 and 8; a channel outside that closes nothing.
        if (C < 1 || C > 8)
            TCPIPBefehl_mit_Antwort("00002");
        else
            TCPIPBefehl_mit_Antwort(Relaisframe(eintrag.Gruppennummer, C, vierleiter));
        return;
    }
}

void Hauptfenster::Keith2000_Einzel_MehrfachMsg(const QString& Messart, int Messanzahlwert, int Gruppengröße,
                                                int Gruppenzähler, int Zeile) {
    QString text;
    const auto befehl = [&text](const QString& b) { text += b + '\r'; };
    if (Messart == "Einzelmessung") {
        befehl(":SAMP:COUN 1");
        befehl(":TRIG:COUN 1");
        befehl(":INIT");
    } else if (Messart == "Samplemessung") {
        befehl(":TRAC:POIN " + QString::number(Messanzahlwert));
        befehl(":TRAC:FEED:CONT NEXT");
        befehl(":SAMP:COUN " + QString::number(Messanzahlwert));
        befehl(":TRIG:COUN 1");
        befehl(":INIT");
    } else if (Messart == "Mehrfachmessung") {
        if (Gruppenzähler == 1) {
            befehl(":TRAC:POIN " + QString::number(Gruppengröße));
            befehl(":TRAC:FEED:CONT NEXT");
            befehl(":SAMP:COUN 1");
            befehl(":TRIG:COUN " + QString::number(Gruppengröße));
            befehl(":INIT");
        }
    } else {
        return;
    }
    if (!text.isEmpty()) {
        TCPIPBefehl_mit_Antwort("00043" + text);
        Delay_events(0.1);
    }
    Messzeit_nehmen(Zeile, true);
}

// The time stamps of an entry belong to the moment just before its trigger.
// An entry read from a box variable has no trigger but still needs them, or
// its data line would lack date and time and the hour change would go unseen.
void Hauptfenster::Messzeit_nehmen(int Zeile, bool auslösen) {
    const auto [datum, zeit] = uhr().Ortszeit();
    QString wertzeit, logzeit, zeilenanfang;
    Datenformat::MW_Zeitstring(wertzeit, zeit);
    Datenlogger::LoggZeitDatString(logzeit, datum, zeit);
    if (Zeile == 1)
        Datenformat::ZeilenDatstring(zeilenanfang, datum, zeit);
    if (Zeile < 0 || Zeile > 120)
        return;
    Ausgabesatz& satz = Daten.Messwerttexte[Zeile];
    satz.Logzeit = logzeit;
    if (auslösen)
        TCPIPBefehl_mit_Antwort("00063");
    satz.Zeilenanfang = zeilenanfang;
    satz.Messwertzeit = wertzeit;
}

void Hauptfenster::Keith2000_MeßwHolen(int Anzahl, QString& Werte) {
    if (Anzahl < 1)
        return;
    vor_Abruf();
    if (Anzahl > 1) {
        Empfangspuffer.clear();
        Bytezähler = 0;
        TCPIPBefehl_mit_Antwort("00083");
        int abfragen = 0;
        while (Bytezähler < 10 && abfragen < 11) {
            Delay_events(0.1);
            ++abfragen;
        }
        bool zeitüberschreitung = Bytezähler < 10;
        qint64 erwartet = 0;
        if (!zeitüberschreitung) {
            bool zahl = false;
            const qint64 kopf = Empfangspuffer.left(10).toLongLong(&zahl);
            erwartet = zahl ? kopf + 9 : 0;
            abfragen = 0;
        } else {
            Protokolldatei_schreiben("Timeout bei Warten auf MesswertHeader: " + QString::number(Bytezähler) + " von " +
                                     "10");
        }
        if (erwartet > 9) {
            // A complete reply is taken at once; a longer one waits out the polls.
            while (Bytezähler != erwartet && abfragen < 11) {
                Delay_events(0.1);
                ++abfragen;
            }
            zeitüberschreitung = zeitüberschreitung || Bytezähler != erwartet;
            Empfangspuffer = Empfangspuffer.mid(10);
        }
        if (zeitüberschreitung) {
            Protokolldatei_schreiben("Timeout bei Messwertholen. Messwerte nicht vollständig angekommen: " +
                                     QString::number(Empfangspuffer.size()) + " von " + QString::number(erwartet - 9));
            Empfangspuffer = QString(Überlauf + ",").repeated(Anzahl);
        }
        Werte = Empfangspuffer;
        Text_zeigen(Text1, Werte);
        TCPIPBefehl_mit_Antwort("00053");
        return;
    }
    Bytezähler = 0;
    Empfangspuffer.clear();
    TCPIPBefehl_mit_Antwort("00073");
    // 15 bytes are complete at once, and so is the meter's 7-byte overflow
    // value. Any other 7 may be the start of 15: a count first seen at a poll
    // is taken only at the poll after it.
    int abfragen = 0;
    bool gesehen = false;
    while (abfragen < 11 && Bytezähler < 15) {
        Delay_events(0.1);
        ++abfragen;
        if (Bytezähler == 7 && Empfangspuffer == Überlauf)
            break;
        if (Bytezähler >= 7 && Bytezähler < 15) {
            if (gesehen)
                break;
            gesehen = true;
        }
    }
    QString wert;
    if (Bytezähler < 7) {
        Protokolldatei_schreiben("Timeout bei Einzelwert holen: " + QString::number(Empfangspuffer.size()) +
                                 " von 7 bzw. 15");
        wert = Überlauf;
    } else if ((Bytezähler >= 8 && Bytezähler <= 14) || Bytezähler > 15) {
        Protokolldatei_schreiben("Bytesanzahl falsch bei Einzelwert holen: " + QString::number(Bytezähler) +
                                 " von 7 bzw. 15");
        wert = Überlauf;
    } else {
        wert = Empfangspuffer;
    }
    Werte = wert;
    Text_zeigen(Text1, Werte);
}

// The measurement run: start, pause, continue and end, the scan loop and the
// automatic restart after a network time-out.
#include <QDir>
#include <QHash>

#include <cmath>

#include "calc/CalcuReihenfolge.h"
#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Protokolldatei.h"
#include "common/Steuerelemente.h"
#include "common/Zahltext.h"
#include "platform/Pfade.h"
#include "platform/Programmende.h"
#include "platform/Twips.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "points/MBForm1.h"
#include "project/Hinweisform.h"
#include "project/MDIForm1.h"
#include "project/Projekt.h"
#include "recording/Datenformat.h"
#include "run/Hauptfenster.h"
#include "run/Matrixmessung.h"

namespace {
bool Stoppdatei_da(const QString& wurzel) {
    for (const QString& e : QDir(Pfade::lokal(wurzel)).entryList(QDir::Files))
        if (e == "ende.txt" || e == "Ende.txt")
            return true;
    return false;
}

float Uhr_single() { return static_cast<float>(uhr().Sekunden_seit_Mitternacht()); }
}

// ---- buttons and timers ------------------------------------------------------

void Hauptfenster::messen_Click() {
    const QString zustand = messen->text();
    if (zustand == "Messung starten") {
        // A run still unwinding after a time-out finishes first; the restart timer comes back.
        if (laufende_Läufe_ > 0)
            return;
        messen->setText("Messung anhalten");
        messen->setEnabled(false);
        programmieren->hide();
        Ende->hide();
        Command1->hide();
        Stromausfall_speichern(1);
        updatetimer->stop();
        if (Fenster.CalcuReihenfolge && !Fenster.CalcuReihenfolge->CalcuVar_vorbelegen())
            return;  // a definition error ended the program
        Messstellenliste_erzeugen();
        const i16 typ = Daten.Messblocktabelle[1].Gerätetyp;
        if (typ == 1) {
            if (Restarttimer->isActive()) {
                Protokolldatei_schreiben("automatischer Neustart der Messung");
                Restarttimer->stop();
            } else {
                Protokolldatei_schreiben("Messung gestartet");
            }
            MesswertTabelle_zeigen();
            if (Fenster.Hinweisform)
                Fenster.Hinweisform->hide();
            qint16 ergebnis = 0;
            Keith2000_messen(ergebnis);
            updatetimer->start();
            if (ergebnis == 3) {
                Protokolldatei_schreiben("Messung abgebrochen");
                Neustart_vorbereiten();
            }
        } else {
            // No run procedure for this meter: back to the idle look, and no
            // power-failure record that would restart nothing at the next start.
            if (typ == 2)
                Display_zeigen();
            Display_ausblenden();
            messen->setText("Messung starten");
            messen->setEnabled(true);
            programmieren->show();
            Ende->show();
            Stromausfall_speichern(0);
            updatetimer->start();
        }
    } else if (zustand == "Messung anhalten") {
        setCursor(Qt::WaitCursor);
        Protokolldatei_schreiben("Messung angehalten");
        messen->setText("Messung beenden");
        Command1->show();
        List1->resize(List1->width(), Twips::px(2010));
        Frame1->resize(Frame1->width(), Twips::px(2375));
    } else if (zustand == "Messung beenden") {
        Protokolldatei_schreiben("Messung beendet");
        messen->setText("Messung starten");
        Messunganhalttimer->stop();
        messen->setEnabled(false);
        programmieren->show();
        Ende->show();
        Display_ausblenden();
        Messwerttabelle_ausblenden();
        Command1->hide();
        updatetimer->start();
        // A run that stopped before its first scan (no multimeter) has already
        // been through its end sequence: nothing else would enable the button.
        if (laufende_Läufe_ == 0)
            messen->setEnabled(true);
    }
}

void Hauptfenster::Command1_Click() {
    Protokolldatei_schreiben("Messung fortgesetzt");
    Command1->hide();
    messen->setText("Messung anhalten");
    const bool extern_ = Daten.MDeviceLocation == "ext";
    List1->resize(List1->width(), Twips::px(extern_ ? 2010 : 2795));
    Frame1->resize(Frame1->width(), Twips::px(extern_ ? 2375 : 3031));
    // A run that stopped before its first scan (no multimeter) leaves only its
    // paused look behind: going on means starting it again, not showing a
    // running look with nothing measuring.
    if (laufende_Läufe_ == 0) {
        messen->setText("Messung starten");
        messen->setEnabled(true);
        messen_drücken();
    }
}

void Hauptfenster::programmieren_Click() {
    if (Fenster.Projekt) {
        Fenster.Projekt->show();
        Fenster.Projekt->raise();
    }
}

void Hauptfenster::Messunganhalttimer_Timer() { TCPIPBefehl_mit_Antwort("00002"); }

void Hauptfenster::Restarttimer_Timer() {
    // Only one run at a time: while the old one unwinds, look again shortly,
    // so the new run follows the old one's end instead of a further 2 s.
    if (laufende_Läufe_ > 0) {
        Restarttimer->setInterval(100);
        return;
    }
    messen_drücken();
}

void Hauptfenster::Neustart_vorbereiten() {
    Winsock2_zerstören();
    messen->setText("Messung starten");
    messen->setEnabled(true);
    programmieren->show();
    programmieren->setEnabled(true);
    Ende->show();
    Command1->hide();
    updatetimer->start();
    Messwerttabelle_ausblenden();
    Ereignisse_verarbeiten();
    Restarttimer->setInterval(2000);
    // While the restart is pending the run counts as in progress: a power
    // failure in these 2 s must still bring it back at the next start.
    if (Fenster.Hinweisform && !Fenster.Hinweisform->isHidden())
        Restarttimer->start();
    else
        Stromausfall_speichern(0);
}

// ---- the run ------------------------------------------------------------------

void Hauptfenster::RefTempMessnötig(qint16& Nötig) {
    if (Zahl_lesen(Daten.RefTempMeasurement).value_or(0) < 1) {
        Nötig = 0;
        return;
    }
    const i16 typ = Daten.Messblocktabelle[1].Gerätetyp;
    for (int i = 1; i <= 120 && !Daten.Scanlistentabelle[i].Signalname.text().trimmed().isEmpty(); ++i) {
        QString init, format;
        double faktor = 1;
        i16 anzahl = 1, funktion = 0;
        MBForm1::Initialisierungsstring_erstellen(Links16(Daten.Scanlistentabelle[i].Messblockname.text().trimmed()),
                                                  init, format, faktor, anzahl, 0, funktion);
        if ((typ == 1 && init.contains(":TEMP:TC:RJUN:SIM")) || (typ == 6 && init.contains(":TEMP:RJUN1:SIM")))
            Nötig = 1;
    }
}

void Hauptfenster::AnzahlGleicherMessungenZählen(qint16& Anzahl, int Zeile) {
    const QString bezug = Links16(Daten.Scanlistentabelle[Zeile].Messblockname.text().trimmed());
    Anzahl = 0;
    for (int i = Zeile; i <= 120; ++i) {
        if (Links16(Daten.Scanlistentabelle[i].Messblockname.text().trimmed()) != bezug)
            break;
        ++Anzahl;
    }
}

void Hauptfenster::Scanvariable_nullen() {
    for (int i = 1; i <= 120; ++i)
        Daten.Messwerttexte[i] = Ausgabesatz{};
}

void Hauptfenster::Oberflächevobereit() { messen->setEnabled(true); }

void Hauptfenster::Oberflächewiederherst() {
    messen->setEnabled(true);
    if (Fenster.MDIForm1)
        Fenster.MDIForm1->setEnabled(true);
    Label21->clear();
}

void Hauptfenster::anhalten() {
    if (messen->text() != "Messung beenden")
        return;
    if (Fenster.MDIForm1)
        Fenster.MDIForm1->setEnabled(true);
    unsetCursor();
    Daten.Pausenmerker = 1;
    TCPIPBefehl_mit_Antwort("00002");
    Messunganhalttimer->start();
    while (!Command1->isHidden()) {
        Ereignisse_abwarten(1000);
        unsetCursor();
    }
    Messunganhalttimer->stop();
    if (Daten.MDeviceLocation != "ext" && Fenster.MDIForm1)
        Fenster.MDIForm1->setEnabled(true);
}

void Hauptfenster::Scanintervall_einhalten(float Scanstart) {
    if (Daten.Datenformatsatz.max == 0) {
        float jetzt = Uhr_single();
        if (jetzt < Scanstart)
            jetzt += 86400;
        double warten = Daten.Aufzeichnungsintervall - (jetzt - Scanstart);
        if (warten < 0)
            warten = 0;
        Scan_Delay(warten);
    }
    Label2[4]->hide();
    Label13->hide();
    Label15->hide();
}

void Hauptfenster::Scan_Delay(double Sekunden) {
    const float start = Uhr_single();
    float jetzt = start;
    Messunganhalttimer->start();
    for (;;) {
        if (!(static_cast<float>(start + Sekunden - 0.01) > jetzt)) {
            Messunganhalttimer->stop();
            return;
        }
        const double rest_ms = (start + Sekunden - 0.01 - jetzt) * 1000;
        Ereignisse_abwarten(static_cast<int>(std::clamp(rest_ms, 1.0, 1000.0)));
        jetzt = Uhr_single();
        if (jetzt < start)
            jetzt += 86400;
        Text_zeigen(Label6, QString::number(jetzt, 'f', 2));
        const int übrig = static_cast<int>(Sekunden - (jetzt - start));
        Label15->show();
        Label13->setText(QString::number(übrig));
        Label15->setText(QString::number(übrig));
        if (messen->text() == "Messung beenden" || messen->text() == "Messung starten") {
            Messunganhalttimer->stop();
            return;
        }
    }
}

void Hauptfenster::Keith2000_messen(qint16& Laufergebnis) {
    struct Laufzähler {
        int& n;
        explicit Laufzähler(int& z) : n(z) { ++n; }
        ~Laufzähler() { --n; }
    } laufend(laufende_Läufe_);

    programmieren->setEnabled(false);
    if (Fenster.Projekt)
        Fenster.Projekt->Q7AdresseFinden();
    const Verbindung verbindung = Verbindung_öffnen();
    if (verbindung != Verbindung::hergestellt) {
        const QString text = verbindung == Verbindung::keine_Boxadresse ? "Kein Messgerät im Netzwerk gefunden!"
                                                                        : "Messgerät nicht mehr verfügbar!";
        if (Fenster.Hinweisform) {
            Fenster.Hinweisform->zeigen(nullptr, text, {}, "Ok");
            Delay_events(2);
            Fenster.Hinweisform->Command3->hide();
        }
        Laufergebnis = 3;
        return;
    }
    TCPIPBefehl_mit_Antwort("00051");
    // A time-out here has already torn the run down and shows the idle look,
    // whose ticks count nothing: reviving the link would wait for "00013" forever.
    if (Daten.Timeoutzähler != 10)
        Daten.Timeoutzähler = 0;
    TCPIPBefehl_mit_Antwort("00013");
    qint16 refnötig = 0;
    RefTempMessnötig(refnötig);
    Scanvariable_nullen();
    Oberflächevobereit();

    int scans = 0;
    bool stunde_gewechselt = false;
    bool stopp = false;
    TCPIPBefehl_mit_Antwort("00023");
    if (Letztantwort.trimmed() != "1" || Daten.Timeoutzähler == 10) {
        messen_drücken();  // the paused look
    } else if (Daten.Scanlistentabelle[1].Signalname.text().trimmed().isEmpty()) {
        messen_drücken();
        if (Fenster.Hinweisform)
            Fenster.Hinweisform->zeigen(this, "Sie müssen mind. 1 Signal im Fenster \"Kanalbelegung\" eintragen!", {},
                                        "Ok");
        messen_drücken();  // ends the run: "Messung beendet"
    } else {
        bool erster_scan = true;
        Datenformat::Dateinamen_erzeug();
        QString laufname = Daten.Logdateiname;
        QString stundenstempel_vorher;
        QString initstring;
        qint16 kaltstelle = 0;
        bool verbindung_tot = false;

        while (messen->text() != "Messung starten" && !stopp && !verbindung_tot) {
            int i = 1;
            const float scanstart = Uhr_single();
            Datenformat::Dateinamen_erzeug();
            if (refnötig == 1) {
                double rest = Daten.RefTempRest;
                Keith2000_RefTemp(kaltstelle, rest);
                Daten.RefTempRest = rest;
                Daten.Referenztemperatur = kaltstelle + rest;
            } else {
                Daten.RefTempRest = 0;
            }

            // Each block's settings are built once a scan (the reference
            // temperature they carry is measured per scan).
            struct Blockeinstellung {
                QString init, format;
                double faktor = 1;
                i16 anzahl = 1, funktion = 0;
            };
            QHash<QString, Blockeinstellung> einstellungen;
            // The grouping starts afresh in every scan; the last configuration
            // is remembered, so an unchanged meter setting is not sent again.
            QString block, messart, werte, rohtext;
            qint16 ausstehend = 0, gruppengröße = 0, gruppenzähler = 0, auswerteindex = 1;
            i16 messanzahlwert = 1, funktionsnummer = 0;
            QString anzeigeformat;
            double faktor = 1;

            while (i <= 120 && !Daten.Scanlistentabelle[i].Signalname.text().trimmed().isEmpty() &&
                   messen->text() != "Messung starten") {
                const Scanlistensatz& eintrag = Daten.Scanlistentabelle[i];
                const QString voriger_block = block;
                block = Links16(eintrag.Messblockname.text().trimmed());
                const QString voriger_init = initstring;
                auto einstellung = einstellungen.constFind(block);
                if (einstellung == einstellungen.cend()) {
                    Blockeinstellung neu;
                    MBForm1::Initialisierungsstring_erstellen(block, neu.init, neu.format, neu.faktor, neu.anzahl,
                                                              kaltstelle, neu.funktion);
                    einstellung = einstellungen.insert(block, neu);
                }
                initstring = einstellung->init;
                anzeigeformat = einstellung->format;
                faktor = einstellung->faktor;
                messanzahlwert = einstellung->anzahl;
                funktionsnummer = einstellung->funktion;
                Daten.RJunSim = initstring.contains(":TEMP:TC:RJUN:SIM");
                Relais_schließen(i);
                Label3->setText(eintrag.Signalname.text());
                Label9->setText(block);
                Label4->setText(Daten.Kanaltabelle[std::clamp<int>(eintrag.Gruppennummer, 0, 16)]
                                    .Klemme[std::clamp<int>(eintrag.Klemmennummer, 0, 8)]
                                    .text());
                Label1->setText("siehe Meßgerät!");

                if (!(block == voriger_block && funktionsnummer != 8)) {
                    if (funktionsnummer == 8)
                        gruppengröße = 1;
                    else
                        AnzahlGleicherMessungenZählen(gruppengröße, i);
                    bool konfiguriert = false;
                    if (initstring != voriger_init || funktionsnummer == 8) {
                        TCPIPBefehl_mit_Antwort((funktionsnummer == 8 ? "00041" : "00043") + initstring);
                        konfiguriert = true;
                    }
                    if (gruppengröße == 1 && messanzahlwert == 1) {
                        messart = "Einzelmessung";
                        ausstehend = 1;
                    } else if (gruppengröße == 1 && messanzahlwert > 1) {
                        messart = "Samplemessung";
                        ausstehend = 1;
                    } else if (gruppengröße >= 2 && messanzahlwert > 1) {
                        messart = "Samplemessung";
                        ausstehend = 1;
                        if (!konfiguriert && funktionsnummer != 8)
                            TCPIPBefehl_mit_Antwort("00043" + initstring);
                    } else if (gruppengröße >= 2 && messanzahlwert == 1) {
                        messart = "Mehrfachmessung";
                        ausstehend = gruppengröße;
                        gruppenzähler = 1;
                    }
                    auswerteindex = static_cast<qint16>(i);
                }
                if (funktionsnummer != 8)
                    Keith2000_Einzel_MehrfachMsg(messart, messanzahlwert, gruppengröße, gruppenzähler, i);
                else
                    Messzeit_nehmen(i, false);
                ausstehend = static_cast<qint16>(std::max(0, ausstehend - 1));
                gruppenzähler = static_cast<qint16>(gruppenzähler >= 30 ? 5 : gruppenzähler + 1);

                if (ausstehend == 0) {
                    const int anzahl = messanzahlwert > 1 ? messanzahlwert : gruppengröße;
                    if (funktionsnummer != 8)
                        Keith2000_MeßwHolen(anzahl, werte);
                    rohtext = Daten.Trennzeichen + werte;
                    Text_zeigen(Label12, werte);
                    if (Daten.Timeoutzähler == 10) {
                        verbindung_tot = true;
                        break;
                    }
                    if (funktionsnummer == 8)
                        werte = TVariable;
                    MBForm1::Auswerten(auswerteindex, werte, static_cast<i16>(anzahl), anzeigeformat, faktor,
                                       messanzahlwert);
                    ++auswerteindex;
                }
                Daten.Messwerttexte[i].Anzeigetext = rohtext;
                ++i;
                Ereignisse_verarbeiten();
                Daten.Pausenmerker = 0;
                unsetCursor();
                anhalten();
                rohtext.clear();
            }
            if (verbindung_tot)
                break;
            const bool vollständig = i > 120 || Daten.Scanlistentabelle[i].Signalname.text().trimmed().isEmpty();
            ++scans;

            Datensatz_ordnen();
            MBForm1::Header_erstellen();
            stunde_gewechselt = false;
            if (RTrim(Daten.Stundenstempel) != stundenstempel_vorher && !erster_scan) {
                Loggerdateien_verschieben(laufname);
                stunde_gewechselt = true;
                Datenformat::Dateinamen_erzeug();
                laufname = Daten.Logdateiname;
            }
            stundenstempel_vorher = RTrim(Daten.Stundenstempel);
            erster_scan = false;
            if (vollständig && Daten.Pausenmerker == 0)
                Datensatz_schreiben();
            Messdatenliste_füllen();
            unsetCursor();
            if (messen->text() != "Messung starten") {
                Keith2000_Matrix(Daten.Logdateiname);
                // The matrices leave the meter in diode mode: the next entry sets its block up again.
                if (Matrixmessung::eine_eingeschaltet())
                    initstring.clear();
            }
            if (Stoppdatei_da(Daten.Ramdisk1.roh())) {
                QFile::remove(Pfade::lokal(Daten.Ramdisk1.roh() + "Ende.txt"));
                stopp = true;
            }
            Scanintervall_einhalten(scanstart);
            anhalten();
        }
    }

    // end sequence
    messen->setEnabled(false);
    Verbindung_schließen();
    programmieren->setEnabled(true);
    Delay_events(1);
    messen->setEnabled(true);
    Oberflächewiederherst();
    if (scans > 1 && !stunde_gewechselt)
        Loggerdateien_verschieben(Daten.Logdateiname);
    if (!Restarttimer->isActive())
        Stromausfall_speichern(0);
    if (stopp)
        programmende().sofort_beenden(0);
}

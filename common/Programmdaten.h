#pragma once
// The program-wide tables and settings: one plain structure with one
// instance, read and written directly by every window. Field order and
// widths are those of the project files, which depend on them. Everything
// starts at zero or empty.
#include <QColor>
#include <QString>

#include <cstdint>

#include "common/Festtext.h"

using i16 = std::int16_t;
using i32 = std::int32_t;

// ---- measuring points -------------------------------------------------------

// One scanner slot (group 1..16 = letters A..P); element 0 of each array is
// never used.
struct Kanalgruppe {
    Festtext<4> Klemme[9];
    Festtext<5> Art[9];
    Festtext<20> Messblockzuordnung[9];
    Festtext<20> Signalbezeichnung[9];
};

struct Messblocksatz {
    i16 Gerätetyp = 0;
    Festtext<20> Messblockname;
    Festtext<20> Funktionsname;
    i16 Sensortyp = 0;
    i16 Funktionsnummer = 0;
    Festtext<30> Funktionspräfix;
    Festtext<10> Reserve_Text1;
    Festtext<2> Reserve_Text2;
    Festtext<10> Reserve_Text3;
    float Bereich = 0;
    float Integrationszeit = 0;
    i16 Messanzahl = 0;
    i32 Reserve_Zahl1 = 0;
    i16 Reserve_Zahl2 = 0;
    i16 Reserve_Zahl3 = 0;
    i16 Anzeige = 0;
    i16 Mittelung = 0;
    i16 Mittelungsart = 0;
    i32 Reserve_Zahlen[4] = {};
    i16 Kaltstelle_subtrahieren = 0;
    i16 Autozero = 0;
    Festtext<2> Reserve_Text4;
};

struct Vorgabesatz {
    Festtext<20> Vorgabefrei;  // never written by the program; kept with the project
    Festtext<20> Vorgabefunktion;
};

// Carried in the project file only; no window uses its fields.
struct Funktionskonstantensatz {
    Festtext<20> Text1;
    Festtext<30> Text2;
    i16 Zahl1 = 0;
    Festtext<10> Text3;
    i32 Zahlen1[5] = {};
    double Gleitzahlen[2] = {};
    i32 Zahl2 = 0;
    i16 Zahlen2[10] = {};
    i32 Zahlen3[5] = {};
};

struct Änderungsmerker_t {
    bool Merker_geändert = false;
    bool Merker_hinzu = false;
    bool Merker_gelöscht = false;
    bool Merker_Sense = false;
    QString Alter_Messblock;
    QString Alter_Signalname;
    QString Umbenannt_Messblock;
    QString Umbenannt_Signalname;
};

// ---- scan list, recording order, calculated values, matrices ---------------

struct Scanlistensatz {
    i16 Klemmennummer = 0;
    i16 Gruppennummer = 0;
    i32 Zusatzzahl = 0;  // carried with the record
    Festtext<20> Messblockname;
    Festtext<5> Zusatztext;  // emptied for the end record
    Festtext<20> Signalname;
};

struct Optiscansatz {
    Festtext<20> Messblock;
    Festtext<20> Zusatz;
};

struct Rechensatz {
    i16 Scanposition[51] = {};
    QString Referenzname[51];
    i16 Referenzposition[51] = {};
    double Ergebnis = 0;
    QString Name;
    QString Formel;
    QString Einheit;
    QString Format;
};

struct Matrixsatz {
    i16 Aktiv = 0;
    i16 Punktzahl = 0;
    i16 EigenerName = 0;
    Festtext<30> Matrixname;
    i16 RohDatei = 0;
    i16 KalDatei = 0;
    i16 MitSignal = 0;
    Festtext<30> Signal;
};

// ---- recording --------------------------------------------------------------

// The ready-made texts of one value of a scan.
struct Ausgabesatz {
    QString Logzeit;
    QString Zweittext;  // carried along when records are copied
    QString Zeilenanfang;
    QString Messwertzeit;
    QString Datensegment;
    QString Anzeigetext;
    QString Logwert;
    QString Einheitensegment;
    i16 Blocknummer = 0;
};

// Option buttons are stored as -1 (chosen) / 0, check boxes as 1 / 0.
struct Datenformatsatz_t {
    i16 Stundenindex = 0;
    i16 Minutenindex = 0;
    i16 Sekundenindex = 0;
    i16 max = 0;
    i16 Trennzeichenindex = 0;
    i16 Datumsformatindex = 0;
    i16 Zeitformatindex = 0;
    i16 Einheiten = 0;
    i16 Zeit_am_Zeilenbeginn = 0;
    i16 Zeit_nach_jedem_Messwert = 0;
    i16 Datum = 0;
    i16 Zeit = 0;
    i16 Signalnamen = 0;
    i16 Dezimalpunkt = 0;
};

struct Datenloggersatz_t {
    i16 Datenlogger_ein = 0;
    i16 Header_ein = 0;
    i16 Periodenindex = 0;
    i16 Trennzeichenindex = 0;
    i16 Zeitformatindex = 0;
    i16 Zeit_am_Zeilenbeginn = 0;
    i16 Zeit_nach_jedem_Messwert = 0;
    i16 Zeit_ein = 0;
    i16 Dezimalpunkt = 0;
};

// How a drive check shows a working drive on its page.
struct Laufwerksanzeige {
    QString Text;
    QColor Farbe;
};

struct Programmdaten {
    // measuring points
    Kanalgruppe Kanaltabelle[17];
    Messblocksatz Messblocktabelle[21];
    Messblocksatz Messblockvorlage;
    Messblocksatz Funktionsvorgaben[21];  // SCPI block form: last settings per function number
    Vorgabesatz Vorgabetabelle[21];
    Funktionskonstantensatz Funktionskonstantentabelle[21];
    Änderungsmerker_t Änderungsmerker;
    i16 aktuelle_Gruppe = 0;
    i16 aktuelle_Zeile = 0;
    QString Tastaturaufrufer;
    i16 Netzwerkfeld = 0;  // keyboard for the network page: 1 computer name, 2 workgroup, 3 password

    // scan order and calculated values
    Scanlistensatz Scanlistentabelle[121];
    Optiscansatz Optiscantabelle[21];
    Scanlistensatz Aufzeichnungstabelle[121];  // counted from 0
    Rechensatz Rechentabelle[201];
    Matrixsatz Matrixtabelle[9];  // 1..8 = matrices A..H
    i16 Knopfzustände[11] = {};   // 1..10
    i16 Ziehmerker = 0;
    i16 Ziehstart = 0;

    // recording
    Ausgabesatz Messwerttexte[121];
    Ausgabesatz Aufzeichnungstexte[121];
    Datenformatsatz_t Datenformatsatz;
    Datenloggersatz_t Datenloggersatz;
    QString Trennzeichen;
    QString Datumsformat;
    QString Zeitformat;
    double Aufzeichnungsintervall = 0;
    QString Kopfzeile_roh;
    QString Stundenstempel;
    i16 Headermerker = 0;
    QString Logtrennzeichen;
    QString Logzeitformat;
    QString Logdatumsformat;
    QString Dateiperiode;
    i16 Datenlogger_bereit = 0;
    QString Projektkurzname;
    QString Datenzeile;
    QString Logzeile;
    QString Logzeile_roh;
    QString Logzeile_rech;
    QString Logdateiname;
    QString Rohdateiname;
    QString Rechdateiname;
    QString Datenpuffer[201];  // recent data-interface lines, newest at 0

    // project
    QString Projektname;
    i16 Resetmerker = 0;
    i16 Stromausfallmerker = 0;

    // station settings
    QString Betriebsart;
    QString MDeviceLocation;
    QString DisplayType;
    i16 Testlabels = 0;
    QString Esc;
    QString Help;
    i16 MeasureDevice = 0;
    i16 DevicePort = 0;
    i16 HelpSchalter = 0;
    i16 EscSchalter = 0;
    QString OperatingSystem;
    QString RefTempMeasurement;
    Festtext<3> Ramdisk1;
    Festtext<3> Ramdisk2;
    i16 Quartervgamerker = 0;
    Laufwerksanzeige Ramdisk1_Anzeige;  // shown on the data-format page
    Laufwerksanzeige Ramdisk2_Anzeige;  // shown on the data-logger page
    i16 ExtTabellenmerker = 0;
    i16 ExtAnhaltmerker = 0;

    // measurement run
    QString Boxadresse;
    i16 Timeoutzähler = 0;
    double Referenztemperatur = 0;
    double RefTempRest = 0;
    bool RJunSim = false;
    i16 Pausenmerker = 0;
};

// The one instance.
extern Programmdaten Daten;

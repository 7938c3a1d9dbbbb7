#pragma once
// Measurement blocks of the SCPI multimeter (meter kinds 1 and 6): the block
// window and the procedures that turn a block into meter commands and meter
// replies into value texts. The procedures the run needs only read and write
// Daten and the tables below, so they are static and need no window.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "common/Programmdaten.h"

class MBForm1 : public QWidget {
    Q_OBJECT
public:
    explicit MBForm1(QWidget* eltern = nullptr);
    ~MBForm1() override;

    // controls
    QLabel* Label1;                  // heading
    QGroupBox* Frame1;               // "Meßblockbezeichnung"
    QComboBox* Meßblockausw;
    QGroupBox* Frame2;               // "Meßfunktion"
    QComboBox* Meßfkt;
    QGroupBox* Frame3;               // "Meßbereich" / "Meßart"
    QComboBox* Bereich;
    QGroupBox* Frame4;               // "Sensortyp"
    QComboBox* TSensorAuswahl;
    QGroupBox* Frame5;               // "NPLC"
    QComboBox* Integrationszeit;
    QGroupBox* Frame6;               // "Digits"
    QComboBox* Anzeige;
    QGroupBox* Frame7;               // "Anzahl Msg."
    QComboBox* AnzahlMsg;
    QGroupBox* Frame8;               // "Average"
    QComboBox* Averageliste;
    QRadioButton* Option5[2];        // "Moving", "Repeat"
    QGroupBox* Frame9;               // "Autozero"
    QCheckBox* Check1;               // "on/off"
    QGroupBox* Frame10;              // reference junction
    QCheckBox* Check3;
    QLabel* Label2;                  // "Verwendete Kaltstellentemp. subtrahieren" ...
    QPushButton* Command2;           // "<<"
    QPushButton* Command3;           // "Speichern"
    QPushButton* Command4;           // "Abbrechen"
    QPushButton* Command5;           // "Hilfe"
    QPushButton* Command6;           // "MB löschen"
    QPushButton* Command1;           // ">>"
    // service controls
    QPushButton* Command7;           // "Inistr."
    QPushButton* Command8;           // unlabelled service button
    QLabel* Label3;                  // init string of the selected block
    QLabel* Label4;                  // factor and unit

    void Form_Load();
    void Form_Activate();

    // ---- tables ------------------------------------------------------------
    struct Funktionseintrag {
        QString Name;
        QString Funktionsbefehl;  // ":FUNC " and the quoted function word, or empty
        QString Präfix;
        i16 Vorgabebereich = 0;
    };
    struct Bereichseintrag {
        QString Text;  // empty: not offered, and ends the offered list
        QString Format;
        QString Einheit;
        QString Befehl;
    };
    struct Listeneintrag {
        QString Text;
        QString Befehl;
    };
    static Funktionseintrag Funktionstabelle[18];
    static Bereichseintrag Bereichstabelle[18][7];
    static Listeneintrag NPLC_Liste[12];
    static Listeneintrag Digits_Liste[4];
    static QString AnzahlMsg_Liste[9];
    static Listeneintrag Average_Liste[7];
    static QString Mittelungsart_Befehle[2];
    static QString Autozero_Befehle[2];
    static QString Sensorliste[9];

    // Working record of Auswerten.
    struct Auswertesatz_t {
        QString Signalsegment;
        QString Einheit;
        QString Einheitensegment;
        QString Messwerttext;
        double Wert = 0;
        QString Logtext;
        QString Datentext;
        i16 Zeile = 0;
        i16 Kommaposition = 0;
        i16 Funktion = 0;
        i16 Blocknummer = 0;
        QString Rohtext;
        QString gerettete_Messwertzeit;
    };
    static Auswertesatz_t Auswertesatz;

    // ---- procedures without the window -------------------------------------
    static void Ausdruck_zu_Index();
    static void Var_Vorgebreihenfolge_festleg();
    static void Meßblockvar_vorbeleg();
    // Record number of the block (first 16 characters compared), 0 when none.
    static int Block_suchen(const QString& Blockname);
    // False when no block has that name: then Initstring is empty, the format
    // "auto", the factor 1, one reading, function 0.
    static bool Initialisierungsstring_erstellen(const QString& Blockname, QString& Initstring,
                                                 QString& Anzeigeformat, double& Faktor, i16& Messanzahlwert,
                                                 i16 Kaltstellenwert, i16& Funktionsnummer);
    // Empty unit for a name that matches no block.
    static void Einheit_erstellen(const QString& Blockname, QString& Einheit);
    // False, and Wert not a number, for a reading not of the meter's form.
    static bool Meßdatenstring_aufbereit(const QString& Messwerttext, double& Wert);
    static void R_zu_T(i16 Funktionsnummer, double R, double& T);
    static void Auswerten(i16 Zeile, QString& Antwort, i16 Kanalanzahl, const QString& Anzeigeformat, double Faktor,
                          i16 Messanzahlwert);
    static void Header_erstellen();

    // ---- the window --------------------------------------------------------
    void MBForm_initialisieren();
    void Bereichsliste_umstellen();
    void Anzeigeliste_umstellen();
    void Integrationszeitliste_erstellen();
    void AnzahlMsg_Liste_erstellen();
    void Averageliste_erstellen();
    void TSensorAuswahlliste_erstellen();
    void Listentexte_aus_MBVar_erstellen();
    void Listen_disabeln_ausblenden(i16 Funktionsnummer);
    // Record of the block selected in Meßblockausw, 0 when none.
    int gewählter_Block() const;

    // handlers
    void Meßblockausw_Click(int index);
    void Meßfkt_Click(int index);
    void Bereich_Click(int index);
    void Integrationszeit_Click(int index);
    void Anzeige_Click(int index);
    void AnzahlMsg_Click(int index);
    void Averageliste_Click(int index);
    void Option5_Click(int Index);
    void Check1_Click();
    void Check3_Click();
    void TSensorAuswahl_Click(int index);
    void Command6_Click();  // "MB löschen"
    void Command7_Click();  // "Inistr."
    void Command8_Click();  // service button
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

protected:
    void showEvent(QShowEvent* ereignis) override;

private:
    static void Tabellen_bereitstellen();
    static void Messwert_auswerten(const Messblocksatz* block, const QString& X, const QString& Anzeigeformat,
                                   double Faktor);
    void Sensorrahmen_zeigen(int Funktionsnummer);
};

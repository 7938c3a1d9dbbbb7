#pragma once
// The main window: the run buttons and the command link to the box.
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QHash>
#include <QGroupBox>
#include <QListWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpSocket>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

#include "common/Festtext.h"

class Hauptfenster : public QWidget {
    Q_OBJECT
public:
    explicit Hauptfenster(QWidget* eltern = nullptr);
    ~Hauptfenster() override;

    // controls
    QPushButton* messen;
    QPushButton* Command1;
    QPushButton* programmieren;
    QPushButton* Ende;
    QTimer* updatetimer;
    QTimer* Messunganhalttimer;
    QTimer* Restarttimer;
    QFrame* Shape2;   // waiting indicator
    QLabel* Label21;  // firmware version
    QLineEdit* Text1; // latest chunk received
    QLabel* Label6;   // running clock while waiting
    // the value list and the single-value display
    QGroupBox* Frame1;
    QListWidget* List1;
    QLabel* Label2[5];  // captions; element 5 (index 4) "[s] bis neuer Scan:"
    QLabel* Label3;     // signal name
    QLabel* Label9;     // block name
    QLabel* Label4;     // channel
    QLabel* Label1;     // hint
    QLabel* Label13;
    QLabel* Label15;
    QPushButton* Label18;
    QPushButton* Label19;
    QLabel* Label17;  // title while idle
    QLabel* Label5;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label14;
    QPushButton* Command2;
    QPushButton* Command3;
    std::unique_ptr<QTcpSocket> Winsock2_1;  // socket element 1, exists during a run

    // link state
    QString Letztantwort;
    QString Empfangspuffer;
    qint32 Bytezähler = 0;
    qint16 AntwortDa = 0;
    QString TVariable;

    // The recovery after a network time-out; the run control registers it.
    std::function<void()> Netzwerktimeout_Wiederanlauf;

    void Form_Load();
    void Form_Unload();
    // Every editor page rebuilds its controls from the loaded tables.
    void Editoren_auffrischen();

    void TCPIPBefehl_mit_Antwort(const QString& Befehl);

    enum class Verbindung { hergestellt, keine_Boxadresse, nicht_erreichbar };
    // First steps of a run: socket element 1 created and connected to Boxadresse.
    Verbindung Verbindung_öffnen();
    // End of a run: "00002", "00093", close, element 1 destroyed.
    void Verbindung_schließen();
    void Winsock2_erzeugen();
    void Winsock2_zerstören();

    void updatetimer_Timer();
    void Winsock2_DataArrival();
    void Winsock2_Error(int nummer, const QString& beschreibung);
    void Ende_Click();
    // "Pressing" the run button from code: runs its click even while the
    // window is disabled under a notice.
    void messen_drücken() { emit messen->clicked(); }

    // Reading measured values.
    void Relais_schließen(int Zeile);
    void Keith2000_Einzel_MehrfachMsg(const QString& Messart, int Messanzahlwert, int Gruppengröße,
                                      int Gruppenzähler, int Zeile);
    void Keith2000_MeßwHolen(int Anzahl, QString& Werte);
    // The entry's time stamps, then its trigger when 'auslösen'.
    void Messzeit_nehmen(int Zeile, bool auslösen);
    // Relay frame of a scan entry (letter number L, channel C, four-wire or not).
    static QString Relaisframe(int L, int C, bool vierleiter);

    // Reference temperature of the relay module.
    void Keith2000_RefTemp(qint16& Ganzzahl, double& Rest);
    // Temperature of the reference sensor for its resistance in ohms.
    static double Referenzsensor_Temperatur(double widerstand);
    // Whole degrees and rest of a mean temperature as the meter receives them.
    static void Referenz_aufteilen(double mittel, qint16& Ganzzahl, double& Rest);
    QLabel* Label12;  // values of the last fetch
    QLabel* Label50;  // reference-temperature step

    // Run control.
    void messen_Click();
    void Command1_Click();
    void programmieren_Click();
    void Messunganhalttimer_Timer();
    void Restarttimer_Timer();
    void Neustart_vorbereiten();
    void Keith2000_messen(qint16& Laufergebnis);
    void anhalten();
    void Scanintervall_einhalten(float Scanstart);
    void Scan_Delay(double Sekunden);
    static void AnzahlGleicherMessungenZählen(qint16& Anzahl, int Zeile);
    static void Scanvariable_nullen();
    static void RefTempMessnötig(qint16& Nötig);
    void Oberflächevobereit();
    void Oberflächewiederherst();
    // Runs active at the moment (the click handler of messen runs them); never more than one.
    int Läufe_aktiv() const { return laufende_Läufe_; }

    // Live value display.
    void Display_zeigen();
    void Display_ausblenden();
    void MesswertTabelle_zeigen();
    void Messwerttabelle_ausblenden();
    void Hauptfenstertest_Einblenden();
    void Hauptfenstertest_Ausblenden();
    void Messdatenliste_füllen();
signals:
    // The value list holds the values of a new scan.
    void Messdatenliste_fertig();
public:
    void List1_Click(int zeile);
    void Command3_Click();
    // Width of a text in the window's font, in twips.
    int Textbreite(const QString& text) const;
    // Brings a top-level window of another program to the front.
    static void Fenster_nach_vorn(const QString& titel);

    // Idle checks and the configuration list.
    void Leerlaufprüfungen();
    void Messstellenliste_erzeugen();

    // Power-failure record of the current project: 1 while a run is in progress.
    void Stromausfall_speichern(qint16 Zustand);
    void RamD_von_update_befreien();

    static quint16 Boxport();

private:
    // The steps of a scan that write and move the files, and the matrices.
    void Datensatz_ordnen();
    void Datensatz_schreiben();
    void Loggerdateien_verschieben(const QString& Dateiname);
    void Keith2000_Matrix(const QString& Dateiname);
    int laufende_Läufe_ = 0;
    void senden(const QString& Befehl);
    void Netzwerktimeout(const QString& Befehl);
    // Replies carry no end mark. The replies the program reads are gathered
    // until their content is whole (or the line has been quiet for a while),
    // and pieces still arriving from earlier replies are let in and dropped
    // before such a command is sent, so they are never taken for its reply.
    void Nachzügler_abwarten();
    qint64 seit_letztem_Empfang_ms() const;
    QString antwort_;                // everything received since the last send
    qint64 empfangen_gesamt_ = 0;    // bytes on this connection
    qint64 letzter_Empfang_ms_ = -1; // monotonic time of the last piece
    bool stückweise_ = false;        // late pieces were seen on this connection
    bool nach_Wiederholung_ = false; // a repeated frame may bring a second reply
public:
    // How long the line must stay quiet before pieces of earlier replies are
    // taken as over, and before an examined reply of unknown form counts as whole.
    static constexpr int Ruhe_ms = 200;
    // Before the value fetches: drops late pieces of earlier replies when the
    // box has been seen to send replies in pieces (no cost on a sound box).
    void vor_Abruf();
private:
    QWidget* Dienstelemente_[13] = {};
    QString update_gescheitert_;  // size and time of the file whose start failed
    // Names and units of the value list padded for the list's font; names are
    // keyed by their stored bytes, so a scan decodes none of them again.
    QFont listenfont_;
    QHash<QByteArray, QString> aufgefüllte_Namen_;
    QHash<QString, QString> aufgefüllte_Texte_;
    QHash<QString, QString> aufgefüllte_Einheiten_;
    QString Name_aufgefüllt(const QFontMetrics& maß, const Festtext<20>& feld);
    const QString& Text_aufgefüllt(const QFontMetrics& maß, const QString& text);
    const QString& Einheit_vorn_aufgefüllt(const QFontMetrics& maß, const QString& einheit);
};

// Waits the given time while processing window events; passing midnight
// neither shortens nor lengthens the wait.
void Delay_events(double Sekunden);

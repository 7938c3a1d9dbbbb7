#pragma once
// The project page: the project store, the search for boxes on the network
// and the meter model of the project.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QUdpSocket>
#include <QWidget>

#include <functional>
#include <memory>

struct Gerätesatz {
    QString IPAdresse;
    QString Seriennummer;
};

class Projekt : public QWidget {
    Q_OBJECT
public:
    explicit Projekt(QWidget* eltern = nullptr);
    ~Projekt() override;

    // controls
    QGroupBox* Frame2;  // "aktuelles Projekt:"
    QLabel* Label1;
    QGroupBox* Frame3;  // "Projektdatei"
    QComboBox* Combo1;
    QGroupBox* Frame4;  // "Seriennummer des verw. Gerätes:"
    QLabel* Label3;
    QGroupBox* Frame1;  // "angeschlossenes Meßgerät :"
    QComboBox* Combo2;
    QRadioButton* Option1[4];  // meter interface
    QRadioButton* Option2[3];  // scanner interface
    QPushButton* Command9;
    QListWidget* List2;
    QPushButton* Command1;  // ">>"
    QPushButton* Command2;  // "<<"
    QPushButton* Command3;  // "Speichern"
    QPushButton* Command4;  // "Abbrechen"
    QPushButton* Command5;  // "Hilfe"
    QTimer* Timer1;
    std::unique_ptr<QUdpSocket> Winsock1_2;  // socket element 2, exists for one search tick
    // test controls
    QListWidget* List1;
    QPushButton* Command6;
    QLineEdit* Text1;
    QPushButton* Command7;
    QPushButton* Command8;
    QLabel* Label4;
    QLabel* Label5;

    // device list
    Gerätesatz Geräteliste[21];
    qint16 Geräteanzahl = 0;
    qint16 Gelistet = 0;
    qint16 Suchzähler = 0;
    QString Suchpuffer;
    QString Seriennummer;

    // project store
    void Projektverz_anleg();
    void Projname_Datei_anleg();
    void Projektname_aus_Datei_holen();
    void Projektname_aktualisieren();
    void Combo1_Click(int index);
    // false when nothing was saved (the default project asks for a name first).
    bool speichern();
    void noname01_speichern();
    bool alles_speichern();
    // Saves the tables as project 'name' and makes it the current project;
    // the current-project file changes with the complete save only. false:
    // the previous project stays current. The save-as of the dialog creates
    // the measurement-data directory of the name first.
    bool speichern_unter(const QString& name, bool mit_Messdatenverzeichnis = false);
    void alle_Daten_aus_Dateien_holen();
    void löschen();
    void Reseten();
    void Knöpfe_initialisieren();

    // devices
    void Geräteliste_erstellen();
    void Gerät_in_Geräteliste();
    void Q7AdresseFinden();
    void TCPGeräteliste_zurücksetzen();
    void Command9_Click();
    void Timer1_Timer();
    void List2_Click(int zeile);
    void Combo2_Click(int index);
    void Command1_Click();
    void Command2_Click();
    void Command6_Click();
    void Command8_Click();
    void MBForminitialisieren();

    // The block form of the project's meter model (record 1 of
    // Messblocktabelle): 1 and 6 the SCPI form, 2 the code-driven form.
    void MBForm_anzeigen();
    void MBForm_ausblenden();
    void MBForm_Enablen();
    // The name typed for the "neu" entry of the block form's list.
    void MBFormTastaturtextverarbeit(const QString& text);

    // Seams to pages that are not part of this page: the calculation list's
    // save, the next page of the chain.
    std::function<void()> Rechenliste_speichern;
    std::function<void()> Weiter;
    std::function<void()> Messdatenverzeichnis_anlegen;

    // The reply parse of the search: takes the complete replies out of
    // 'puffer' and adds boxes not yet listed (at most 21).
    static void Suchpuffer_auswerten(QString& puffer, Gerätesatz (&liste)[21], qint16& anzahl);
    static QString Entdeckungsadresse();
    static quint16 Entdeckungsport();

    static const QStringList Modelle;

private:
    bool Projekt_sichern(bool als_aktuelles);
    void Suchtakt_senden();
    bool suche_läuft_ = false;
};

#pragma once
// The data-format page ("Datenaufzeichnung"): what a data line contains, and
// the text builders every measured value goes through. The builders only
// read and write Daten, so they are static and need no page.
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTime>
#include <QWidget>

#include "common/Programmdaten.h"

class Verweislabel;

class Datenformat : public QWidget {
    Q_OBJECT
public:
    explicit Datenformat(QWidget* eltern = nullptr);
    ~Datenformat() override;

    // controls
    QLabel* Label1;         // heading
    QGroupBox* Frame1;      // "Pfad:"
    QLabel* Label16;        // data-interface drive
    Verweislabel* Label17;  // "ändern"
    QGroupBox* Frame2;      // "Dezimaltrennzeichen:"
    QRadioButton* Option4;  // "Komma"
    QRadioButton* Option3;  // "Punkt"
    QGroupBox* Frame3;      // "Scanintervall:"
    QLabel* Label5;         // "Std"
    QLabel* Label6;         // "Min"
    QLabel* Label7;         // "Sek"
    QComboBox* Combo4;      // hours
    QComboBox* Combo5;      // minutes
    QComboBox* Combo6;      // seconds
    QCheckBox* Check4;      // "max"
    QCheckBox* Check1;      // "Datum:"
    QComboBox* Combo1;      // date format
    QCheckBox* Check2;      // "Zeit:"
    QComboBox* Combo2;      // time format
    QLabel* Label2;         // "Zeit einfügen:"
    QRadioButton* Option2;  // "am Zeilenbeginn"
    QRadioButton* Option1;  // "nach jedem Meßwert"
    QLabel* Label3;         // "Trennzeichen:"
    QComboBox* Combo3;      // separator
    QCheckBox* Check3;      // "Einheiten"
    QCheckBox* Check5;      // "Signalnamen"
    QPushButton* Command1;  // next page
    QPushButton* Command2;  // hide this page
    QPushButton* Command3;  // "Speichern"
    QPushButton* Command4;  // "Abbrechen"
    QPushButton* Command8;  // "Hilfe"

    void Form_Load();
    void Listen_setzen();

    // handlers
    void Label17_Click();
    void Option4_Click();
    void Option3_Click();
    void Combo4_Click();
    void Combo5_Click();
    void Combo6_Click();
    void Check4_Click();
    void Check1_Click();
    void Combo1_Click();
    void Check2_Click();
    void Combo2_Click();
    void Option_Zeit_Click();  // Option1 and Option2
    void Combo3_Click();
    void Check3_Click();
    void Check5_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command8_Click();

    // Shows the data-interface drive as the drive check left it.
    void Laufwerk_anzeigen();

    // ---- text builders --------------------------------------------------
    // The recording settings a new project starts from.
    static void Vorgaben_setzen();
    // Rounds the value text s (decimal comma) to N significant digits into r;
    // m is "auto" or a number pattern of the block. s is consumed.
    static void Digitformat(i16 N, QString& s, QString& r, const QString& m);
    // The first "," becomes ".".
    static void KommazuPunkt(QString& text);
    // Date and time at the start of a data line; also sets Stundenstempel.
    static void ZeilenDatstring(QString& z, const QDate& datum, const QTime& zeit);
    // Time text before each value, when the time stands after every value.
    static void MW_Zeitstring(QString& z, const QTime& zeit);
    static void Einheit_ja_nein(const QString& Einheit, QString& text);
    static void Signam_ja_nein(const QString& Signalname, QString& text);
    // Logger file name from Dateiperiode and the station clock.
    static void Dateinamen_erzeug();

    // Separator of a separator list index (0 tab, 1 ";", 2 ":").
    static QString Trennzeichen_zu_Index(int index);
    static QStringList Trennzeichenliste();

protected:
    void showEvent(QShowEvent* ereignis) override;

private:
    void Intervall_berechnen();
    void Freigaben_setzen();
    bool wird_gefüllt_ = false;
};

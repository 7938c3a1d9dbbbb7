#pragma once
// The data-logger page ("Datalogger"): whether and how the long-term logger
// files are written, the buffer drive, and the dialogs that set the station
// clock and date.
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

class Datenlogger : public QWidget {
    Q_OBJECT
public:
    explicit Datenlogger(QWidget* eltern = nullptr);
    ~Datenlogger() override;

    // controls
    QLabel* Label1;            // heading
    QGroupBox* Frame1;         // "Dataloggerfunktion:"
    QRadioButton* Option1[2];  // 1 "ein", 0 "aus"
    QLabel* Label3;            // "Speicherintervall:"
    QComboBox* Combo1;         // file period
    QCheckBox* Check1;         // "Header einfügen"
    QLabel* Label7;            // "einstellen:"
    QPushButton* Command8;     // "Uhrzeit"
    QPushButton* Command9;     // "Datum"
    QLabel* Label4;            // "aktueller Dateiname:"
    QLabel* Label2;            // current logger file name
    QGroupBox* Frame5;         // "Dataloggfile enthält:"
    QCheckBox* Check2;         // time on
    QComboBox* Combo9;         // time format
    QLabel* Label5;            // "Zeit einfügen:"
    QRadioButton* Option2;     // "am Zeilenbeginn"
    QRadioButton* Option5;     // "nach jedem Meßwert"
    QLabel* Label6;            // "Trennzeichen:"
    QComboBox* Combo8;         // separator
    QGroupBox* Frame6;         // "Dezimaltrennzeichen:"
    QRadioButton* Option4[2];  // 1 "Punkt", 0 "Komma"
    QGroupBox* Frame2;         // "Puffer:"
    QLabel* Label16;           // buffer drive
    Verweislabel* Label17;     // "ändern"
    QGroupBox* Frame3;         // "Systemzeit einstellen:"
    QComboBox* Combo4;         // hour
    QComboBox* Combo5;         // minute
    QComboBox* Combo6;         // second
    QPushButton* Command5;     // "Ok"
    QPushButton* Command4;     // "Esc"
    QGroupBox* Frame4;         // "Datum einstellen:"
    QComboBox* Combo7;         // day
    QComboBox* Combo3;         // month
    QComboBox* Combo2;         // year
    QPushButton* Command7;     // "Ok"
    QPushButton* Command6;     // "Esc"
    QPushButton* Command1;     // next page
    QPushButton* Command2;     // hide this page
    QPushButton* Command3;     // "Speichern"
    QPushButton* Command10;    // "Abbrechen"
    QPushButton* Command11;    // "Hilfe"

    void Form_Load();
    void Listen_setzen();

    // handlers
    void Option1_Click(int Index);
    void Combo1_Click();
    void Check1_Click();
    void Check2_Click();
    void Option_Zeit_Click();  // Option2 and Option5
    void Combo8_Click();
    void Combo9_Click();
    void Option4_Click(int Index);
    void Label17_Click();
    void Command8_Click();  // opens the clock dialog
    void Command9_Click();  // opens the date dialog
    void Command5_Click();  // clock "Ok"
    void Command4_Click();  // clock "Esc"
    void Command7_Click();  // date "Ok"
    void Command6_Click();  // date "Esc"
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command10_Click();
    void Command11_Click();

    void Laufwerk_anzeigen();

    // The logger settings a new project starts from.
    static void Vorgaben_setzen();
    // Time (and date) of a value in the logger's format.
    static void LoggZeitDatString(QString& text, const QDate& datum, const QTime& zeit);

private:
    void Uhrzeit_vorbelegen();
    void Datum_vorbelegen();
    void Dialog_schließen(QGroupBox* dialog);
    void Header_fällig();
};

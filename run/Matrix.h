#pragma once
// The matrix page: for each of the matrices A to H whether the run measures
// it, how many cross points it has, how its data files are named and what
// goes into them. Edits Daten.Matrixtabelle directly; "Speichern" writes the
// whole project.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QWidget>

#include "common/Programmdaten.h"

class Tastatur;

// The name label: opens the keyboard when touched.
class Namenslabel : public QLabel {
    Q_OBJECT
public:
    explicit Namenslabel(QWidget* eltern = nullptr);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
};

class Matrix : public QWidget {
    Q_OBJECT
public:
    explicit Matrix(QWidget* eltern = nullptr);
    ~Matrix() override;

    // controls
    QLabel* Label3[2];        // 0 the letter of the shown matrix, 1 its name (touch: keyboard)
    QPushButton* Command5;    // next matrix
    QPushButton* Command6;    // previous matrix
    QLabel* Label1[8];        // the captions in front of the controls
    QCheckBox* Check1;        // Aktiv
    QComboBox* Combo1;        // "1".."64": Punktzahl = index
    QRadioButton* Option1[2]; // EigenerName: 0 "Fortlaufend", 1 "Feste Datei"
    QGroupBox* Frame1;        // "Was speichern:"
    QCheckBox* Check2;        // RohDatei
    QCheckBox* Check3;        // KalDatei
    QCheckBox* Check4;        // MitSignal
    QLabel* Label4;           // Signal
    QListWidget* List1;       // the scan list's signal names and an empty line
    QPushButton* Command1;    // "Kalibierliste"
    QPushButton* speichern;   // "Speichern"
    QPushButton* Command2;    // "<<"

    static constexpr const char* Listenhinweis = "Bitte Signalname oder leere Zeile auswählen";

    // Window state: the shown matrix (1..8) and whether the control handlers
    // may write to the table (not while the controls are being filled).
    int Matrixnummer = 1;
    bool Handler_frei = false;

    void Form_Load();
    // Shows matrix 'nummer' (1..8): its letter and every control from its entry.
    void Matrix_anzeigen(int nummer);

    // handlers
    void Command5_Click();
    void Command6_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Combo1_Click();
    void Option1_Click(int Index);
    void List1_Click(int zeile);
    void Label3_Click();  // the name label
    void Command1_Click();
    void speichern_Click();
    void Command2_Click();

    // Called by the keyboard when it hands back the text for this page.
    void Eingabe_speich();

    // Step 2 of the load: every name shorter than 3 characters becomes "_"
    // and the matrix letter.
    static void Namen_vorbelegen();
    static QChar Buchstabe(int nummer) { return QChar('A' + nummer - 1); }

    // The page loads when it is first shown, so it shows the project that
    // is loaded by then.
    void setVisible(bool sichtbar) override;

private:
    bool geladen_ = false;
};

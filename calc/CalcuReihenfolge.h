#pragma once
// The calculation-list page ("berechnete Werte"): the definitions of the
// calculated values, one per line of "Rechen.ini", their binding to the scan
// list at a measurement start, their evaluation after every record and the
// three texts the data files append. Everything that only works on Daten is
// static, so a run can compute without the page's controls.
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QWidget>

#include "common/Programmdaten.h"

class CalcuReihenfolge : public QWidget {
    Q_OBJECT
public:
    explicit CalcuReihenfolge(QWidget* eltern = nullptr);
    ~CalcuReihenfolge() override;

    // closing entries of List2
    static inline const QString Neuer_Eintrag = QStringLiteral("neuen Eintrag hinzufügen");
    static inline const QString Leerer_Eintrag = QStringLiteral("Doppelklicken um Eintrag hinzuzufügen!");

    // controls
    QLabel* Label1;         // heading
    QGroupBox* Frame1;      // the definitions
    QListWidget* List2;
    QGroupBox* Frame2;      // "Speicherart"
    QRadioButton* Option1;  // "separat speichern"
    QRadioButton* Option2;  // "an Rohdaten anhängen"
    QListWidget* List1;     // results of the last evaluation (test control)
    QPushButton* Command5;  // test: sample values, bind, compute
    QPushButton* Command6;  // test: bind, "NaN"
    QPushButton* Command1;  // next page
    QPushButton* Command2;  // hide this page
    QPushButton* Command3;  // "Speichern"
    QPushButton* Command4;  // "Abbrechen"
    QPushButton* Command8;  // "Hilfe"

    // Texts for the data files.
    static inline QString Rechenlogteil;    // logger segment
    static inline QString Rechenkopf;       // header of the calculated columns
    static inline QString Rechendatenteil;  // data-interface segment

    void Form_Load();

    // "Rechen.ini" of the current project.
    static QString Rechenini_Pfad();
    void rechnenini_lesen();
    void rechenini_rückspeichern();

    // Parses the definitions of List2 (all lines but the closing entry) into
    // Rechentabelle and binds their references to the scan list. False when
    // a definition ended the program.
    bool CalcuVar_vorbelegen();
    static bool CalcuVar_vorbelegen(const QStringList& definitionen);
    // Parenthesis check of definition line n (counted from 1); ends the
    // program when the counts differ.
    static bool Klammernzählen(const QString& zeile, int n);
    // Splits one definition line into name, formula, unit and format.
    static void Definition_zerlegen(const QString& zeile, Rechensatz& satz);

    // Evaluates every definition with the current logger values and lists
    // the results in List1.
    void CalcuVar_berechnen();
    // The same without the page: the result of one record.
    static double Rechensatz_berechnen(const Rechensatz& satz);
    // The same, always by writing the values into the formula's text.
    static double Rechensatz_aus_Text(const Rechensatz& satz);
    // "Name :value unit", the line List1 shows.
    static QString Ergebniszeile(const Rechensatz& satz);

    static void RechnenHeader_erstellen();
    static void RechnenLogzeile_erstellen();
    static void RechnenDatzeile_erstellen();
    void Scan_berechnen();
    static void Testmesswerte();
    static void Calcuvar_reseten();

    void Speicherart_Knöpfe_setzen();
    void Scanlistübernahme();
    void CalcureihenfolgeTest_Aus();
    void CalcureihenfolgeTest_Ein();

    // Back from the keyboard: frames enabled, page shown.
    void wiederherstellen();
    // "Return" of the keyboard for this page: takes the formula over into
    // List2 at the selected line, or refuses it with a notice when it has no
    // "=" (the keyboard window stays disabled until the notice is closed).
    bool Formel_übernehmen(const QString& text, QWidget* tastatur = nullptr);

    // What the page handed the keyboard: the text to edit and the signal list.
    QString Tastaturtext;
    QStringList Signalliste;

    // handlers
    void List2_DblClick();
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command8_Click();

    // "Name :value unit" for a result.
    static QString Ergebniszeile(const QString& name, double wert, const QString& einheit);

    // A number as the calculation list writes it: up to 15 significant
    // digits, decimal comma, exponent form ("9E99", "1,5E-5") for very large
    // and very small magnitudes.
    static QString Zahl_als_Rechentext(double wert);

protected:
    void showEvent(QShowEvent* ereignis) override;

private:
    // Stand-in for the scan-list page's lines: the signal names of the scan
    // positions, up to the first empty one.
    static QStringList Scanlistensignale();
    // Opens the on-screen keyboard with the definition to edit.
    void Tastatur_öffnen(const QString& text);
    QStringList Definitionszeilen() const;

    // Results computed while List1 was not on the screen; it shows them
    // when the page is shown.
    struct Ergebnisanzeige {
        QString Name;
        double Wert;
        QString Einheit;
    };
    QList<Ergebnisanzeige> Ergebnisse_offen_;
};

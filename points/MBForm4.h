#pragma once
// Measurement blocks of the code-driven multimeter (meter kind 2): a block is
// a function name, a range value, an integration time and a Pt-100 type, and
// becomes the meter's short code string. The procedures the run needs are
// static and need no window.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "common/Programmdaten.h"

class MBForm4 : public QWidget {
    Q_OBJECT
public:
    explicit MBForm4(QWidget* eltern = nullptr);
    ~MBForm4() override;

    // controls
    QLabel* Label1;              // heading
    QGroupBox* Frame1;           // "Meßblockbezeichnung"
    QComboBox* Meßblockausw;
    QGroupBox* Frame2;           // "Meßfunktion"
    QComboBox* Meßfkt;
    QGroupBox* Frame3;           // "Bereich [Volt]", "Bereich [kOhm]", "Bereich [+/- °C]"
    QComboBox* Bereich;
    QGroupBox* Frame4;           // "Integrationszeit [s]"
    QComboBox* Integrationszeit;
    QGroupBox* Frame5;           // "Pt-100 Art"
    QComboBox* Anzeige;
    QPushButton* Command2;       // "<<"
    QPushButton* Command3;       // "Speichern"
    QPushButton* Command4;       // "Abbrechen"
    QPushButton* Command5;       // "Hilfe"
    QPushButton* Command1;       // ">>"

    void Form_Load();

    // ---- procedures without the window -------------------------------------
    static void Meßblockvar_vorbeleg();
    static void Var_Vorgebreihenfolge_festleg();
    // Record number of the block of that name (trailing blanks removed), 0 when none.
    static int Block_suchen(const QString& Blockname);
    // False, and the outputs unchanged, when no block has that name.
    static bool Initialisierungsstring_erstellen(const QString& Blockname, QString& Initstring,
                                                 QString& Anzeigeformat, double& Faktor);
    static void Einheit_erstellen(const QString& Funktionsname, QString& Einheit);
    // False, and Wert unchanged, for a reading that is not a number of the meter.
    static bool Meßdatenstring_aufbereit(const QString& Messwerttext, double& Wert);

    // ---- the window --------------------------------------------------------
    void MBForm_initialisieren();
    void Listentexte_aus_MBVar_erstellen();
    void Integrationszeitliste_erstellen();
    void Anzeigeliste_umstellen();
    void Bereichsliste_umstellen();
    // Record of the block selected in Meßblockausw, 0 when none.
    int gewählter_Block() const;

    // handlers
    void Meßblockausw_Click(int index);
    void Meßfkt_Click();
    void Bereich_Click();
    void Integrationszeit_Click();
    void Anzeige_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
};

#pragma once
// The program frame: every page lives inside it. Loading it is the program's
// start, unloading it the program's end (except while a project change
// reloads it).
#include <QTimer>
#include <QWidget>

#include "common/Programmdaten.h"

// How far the external monitor's layout moves a page's arrows up (twips).
constexpr int Monitor_hochrücken = 60;

class MDIForm1 : public QWidget {
    Q_OBJECT
public:
    explicit MDIForm1(QWidget* eltern = nullptr);
    ~MDIForm1() override;

    QWidget* Arbeitsfläche;  // the client area that holds the pages
    QTimer* Timer1;          // one-shot restart after a power failure

    // The start sequence; false when the program was ended during it.
    bool MDIForm_Load();
    // Unloads every page; ends the program unless Resetmerker is 1.
    void entladen();
    // Unloads and loads the frame with all its pages again (after a project change).
    void neu_laden();

    void Drivetypabfrage1();
    void Drivetypabfrage2();
    void Layout_anwenden();
    void Timer1_Timer();

protected:
    void resizeEvent(QResizeEvent* ereignis) override;
    void moveEvent(QMoveEvent* ereignis) override;
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void Stationseinstellungen_lesen();
    void Einstellungen_anwenden();
    void Seiten_laden();
    void Seiten_entladen();
    void Viertel_VGA_Geometrie();
    void Seitenfläche_anordnen();
    void Seiten_für_Monitor();
    bool in_Anordnung_ = false;
    bool entladen_ = false;
};

// Drive check of one working drive: while the drive is missing, removable,
// a network drive or a CD-ROM, prompts for another letter and writes it back
// under 'schlüssel'. False when the answer was empty (the program must end).
bool Laufwerk_prüfen(Festtext<3>& laufwerk, const QString& schlüssel, const QString& meldung,
                     const QString& beispiel, Laufwerksanzeige& anzeige);

#include "keyboard/Blockformaufrufe.h"

#include <QSignalBlocker>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "points/MBForm1.h"
#include "points/MBForm4.h"
#include "project/Projekt.h"

namespace Blockformaufrufe {

void anzeigen() {
    if (Fenster.Projekt)
        Fenster.Projekt->MBForm_anzeigen();
}

void ausblenden() {
    if (Fenster.Projekt)
        Fenster.Projekt->MBForm_ausblenden();
}

void Enablen() {
    if (Fenster.Projekt)
        Fenster.Projekt->MBForm_Enablen();
}

void Tastaturtext_verarbeiten(const QString& name) {
    if (Fenster.Projekt)
        Fenster.Projekt->MBFormTastaturtextverarbeit(name);
}

void initialisieren() {
    if (Fenster.Projekt)
        Fenster.Projekt->MBForminitialisieren();
}

void Blockliste_leeren() {
    QComboBox* liste = nullptr;
    switch (Daten.Messblocktabelle[1].Gerätetyp) {
    case 1:
    case 6: liste = Fenster.MBForm1 ? Fenster.MBForm1->Meßblockausw : nullptr; break;
    case 2: liste = Fenster.MBForm4 ? Fenster.MBForm4->Meßblockausw : nullptr; break;
    default: break;
    }
    if (liste) {
        // Emptying is no choice of a block.
        const QSignalBlocker sperre(liste);
        liste->clear();
    }
}

}  // namespace Blockformaufrufe

#include "keyboard/Blockformaufrufe.h"

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "points/Messstellentabellen.h"
#include "project/Projekt.h"

// The block windows are not part of the program yet: until they are, a new
// block name goes straight into the block table, as the project page's
// MBFormTastaturtextverarbeit will store it.
namespace Blockformaufrufe {

void anzeigen() {}
void ausblenden() {}
void Enablen() {}

void Tastaturtext_verarbeiten(const QString& name) {
    const i16 modell = Daten.Messblocktabelle[1].Gerätetyp;
    Messblock_anlegen(name, modell == 1 || modell == 6);
}

void initialisieren() {
    if (Fenster.Projekt)
        Fenster.Projekt->MBForminitialisieren();
}

void Blockliste_leeren() {}

}  // namespace Blockformaufrufe

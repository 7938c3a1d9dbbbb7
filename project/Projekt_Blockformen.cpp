// The project page routes block editing to the block form of the project's
// meter model: 1 and 6 to the SCPI form, 2 to the code-driven form, any
// other model to none.
#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Steuerelemente.h"
#include "platform/Dialoge.h"
#include "points/MBForm1.h"
#include "points/MBForm4.h"
#include "points/Messstellentabellen.h"
#include "project/Projekt.h"

namespace {
QWidget* Blockform() {
    switch (Daten.Messblocktabelle[1].Gerätetyp) {
    case 1:
    case 6: return Fenster.MBForm1;
    case 2: return Fenster.MBForm4;
    default: return nullptr;
    }
}
}  // namespace

void Projekt::MBForm_anzeigen() {
    if (QWidget* form = Blockform()) {
        form->show();
        form->raise();
    }
}

void Projekt::MBForm_ausblenden() {
    if (QWidget* form = Blockform()) {
        form->hide();
        form->setEnabled(true);
    }
}

void Projekt::MBForm_Enablen() {
    if (QWidget* form = Blockform())
        form->setEnabled(true);
}

void Projekt::MBForminitialisieren() {
    // In device mode the station's meter is the one the editors and the run use.
    if (Daten.MeasureDevice != 0)
        Daten.Messblocktabelle[1].Gerätetyp = Daten.MeasureDevice;
    switch (Daten.Messblocktabelle[1].Gerätetyp) {
    case 1:
    case 6:
        if (Fenster.MBForm1) {
            Fenster.MBForm1->MBForm_initialisieren();
        } else {
            // Without the window the run still needs the tables and defaults.
            MBForm1::Ausdruck_zu_Index();
            MBForm1::Var_Vorgebreihenfolge_festleg();
            MBForm1::Meßblockvar_vorbeleg();
        }
        break;
    case 2:
        if (Fenster.MBForm4) {
            Fenster.MBForm4->MBForm_initialisieren();
        } else {
            MBForm4::Meßblockvar_vorbeleg();
            MBForm4::Var_Vorgebreihenfolge_festleg();
        }
        break;
    default:
        break;
    }
}

void Projekt::MBFormTastaturtextverarbeit(const QString& text) {
    const int modell = Daten.Messblocktabelle[1].Gerätetyp;
    QComboBox* blockliste = nullptr;
    if (modell == 1 || modell == 6)
        blockliste = Fenster.MBForm1 ? Fenster.MBForm1->Meßblockausw : nullptr;
    else if (modell == 2)
        blockliste = Fenster.MBForm4 ? Fenster.MBForm4->Meßblockausw : nullptr;
    else
        return;
    if (!Messblock_anlegen(text, modell != 2)) {
        dialoge().Meldung("Es sind bereits 19 Meßblöcke angelegt. Der Meßblock \"" + text +
                          "\" wurde nicht angelegt.");
        return;
    }
    if (blockliste) {
        // The list shows the new block in place of "neu", and "neu" after it.
        const QStringList blöcke = Messblockliste();
        Liste_füllen(blockliste, blöcke);
        Listenindex_setzen(blockliste, static_cast<int>(blöcke.size()) - 2);
    }
}

#pragma once
// The channel page with the keyboard, the scan list and the recording order
// on a panel-sized area, loaded as the frame loads them, and the operator's
// actions on it.
#include <QApplication>
#include <QFont>
#include <QWidget>

#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <utility>

#include "calc/Datenreihenfolge.h"
#include "calc/Listenzeile.h"
#include "calc/Scanlist.h"
#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "keyboard/Tastatur.h"
#include "points/Kanalbelegung.h"
#include "points/MBForm1.h"
#include "points/MBForm4.h"
#include "points/Messstellentabellen.h"
#include "project/Projekt.h"
#include "support/Tabellentexte.h"
#include "support/Teststation.h"

namespace Kanaltest {

using namespace Tabellentexte;

template <class Zelle>
QStringList Spalte(Zelle* const (&zellen)[8]) {
    QStringList s;
    for (Zelle* z : zellen)
        s << z->text();
    return s;
}

struct Kanalstation {
    Teststation station;
    QWidget fläche;
    Scanlist* scan;
    Datenreihenfolge* aufz;
    Kanalbelegung* kanal;
    Tastatur* tastatur;
    Projekt* projekt;
    MBForm1* mbform1;
    MBForm4* mbform4;

    Kanalstation() {
        QFont schrift("DejaVu Sans");
        schrift.setPixelSize(11);
        QApplication::setFont(schrift);
        fläche.resize(320, 240);
        Daten.Testlabels = 1;
        Daten.HelpSchalter = 1;
        Daten.EscSchalter = 1;
        Variablen_initialisieren();
        for (Vorgabesatz& v : Daten.Vorgabetabelle)
            v.Vorgabefunktion = "";
        // The SCPI meter: its block window takes new block names.
        Daten.Messblocktabelle[1].Gerätetyp = 1;
        projekt = new Projekt(&fläche);
        mbform1 = new MBForm1(&fläche);
        mbform4 = new MBForm4(&fläche);
        mbform1->Form_Load();
        mbform4->Form_Load();
        scan = new Scanlist(&fläche);
        aufz = new Datenreihenfolge(&fläche);
        kanal = new Kanalbelegung(&fläche);
        tastatur = new Tastatur(&fläche);
        scan->Form_Load();
        aufz->Form_Load();
        kanal->Form_Load();
        tastatur->Form_Load();
        scan->Scanliste_auffrischen();
        scan->Scanl_Knöpfe_setzen();
        aufz->Aufzliste_aus_Puffer_erstellen();
        aufz->Aufz_Knöpfe_setzen();
        kanal->Labels_auffrischen();
        fläche.show();
        kanal->show();
    }

    // Blocks 1, 2, ... with their functions, then "neu"; the preset order
    // of the functions as given.
    static void Blöcke(std::initializer_list<std::pair<const char*, const char*>> blöcke) {
        int b = 1;
        for (const auto& [name, funktion] : blöcke) {
            Daten.Messblocktabelle[b].Messblockname = QString::fromUtf8(name);
            Daten.Messblocktabelle[b].Funktionsname = QString::fromUtf8(funktion);
            ++b;
        }
        Daten.Messblocktabelle[b].Messblockname = "neu";
    }
    static void Vorgabe(std::initializer_list<const char*> funktionen) {
        int m = 1;
        for (const char* f : funktionen)
            Daten.Vorgabetabelle[m++].Vorgabefunktion = QString::fromUtf8(f);
    }

    void Scan_festhalten(bool halten) { (halten ? scan->Option1 : scan->Option2)->click(); }
    void Aufz_festhalten(bool halten) { (halten ? aufz->Option1 : aufz->Option2)->click(); }

    void Gruppe(int g) {
        while (Daten.aktuelle_Gruppe < g)
            kanal->Command5->click();
        while (Daten.aktuelle_Gruppe > g)
            kanal->Command6->click();
    }

    // Signal cell of row 'zeile', the name typed into the keyboard's field, "Return".
    void Signal(int zeile, const QString& name) {
        kanal->Label4_Click(zeile);
        tastatur->Text1->setText(name);
        tastatur->Label4_Click();
    }
    // Block cell, then the entry of the block list.
    void Block(int zeile, const QString& name) {
        kanal->Label3_Click(zeile);
        const int index = kanal->Meßblock->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        kanal->Meßblock_Click(index);
    }
    // Kind cell, then "Input" or "Sense".
    void Art(int zeile, const QString& art) {
        kanal->Label2_Click(zeile);
        kanal->List1_Click(art == "Input" ? 0 : 1);
    }
    void Punkt(int zeile, const QString& signal, const QString& block) {
        Signal(zeile, signal);
        Block(zeile, block);
    }
    // Keys pressed one after the other by their captions.
    void tippen(std::initializer_list<const char*> tasten) {
        for (const char* t : tasten) {
            const QString b = QString::fromUtf8(t);
            if (b == "Shift")
                tastatur->Label6_Click();
            else if (b == "Spacebar")
                tastatur->Label2_Click();
            else if (b == "Del")
                tastatur->Label7_Click();
            else {
                Taste* taste = tastatur->Taste_mit(b);
                ASSERT_NE(taste, nullptr) << t;
                tastatur->Label1_Click(static_cast<int>(std::find(std::begin(tastatur->Label1),
                                                                  std::end(tastatur->Label1), taste) -
                                                        std::begin(tastatur->Label1)));
            }
        }
    }

    // The marker labels' texts, the empty ones left out.
    QStringList Marker() const {
        QStringList s;
        for (QLabel* l : {kanal->Label5, kanal->Label6, kanal->Label7, kanal->Label8, kanal->Label9})
            if (!l->text().isEmpty())
                s << l->text();
        return s;
    }
};

}  // namespace Kanaltest

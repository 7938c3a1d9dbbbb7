#pragma once
// Shared set-up of the scan-list and recording-order tests: prepared tables,
// the two pages, and a stand-in for the channel page that edits a terminal
// and tells the lists exactly as that page does.
#include <QApplication>
#include <QFont>
#include <QWidget>

#include <initializer_list>
#include <utility>

#include "calc/Datenreihenfolge.h"
#include "calc/Listenzeile.h"
#include "calc/Scanlist.h"
#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "points/Messstellentabellen.h"
#include "support/Tabellentexte.h"
#include "support/Teststation.h"

namespace Testhilfe {

using namespace Tabellentexte;

// As the run's variable initialisation leaves them: names blank, default
// terminal names and kinds (odd slots "Input", even slots "Sense"), no preset order.
inline void Tabellen_leeren() {
    Variablen_initialisieren();
    for (Vorgabesatz& v : Daten.Vorgabetabelle)
        v.Vorgabefunktion = "";
}

// Blocks 1, 2, ... with their functions, then "neu".
inline void Blöcke(std::initializer_list<std::pair<const char*, const char*>> blöcke) {
    int b = 1;
    for (const auto& [name, funktion] : blöcke) {
        Daten.Messblocktabelle[b].Messblockname = QString::fromUtf8(name);
        Daten.Messblocktabelle[b].Funktionsname = QString::fromUtf8(funktion);
        ++b;
    }
    Daten.Messblocktabelle[b].Messblockname = "neu";
}

inline void Vorgabe(std::initializer_list<const char*> funktionen) {
    int m = 1;
    for (const char* f : funktionen)
        Daten.Vorgabetabelle[m++].Vorgabefunktion = QString::fromUtf8(f);
}

inline QStringList ohne_Klemme(const QStringList& tabelle) {
    QStringList s;
    for (const QString& z : tabelle)
        s << z.section(' ', 0, z.endsWith(" -") ? -2 : -3);
    return s;
}

// Both pages on a panel-sized area, loaded as the frame loads them.
struct Seiten {
    Teststation station;
    QWidget fläche;
    Scanlist* scan;
    Datenreihenfolge* aufz;

    Seiten() {
        QFont schrift("DejaVu Sans");
        schrift.setPixelSize(11);
        QApplication::setFont(schrift);
        fläche.resize(320, 240);
        Tabellen_leeren();
        scan = new Scanlist(&fläche);
        aufz = new Datenreihenfolge(&fläche);
        scan->Form_Load();
        aufz->Form_Load();
        scan->Scanliste_auffrischen();
        scan->Scanl_Knöpfe_setzen();
        aufz->Aufzliste_aus_Puffer_erstellen();
        aufz->Aufz_Knöpfe_setzen();
    }

    // Option state as the operator clicks it.
    void Scan_festhalten(bool halten) { (halten ? scan->Option1 : scan->Option2)->click(); }
    void Aufz_festhalten(bool halten) { (halten ? aufz->Option1 : aufz->Option2)->click(); }
};

// The channel page's side of an edit: the cell rules, the change markers and
// the calls of in_Listen_übernehmen for each marker and option pair. Where
// the channel page calls nothing (Sense while the recording order is kept)
// this stand-in removes the point as under "aus Scanliste übernehmen", since
// a sense terminal is never a scan point.
struct Kanalseite {
    Scanlist& scan;
    Datenreihenfolge& aufz;

    static QString Blockzelle(int g, int t) {
        return RTrim(Links16(Daten.Kanaltabelle[g].Messblockzuordnung[t].text()));
    }
    static QString Signalzelle(int g, int t) { return Daten.Kanaltabelle[g].Signalbezeichnung[t].text(); }

    void wählen(int g, int t) {
        Daten.aktuelle_Gruppe = static_cast<i16>(g);
        Daten.aktuelle_Zeile = static_cast<i16>(t - 1);
    }

    void Signal(int g, int t, const QString& neu) {
        wählen(g, t);
        Änderungsmerker_t& m = Daten.Änderungsmerker;
        const QString alt = Signalzelle(g, t);
        if (neu == alt) {
        } else if (!alt.isEmpty() && !neu.isEmpty()) {
            m.Merker_geändert = true;
            m.Umbenannt_Messblock = Blockzelle(g, t);
            m.Umbenannt_Signalname = alt;
        } else if (alt.isEmpty()) {
            m.Merker_hinzu = true;
        } else {
            m.Merker_gelöscht = true;
            m.Alter_Messblock = Blockzelle(g, t);
            m.Alter_Signalname = alt;
            Daten.Kanaltabelle[g].Messblockzuordnung[t] = "";
        }
        Daten.Kanaltabelle[g].Signalbezeichnung[t] = neu;
        in_Listen_übernehmen();
    }

    void Block(int g, int t, const QString& neu) {
        wählen(g, t);
        Änderungsmerker_t& m = Daten.Änderungsmerker;
        const QString alt = Blockzelle(g, t);
        if (neu == alt) {
        } else if (!neu.isEmpty() && !alt.isEmpty()) {
            m.Merker_geändert = true;
            m.Umbenannt_Messblock = Links16(alt);
            m.Umbenannt_Signalname = Signalzelle(g, t);
        } else if (!neu.isEmpty()) {
            m.Merker_hinzu = true;
        } else {
            m.Merker_gelöscht = true;
            m.Alter_Messblock = alt;
            m.Alter_Signalname = Signalzelle(g, t);
        }
        Daten.Kanaltabelle[g].Messblockzuordnung[t] = Links16(neu);
        in_Listen_übernehmen();
    }

    void Art(int g, int t, const QString& neu) {
        wählen(g, t);
        Änderungsmerker_t& m = Daten.Änderungsmerker;
        const QString alt = Daten.Kanaltabelle[g].Art[t].text();
        if (neu == alt) {
        } else if (alt == "Input" && neu == "Sense") {
            m.Merker_Sense = true;
            m.Alter_Messblock = Blockzelle(g, t);
            m.Alter_Signalname = Signalzelle(g, t);
        } else if (neu == "Input") {
            m.Merker_hinzu = true;
        }
        Daten.Kanaltabelle[g].Art[t] = neu;
        in_Listen_übernehmen();
    }

    // Signal, then block: how an operator fills a terminal.
    void Punkt(int g, int t, const QString& signal, const QString& block) {
        Signal(g, t, signal);
        Block(g, t, block);
    }

    void in_Listen_übernehmen() {
        Änderungsmerker_t& m = Daten.Änderungsmerker;
        const bool s_opt = scan.Option2->isChecked(), s_halten = scan.Option1->isChecked();
        const bool r_über = aufz.Option2->isChecked(), r_halten = aufz.Option1->isChecked();
        const bool paar = (s_opt || s_halten) && (r_über || r_halten);
        auto scanliste_neu = [&] {
            if (s_opt) {
                scan.Scanlistopti();
                scan.Scanlistmerker();
            }
        };
        if (m.Merker_hinzu) {
            m.Merker_hinzu = false;
            if (paar) {
                if (s_opt)
                    scanliste_neu();
                else {
                    scan.Anhängselanhängen();
                    scan.Scanlistmerker();
                }
                if (r_über) {
                    aufz.Scanlistübernahme();
                    aufz.First_Aufzpuffer_füllen();
                } else {
                    aufz.aus_Scanlist_neuen_Pkt_übernehmen();
                }
            }
        } else if (m.Merker_gelöscht) {
            m.Merker_gelöscht = false;
            if (paar) {
                if (s_opt)
                    scanliste_neu();
                else {
                    scan.Zeile_löschen();
                    scan.Scanlistmerker();
                }
                if (r_über) {
                    aufz.Scanlistübernahme();
                    aufz.First_Aufzpuffer_füllen();
                } else {
                    aufz.Dummy_einfügen();
                    aufz.in_Puffer_Dummy_einfügen();
                }
            }
        } else if (m.Merker_geändert) {
            m.Merker_geändert = false;
            if (paar) {
                if (s_opt)
                    scanliste_neu();
                else
                    scan.aktualisiereSignalbez();
                if (r_über) {
                    aufz.Scanlistübernahme();
                    aufz.First_Aufzpuffer_füllen();
                } else {
                    aufz.Puffer_aktualisieren();
                    aufz.Aufz_liste_aktualisieren();
                }
            }
        } else if (m.Merker_Sense) {
            m.Merker_Sense = false;
            if (paar) {
                scan.Zeile_löschen();
                scan.Scanlistmerker();
                aufz.Zeile_raus_aus_Liste_und_Puffer();
            }
        }
        Daten.Headermerker = 1;
    }
};

}  // namespace Testhilfe

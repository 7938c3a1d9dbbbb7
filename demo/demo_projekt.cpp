// The demo project: three DC channels sharing a block, a fourth with its own
// block, a Pt100, a thermocouple that needs the reference temperature and one
// calculated value. Written into the station of KESTRIX_ROOT as "demo.kxp".
#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

#include "common/Programmdaten.h"
#include "platform/Pfade.h"
#include "points/MBForm1.h"
#include "points/Messstellentabellen.h"
#include "project/Projekt.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"

namespace {
void Punkt(int i, int gruppe, int klemme, const QString& block, const QString& signal) {
    Kanalgruppe& g = Daten.Kanaltabelle[gruppe];
    g.Messblockzuordnung[klemme] = block;
    g.Signalbezeichnung[klemme] = signal;
    for (Scanlistensatz* s : {&Daten.Scanlistentabelle[i], &Daten.Aufzeichnungstabelle[i - 1]}) {
        s->Gruppennummer = static_cast<i16>(gruppe);
        s->Klemmennummer = static_cast<i16>(klemme);
        s->Messblockname = block;
        s->Signalname = signal;
    }
}
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Variablen_initialisieren();
    Datenformat::Vorgaben_setzen();
    Datenlogger::Vorgaben_setzen();
    MBForm1::Meßblockvar_vorbeleg();  // records 1..9 one block per function, 10 "neu"
    Daten.Messblocktabelle[1].Gerätetyp = 1;

    // Extra blocks after the defaults: a second DC block, a Pt100 and a type K thermocouple.
    const Messblocksatz gleich = Daten.Messblocktabelle[1];
    Daten.Messblocktabelle[10] = gleich;
    Daten.Messblocktabelle[10].Gerätetyp = 0;
    Daten.Messblocktabelle[10].Messblockname = "Spannung 2";
    Daten.Messblocktabelle[11] = gleich;
    Daten.Messblocktabelle[11].Gerätetyp = 0;
    Daten.Messblocktabelle[11].Messblockname = "Vorlauf PT100";
    Daten.Messblocktabelle[11].Funktionsname = "PT 100 2-Draht";
    Daten.Messblocktabelle[11].Funktionsnummer = 9;
    Daten.Messblocktabelle[11].Funktionspräfix = ":RES";
    Daten.Messblocktabelle[11].Bereich = 0;
    Daten.Messblocktabelle[12] = gleich;
    Daten.Messblocktabelle[12].Gerätetyp = 0;
    Daten.Messblocktabelle[12].Messblockname = "Abgas TE-K";
    Daten.Messblocktabelle[12].Funktionsname = "Thermoelement K";
    Daten.Messblocktabelle[12].Funktionsnummer = 16;
    Daten.Messblocktabelle[12].Funktionspräfix = ":TEMP";
    Daten.Messblocktabelle[12].Bereich = 1;
    Daten.Messblocktabelle[12].Kaltstelle_subtrahieren = 1;
    Daten.Messblocktabelle[13] = Messblocksatz{};
    Daten.Messblocktabelle[13].Messblockname = "neu";

    const QString dc = Daten.Messblocktabelle[1].Messblockname.text();
    Punkt(1, 1, 1, dc, "U1");
    Punkt(2, 1, 2, dc, "U2");
    Punkt(3, 1, 3, dc, "U3");
    Punkt(4, 1, 4, "Spannung 2", "U4");
    Punkt(5, 3, 1, "Vorlauf PT100", "Vorlauf");
    Punkt(6, 3, 2, "Abgas TE-K", "Abgas");

    Daten.Datenformatsatz.max = 1;  // scan without waiting
    Daten.Projektname = "demo.kxp";
    Projekt seite;
    seite.Projektverz_anleg();
    Daten.Projektname = "demo.kxp";
    seite.Seriennummer = argc > 1 ? QString::fromLocal8Bit(argv[1]) : "Q70000001";
    if (!seite.alles_speichern())
        return 1;
    const QString config = Pfade::lokal("c:\\kestrix\\extern\\config\\demo");
    QDir().mkpath(config);
    QFile rechen(config + "/Rechen.ini");
    if (!rechen.open(QIODevice::WriteOnly))
        return 1;
    rechen.write("Summe=[U1]+[U2]_V\r\n");
    std::printf("demo project written to %s\n", qPrintable(Pfade::lokal("c:\\kestrix\\intern")));
    return 0;
}

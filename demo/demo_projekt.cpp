// The demo project: three DC channels sharing a block, a fourth with its own
// block, a Pt100, a thermocouple that needs the reference temperature, one
// calculated value and a diode matrix with its calibration. Written into the
// station of KESTRIX_ROOT as "demo.kxp"; demo/station.signals is what the
// simulated box has wired to these terminals.
#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

#include "common/Programmdaten.h"
#include "platform/Pfade.h"
#include "project/Projektaufbau.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Projekt_grundstellen();  // records 1..9 one block per function, 10 "neu"

    // Extra blocks after the defaults: a second DC block, a Pt100 and a type K thermocouple.
    Block_hinzufügen("Spannung 2", 1);
    Messblocksatz& pt100 = Block_hinzufügen("Vorlauf PT100", 1);
    pt100.Funktionsname = "PT 100 2-Draht";
    pt100.Funktionsnummer = 9;
    pt100.Funktionspräfix = ":RES";
    pt100.Bereich = 0;
    Messblocksatz& te = Block_hinzufügen("Abgas TE-K", 1);
    te.Funktionsname = "Thermoelement K";
    te.Funktionsnummer = 16;
    te.Funktionspräfix = ":TEMP";
    te.Bereich = 0;  // sensors have range 0 only: its unit, format and ":TC:TYPE K"
    te.Sensortyp = 7;
    // The meter compensates the cold junction with the box's reference temperature.
    te.Kaltstelle_subtrahieren = 0;

    const QString dc = Daten.Messblocktabelle[1].Messblockname.text();
    Messpunkt_setzen(1, 1, 1, dc, "U1");
    Messpunkt_setzen(2, 1, 2, dc, "U2");
    Messpunkt_setzen(3, 1, 3, dc, "U3");
    Messpunkt_setzen(4, 1, 4, "Spannung 2", "U4");
    Messpunkt_setzen(5, 3, 1, "Vorlauf PT100", "Vorlauf");
    Messpunkt_setzen(6, 3, 2, "Abgas TE-K", "Abgas");

    // Matrix D (relay module 4, free of the channels above): four diodes,
    // voltages and temperatures into files of their own, the flow
    // temperature at the start of each line.
    Matrixsatz& matrix = Daten.Matrixtabelle[4];
    matrix.Aktiv = 1;
    matrix.Punktzahl = 3;
    matrix.EigenerName = 1;
    matrix.Matrixname = "Decke";
    matrix.RohDatei = 1;
    matrix.KalDatei = 1;
    matrix.MitSignal = 1;
    matrix.Signal = "Vorlauf";

    Daten.Datenformatsatz.max = 1;  // scan without waiting
    if (!Projekt_speichern("demo.kxp", argc > 1 ? QString::fromLocal8Bit(argv[1]) : "Q70000001",
                           "Summe=[U1]+[U2]_V\r\n"))
        return 1;

    // The ceiling diodes (1N4148 at 0.1 mA): T = a U^2 + b U + c through their
    // forward voltages at 0, 25 and 50 degrees C.
    const QString config = Pfade::lokal("c:\\kestrix\\extern\\config\\demo");
    QDir().mkpath(config);
    QFile kalibrierung(config + "/Matrix_Cal_D.txt");
    if (!kalibrierung.open(QIODevice::WriteOnly))
        return 1;
    for (int p = 1; p <= 4; ++p)
        kalibrierung.write(QString("%1 -35,7807x2 -400,7765x +236,3050\r\n").arg(p, 2, 10, QChar('0')).toLatin1());
    std::printf("demo project written to %s\n", qPrintable(Pfade::lokal("c:\\kestrix\\intern")));
    return 0;
}

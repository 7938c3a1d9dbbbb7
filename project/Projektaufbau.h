#pragma once
// A project built in code rather than on the pages: empty tables, blocks and
// measuring points set directly, saved as the project store saves it. The
// demo station, the benchmarks and the tests build their projects with it.
#include <QDir>
#include <QFile>
#include <QString>

#include "common/Programmdaten.h"
#include "platform/Pfade.h"
#include "points/MBForm1.h"
#include "points/Messstellentabellen.h"
#include "project/Projekt.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"

// Empty tables, the default data format and logger, the default blocks of the
// SCPI multimeter (records 1 to 9 one per function, record 10 "neu").
inline void Projekt_grundstellen() {
    Variablen_initialisieren();
    Datenformat::Vorgaben_setzen();
    Datenlogger::Vorgaben_setzen();
    MBForm1::Meßblockvar_vorbeleg();
    Daten.Messblocktabelle[1].Gerätetyp = 1;
}

// A new block named 'name' with the settings of block record 'vorlage', put
// where "neu" stood; "neu" moves one record on. Returns the new record.
inline Messblocksatz& Block_hinzufügen(const QString& name, int vorlage) {
    int neu = 1;
    while (neu < 20 && Daten.Messblocktabelle[neu].Messblockname.text() != "neu")
        ++neu;
    Messblocksatz& block = Daten.Messblocktabelle[neu];
    block = Daten.Messblocktabelle[vorlage];
    block.Gerätetyp = 0;
    block.Messblockname = name;
    Daten.Messblocktabelle[neu + 1] = Messblocksatz{};
    Daten.Messblocktabelle[neu + 1].Messblockname = "neu";
    return block;
}

// Terminal 'klemme' of slot 'gruppe' (1 = A) with 'block' and 'signal', at
// position i of the scan list and position i - 1 of the recording order.
inline void Messpunkt_setzen(int i, int gruppe, int klemme, const QString& block, const QString& signal) {
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

// Saves the tables of 'Daten' as project 'name' (with ".kxp") of the station
// in KESTRIX_ROOT, for the box with 'seriennummer'; 'rechen_ini' becomes the
// project's calculated-value definitions when given.
inline bool Projekt_speichern(const QString& name, const QString& seriennummer, const QByteArray& rechen_ini = {}) {
    Daten.Projektname = name;
    Projekt seite;
    seite.Projektverz_anleg();
    Daten.Projektname = name;
    seite.Seriennummer = seriennummer;
    if (!seite.alles_speichern())
        return false;
    if (rechen_ini.isEmpty())
        return true;
    const QString config = Pfade::lokal("c:\\kestrix\\extern\\config\\" + name.section('.', 0, 0));
    QDir().mkpath(config);
    QFile rechen(config + "/Rechen.ini");
    return rechen.open(QIODevice::WriteOnly) && rechen.write(rechen_ini) == rechen_ini.size();
}

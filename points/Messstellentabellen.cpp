#include "points/Messstellentabellen.h"

#include "common/Programmdaten.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"

void Kanalname_in_Var_schreiben() {
    static const char* const Klemmennummern[9] = {"", " 01", " 02", " 03", " 04", " 05", " 06", " 07", " 08"};
    for (int g = 1; g <= 16; ++g) {
        const QString buchstabe(QChar('A' + g - 1));
        for (int t = 1; t <= 8; ++t)
            Daten.Kanaltabelle[g].Klemme[t] = buchstabe + Klemmennummern[t];
    }
    for (int k = 1; k <= 8; ++k)
        for (int t = 1; t <= 8; ++t) {
            Daten.Kanaltabelle[2 * k - 1].Art[t] = QString("Input");
            Daten.Kanaltabelle[2 * k].Art[t] = QString("Sense");
        }
}

void Variablen_initialisieren() {
    for (int g = 1; g <= 16; ++g)
        for (int t = 1; t <= 8; ++t) {
            Kanalgruppe& gruppe = Daten.Kanaltabelle[g];
            gruppe.Klemme[t] = QString();
            gruppe.Art[t] = QString();
            gruppe.Messblockzuordnung[t] = QString();
            gruppe.Signalbezeichnung[t] = QString();
        }
    for (int b = 1; b <= 20; ++b) {
        Messblocksatz& block = Daten.Messblocktabelle[b];
        block.Messblockname = QString();
        block.Funktionsname = QString();
        block.Funktionspräfix = QString();
        block.Reserve_Text1 = QString();
        block.Reserve_Text2 = QString();
        block.Reserve_Text3 = QString();
        block.Reserve_Text4 = QString();
        Funktionskonstantensatz& konstanten = Daten.Funktionskonstantentabelle[b];
        konstanten.Text1 = QString();
        konstanten.Text2 = QString();
        konstanten.Text3 = QString();
    }
    for (int i = 0; i <= 120; ++i) {
        for (Scanlistensatz* satz : {&Daten.Scanlistentabelle[i], &Daten.Aufzeichnungstabelle[i]}) {
            if (satz == &Daten.Scanlistentabelle[0])
                continue;  // the scan list is counted from 1
            satz->Messblockname = QString();
            satz->Zusatztext = QString();
            satz->Signalname = QString();
        }
    }
    // The pages' default modes, so that a new project stores them: optimise
    // the scan, record in scan order, append calculated values.
    for (int e : {1, 3, 7}) {
        Daten.Knopfzustände[e] = -1;
        Daten.Knopfzustände[e + 1] = 0;
    }
    Datenformat::Vorgaben_setzen();
    Datenlogger::Vorgaben_setzen();
    Kanalname_in_Var_schreiben();
}

QStringList Messblockliste() {
    QStringList liste;
    for (int b = 1; b <= 20; ++b) {
        const QString name = Daten.Messblocktabelle[b].Messblockname.text();
        if (name == "neu")
            break;
        liste << name;
    }
    liste << "neu";
    return liste;
}

bool Messblock_anlegen(const QString& name, bool mit_Vorlage) {
    const int n = static_cast<int>(Messblockliste().size());
    // Record n + 1 must exist to carry the new "neu"; with 19 named blocks
    // the table is full and the existing records stay as they are.
    if (n + 1 > 20)
        return false;
    Messblocksatz& block = Daten.Messblocktabelle[n];
    block.Messblockname = name;
    if (mit_Vorlage) {
        const Messblocksatz& vorlage = Daten.Messblockvorlage;
        block.Funktionsname = vorlage.Funktionsname;
        block.Funktionsnummer = vorlage.Funktionsnummer;
        block.Funktionspräfix = vorlage.Funktionspräfix;
        block.Bereich = vorlage.Bereich;
        block.Integrationszeit = vorlage.Integrationszeit;
        block.Anzeige = vorlage.Anzeige;
    }
    Daten.Messblocktabelle[n + 1].Messblockname = QString("neu");
    return true;
}

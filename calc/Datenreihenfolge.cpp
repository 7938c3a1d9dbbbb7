#include "calc/Datenreihenfolge.h"

#include <QApplication>
#include <QFont>
#include <QStyle>

#include <algorithm>

#include "calc/CalcuReihenfolge.h"
#include "calc/Scanlist.h"
#include "common/Fenster.h"
#include "common/Steuerelemente.h"
#include "platform/Dialoge.h"
#include "platform/Twips.h"
#include "project/Projekt.h"

using namespace Listenzeile;

namespace {
bool ist_Platzhaltersatz(const Scanlistensatz& satz) {
    return satz.Messblockname.text() == Platzhalter && satz.Signalname.text() == Platzhalter;
}

bool passt(const Scanlistensatz& satz, const QString& block, const QString& signal) {
    return !ist_Platzhaltersatz(satz) && satz.Signalname.text() == RTrim(signal) &&
           gleicher_Block(satz.Messblockname.text(), block);
}

bool passt(const QString& zeile, const QString& block, const QString& signal) {
    return !ist_Platzhalter(zeile) && Signal(zeile) == RTrim(signal) && gleicher_Block(Block(zeile), block);
}

void leeren(Scanlistensatz& satz) {
    satz.Klemmennummer = 0;
    satz.Gruppennummer = 0;
    satz.Zusatzzahl = 0;
    satz.Messblockname = QString();
    satz.Zusatztext = QString();
    satz.Signalname = QString();
}

void Ende_setzen(int j) {
    if (j < 0 || j > Plätze)
        return;
    Scanlistensatz& ende = Daten.Aufzeichnungstabelle[j];
    ende.Messblockname = QString();
    ende.Signalname = QString();
    ende.Zusatztext = QString();
}

bool gültige_Klemme(int g, int t) { return g >= 1 && g <= 16 && t >= 1 && t <= 8; }
}  // namespace

Datenreihenfolge::Datenreihenfolge(QWidget* eltern) : Ordnungsseite(eltern, "Aufzeichnungsreihenfolge", "aus Scanliste übernehmen") {
    Fenster.Datenreihenfolge = this;
    setObjectName("Datenreihenfolge");
    setWindowTitle("Datenreihenfolge");

    // Only the operator's click runs the handlers; restoring the stored
    // state (Aufz_Knöpfe_setzen) does not rebuild the order.
    connect(Option1, &QRadioButton::clicked, this, &Datenreihenfolge::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &Datenreihenfolge::Option2_Click);
    connect(List2, &Ziehliste::MouseDown, this, &Datenreihenfolge::List2_MouseDown);
    connect(List2, &Ziehliste::MouseMove, this, &Datenreihenfolge::List2_MouseMove);
    connect(List2, &Ziehliste::MouseUp, this, &Datenreihenfolge::List2_MouseUp);
    connect(Command1, &QPushButton::clicked, this, &Datenreihenfolge::Command1_Click);
}

Datenreihenfolge::~Datenreihenfolge() {
    if (Fenster.Datenreihenfolge == this)
        Fenster.Datenreihenfolge = nullptr;
}

void Datenreihenfolge::Form_Activate() { List2->setEnabled(festhalten() && List2->count() > 0); }

void Datenreihenfolge::showEvent(QShowEvent* ereignis) {
    QWidget::showEvent(ereignis);
    Form_Activate();
}

// ---- table side ----------------------------------------------------------------

int Datenreihenfolge::Aufzeichnungslänge() {
    for (int j = 0; j < Plätze; ++j)
        if (!hat_Text(Daten.Aufzeichnungstabelle[j].Signalname.text()))
            return j;
    return Plätze;
}

void Datenreihenfolge::Platzhalter_setzen(Scanlistensatz& satz) {
    leeren(satz);
    satz.Messblockname = Platzhalter;
    satz.Signalname = Platzhalter;
}

QString Datenreihenfolge::Voll_Meldung(const QString& punkt) {
    return "Die Aufzeichnungsreihenfolge ist voll: mehr als 120 Spalten können nicht gespeichert werden!\r"
           "Nicht aufgenommen: " +
           punkt + "\rGelöschte Spalten entfernt \"aus Scanliste übernehmen\".";
}

namespace {
const char* const Voll_beim_Ziehen_Meldung =
    "Die Aufzeichnungsreihenfolge ist voll: mehr als 120 Spalten können nicht gespeichert werden!\r"
    "Die Zeilen wurden nicht verschoben.\rGelöschte Spalten entfernt \"aus Scanliste übernehmen\".";

// The moved lines leave a placeholder where they stood, so that every column
// that is not moved keeps its position in the data files; they are inserted
// before the line under the mouse (at the end below the last line). Returns
// the new positions of the moved lines.
QList<int> Ziehen_mit_Platzhaltern(QStringList& liste, QList<int> zeilen, int ziel, const QString& platzhalter) {
    std::sort(zeilen.begin(), zeilen.end());
    zeilen.erase(std::unique(zeilen.begin(), zeilen.end()), zeilen.end());
    zeilen.removeIf([&](int z) { return z < 0 || z >= liste.size(); });
    QStringList bewegt;
    for (int z : zeilen) {
        bewegt << liste[z];
        liste[z] = platzhalter;
    }
    ziel = std::clamp(ziel, 0, static_cast<int>(liste.size()));
    QList<int> neu;
    for (int i = 0; i < bewegt.size(); ++i) {
        liste.insert(ziel + i, bewegt[i]);
        neu << ziel + i;
    }
    return neu;
}
}  // namespace

void Datenreihenfolge::First_Aufzpuffer_füllen(int anzahl) {
    for (Scanlistensatz& satz : Daten.Aufzeichnungstabelle)
        leeren(satz);
    anzahl = std::clamp(anzahl, 0, Plätze);
    for (int i = 0; i < anzahl; ++i) {
        const Scanlistensatz& scan = Daten.Scanlistentabelle[i + 1];
        Scanlistensatz& satz = Daten.Aufzeichnungstabelle[i];
        satz.Klemmennummer = scan.Klemmennummer;
        satz.Gruppennummer = scan.Gruppennummer;
        satz.Messblockname = Links16(scan.Messblockname.roh());
        satz.Signalname = scan.Signalname.text();
    }
}

void Datenreihenfolge::Listeübernehmen(const QStringList& zeilen) {
    const int alt_länge = Aufzeichnungslänge();
    Scanlistensatz alt[Plätze + 1];
    std::copy(std::begin(Daten.Aufzeichnungstabelle), std::end(Daten.Aufzeichnungstabelle), std::begin(alt));

    const int anzahl = std::min(static_cast<int>(zeilen.size()), Plätze);
    for (int j = 0; j < anzahl; ++j) {
        Scanlistensatz& satz = Daten.Aufzeichnungstabelle[j];
        if (ist_Platzhalter(zeilen[j])) {
            Platzhalter_setzen(satz);
            continue;
        }
        const QString block = Block(zeilen[j]), signal = Signal(zeilen[j]);
        satz.Messblockname = block;
        satz.Signalname = signal;
        i16 gruppe = 0, klemme = 0;
        if (Klemme_finden(block, signal, gruppe, klemme)) {
            satz.Klemmennummer = klemme;
            satz.Gruppennummer = gruppe;
            continue;
        }
        // No terminal carries it any more: the column keeps the terminal it had.
        for (int a = 0; a < alt_länge; ++a)
            if (passt(alt[a], block, signal)) {
                satz.Klemmennummer = alt[a].Klemmennummer;
                satz.Gruppennummer = alt[a].Gruppennummer;
                break;
            }
    }
    Ende_setzen(anzahl);
}

void Datenreihenfolge::in_Puffer_Dummy_einfügen() {
    const Änderungsmerker_t& merker = Daten.Änderungsmerker;
    const int länge = Aufzeichnungslänge();
    for (int j = 0; j < länge; ++j)
        if (passt(Daten.Aufzeichnungstabelle[j], merker.Alter_Messblock, merker.Alter_Signalname)) {
            Platzhalter_setzen(Daten.Aufzeichnungstabelle[j]);
            return;
        }
}

void Datenreihenfolge::Puffer_aktualisieren() {
    const int g = Daten.aktuelle_Gruppe, t = Daten.aktuelle_Zeile + 1;
    if (!gültige_Klemme(g, t))
        return;
    const Änderungsmerker_t& merker = Daten.Änderungsmerker;
    const int länge = Aufzeichnungslänge();
    for (int j = 0; j < länge; ++j) {
        Scanlistensatz& satz = Daten.Aufzeichnungstabelle[j];
        if (passt(satz, merker.Umbenannt_Messblock, merker.Umbenannt_Signalname)) {
            satz.Messblockname = Blockschlüssel(Daten.Kanaltabelle[g].Messblockzuordnung[t].text());
            satz.Signalname = Daten.Kanaltabelle[g].Signalbezeichnung[t].text();
            return;
        }
    }
}

// ---- procedures --------------------------------------------------------------

void Datenreihenfolge::Scanlistübernahme() {
    List2->Zeilen_setzen(Fenster.Scanlist ? Fenster.Scanlist->List2->Zeilen() : QStringList());
}

void Datenreihenfolge::First_Aufzpuffer_füllen() {
    First_Aufzpuffer_füllen(Fenster.Scanlist ? Fenster.Scanlist->List2->count() : Scanlist::Scanlistenlänge());
}

void Datenreihenfolge::Aufzliste_aus_Puffer_erstellen() {
    QStringList zeilen;
    const int länge = Aufzeichnungslänge();
    for (int j = 0; j < länge; ++j) {
        const Scanlistensatz& satz = Daten.Aufzeichnungstabelle[j];
        zeilen << bauen(List2->font(), satz.Messblockname.text(), satz.Signalname.text());
    }
    List2->Zeilen_setzen(zeilen);
}

void Datenreihenfolge::Listeübernehmen() { Listeübernehmen(List2->Zeilen()); }

void Datenreihenfolge::aus_Scanlist_neuen_Pkt_übernehmen() {
    const int g = Daten.aktuelle_Gruppe, t = Daten.aktuelle_Zeile + 1;
    if (!gültige_Klemme(g, t) || !ist_Messpunkt(g, t))
        return;
    const Kanalgruppe& k = Daten.Kanaltabelle[g];
    const QString block = Blockschlüssel(k.Messblockzuordnung[t].text());
    const QString signal = k.Signalbezeichnung[t].text();

    // A column only for a point the scan list measures, and only once per
    // scan line: a terminal that gets its signal and then its block is
    // reported as new twice.
    int im_Scan = 0, in_Aufzeichnung = 0;
    const int scanlänge = Scanlist::Scanlistenlänge();
    for (int i = 1; i <= scanlänge; ++i)
        if (passt(Daten.Scanlistentabelle[i], block, signal))
            ++im_Scan;
    const int länge = Aufzeichnungslänge();
    for (int j = 0; j < länge; ++j)
        if (passt(Daten.Aufzeichnungstabelle[j], block, signal))
            ++in_Aufzeichnung;
    if (in_Aufzeichnung >= im_Scan)
        return;
    if (länge >= Plätze) {
        dialoge().Meldung(Voll_Meldung(Scanlist::Punktname(g, t)));
        return;
    }

    Scanlistensatz& satz = Daten.Aufzeichnungstabelle[länge];
    leeren(satz);
    satz.Klemmennummer = static_cast<i16>(t);
    satz.Gruppennummer = static_cast<i16>(g);
    satz.Messblockname = block;
    satz.Signalname = signal;
    Ende_setzen(länge + 1);
    List2->addItem(bauen(List2->font(), block, signal));
}

void Datenreihenfolge::Dummy_einfügen() {
    const Änderungsmerker_t& merker = Daten.Änderungsmerker;
    for (int j = 0; j < List2->count(); ++j)
        if (passt(List2->item(j)->text(), merker.Alter_Messblock, merker.Alter_Signalname)) {
            List2->item(j)->setText(Platzhalterzeile(List2->font()));
            return;
        }
}

void Datenreihenfolge::Zeile_raus_aus_Liste_und_Puffer() {
    const Änderungsmerker_t& merker = Daten.Änderungsmerker;
    for (int j = 0; j < List2->count(); ++j)
        if (passt(List2->item(j)->text(), merker.Alter_Messblock, merker.Alter_Signalname)) {
            delete List2->takeItem(j);
            break;
        }
    const int länge = Aufzeichnungslänge();
    for (int j = 0; j < länge; ++j)
        if (passt(Daten.Aufzeichnungstabelle[j], merker.Alter_Messblock, merker.Alter_Signalname)) {
            for (int k = j; k < Plätze; ++k)
                Daten.Aufzeichnungstabelle[k] = Daten.Aufzeichnungstabelle[k + 1];
            leeren(Daten.Aufzeichnungstabelle[Plätze]);
            return;
        }
}

void Datenreihenfolge::Aufz_liste_aktualisieren() {
    const int g = Daten.aktuelle_Gruppe, t = Daten.aktuelle_Zeile + 1;
    if (!gültige_Klemme(g, t))
        return;
    const Änderungsmerker_t& merker = Daten.Änderungsmerker;
    for (int j = 0; j < List2->count(); ++j)
        if (passt(List2->item(j)->text(), merker.Umbenannt_Messblock, merker.Umbenannt_Signalname)) {
            const Kanalgruppe& k = Daten.Kanaltabelle[g];
            List2->item(j)->setText(
                bauen(List2->font(), k.Messblockzuordnung[t].text(), k.Signalbezeichnung[t].text()));
            return;
        }
}

void Datenreihenfolge::Aufz_Knöpfe_setzen() {
    // As stored: a project that chose neither shows neither and keeps it.
    Optionen_setzen(Option2, Daten.Knopfzustände[3] != 0, Option1, Daten.Knopfzustände[4] != 0);
    Form_Activate();
}

// ---- handlers ----------------------------------------------------------------

void Datenreihenfolge::Option1_Click() {
    Daten.Knopfzustände[3] = 0;
    Daten.Knopfzustände[4] = -1;
    List2->setEnabled(true);
}

void Datenreihenfolge::Option2_Click() {
    Daten.Knopfzustände[3] = -1;
    Daten.Knopfzustände[4] = 0;
    List2->setEnabled(false);
    Scanlistübernahme();
    First_Aufzpuffer_füllen();
    Daten.Headermerker = 1;
}

void Datenreihenfolge::List2_MouseDown(int zeile) {
    if (zeile < 0 || zeile >= List2->count())
        return;
    Daten.Ziehmerker = -1;
    Daten.Ziehstart = static_cast<i16>(zeile);
    ziehzeilen_ = List2->Ausgewählte_Zeilen();
}

void Datenreihenfolge::List2_MouseMove(int zeile) {
    if (Daten.Ziehmerker == -1 && zeile >= 0 && zeile < List2->count())
        List2->setCurrentRow(zeile, QItemSelectionModel::NoUpdate);
}

void Datenreihenfolge::List2_MouseUp(int zeile) {
    if (Daten.Ziehmerker != -1)
        return;
    Daten.Ziehmerker = 0;
    if (zeile == Daten.Ziehstart || ziehzeilen_.isEmpty())
        return;
    QStringList zeilen = List2->Zeilen();
    const QList<int> neu = Ziehen_mit_Platzhaltern(zeilen, ziehzeilen_, zeile, Platzhalterzeile(List2->font()));
    if (zeilen.size() > Plätze) {
        ziehzeilen_.clear();
        dialoge().Meldung(QString::fromUtf8(Voll_beim_Ziehen_Meldung));
        return;
    }
    List2->Zeilen_setzen(zeilen);
    List2->Auswahl_setzen(neu);
    ziehzeilen_.clear();
    if (festhalten()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Listeübernehmen();
        QApplication::restoreOverrideCursor();
    } else {
        Listeübernehmen();
    }
    Daten.Headermerker = 1;  // the columns of the data lines have moved
}

// The calculation page, with the signal names the keyboard offers taken
// fresh from the scan list.
void Datenreihenfolge::Command1_Click() {
    CalcuReihenfolge* rechnen = Fenster.CalcuReihenfolge;
    if (!rechnen)
        return;
    rechnen->show();
    rechnen->raise();
    rechnen->Scanlistübernahme();
}


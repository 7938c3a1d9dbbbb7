#include "calc/Scanlist.h"

#include <QFont>
#include <QStyle>

#include <algorithm>

#include "calc/Datenreihenfolge.h"
#include "common/Fenster.h"
#include "common/Steuerelemente.h"
#include "platform/Dialoge.h"
#include "platform/Twips.h"
#include "project/Projekt.h"

using namespace Listenzeile;

Scanlist::Scanlist(QWidget* eltern) : Ordnungsseite(eltern, "Scanreihenfolge", "Scanzeit optimieren") {
    Fenster.Scanlist = this;
    setObjectName("Scanlist");
    setWindowTitle("Scanliste");

    // Only the operator's click runs the handlers; restoring the stored
    // state (Scanl_Knöpfe_setzen) does not reorder the list.
    connect(Option1, &QRadioButton::clicked, this, &Scanlist::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &Scanlist::Option2_Click);
    connect(List2, &Ziehliste::MouseDown, this, &Scanlist::List2_MouseDown);
    connect(List2, &Ziehliste::MouseMove, this, &Scanlist::List2_MouseMove);
    connect(List2, &Ziehliste::MouseUp, this, &Scanlist::List2_MouseUp);
    connect(Command1, &QPushButton::clicked, this, &Scanlist::Command1_Click);
}

Scanlist::~Scanlist() {
    if (Fenster.Scanlist == this)
        Fenster.Scanlist = nullptr;
}

void Scanlist::Form_Activate() { List2->setEnabled(List2->count() > 0 && !optimieren()); }

void Scanlist::showEvent(QShowEvent* ereignis) {
    QWidget::showEvent(ereignis);
    Form_Activate();
}

// ---- computations ----------------------------------------------------------

QString Scanlist::Punktname(int gruppe, int klemme) {
    const Kanalgruppe& g = Daten.Kanaltabelle[gruppe];
    QString name = hat_Text(g.Klemme[klemme].text())
                       ? g.Klemme[klemme].text()
                       : QString(QChar('A' + gruppe - 1)) + QString(" %1").arg(klemme, 2, 10, QChar('0'));
    return name + ' ' + g.Signalbezeichnung[klemme].text();
}

QString Scanlist::Voll_Meldung(const QStringList& punkte) {
    return "Die Scanliste ist voll: mehr als 120 Meßpunkte können nicht gespeichert werden!\rNicht aufgenommen: " +
           punkte.join(", ");
}

int Scanlist::Scanlistenlänge() {
    for (int i = 1; i <= Plätze; ++i)
        if (!hat_Text(Daten.Scanlistentabelle[i].Signalname.text()))
            return i - 1;
    return Plätze;
}

QList<Scanlist::Punkt> Scanlist::Optimierte_Punkte(QList<Punkt>* abgewiesen) {
    // Block order: by preset function, within a function by block table.
    QStringList reihenfolge;
    for (int m = 1; m <= 20; ++m) {
        const QString funktion = Daten.Vorgabetabelle[m].Vorgabefunktion.text().trimmed();
        if (funktion.isEmpty())
            continue;
        for (int b = 1; b <= 20; ++b) {
            const Messblocksatz& block = Daten.Messblocktabelle[b];
            const QString name = Blockschlüssel(block.Messblockname.text());
            // A block whose function the preset names twice still lists its points once.
            if (block.Funktionsname.text().trimmed() != funktion || !hat_Text(name) || reihenfolge.contains(name))
                continue;
            if (reihenfolge.size() >= 20)
                break;
            reihenfolge << name;
            Daten.Optiscantabelle[reihenfolge.size()].Messblock = name;
        }
    }

    QList<Punkt> punkte;
    for (const QString& block : reihenfolge)
        for (int g = 1; g <= 16; ++g)
            for (int t = 1; t <= 8; ++t)
                if (gleicher_Block(Daten.Kanaltabelle[g].Messblockzuordnung[t].text(), block) && ist_Messpunkt(g, t))
                    punkte << Punkt{g, t};

    if (punkte.size() > Plätze) {
        // The list cannot hold them all: points already listed stay, new ones
        // are refused, the last in order first.
        const int länge = Scanlistenlänge();
        auto bekannt = [länge](const Punkt& p) {
            for (int i = 1; i <= länge; ++i)
                if (Daten.Scanlistentabelle[i].Gruppennummer == p.Gruppe &&
                    Daten.Scanlistentabelle[i].Klemmennummer == p.Klemme)
                    return true;
            return false;
        };
        QList<int> weg;
        for (int i = static_cast<int>(punkte.size()) - 1; i >= 0 && punkte.size() - weg.size() > Plätze; --i)
            if (!bekannt(punkte[i]))
                weg << i;
        for (int i = static_cast<int>(punkte.size()) - 1; i >= 0 && punkte.size() - weg.size() > Plätze; --i)
            if (!weg.contains(i))
                weg << i;
        std::sort(weg.begin(), weg.end(), std::greater<int>());
        QList<Punkt> raus;
        for (int i : weg)
            raus.prepend(punkte.takeAt(i));
        if (abgewiesen)
            *abgewiesen = raus;
    }
    return punkte;
}

void Scanlist::Scanlistmerker(const QStringList& zeilen) {
    const int alt_länge = Scanlistenlänge();
    Scanlistensatz alt[Plätze + 1];
    std::copy(std::begin(Daten.Scanlistentabelle), std::end(Daten.Scanlistentabelle), std::begin(alt));

    const int anzahl = std::min(static_cast<int>(zeilen.size()), Plätze);
    for (int i = 0; i < anzahl; ++i) {
        Scanlistensatz& satz = Daten.Scanlistentabelle[i + 1];
        const QString signal = Signal(zeilen[i]);
        const QString block = Block(zeilen[i]);
        satz.Signalname = signal;
        satz.Messblockname = block;
        i16 gruppe = 0, klemme = 0;
        if (Klemme_finden(block, signal, gruppe, klemme)) {
            satz.Klemmennummer = klemme;
            satz.Gruppennummer = gruppe;
            continue;
        }
        // No terminal carries it any more: the line keeps the terminal its
        // record had, wherever the line stood before.
        for (int j = 1; j <= alt_länge; ++j)
            if (alt[j].Signalname.text() == RTrim(signal) && gleicher_Block(alt[j].Messblockname.text(), block)) {
                satz.Klemmennummer = alt[j].Klemmennummer;
                satz.Gruppennummer = alt[j].Gruppennummer;
                break;
            }
    }
    if (anzahl < Plätze) {
        Scanlistensatz& ende = Daten.Scanlistentabelle[anzahl + 1];
        ende.Messblockname = QString();
        ende.Signalname = QString();
        ende.Zusatztext = QString();
    }
}

// ---- procedures --------------------------------------------------------------

void Scanlist::Scanlistopti() {
    QList<Punkt> abgewiesen;
    const QList<Punkt> punkte = Optimierte_Punkte(&abgewiesen);
    int n = 0;
    for (const Punkt& p : punkte) {
        const Kanalgruppe& g = Daten.Kanaltabelle[p.Gruppe];
        const QString zeile = bauen(List2->font(), g.Messblockzuordnung[p.Klemme].text(),
                                    g.Signalbezeichnung[p.Klemme].text());
        if (n < List2->count())
            delete List2->takeItem(n);
        List2->insertItem(n, zeile);
        ++n;
    }
    while (List2->count() > n)
        delete List2->takeItem(List2->count() - 1);

    if (!abgewiesen.isEmpty()) {
        QStringList namen;
        for (const Punkt& p : abgewiesen)
            namen << Punktname(p.Gruppe, p.Klemme);
        dialoge().Meldung(Voll_Meldung(namen));
    }
}

void Scanlist::Scanlistmerker() { Scanlistmerker(List2->Zeilen()); }

void Scanlist::Anhängselanhängen() {
    const int g = Daten.aktuelle_Gruppe, t = Daten.aktuelle_Zeile + 1;
    if (g < 1 || g > 16 || t < 1 || t > 8 || !ist_Messpunkt(g, t))
        return;
    if (List2->count() >= Plätze) {
        dialoge().Meldung(Voll_Meldung({Punktname(g, t)}));
        return;
    }
    const Kanalgruppe& k = Daten.Kanaltabelle[g];
    List2->addItem(bauen(List2->font(), k.Messblockzuordnung[t].text(), k.Signalbezeichnung[t].text()));
}

void Scanlist::Zeile_löschen() {
    const Änderungsmerker_t& merker = Daten.Änderungsmerker;
    for (int i = 0; i < List2->count(); ++i) {
        const QString zeile = List2->item(i)->text();
        if (Signal(zeile) == RTrim(merker.Alter_Signalname) && gleicher_Block(Block(zeile), merker.Alter_Messblock)) {
            delete List2->takeItem(i);
            return;
        }
    }
}

void Scanlist::aktualisiereSignalbez() {
    const int g = Daten.aktuelle_Gruppe, t = Daten.aktuelle_Zeile + 1;
    if (g < 1 || g > 16 || t < 1 || t > 8)
        return;
    const Kanalgruppe& k = Daten.Kanaltabelle[g];
    const int anzahl = std::min(List2->count(), Plätze);
    for (int i = 1; i <= anzahl; ++i) {
        Scanlistensatz& satz = Daten.Scanlistentabelle[i];
        if (satz.Gruppennummer != g || satz.Klemmennummer != t)
            continue;
        satz.Signalname = k.Signalbezeichnung[t].text();
        satz.Messblockname = Blockschlüssel(k.Messblockzuordnung[t].text());
        List2->item(i - 1)->setText(bauen(List2->font(), satz.Messblockname.text(), satz.Signalname.text()));
        return;
    }
}

void Scanlist::Scanliste_auffrischen() {
    QStringList zeilen;
    const int länge = Scanlistenlänge();
    for (int i = 1; i <= länge; ++i)
        zeilen << bauen(List2->font(), Daten.Scanlistentabelle[i].Messblockname.text(),
                        Daten.Scanlistentabelle[i].Signalname.text());
    List2->Zeilen_setzen(zeilen);
}

void Scanlist::Scanl_Knöpfe_setzen() {
    // As stored: a project that chose neither shows neither and keeps it.
    Optionen_setzen(Option2, Daten.Knopfzustände[1] != 0, Option1, Daten.Knopfzustände[2] != 0);
    Form_Activate();
}

// ---- handlers ----------------------------------------------------------------

void Scanlist::Option1_Click() {
    Daten.Knopfzustände[1] = 0;
    Daten.Knopfzustände[2] = -1;
    List2->setEnabled(true);
}

void Scanlist::Option2_Click() {
    Daten.Knopfzustände[1] = -1;
    Daten.Knopfzustände[2] = 0;
    List2->setEnabled(false);
    Scanlistopti();
    Scanlistmerker();
    Aufzeichnung_nachführen();
}

void Scanlist::List2_MouseDown(int zeile) {
    if (zeile < 0 || zeile >= List2->count())
        return;
    Daten.Ziehmerker = -1;
    Daten.Ziehstart = static_cast<i16>(zeile);
    ziehzeilen_ = List2->Ausgewählte_Zeilen();
}

void Scanlist::List2_MouseMove(int zeile) {
    if (Daten.Ziehmerker == -1 && zeile >= 0 && zeile < List2->count())
        List2->setCurrentRow(zeile, QItemSelectionModel::NoUpdate);
}

void Scanlist::List2_MouseUp(int zeile) {
    if (Daten.Ziehmerker != -1)
        return;
    Daten.Ziehmerker = 0;
    if (zeile == Daten.Ziehstart || ziehzeilen_.isEmpty())
        return;
    QStringList zeilen = List2->Zeilen();
    const QList<int> neu = verschieben(zeilen, ziehzeilen_, zeile);
    List2->Zeilen_setzen(zeilen);
    List2->Auswahl_setzen(neu);
    ziehzeilen_.clear();
    Scanlistmerker();
    Daten.Headermerker = 1;  // the columns of the data lines have moved
    Aufzeichnung_nachführen();
}

void Scanlist::Aufzeichnung_nachführen() {
    Datenreihenfolge* aufzeichnung = Fenster.Datenreihenfolge;
    if (!aufzeichnung || !aufzeichnung->übernehmen())
        return;
    aufzeichnung->Scanlistübernahme();
    aufzeichnung->First_Aufzpuffer_füllen();
    Daten.Headermerker = 1;
}

void Scanlist::Command1_Click() {
    Seite_zeigen(Fenster.Datenreihenfolge);
}


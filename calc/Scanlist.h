#pragma once
// The scan-list page ("Scanreihenfolge"): the order in which a run visits the
// measuring points, either kept as the operator drags it or optimised so
// that the meter changes its configuration as seldom as possible. The list is
// mirrored into Daten.Scanlistentabelle, which the run and the other pages read.
#include <QList>
#include <QStringList>

#include "calc/Listenzeile.h"
#include "calc/Ordnungsseite.h"
#include "common/Programmdaten.h"

class Scanlist : public Ordnungsseite {
    Q_OBJECT
public:
    explicit Scanlist(QWidget* eltern = nullptr);
    ~Scanlist() override;

    void Form_Activate();

    // procedures, also called by the channel page after each terminal edit
    void Scanlistopti();
    void Scanlistmerker();
    void Anhängselanhängen();
    void Zeile_löschen();
    void aktualisiereSignalbez();
    void Scanliste_auffrischen();
    void Scanl_Knöpfe_setzen();

    // The chosen order option (neither when the stored state says so).
    bool optimieren() const { return Option2->isChecked(); }
    bool festhalten() const { return Option1->isChecked(); }

    // handlers
    void Option1_Click();
    void Option2_Click();
    void List2_MouseDown(int zeile);
    void List2_MouseMove(int zeile);
    void List2_MouseUp(int zeile);
    void Command1_Click();

    // ---- the computations, without the page --------------------------------
    struct Punkt {
        int Gruppe;
        int Klemme;
    };
    // Fills Optiscantabelle with the block order and returns the measuring
    // points in optimised order, at most 120. Points beyond that are left
    // out, those not yet in Scanlistentabelle first; they go to 'abgewiesen'.
    static QList<Punkt> Optimierte_Punkte(QList<Punkt>* abgewiesen = nullptr);
    // Writes the lines into Scanlistentabelle (records 1..) with their terminals.
    static void Scanlistmerker(const QStringList& zeilen);
    // Positions in Scanlistentabelle up to the first empty signal name.
    static int Scanlistenlänge();
    // "C 03 Temp1": how a terminal is named in messages.
    static QString Punktname(int gruppe, int klemme);
    static QString Voll_Meldung(const QStringList& punkte);

protected:
    void showEvent(QShowEvent* ereignis) override;

private:
    // In "aus Scanliste übernehmen" the recording order follows every change
    // of the scan list, also those made on this page.
    void Aufzeichnung_nachführen();
    QList<int> ziehzeilen_;  // the lines remembered at mouse down
};

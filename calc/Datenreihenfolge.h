#pragma once
// The recording-order page ("Aufzeichnungsreihenfolge"): the order of the
// value columns in the data files, either a copy of the scan list or fixed,
// so that the files other programs read keep their layout while the scan
// order is optimised. A deleted point keeps its column as a placeholder.
// Mirrored into Daten.Aufzeichnungstabelle (records counted from 0).
#include <QList>
#include <QStringList>

#include "calc/Listenzeile.h"
#include "calc/Ordnungsseite.h"
#include "common/Programmdaten.h"

class Datenreihenfolge : public Ordnungsseite {
    Q_OBJECT
public:
    explicit Datenreihenfolge(QWidget* eltern = nullptr);
    ~Datenreihenfolge() override;

    void Form_Activate();

    // procedures, also called by the channel page after each terminal edit
    void Scanlistübernahme();
    void First_Aufzpuffer_füllen();
    void Aufzliste_aus_Puffer_erstellen();
    void Listeübernehmen();
    void aus_Scanlist_neuen_Pkt_übernehmen();
    void Dummy_einfügen();
    static void in_Puffer_Dummy_einfügen();  // the table only
    void Zeile_raus_aus_Liste_und_Puffer();
    static void Puffer_aktualisieren();      // the table only
    void Aufz_liste_aktualisieren();
    void Aufz_Knöpfe_setzen();

    // The chosen option (neither when the stored state says so).
    bool übernehmen() const { return Option2->isChecked(); }
    bool festhalten() const { return Option1->isChecked(); }

    // handlers
    void Option1_Click();
    void Option2_Click();
    void List2_MouseDown(int zeile);
    void List2_MouseMove(int zeile);
    void List2_MouseUp(int zeile);
    void Command1_Click();

    // ---- the table side, without the page ----------------------------------
    // Records 0..anzahl-1 from scan positions 1..anzahl, the rest cleared.
    static void First_Aufzpuffer_füllen(int anzahl);
    static void Listeübernehmen(const QStringList& zeilen);
    // Columns up to the first empty signal name (at most 120).
    static int Aufzeichnungslänge();
    static void Platzhalter_setzen(Scanlistensatz& satz);
    static QString Voll_Meldung(const QString& punkt);

protected:
    void showEvent(QShowEvent* ereignis) override;

private:
    QList<int> ziehzeilen_;  // the lines remembered at mouse down
};

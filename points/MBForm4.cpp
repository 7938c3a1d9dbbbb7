#include "points/MBForm4.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>

#include "calc/Scanlist.h"
#include "common/Fenster.h"
#include "common/Steuerelemente.h"
#include "common/Zahltext.h"
#include "platform/Dialoge.h"
#include "platform/Twips.h"
#include "points/Messblocktastatur.h"
#include "points/Messblockwerte.h"
#include "points/Messstellentabellen.h"
#include "project/Projekt.h"
#include "run/Hauptfenster.h"

namespace {
QGroupBox* Rahmen(QWidget* eltern, const QString& titel, int l, int t, int w, int h) {
    auto* r = new QGroupBox(titel, eltern);
    Twips::Geometrie(r, l, t, w, h);
    return r;
}

// The lists are combo boxes whose text is the value.
QComboBox* Liste(QWidget* eltern, const char* name, bool tippbar) {
    auto* c = new QComboBox(eltern);
    c->setObjectName(name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->lineEdit()->setReadOnly(!tippbar);
    Twips::Geometrie(c, 60, 210, 2160, 330);
    return c;
}

QPushButton* Knopf(QWidget* eltern, const char* name, const QString& text, int l, int t, int w, int h) {
    auto* k = new QPushButton(text, eltern);
    k->setObjectName(name);
    Twips::Geometrie(k, l, t, w, h);
    return k;
}

// A text that is not a number leaves the setting as it was.
void als_Zahl_setzen(const QString& text, float& feld) {
    if (const std::optional<double> wert = Zahl_lesen(text))
        feld = static_cast<float>(*wert);
}

void als_Zahl_setzen(const QString& text, i16& feld) {
    if (const std::optional<double> wert = Zahl_lesen(text))
        feld = static_cast<i16>(std::clamp(std::lround(*wert), -32768L, 32767L));
}
}  // namespace

// ---- procedures without the window ---------------------------------------------

void MBForm4::Meßblockvar_vorbeleg() {
    if (!Daten.Messblocktabelle[1].Messblockname.text().isEmpty())
        return;
    const char* const vorgaben[3][2] = {{"Gleichspannung", "VD"}, {"Widerstand", "O4"}, {"Temperatur", "O4"}};
    for (int i = 0; i < 3; ++i) {
        Messblocksatz& b = Daten.Messblocktabelle[i + 1];
        b.Messblockname = QString(vorgaben[i][0]);
        b.Funktionsname = QString(vorgaben[i][0]);
        b.Funktionspräfix = QString(vorgaben[i][1]);
    }
    Daten.Messblocktabelle[4].Messblockname = QString("neu");
    Daten.Messblocktabelle[4].Funktionsname = QString();
}

void MBForm4::Var_Vorgebreihenfolge_festleg() {
    for (int i = 1; i <= 3; ++i)
        Daten.Vorgabetabelle[i].Vorgabefunktion = Daten.Messblocktabelle[i].Messblockname.text();
}

int MBForm4::Block_suchen(const QString& Blockname) {
    const QString gesucht = RTrim(Blockname);
    for (int b = 1; b <= 20; ++b) {
        const QString name = Daten.Messblocktabelle[b].Messblockname.text();
        if (name == "neu")
            break;
        if (name == gesucht)
            return b;
    }
    return 0;
}

bool MBForm4::Initialisierungsstring_erstellen(const QString& Blockname, QString& Initstring, QString& Anzeigeformat,
                                               double& Faktor) {
    const int b = Block_suchen(Blockname);
    if (b == 0)
        return false;
    const Messblocksatz& block = Daten.Messblocktabelle[b];

    const QString funktion = block.Funktionsname.text();
    QString C;
    if (funktion == "Gleichspannung") {
        C = "VD";
        Faktor = 1;
    } else if (funktion == "Wechselspannung") {
        C = "VA";
        Faktor = 1;
    } else if (funktion == "Widerstand") {
        C = "O2";
        Faktor = 0.001;
    } else if (funktion == "Gleichstrom") {
        C = "ID";
        Faktor = 1000;
    } else if (funktion == "Wechselstrom") {
        C = "IA";
        Faktor = 1000;
    }

    // Exact comparisons of the stored 32-bit values.
    const float bereich = block.Bereich;
    QString R;
    if (bereich == 0.2f) {
        R = "R1";
        Anzeigeformat = "#.000000#";
    } else if (bereich == 2.0f) {
        R = "R2";
        Anzeigeformat = "#0.00000#";
    } else if (bereich == 20.0f) {
        R = "R3";
        Anzeigeformat = "#00.0000#";
    } else if (bereich == 200.0f) {
        R = "R4";
        Anzeigeformat = "#000.000#";
    } else if (bereich == 1000.0f || bereich == 2000.0f) {
        R = "R5";
        Anzeigeformat = "#0000.00#";
    } else if (bereich == 10000.0f || bereich == 12000.0f) {
        R = "R6";
        Anzeigeformat = "#00000.0#";
    }
    if (block.Anzeige == 6 && !Anzeigeformat.isEmpty()) {
        Anzeigeformat.chop(1);
        Anzeigeformat += "0#";
    }
    // The main window's service labels show the setting being sent.
    if (Hauptfenster* haupt = Fenster.Hauptfenster) {
        haupt->Label10->setText(Blockzahl_als_Text(block.Bereich));
        haupt->Label11->setText(Blockzahl_als_Text(block.Integrationszeit));
        haupt->Label14->setText(QString::number(block.Anzeige));
    }

    const float zeit = block.Integrationszeit;
    QString T;
    if (zeit == 0.1f)
        T = "T1";
    else if (zeit == 1.0f && block.Anzeige == 5)
        T = "T2";
    else if (zeit == 1.0f && block.Anzeige == 6)
        T = "T3";
    else if (zeit == 10.0f)
        T = "T4";

    Initstring = C + R + T + "A0M0C0L1Q1";
    return true;
}

void MBForm4::Einheit_erstellen(const QString& Funktionsname, QString& Einheit) {
    const QString name = RTrim(Funktionsname);
    if (name == "Widerstand")
        Einheit = "Ohm";
    else if (name == "Temperatur")
        Einheit = QString(QChar(176)) + "C";
    else if (name == "Gleichspannung")
        Einheit = "mV DC";
}

bool MBForm4::Meßdatenstring_aufbereit(const QString& Messwerttext, double& Wert) {
    if (Messwerttext.isEmpty() || !QString("+-0").contains(Messwerttext[0]))
        return false;
    const std::optional<double> wert = Messwert_lesen(Messwerttext);
    if (!wert)
        return false;
    Wert = *wert;
    return true;
}

// ---- window ----------------------------------------------------------------------

MBForm4::MBForm4(QWidget* eltern) : QWidget(eltern) {
    Fenster.MBForm4 = this;
    setObjectName("MBForm4");
    setWindowTitle("Meßblock Konfiguration");
    setAutoFillBackground(true);
    Twips::Geometrie(this, 0, 0, 4800, 3600);

    Label1 = new QLabel("Meßblockkonfiguration Mod. 4660-A", this);
    QFont fett = Label1->font();
    fett.setBold(true);
    Label1->setFont(fett);
    Label1->setAlignment(Qt::AlignCenter);
    Twips::Geometrie(Label1, 0, 30, 4800, 240);

    Frame1 = Rahmen(this, "Meßblockbezeichnung", 60, 330, 2280, 630);
    Meßblockausw = new QComboBox(Frame1);
    Meßblockausw->setObjectName("Messblockausw");
    Twips::Geometrie(Meßblockausw, 60, 210, 2160, 330);
    Frame2 = Rahmen(this, "Meßfunktion", 2460, 330, 2280, 630);
    Meßfkt = Liste(Frame2, "Messfkt", false);
    // The window never fills this list from a table; these are the names
    // the code string knows.
    Meßfkt->addItems({"Gleichspannung", "Wechselspannung", "Widerstand", "Gleichstrom", "Wechselstrom", "Temperatur"});
    Meßfkt->setCurrentIndex(-1);
    Frame3 = Rahmen(this, "Bereich [Volt]", 60, 1110, 2280, 630);
    Bereich = Liste(Frame3, "Bereich", true);
    Frame4 = Rahmen(this, "Integrationszeit [s]", 2460, 1110, 2280, 630);
    Integrationszeit = Liste(Frame4, "Integrationszeit", true);
    Frame5 = Rahmen(this, "Pt-100 Art", 60, 1890, 2280, 630);
    Anzeige = Liste(Frame5, "Anzeige", true);

    Command2 = Knopf(this, "Command2", "<<", 60, 3180, 540, 390);
    Command3 = Knopf(this, "Command3", "Speichern", 660, 3180, 1140, 390);
    Command4 = Knopf(this, "Command4", "Abbrechen", 1860, 3180, 1140, 390);
    Command5 = Knopf(this, "Command5", "Hilfe", 3060, 3180, 900, 390);
    Command1 = Knopf(this, "Command1", ">>", 4200, 3180, 540, 390);

    Auswahl_verbinden(Meßblockausw, this, [this](int index) { Meßblockausw_Click(index); });
    // A value counts when it is chosen from the list (the chosen entry is
    // the text, even when it was the current one) or typed and confirmed.
    auto gewählt = [this](QComboBox* liste, void (MBForm4::*klick)()) {
        connect(liste, &QComboBox::activated, this, [this, liste, klick](int index) {
            if (index >= 0)
                liste->setEditText(liste->itemText(index));
            (this->*klick)();
        });
    };
    gewählt(Meßfkt, &MBForm4::Meßfkt_Click);
    gewählt(Bereich, &MBForm4::Bereich_Click);
    gewählt(Integrationszeit, &MBForm4::Integrationszeit_Click);
    gewählt(Anzeige, &MBForm4::Anzeige_Click);
    connect(Bereich->lineEdit(), &QLineEdit::editingFinished, this, &MBForm4::Bereich_Click);
    connect(Integrationszeit->lineEdit(), &QLineEdit::editingFinished, this, &MBForm4::Integrationszeit_Click);
    connect(Anzeige->lineEdit(), &QLineEdit::editingFinished, this, &MBForm4::Anzeige_Click);
    connect(Command1, &QPushButton::clicked, this, &MBForm4::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &MBForm4::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &MBForm4::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &MBForm4::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &MBForm4::Command5_Click);
    hide();
}

MBForm4::~MBForm4() {
    if (Fenster.MBForm4 == this)
        Fenster.MBForm4 = nullptr;
}

void MBForm4::Form_Load() {
    Twips::Geometrie(this, 0, 0, 4800, 3600);
    Stationsschalter_anwenden(Command5, Command4);
    if (RTrim(Daten.Betriebsart) == "Prg") {
        Label1->hide();
        Twips::Geometrie(this, 0, 0, 4800, 3700);
    }
}

int MBForm4::gewählter_Block() const {
    const int i = Meßblockausw->currentIndex();
    return i >= 0 && i < 20 ? i + 1 : 0;
}

void MBForm4::MBForm_initialisieren() {
    Meßblockvar_vorbeleg();
    Var_Vorgebreihenfolge_festleg();
    const QStringList blöcke = Messblockliste();
    Liste_füllen(Meßblockausw, blöcke);
    {
        // No block is chosen until the operator picks one.
        const QSignalBlocker still(Meßblockausw);
        Meßblockausw->setCurrentIndex(-1);
    }
    Integrationszeitliste_erstellen();
    Anzeigeliste_umstellen();
    Bereichsliste_umstellen();
    Listentexte_aus_MBVar_erstellen();
}

void MBForm4::Listentexte_aus_MBVar_erstellen() {
    const int b = gewählter_Block();
    if (b == 0) {
        // No block chosen: no values to show.
        for (QComboBox* liste : {Meßfkt, Integrationszeit, Bereich})
            liste->setEditText(QString());
        return;
    }
    const Messblocksatz& block = Daten.Messblocktabelle[b];
    Meßfkt->setEditText(block.Funktionsname.text());
    Integrationszeit->setEditText(Blockzahl_als_Text(block.Integrationszeit));
    Bereich->setEditText(Blockzahl_als_Text(block.Bereich));
    Anzeige->setEditText(QString::number(block.Anzeige));
}

void MBForm4::Integrationszeitliste_erstellen() {
    Integrationszeit->clear();
    Integrationszeit->addItems({"6", "8", "10"});
}

void MBForm4::Anzeigeliste_umstellen() {
    Anzeige->clear();
    Anzeige->addItems({"385", "396"});
    Anzeige->setEditText("385");
}

void MBForm4::Bereichsliste_umstellen() {
    const int b = gewählter_Block();
    if (b == 0)
        return;
    const QString funktion = Daten.Messblocktabelle[b].Funktionsname.text();
    QString eintrag, titel;
    if (funktion == "Gleichspannung") {
        eintrag = "0,2";
        titel = "Bereich [Volt]";
    } else if (funktion == "Widerstand") {
        eintrag = "0,2";
        titel = "Bereich [kOhm]";
    } else if (funktion == "Temperatur") {
        eintrag = "99";
        titel = "Bereich [+/- " + QString(QChar(176)) + "C]";
    } else {
        return;
    }
    Bereich->clear();
    Bereich->addItem(eintrag);
    Bereich->setEditText(eintrag);
    Frame3->setTitle(titel);
}

// ---- handlers ----------------------------------------------------------------------

void MBForm4::Meßblockausw_Click(int index) {
    if (index < 0)
        return;
    Anzeigeliste_umstellen();
    Bereichsliste_umstellen();
    Listentexte_aus_MBVar_erstellen();
    if (Meßblockausw->itemText(index) == "neu") {
        if (Meßblockausw->count() >= 20) {
            dialoge().Meldung("Es sind bereits 19 Meßblöcke angelegt. Bitte zuerst einen Meßblock löschen!");
            Listenindex_setzen(Meßblockausw, index - 1);
            return;
        }
        Daten.Tastaturaufrufer = "MBForm";
        setEnabled(false);
        Messblocktastatur_zeigen(this);
    }
}

void MBForm4::Meßfkt_Click() {
    const int b = gewählter_Block();
    if (b == 0)
        return;
    Messblocksatz& block = Daten.Messblocktabelle[b];
    block.Funktionsname = Meßfkt->currentText();
    Bereichsliste_umstellen();
    als_Zahl_setzen(Bereich->currentText(), block.Bereich);
}

void MBForm4::Bereich_Click() {
    if (const int b = gewählter_Block())
        als_Zahl_setzen(Bereich->currentText(), Daten.Messblocktabelle[b].Bereich);
}

void MBForm4::Integrationszeit_Click() {
    const int b = gewählter_Block();
    if (b == 0)
        return;
    Messblocksatz& block = Daten.Messblocktabelle[b];
    als_Zahl_setzen(Integrationszeit->currentText(), block.Integrationszeit);
    Anzeigeliste_umstellen();
    als_Zahl_setzen(Anzeige->currentText(), block.Anzeige);
}

void MBForm4::Anzeige_Click() {
    if (const int b = gewählter_Block())
        als_Zahl_setzen(Anzeige->currentText(), Daten.Messblocktabelle[b].Anzeige);
}

void MBForm4::Command1_Click() {
    Seite_zeigen(Fenster.Scanlist);
}

void MBForm4::Command2_Click() { hide(); }

void MBForm4::Command3_Click() {
    if (Fenster.Projekt)
        Fenster.Projekt->speichern();
}

void MBForm4::Command4_Click() {}
void MBForm4::Command5_Click() {}

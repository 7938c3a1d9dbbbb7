// The SCPI block window: lists per function, the frames shown per function,
// function changes, deletion and the service view.
#include <QCoreApplication>

#include "MBForm_Testhilfe.h"
#include "common/Steuerelemente.h"
#include "platform/Warten.h"
#include "points/MBForm1.h"
#include "support/Teststation.h"

namespace {
struct Blockfenster {
    MBForm1 form;
    Blockfenster() {
        Variablen_initialisieren();
        Daten.HelpSchalter = Daten.EscSchalter = 1;
        Daten.Testlabels = 1;
        form.Form_Load();
        form.MBForm_initialisieren();
        form.show();
    }
    void wählen(int index) { Listenindex_setzen(form.Meßblockausw, index); }
    QStringList Einträge(QComboBox* liste) const {
        QStringList e;
        for (int i = 0; i < liste->count(); ++i)
            e << liste->itemText(i);
        return e;
    }
    QString Sichtbar() const {
        QString s;
        for (QGroupBox* r : {form.Frame3, form.Frame4, form.Frame5, form.Frame6, form.Frame7, form.Frame8, form.Frame9,
                             form.Frame10})
            if (r->isVisibleTo(&form))
                s += r->title() + "|";
        return s;
    }
};
const QString KJ = "Interne/externe Kaltstellentemperaturmessung";
}  // namespace

TEST(MBForm1_Fenster, Blockliste_und_Bereichslisten) {
    Teststation station;
    Blockfenster f;
    EXPECT_EQ(f.form.Meßblockausw->count(), 10);
    EXPECT_EQ(f.form.Meßblockausw->currentText(), "Impuls IZ1-200");
    EXPECT_EQ(f.Einträge(f.form.Meßfkt).size(), 9);

    f.wählen(0);
    EXPECT_EQ(f.Einträge(f.form.Bereich),
              QStringList({"100.0000 mV", "1.000000  V", "10.00000  V", "30.0000   V"}));
    EXPECT_EQ(f.form.Bereich->currentIndex(), 3);
    EXPECT_EQ(f.form.Meßfkt->currentText(), "Gleichspannung");
    EXPECT_EQ(f.form.Integrationszeit->currentText(), " 0.4");
    EXPECT_EQ(f.form.Anzeige->currentText(), "6 1/2");
    EXPECT_TRUE(f.form.Check1->isChecked());
    EXPECT_TRUE(f.form.Option5[0]->isChecked());

    f.wählen(8);
    EXPECT_EQ(f.Einträge(f.form.Bereich), QStringList({"NAMUR Puls[ms]", "0-10V Puls[ms]"}));
    EXPECT_EQ(f.form.Frame3->title(), "Meßart");
    f.wählen(2);
    EXPECT_EQ(f.Einträge(f.form.Bereich).size(), 5);
    EXPECT_EQ(f.form.Frame3->title(), "Meßbereich");
    f.wählen(5);
    EXPECT_EQ(f.Einträge(f.form.Bereich).size(), 4);
    f.wählen(7);
    EXPECT_EQ(f.Einträge(f.form.Bereich), QStringList({"3Hz-500kHz 1V", "3Hz-500kHz 10V", "3Hz-500kHz 30V"}));
}

TEST(MBForm1_Fenster, Rahmen_je_Funktion) {
    Teststation station;
    Blockfenster f;
    Block_setzen(10, "TC", 15, ":TEMP", 0).Sensortyp = 6;
    f.form.MBForm_initialisieren();

    f.wählen(0);  // DC
    EXPECT_EQ(f.Sichtbar(), "Meßbereich|NPLC|Digits|Anzahl Msg.|Average|Autozero|");
    EXPECT_TRUE(f.form.Integrationszeit->isEnabled());
    f.wählen(1);  // AC: no NPLC, list disabled
    EXPECT_EQ(f.Sichtbar(), "Meßbereich|Digits|Anzahl Msg.|Average|Autozero|");
    EXPECT_FALSE(f.form.Integrationszeit->isEnabled());
    f.wählen(7);  // frequency
    EXPECT_EQ(f.Sichtbar(), "Meßbereich|Digits|");
    f.wählen(8);  // pulse
    EXPECT_EQ(f.Sichtbar(), "Meßart|");
    f.wählen(9);  // thermocouple: sensor list instead of the range list
    EXPECT_EQ(f.Sichtbar(), "Sensortyp|NPLC|Digits|Anzahl Msg.|Average|Autozero|" + KJ + "|");
    EXPECT_TRUE(f.form.Integrationszeit->isEnabled());
    EXPECT_EQ(f.form.TSensorAuswahl->currentText(), "Thermoelement J");
    EXPECT_EQ(f.form.Meßfkt->currentText(), "Temperatur");
    f.wählen(6);  // "Temperatur": the junction frame stays as it was
    EXPECT_EQ(f.Sichtbar(), "Meßbereich|NPLC|Digits|Anzahl Msg.|Average|Autozero|" + KJ + "|");
    f.wählen(2);
    f.wählen(6);
    EXPECT_EQ(f.Sichtbar(), "Meßbereich|NPLC|Digits|Anzahl Msg.|Average|Autozero|");
}

TEST(MBForm1_Fenster, Anzeigen_ändert_den_Block_nicht) {
    Teststation station;
    Blockfenster f;
    Messblocksatz& tc = Block_setzen(10, "TC", 16, ":TEMP", 0, 10, 1, 2, 3, 1, 0);
    tc.Sensortyp = 7;
    tc.Funktionsname = QString("Thermoelement K");
    tc.Kaltstelle_subtrahieren = 1;
    f.form.MBForm_initialisieren();
    const Messblocksatz vorher = Daten.Messblocktabelle[10];
    f.wählen(0);
    f.wählen(9);
    const Messblocksatz& b = Daten.Messblocktabelle[10];
    EXPECT_EQ(b.Funktionsnummer, 16);
    EXPECT_EQ(b.Funktionsname.text(), "Thermoelement K");
    EXPECT_EQ(b.Integrationszeit, vorher.Integrationszeit);
    EXPECT_EQ(b.Anzeige, vorher.Anzeige);
    EXPECT_EQ(b.Messanzahl, vorher.Messanzahl);
    EXPECT_EQ(b.Mittelung, vorher.Mittelung);
    EXPECT_EQ(b.Mittelungsart, vorher.Mittelungsart);
    EXPECT_EQ(b.Autozero, vorher.Autozero);
    EXPECT_EQ(b.Kaltstelle_subtrahieren, 1);
    EXPECT_TRUE(f.form.Check3->isChecked());
    EXPECT_TRUE(f.form.Option5[1]->isChecked());
}

TEST(MBForm1_Fenster, Funktionswechsel_nimmt_die_Einstellungen_der_Funktion) {
    Teststation station;
    Blockfenster f;
    f.wählen(0);
    Listenindex_setzen(f.form.Integrationszeit, 9);
    const Messblocksatz& b = Daten.Messblocktabelle[1];
    EXPECT_EQ(b.Integrationszeit, 9.0f);
    Daten.Headermerker = 0;

    f.form.Meßfkt_Click(2);  // the operator picks "Widerstand"
    EXPECT_EQ(Daten.Headermerker, 1);
    EXPECT_EQ(b.Funktionsnummer, 2);
    EXPECT_EQ(b.Funktionsname.text(), "Widerstand");
    EXPECT_EQ(b.Funktionspräfix.text(), ":RES");
    EXPECT_EQ(b.Bereich, 4.0f);
    EXPECT_EQ(b.Integrationszeit, 4.0f);
    EXPECT_EQ(f.form.Bereich->currentText(), "1.000000 MOhm");

    f.form.Meßfkt_Click(0);  // back: the block's own DC settings return
    EXPECT_EQ(b.Funktionsnummer, 0);
    EXPECT_EQ(b.Bereich, 3.0f);
    EXPECT_EQ(b.Integrationszeit, 9.0f);

    // The setting frames stay as laid for the block until it is chosen again.
    f.form.Meßfkt_Click(7);
    EXPECT_EQ(f.Sichtbar(), "Meßbereich|NPLC|Digits|Anzahl Msg.|Average|Autozero|");
    f.wählen(1);
    f.wählen(0);
    EXPECT_EQ(f.Sichtbar(), "Meßbereich|Digits|");
}

TEST(MBForm1_Fenster, Temperatur_über_den_Sensor) {
    Teststation station;
    Blockfenster f;
    f.wählen(0);
    f.form.Meßfkt_Click(6);
    const Messblocksatz& b = Daten.Messblocktabelle[1];
    EXPECT_EQ(b.Funktionsnummer, 9);
    EXPECT_EQ(b.Funktionsname.text(), "PT 100 2-Draht");
    EXPECT_EQ(b.Funktionspräfix.text(), ":RES");
    EXPECT_FALSE(f.form.Frame3->isVisibleTo(&f.form));
    EXPECT_TRUE(f.form.Frame4->isVisibleTo(&f.form));
    EXPECT_FALSE(f.form.Frame10->isVisibleTo(&f.form));

    f.form.TSensorAuswahl_Click(7);
    EXPECT_EQ(b.Funktionsnummer, 16);
    EXPECT_EQ(b.Sensortyp, 7);
    EXPECT_EQ(b.Funktionsname.text(), "Thermoelement K");
    EXPECT_EQ(b.Funktionspräfix.text(), ":TEMP");
    EXPECT_EQ(b.Bereich, 0.0f);
    EXPECT_TRUE(f.form.Frame10->isVisibleTo(&f.form));
    EXPECT_EQ(Daten.Funktionsvorgaben[6].Sensortyp, 7);
    f.form.TSensorAuswahl_Click(4);
    EXPECT_FALSE(f.form.Frame10->isVisibleTo(&f.form));
    f.form.Check3->setChecked(true);
    EXPECT_EQ(b.Kaltstelle_subtrahieren, 1);
}

TEST(MBForm1_Fenster, Löschen_nur_wenn_nicht_in_der_Scanliste) {
    Teststation station;
    Blockfenster f;
    Daten.Messblocktabelle[1].Gerätetyp = 6;
    Scanposition_setzen(4, "Widerstand", "R1");
    f.wählen(2);
    f.form.Command6_Click();
    EXPECT_EQ(station.Dialoge.Meldungen, QStringList({"Vor dem Löschen, Messblock aus Kanalbelegung entfernen!"}));
    EXPECT_EQ(Messblockliste().size(), 10);

    station.Dialoge.Meldungen.clear();
    station.Dialoge.OK_Antwort = false;
    f.wählen(8);
    f.form.Command6_Click();
    EXPECT_EQ(station.Dialoge.Meldungen, QStringList({"Hiermit löschen Sie den Messblock Impuls IZ1-200!"}));
    EXPECT_EQ(Messblockliste().size(), 10);

    station.Dialoge.OK_Antwort = true;
    f.form.Command6_Click();
    EXPECT_EQ(Messblockliste().last(2), QStringList({"Frequenz", "neu"}));
    EXPECT_EQ(Daten.Messblocktabelle[9].Messblockname.text(), "neu");
    EXPECT_EQ(f.form.Meßblockausw->count(), 9);
    EXPECT_EQ(f.form.Meßblockausw->currentText(), "Frequenz");

    // The first block: the others move up, the meter kind stays in record 1.
    f.wählen(0);
    f.form.Command6_Click();
    EXPECT_EQ(Messblockliste().first(2), QStringList({"Wechselspannung", "Widerstand"}));
    EXPECT_EQ(Daten.Messblocktabelle[1].Funktionsnummer, 1);
    EXPECT_EQ(Daten.Messblocktabelle[1].Gerätetyp, 6);
    EXPECT_EQ(f.form.Meßblockausw->count(), 8);
}

TEST(MBForm1_Fenster, Dienstanzeige_des_Initstrings) {
    Teststation station;
    Blockfenster f;
    EXPECT_TRUE(f.form.Command8->isVisibleTo(&f.form));
    EXPECT_FALSE(f.form.Command7->isEnabled());
    EXPECT_FALSE(f.form.Label3->isVisibleTo(&f.form));
    f.wählen(2);
    f.form.Command8_Click();
    EXPECT_TRUE(f.form.Command7->isEnabled());
    EXPECT_TRUE(f.form.Label3->isVisibleTo(&f.form));
    f.form.Command7_Click();
    EXPECT_EQ(f.form.Label3->text(), QString(":FUNC \"RES\"\n:RES:RANG 1000000\n:RES:DIG 7\n:RES:NPLC 0.4\n"
                                             ":RES:AVER:TCON MOV\n:RES:AVER:STAT OFF\n:SYST:AZER:STAT ON\n"));
    EXPECT_EQ(f.form.Label4->text(), "0,000001 MOhm");
    // Activating the window ends the service view.
    f.form.hide();
    f.form.show();
    EXPECT_FALSE(f.form.Label3->isVisibleTo(&f.form));
    EXPECT_FALSE(f.form.Command7->isEnabled());
}

TEST(MBForm1_Fenster, Stationsschalter_beim_Laden) {
    Teststation station;
    Daten.HelpSchalter = 0;
    Daten.EscSchalter = 1;
    Daten.Testlabels = 0;
    MBForm1 form;
    form.Form_Load();
    EXPECT_EQ(form.size(), QSize(320, 240));
    EXPECT_EQ(form.windowTitle(), "Meßblock Konfiguration");
    EXPECT_EQ(form.Label1->text(), "Meßblockkonfiguration Mod. 2000");
    EXPECT_FALSE(form.Command5->isVisibleTo(&form));
    EXPECT_TRUE(form.Command4->isVisibleTo(&form));
    EXPECT_FALSE(form.Command7->isVisibleTo(&form));
    EXPECT_FALSE(form.Command8->isVisibleTo(&form));
}

TEST(MBForm1_Fenster, Neu_öffnet_die_Eingabe) {
    Teststation station;
    Blockfenster f;
    station.Dialoge.Antworten << "";  // the operator leaves the entry
    f.wählen(9);
    EXPECT_EQ(Daten.Tastaturaufrufer, "MBForm");
    EXPECT_FALSE(f.form.isEnabled());
    Ereignisse_verarbeiten();
    EXPECT_TRUE(f.form.isEnabled());
    EXPECT_EQ(Messblockliste().size(), 10);
}

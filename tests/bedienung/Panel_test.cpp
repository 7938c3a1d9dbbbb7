// A new station set up by touch on the 320 x 240 panel, page by page along
// the arrows, and a run operated from the main window.
#include "Bedienung.h"


class Panel : public Bedienung {
protected:
    QString Zeilen() const {
        QStringList z;
        for (const Steuerelement& e : bild.Elemente)
            if (e.Klasse == "Zeile" || e.Tiefe == 0)
                z << e.Klasse + ":" + e.Text;
        return z.join(" | ");
    }
    // Opens a drop-down list by touch and touches its entry 'text'.
    void Eintrag_wählen(const Steuerelement* liste, const QString& text, const QString& foto = {}) {
        ASSERT_TRUE(liste) << text.toStdString();
        ASSERT_TRUE(schirm->klicken(liste));
        const auto eintrag = [&](const Auskunft& a) -> const Steuerelement* {
            for (const Steuerelement& e : a.Elemente)
                if (e.Klasse == "Zeile" && e.Text == text && !e.abgeschnitten)
                    return &e;
            return nullptr;
        };
        abwarten([&](const Auskunft& a) { return eintrag(a); });
        ASSERT_TRUE(eintrag(bild)) << text.toStdString() << " " << Zeilen().toStdString();
        EXPECT_TRUE(schirm->Fläche().contains(eintrag(bild)->Rechteck));
        if (!foto.isEmpty())
            EXPECT_FALSE(schirm->Foto(foto).isEmpty());
        // An operator looks before touching; a release right where the list
        // was opened, within a double-click time, is not taken as a choice.
        warten_bis([] { return false; }, 500);
        ASSERT_TRUE(schirm->klicken(eintrag(bild)));
    }

    // The on-screen keyboard: each character is a touch on its key.
    void Tastatur_tippen(const QString& text) {
        for (const QChar c : text) {
            sehen();
            const QString taste = c == ' ' ? QString("Spacebar") : QString(c.toUpper());
            std::optional<Steuerelement> k;
            for (const Steuerelement& e : bild.auf_Seite("Tastatur"))
                if (e.Text == taste && e.Klasse == "Taste")
                    k = e;
            ASSERT_TRUE(k) << "Taste " << taste.toStdString();
            const Steuerelement* zeile = bild.finden_auf("Tastatur", "Text1");
            const QString vorher = zeile ? zeile->Text : QString();
            ASSERT_TRUE(schirm->klicken(&*k));
            abwarten([&](const Auskunft& a) {
                const Steuerelement* zeile = nullptr;
                for (const Steuerelement& e : a.auf_Seite("Tastatur"))
                    if (e.Name == "Text1")
                        zeile = &e;
                return zeile && zeile->Text != vorher;
            });
        }
    }
};

TEST_F(Panel, neue_Station_Seite_fuer_Seite_eingerichtet) {
    ASSERT_NO_FATAL_FAILURE(starten());
    // The page area starts at the screen corner: nothing of a page is cut off.
    const Steuerelement* haupt = bild.finden("Hauptfenster");
    ASSERT_TRUE(haupt);
    EXPECT_EQ(haupt->Rechteck.topLeft(), QPoint(0, 0));
    prüfen("Hauptfenster", "01_Hauptfenster");

    ASSERT_NO_FATAL_FAILURE(tippen("programmieren"));
    ASSERT_NO_FATAL_FAILURE(oben("Projekt"));
    prüfen("Projekt", "02_Projekt");

    // A new station has no meter yet: the arrow asks for one first.
    ASSERT_NO_FATAL_FAILURE(Pfeil_tippen("Projekt", "Hinweisform"));
    ASSERT_NO_FATAL_FAILURE(tippen_auf_Text("Ok"));
    ASSERT_NO_FATAL_FAILURE(oben("Projekt"));
    ASSERT_NO_FATAL_FAILURE(Eintrag_wählen(bild.mit_Text("???"), "Keithley 2000 Multimeter"));
    ASSERT_NO_FATAL_FAILURE(tippen("Netzwerkknopf"));
    ASSERT_NO_FATAL_FAILURE(oben("Network"));
    prüfen("Network", "02_Netzwerk");
    ASSERT_NO_FATAL_FAILURE(Pfeil_tippen("Network", "Projekt", false));
    ASSERT_NO_FATAL_FAILURE(Pfeil_tippen("Projekt", "Kanalbelegung"));
    prüfen("Kanalbelegung", "03_Kanalbelegung");

    // The block editor: "neu" asks for a name on the keyboard, also when it
    // is chosen again after the keyboard was left with "Esc".
    for (int mal = 0; mal < 2; ++mal) {
        ASSERT_NO_FATAL_FAILURE(tippen_auf("Kanalbelegung", "Meßblockkonfig."));
        ASSERT_NO_FATAL_FAILURE(oben("MBForm1"));
        if (mal == 0)
            prüfen("MBForm1", "03_Messblockeditor");
        else  // still chosen: picking it again changes nothing in the list
            EXPECT_EQ(bild.finden_auf("MBForm1", "Messblockausw")->Text, "neu");
        ASSERT_NO_FATAL_FAILURE(Eintrag_wählen(bild.finden_auf("MBForm1", "Messblockausw"), "neu"));
        ASSERT_NO_FATAL_FAILURE(oben("Tastatur"));
        ASSERT_NO_FATAL_FAILURE(tippen_auf("Tastatur", "Esc"));
        ASSERT_NO_FATAL_FAILURE(oben("Kanalbelegung"));
    }

    // A signal name typed on the on-screen keyboard.
    ASSERT_NO_FATAL_FAILURE(tippen("Label4_0"));
    ASSERT_NO_FATAL_FAILURE(oben("Tastatur"));
    prüfen("Tastatur", "04_Tastatur");
    ASSERT_NO_FATAL_FAILURE(Tastatur_tippen("t1"));
    ASSERT_NO_FATAL_FAILURE(tippen_auf_Text("Return"));
    ASSERT_NO_FATAL_FAILURE(oben("Kanalbelegung"));
    abwarten([](const Auskunft& a) { return a.finden("Label4_0", "t1"); });
    ASSERT_TRUE(bild.finden("Label4_0", "t1"));

    // A block chosen from the cell's drop-down list, by touch.
    ASSERT_NO_FATAL_FAILURE(tippen("Label3_0"));
    abwarten([](const Auskunft& a) { return a.finden("Meßblock"); });
    ASSERT_NO_FATAL_FAILURE(Eintrag_wählen(bild.finden("Meßblock"), "Gleichspannung", "05_Blockliste"));
    abwarten([](const Auskunft& a) { return a.finden("Label3_0", "Gleichspannung"); });
    ASSERT_TRUE(bild.finden("Label3_0", "Gleichspannung"));
    EXPECT_FALSE(bild.finden("Meßblock"));  // the list closes with the choice

    ASSERT_NO_FATAL_FAILURE(Kette_entlang({"Kanalbelegung", "Scanlist", "Datenreihenfolge", "CalcuReihenfolge"}, 6));
    // A project that stored no storage kind shows the default.
    ASSERT_TRUE(bild.mit_Text("an Rohdaten anhängen"));
    EXPECT_TRUE(bild.mit_Text("an Rohdaten anhängen")->gewählt);
    EXPECT_FALSE(bild.mit_Text("separat speichern")->gewählt);
    ASSERT_NO_FATAL_FAILURE(tippen_auf("CalcuReihenfolge", "separat speichern"));
    abwarten([](const Auskunft& a) { return a.mit_Text("separat speichern")->gewählt; });
    EXPECT_FALSE(bild.mit_Text("an Rohdaten anhängen")->gewählt);

    // A formula: its signal picked from the keyboard's list.
    const Steuerelement* leer = bild.finden_auf("CalcuReihenfolge", "0", "Doppelklicken um Eintrag hinzuzufügen!");
    ASSERT_TRUE(leer);
    ASSERT_TRUE(schirm->doppelklicken(leer->Rechteck.center()));
    ASSERT_NO_FATAL_FAILURE(oben("Tastatur"));
    ASSERT_NO_FATAL_FAILURE(Tastatur_tippen("p="));
    ASSERT_NO_FATAL_FAILURE(Eintrag_wählen(bild.finden_auf("Tastatur", "List1"), "t1", "08_Formeltastatur"));
    abwarten([](const Auskunft& a) { return a.finden_auf("Tastatur", "Text1", "p=[t1]"); });
    ASSERT_NO_FATAL_FAILURE(Tastatur_tippen("*2_W"));
    ASSERT_NO_FATAL_FAILURE(tippen_auf_Text("Return"));
    ASSERT_NO_FATAL_FAILURE(oben("CalcuReihenfolge"));
    abwarten([](const Auskunft& a) { return a.mit_Text("p=[t1]*2_w"); });
    ASSERT_TRUE(bild.mit_Text("p=[t1]*2_w"));

    ASSERT_NO_FATAL_FAILURE(Kette_entlang({"CalcuReihenfolge", "Datenformat", "Datenlogger", "Matrix"}, 9));
    // "<<" returns to the page below.
    ASSERT_NO_FATAL_FAILURE(Pfeil_tippen("Matrix", "Datenlogger", false));

    // Saved under a name typed on the keyboard: a new station's project has none yet.
    ASSERT_NO_FATAL_FAILURE(tippen_auf("Datenlogger", "Speichern"));
    ASSERT_NO_FATAL_FAILURE(oben("Dateiform"));
    prüfen("Dateiform", "12_Dateiform");
    ASSERT_TRUE(schirm->klicken(bild.finden_auf("Dateiform", "Text1")));
    ASSERT_NO_FATAL_FAILURE(oben("Tastatur"));
    for (int i = 0; i < 40 && !bild.finden_auf("Tastatur", "Text1", ""); ++i) {
        ASSERT_NO_FATAL_FAILURE(tippen_auf("Tastatur", "Del"));
        sehen();
    }
    ASSERT_NO_FATAL_FAILURE(Tastatur_tippen("panel"));
    ASSERT_NO_FATAL_FAILURE(tippen_auf_Text("Return"));
    ASSERT_NO_FATAL_FAILURE(oben("Dateiform"));
    ASSERT_NO_FATAL_FAILURE(tippen_auf("Dateiform", "OK"));
    ASSERT_TRUE(warten_bis([&] { return lauf.vorhanden("c:\\kestrix\\extern\\config\\panel\\Rechen.ini"); }, 8000));
    EXPECT_FALSE(schirm->Foto("13_gespeichert").isEmpty());

    // Group A, terminal 1 (of 0 to 8): terminals 9 x 4, kinds 9 x 5, blocks
    // and signal names 9 x 20 bytes each.
    const QByteArray a = Teststation::Datei_lesen(lauf.Laufwerk('c') + "/kestrix/intern/kanaele/panel.kxp").left(441);
    ASSERT_EQ(a.size(), 441);
    EXPECT_EQ(a.mid(4 * 9 + 5 * 9 + 20, 20), QByteArray("Gleichspannung      "));
    EXPECT_EQ(a.mid(4 * 9 + 5 * 9 + 20 * 9 + 20, 20), QByteArray("t1                  "));
    // Scan position 1: terminal 1, group 1, 4 bytes, block, 5 bytes, signal.
    const QByteArray s1 = Teststation::Datei_lesen(lauf.Laufwerk('c') + "/kestrix/intern/scanlist/panel.kxp").left(53);
    ASSERT_EQ(s1.size(), 53);
    EXPECT_EQ(s1.left(4), QByteArray("\x01\x00\x01\x00", 4));
    EXPECT_EQ(s1.mid(8, 20), QByteArray("Gleichspannung      "));
    EXPECT_EQ(s1.mid(33, 20), QByteArray("t1                  "));
    EXPECT_EQ(lauf.Datei("c:\\kestrix\\extern\\config\\panel\\Rechen.ini"), "p=[t1]*2_w\r\n");
    // Option states 7 and 8 (16 bits each): "separat speichern" is 0, -1.
    const QByteArray knöpfe = Teststation::Datei_lesen(lauf.Laufwerk('c') + "/kestrix/intern/Buttons/panel.kxp");
    EXPECT_EQ(knöpfe.mid(12, 4), QByteArray("\x00\x00\xFF\xFF", 4));
}

TEST_F(Panel, Messlauf_gestartet_angehalten_fortgesetzt_beendet) {
    Projekt_grundstellen();
    Messpunkt_setzen(1, 1, 1, Daten.Messblocktabelle[1].Messblockname.text(), "U1");
    ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001"));
    ASSERT_TRUE(lauf.Box_starten({"--signal", "A1=const:1.5"}));
    // The project on the command line starts its run.
    ASSERT_NO_FATAL_FAILURE(starten(320, 240, {"lauf.kxp"}));
    ASSERT_TRUE(lauf.Frames_abwarten("00073!", 2)) << lauf.Protokollmeldungen().join('\n').toStdString();
    abwarten([](const Auskunft& a) { return a.finden("messen", "Messung anhalten"); });
    // The value list shows the signal's name and value, on the screen.
    const auto zeile_U1 = [](const Auskunft& a) {
        for (const Steuerelement& e : a.Elemente)
            if (e.Klasse == "Zeile" && e.Text.contains("U1") && e.Text.contains("1,5"))
                return &e;
        return static_cast<const Steuerelement*>(nullptr);
    };
    abwarten([&](const Auskunft& a) { return zeile_U1(a); });
    ASSERT_TRUE(zeile_U1(bild)) << bild.finden("List1")->Text.toStdString();
    EXPECT_TRUE(schirm->Fläche().contains(zeile_U1(bild)->Rechteck));
    prüfen("Hauptfenster", "20_Messlauf");

    ASSERT_NO_FATAL_FAILURE(tippen("messen", "Messung anhalten"));
    abwarten([](const Auskunft& a) { return a.finden("Command1", " weiter"); });
    ASSERT_TRUE(bild.finden("messen", "Messung beenden"));
    prüfen("Hauptfenster", "21_angehalten");
    ASSERT_TRUE(lauf.Meldung_abwarten("Messung angehalten"));

    ASSERT_NO_FATAL_FAILURE(tippen("Command1", " weiter"));
    ASSERT_TRUE(lauf.Meldung_abwarten("Messung fortgesetzt"));
    const int scans = lauf.Anzahl("00073!");
    ASSERT_TRUE(lauf.Frames_abwarten("00073!", scans + 1));

    abwarten([](const Auskunft& a) { return a.finden("messen", "Messung anhalten"); });
    ASSERT_NO_FATAL_FAILURE(tippen("messen", "Messung anhalten"));
    abwarten([](const Auskunft& a) { return a.finden("messen", "Messung beenden"); });
    ASSERT_NO_FATAL_FAILURE(tippen("messen", "Messung beenden"));
    ASSERT_TRUE(lauf.Meldung_abwarten("Messung beendet"));
    ASSERT_TRUE(lauf.Frames_abwarten("00093!", 1));
    abwarten([](const Auskunft& a) {
        const Steuerelement* m = a.finden("messen", "Messung starten");
        return m && m->Zustand;
    });
    prüfen("Hauptfenster", "22_beendet");
    EXPECT_EQ(lauf.Datei("d:\\Daten.txt").section('\t', 2), "01,50000\tU1\tV DC\t\r\n");

    // And started again by touch.
    ASSERT_NO_FATAL_FAILURE(tippen("messen", "Messung starten"));
    ASSERT_TRUE(lauf.Meldung_abwarten("Messung gestartet", 2));
}

TEST_F(Panel, externer_Monitor) {
    const QString ini = station.Programmverzeichnis() + "/Kesti.ini";
    QByteArray inhalt = Teststation::Datei_lesen(ini);
    inhalt.replace("DisplayType=1/4 VGA", "DisplayType=ExtMoni");
    Teststation::Datei_schreiben(ini, inhalt);
    ASSERT_NO_FATAL_FAILURE(starten(1024, 768));
    EXPECT_EQ(bild.finden("MDIForm1")->Rechteck.size(), QSize(327, 273));  // 4900 x 4100 twips
    EXPECT_EQ(bild.finden("Hauptfenster")->Rechteck.size(), QSize(320, 253));
    EXPECT_FALSE(bild.finden("Mausfangform"));
    prüfen("Hauptfenster", "30_Monitor_Hauptfenster");

    ASSERT_NO_FATAL_FAILURE(tippen("programmieren"));
    ASSERT_NO_FATAL_FAILURE(oben("Projekt"));
    ASSERT_NO_FATAL_FAILURE(Eintrag_wählen(bild.mit_Text("???"), "Keithley 2000 Multimeter"));
    const QStringList kette = {"Projekt", "Kanalbelegung", "Scanlist", "Datenreihenfolge", "CalcuReihenfolge",
                               "Datenformat", "Datenlogger"};
    const QMap<QString, QString> titel = {
        {"Scanlist", "Scanliste"}, {"Datenreihenfolge", "Aufzeichnungsreihenfolge"}, {"CalcuReihenfolge", "berechnete Werte:"}};
    for (int i = 0; i < kette.size(); ++i) {
        const QString& seite = kette[i];
        const Steuerelement* s = bild.finden(seite);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->Rechteck.size(), QSize(320, seite == "Kanalbelegung" ? 253 : 247)) << seite.toStdString();
        for (const Steuerelement& e : bild.auf_Seite(seite))
            EXPECT_TRUE(e.Text != "Hilfe" && e.Text != "Abbrechen") << seite.toStdString();
        if (titel.contains(seite))
            EXPECT_TRUE(bild.mit_Text(titel[seite])) << seite.toStdString();
        prüfen(seite, QString("3%1_Monitor_%2").arg(i + 1).arg(seite));
        if (i + 1 < kette.size())
            Pfeil_tippen(seite, kette[i + 1]);
    }
}

TEST_F(Panel, Blockeditor_des_Codemessgeraets) {
    ASSERT_NO_FATAL_FAILURE(starten());
    ASSERT_NO_FATAL_FAILURE(tippen("programmieren"));
    ASSERT_NO_FATAL_FAILURE(oben("Projekt"));
    ASSERT_NO_FATAL_FAILURE(Eintrag_wählen(bild.mit_Text("???"), "Metex M-4660A Multimeter"));
    ASSERT_NO_FATAL_FAILURE(Pfeil_tippen("Projekt", "Kanalbelegung"));
    ASSERT_NO_FATAL_FAILURE(tippen_auf("Kanalbelegung", "Meßblockkonfig."));
    ASSERT_NO_FATAL_FAILURE(oben("MBForm4"));
    // Nothing chosen yet: no block, no values.
    EXPECT_EQ(bild.finden_auf("MBForm4", "Messblockausw")->Text, "");
    EXPECT_EQ(bild.finden_auf("MBForm4", "Messfkt")->Text, "");
    prüfen("MBForm4", "40_Codemessgeraet");
    ASSERT_NO_FATAL_FAILURE(Eintrag_wählen(bild.finden_auf("MBForm4", "Messblockausw"), "Widerstand"));
    abwarten([](const Auskunft& a) {
        const Steuerelement* f = a.finden_auf("MBForm4", "Messfkt");
        return f && f->Text == "Widerstand";
    });
    EXPECT_EQ(bild.finden_auf("MBForm4", "Messfkt")->Text, "Widerstand");
    EXPECT_TRUE(bild.mit_Text("Bereich [kOhm]"));
    prüfen("MBForm4", "41_Codemessgeraet_Widerstand");
}

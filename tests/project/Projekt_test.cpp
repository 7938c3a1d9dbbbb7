// The project store, the project dialog and the search for boxes, as the
// operator and the files on disk see them.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QUdpSocket>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "platform/Pfade.h"
#include "project/Dateiform.h"
#include "project/Hinweisform.h"
#include "project/MDIForm1.h"
#include "points/Messstellentabellen.h"
#include "project/Projekt.h"
#include "project/Projektdateien.h"
#include "recording/Datenlogger.h"
#include "keyboard/Tastatur.h"
#include "support/Teststation.h"

namespace {
struct Projektseite : ::testing::Test {
    Teststation station;
    std::unique_ptr<MDIForm1> rahmen;
    Projekt* projekt = nullptr;
    Dateiform* dialog = nullptr;

    void SetUp() override {
        for (QChar lw : {'c', 'd', 'e'})
            station.Laufwerk_anlegen(lw);
        rahmen = std::make_unique<MDIForm1>();
        ASSERT_TRUE(rahmen->MDIForm_Load());
        projekt = Fenster.Projekt;
        dialog = Fenster.Dateiform;
        ASSERT_TRUE(projekt && dialog);
    }
    void TearDown() override {
        if (rahmen)
            rahmen->entladen();
    }
    QString intern(const QString& rest) const { return Pfade::lokal("c:\\kestrix\\intern\\" + rest); }
    void erststart() {
        projekt->Projektverz_anleg();
        projekt->Projname_Datei_anleg();
        projekt->Projektname_aus_Datei_holen();
    }
    void speichern_unter(const QString& name) {
        dialog->Text1->setText(name);
        projekt->Projektname_aktualisieren();
        ASSERT_TRUE(projekt->alles_speichern());
    }
};
}

TEST_F(Projektseite, Erster_Start_legt_Baum_und_Standardprojekt_an) {
    erststart();
    for (const char* v : {"projbez", "scanlist", "kanaele", "aufzlist", "messbvar", "fkt_cnst", "optiscan",
                          "vorg_rei", "Buttons", "Dformat", "Datlog", "Stromaus", "SerNo", "Matrix"})
        EXPECT_TRUE(QFileInfo(intern(v)).isDir()) << v;
    EXPECT_EQ(Teststation::Datei_lesen(intern("projbez\\projekt.kxp")), "noname01.kxp\r\n");
    EXPECT_EQ(Daten.Projektname, "noname01.kxp");
    projekt->noname01_speichern();
    EXPECT_EQ(QFileInfo(intern("kanaele\\noname01.kxp")).size(), 16 * 441);
    EXPECT_EQ(QFileInfo(intern("aufzlist\\noname01.kxp")).size(), 120 * 53);
    EXPECT_EQ(QFileInfo(intern("matrix\\noname01.kxp")).size(), 8 * 72);
    EXPECT_EQ(Teststation::Datei_lesen(intern("SerNo\\noname01.kxp")), "\r\n");
    EXPECT_FALSE(QFileInfo::exists(intern("Stromaus\\noname01.kxp")));  // written by runs only
    projekt->alle_Daten_aus_Dateien_holen();
    EXPECT_TRUE(station.Dialoge.Meldungen.isEmpty());

    // A second start keeps the name file.
    Teststation::Datei_schreiben(intern("projbez\\projekt.kxp"), "Halle3.kxp\r\n");
    erststart();
    EXPECT_EQ(Daten.Projektname, "Halle3.kxp");
}

TEST_F(Projektseite, Name_aus_der_Projektdatei) {
    erststart();
    Teststation::Datei_schreiben(intern("projbez\\projekt.kxp"), "Versuch.kxpzz\r\n");
    projekt->Projektname_aus_Datei_holen();
    EXPECT_EQ(Daten.Projektname, "Versuch.kxp");
    Teststation::Datei_schreiben(intern("projbez\\projekt.kxp"), "ohnepunkt");
    projekt->Projektname_aus_Datei_holen();
    EXPECT_EQ(Daten.Projektname, "ohn");
}

TEST_F(Projektseite, Gespeichert_und_geladen_bleibt_alles_gleich) {
    erststart();
    Daten.Kanaltabelle[3].Signalbezeichnung[5] = QString::fromUtf8("Außentemperatur-1");
    Daten.Kanaltabelle[3].Messblockzuordnung[5] = "Thermoelement K";
    Daten.Messblocktabelle[1].Gerätetyp = 1;
    Daten.Messblocktabelle[2].Bereich = 2.5f;
    Daten.Scanlistentabelle[1].Signalname = "Vorlauf";
    Daten.Scanlistentabelle[1].Gruppennummer = 3;
    Daten.Aufzeichnungstabelle[0].Signalname = "Vorlauf";
    Daten.Knopfzustände[7] = -1;
    Daten.Datenformatsatz.Trennzeichenindex = 2;
    Daten.Datenloggersatz.Periodenindex = 1;
    Daten.Matrixtabelle[8].Matrixname = "Decke";
    Daten.Funktionskonstantentabelle[20].Gleitzahlen[1] = 1.25;
    projekt->Seriennummer = "Q70004711";
    speichern_unter("probe.kxp");
    const QByteArray kanaele = Teststation::Datei_lesen(intern("kanaele\\probe.kxp"));
    EXPECT_EQ(kanaele.mid(2 * 441 + 36 + 45 + 5 * 20, 20), "Thermoelement K     ");
    EXPECT_EQ(kanaele.mid(2 * 441 + 36 + 45 + 180 + 5 * 20, 20), "Au\xDF" "entemperatur-1   ");

    Daten = Programmdaten{};
    Daten.Projektname = "probe.kxp";
    Daten.Boxadresse = "127.0.0.9";
    projekt->alle_Daten_aus_Dateien_holen();
    EXPECT_EQ(Daten.Kanaltabelle[3].Signalbezeichnung[5].text(), QString::fromUtf8("Außentemperatur-1"));
    EXPECT_EQ(Daten.Messblocktabelle[2].Bereich, 2.5f);
    EXPECT_EQ(Daten.Scanlistentabelle[1].Gruppennummer, 3);
    EXPECT_EQ(Daten.Aufzeichnungstabelle[0].Signalname.text(), "Vorlauf");
    EXPECT_EQ(Daten.Knopfzustände[7], -1);
    EXPECT_EQ(Daten.Datenformatsatz.Trennzeichenindex, 2);
    EXPECT_EQ(Daten.Datenloggersatz.Periodenindex, 1);
    EXPECT_EQ(Daten.Matrixtabelle[8].Matrixname.text(), "Decke");
    EXPECT_EQ(Daten.Funktionskonstantentabelle[20].Gleitzahlen[1], 1.25);
    EXPECT_EQ(projekt->Seriennummer, "Q70004711");
    EXPECT_EQ(projekt->Label3->text(), "Q70004711");
    EXPECT_TRUE(Daten.Boxadresse.isEmpty());  // each project looks its box up anew

    // Saved again, every file is the same byte for byte.
    const QByteArray messbvar = Teststation::Datei_lesen(intern("messbvar\\probe.kxp"));
    ASSERT_TRUE(projekt->alles_speichern());
    EXPECT_EQ(Teststation::Datei_lesen(intern("kanaele\\probe.kxp")), kanaele);
    EXPECT_EQ(Teststation::Datei_lesen(intern("messbvar\\probe.kxp")), messbvar);
}

TEST_F(Projektseite, Speichern_des_Standardprojekts_fragt_nach_einem_Namen) {
    erststart();
    projekt->Label1->setText("noname01.kxp");
    const QByteArray vorher = Teststation::Datei_lesen(intern("kanaele\\noname01.kxp"));
    Daten.Kanaltabelle[1].Signalbezeichnung[1] = "neu";
    projekt->speichern();
    EXPECT_TRUE(dialog->isVisibleTo(rahmen.get()));
    EXPECT_EQ(dialog->Label2->text(), "speichern unter...");
    EXPECT_EQ(Teststation::Datei_lesen(intern("kanaele\\noname01.kxp")), vorher);
}

TEST_F(Projektseite, Loeschen_entfernt_dreizehn_Dateien_und_laesst_den_Namen_stehen) {
    erststart();
    speichern_unter("alt.kxp");
    Teststation::Datei_schreiben(intern("Stromaus\\alt.kxp"), QByteArray(2, '\0'));
    speichern_unter("neu.kxp");
    dialog->Text1->setText("alt.kxp");
    projekt->löschen();
    for (const char* v : {"scanlist", "kanaele", "aufzlist", "messbvar", "fkt_cnst", "optiscan", "vorg_rei",
                          "Buttons", "Dformat", "Datlog", "Stromaus", "SerNo", "Matrix"})
        EXPECT_FALSE(QFileInfo::exists(intern(QString(v) + "\\alt.kxp"))) << v;
    EXPECT_TRUE(QFileInfo::exists(intern("kanaele\\neu.kxp")));
    EXPECT_EQ(Teststation::Datei_lesen(intern("projbez\\projekt.kxp")), "neu.kxp\r\n");
    EXPECT_TRUE(dialog->Text1->text().isEmpty());
}

TEST_F(Projektseite, Fehlendes_Projekt_wird_erfragt_und_Abbruch_beendet) {
    erststart();
    speichern_unter("da.kxp");
    Daten.Projektname = "weg.kxp";
    station.Dialoge.Antworten = {"auch_weg.kxp", "da.kxp"};
    projekt->alle_Daten_aus_Dateien_holen();
    const QString frage = "Bitte gültigen Projektnamen z.B. \"Noname01.kxp\" angeben";
    EXPECT_EQ(station.Dialoge.Meldungen, (QStringList{"Projekt nicht vorhanden!", frage, "Projekt nicht vorhanden!", frage}));
    EXPECT_EQ(Daten.Projektname, "da.kxp");
    EXPECT_EQ(Teststation::Datei_lesen(intern("projbez\\projekt.kxp")), "da.kxp\r\n");
    EXPECT_EQ(station.Ende.Aufrufe, 0);

    Daten.Projektname = "";
    station.Dialoge.Meldungen.clear();
    projekt->alle_Daten_aus_Dateien_holen();  // the prompt cancelled
    EXPECT_EQ(station.Ende.Aufrufe, 1);
}

TEST_F(Projektseite, Nicht_schreibbare_Datei_wird_gemeldet) {
    erststart();
    speichern_unter("fest.kxp");
    QFile::setPermissions(intern("Datlog"), QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(intern("Datlog")).isWritable())
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_FALSE(projekt->alles_speichern());
    ASSERT_EQ(station.Dialoge.Meldungen.size(), 1);
    EXPECT_TRUE(station.Dialoge.Meldungen[0].startsWith("Das Projekt wurde nicht vollständig gespeichert."));
    QFile::setPermissions(intern("Datlog"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(Projektseite, Modelle_und_Weiter_ohne_Modell) {
    projekt->Geräteliste_erstellen();
    ASSERT_EQ(projekt->Combo2->count(), 7);
    EXPECT_EQ(projekt->Combo2->itemText(3), "Prema 5000 Digital Multimeter ");
    EXPECT_EQ(projekt->Combo2->itemText(6), "Tarvo 2000");
    EXPECT_EQ(projekt->Combo2->currentText(), "???");
    Daten.Messblocktabelle[1].Gerätetyp = 6;
    projekt->Gerät_in_Geräteliste();
    EXPECT_EQ(projekt->Combo2->currentIndex(), 6);
    Daten.MeasureDevice = 2;  // device mode overrides the project
    projekt->Gerät_in_Geräteliste();
    EXPECT_EQ(projekt->Combo2->currentIndex(), 2);
    projekt->Combo2->setCurrentIndex(1);
    EXPECT_EQ(Daten.Messblocktabelle[1].Gerätetyp, 2);  // the station's meter stays
    Daten.MeasureDevice = 0;
    projekt->Combo2->setCurrentIndex(3);
    projekt->Combo2->setCurrentIndex(1);
    EXPECT_EQ(Daten.Messblocktabelle[1].Gerätetyp, 1);

    projekt->Combo2->setCurrentIndex(0);
    projekt->Command1_Click();
    EXPECT_TRUE(Fenster.Hinweisform->isVisibleTo(rahmen.get()));
    EXPECT_EQ(Fenster.Hinweisform->Label1->text(), QString::fromUtf8("Sie müßen erst das Modell des angeschl. Gerätes auswählen!"));
    EXPECT_FALSE(projekt->isEnabled());
    Fenster.Hinweisform->Command3->click();
    EXPECT_TRUE(projekt->isEnabled());
}

// ---- the project dialog ---------------------------------------------------------

namespace {
struct Projektdialog : Projektseite {
    void SetUp() override {
        Projektseite::SetUp();
        erststart();
        speichern_unter("eins.kxp");
        speichern_unter("zwei.kxp");
        projekt->Label1->setText("zwei.kxp");
    }
    void ok(const QString& aktion, const QString& name) {
        dialog->öffnen(aktion);
        dialog->Text1->setText(name);
        dialog->Command2->click();
    }
    QString hinweis() const {
        return Fenster.Hinweisform->isVisibleTo(rahmen.get()) ? Fenster.Hinweisform->Label1->text() : QString();
    }
};
}

TEST_F(Projektdialog, Neuer_Name_bis_acht_Zeichen_mit_Endung) {
    ok("neu", "neunbuchs");
    EXPECT_EQ(hinweis(), "Bitte max. 8 Zeichen eingeben!");
    EXPECT_EQ(dialog->Text1->text(), "neunbuchs.kxp");
    Fenster.Hinweisform->Command3->click();
    EXPECT_TRUE(dialog->isEnabled());
    ok("neu", "achtbuch");
    EXPECT_EQ(hinweis(), "sollen Änderungen in aktuellem Projekt gespeichert werden?");
    EXPECT_EQ(dialog->Text1->text(), "achtbuch.kxp");
    EXPECT_EQ(Fenster.Hinweisform->Command1->text(), "Ja");
    EXPECT_EQ(Fenster.Hinweisform->Command3->text(), "Nein");
    Fenster.Hinweisform->hide();  // not answered: "Nein" would create the project
    dialog->setEnabled(true);
    ok("neu", "eins.txt");
    EXPECT_EQ(dialog->Text1->text(), "eins.kxp");
    EXPECT_EQ(hinweis(), "Projektname ist schon für anderes Projekt vergeben!");
    EXPECT_EQ(Fenster.Hinweisform->Command3->text(), "Ändern");
    Fenster.Hinweisform->Command3->click();
    EXPECT_TRUE(dialog->isEnabled());
    projekt->Label1->setText("frisch.kxp");  // a current project not saved yet
    ok("neu", "frisch");
    EXPECT_EQ(hinweis(), "Projektname entspricht dem Namen des aktuellen Projekts!");
}

TEST_F(Projektdialog, Verbotene_Zeichen_werden_vor_jeder_Suche_abgelehnt) {
    ok("neu", "a/b");
    ASSERT_EQ(station.Dialoge.Meldungen.size(), 1);
    EXPECT_EQ(station.Dialoge.Meldungen[0], "Dateiname darf folgende Zeichen nicht enthalten: /\\:*?\"<>|");
    ok("speichern unter...", "x|y");
    EXPECT_EQ(station.Dialoge.Meldungen.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(intern("kanaele\\x|y.kxp")));
}

TEST_F(Projektdialog, Aktuelles_Projekt_weder_loeschen_noch_oeffnen) {
    ok("löschen", "zwei.kxp");
    EXPECT_EQ(hinweis(), "das aktuelle Projekt kann nicht gelöscht werden!");
    Fenster.Hinweisform->Command3->click();
    ok("öffnen", "zwei.kxp");
    EXPECT_EQ(hinweis(), "das ausgewählte Projekt ist bereits geöffnet!");
    Fenster.Hinweisform->Command3->click();
    ok("löschen", "eins.kxp");
    EXPECT_EQ(hinweis(), "gelöschte Projekte gehen unwiederbringlich verloren!");
    Fenster.Hinweisform->Command3->click();  // "Abbrechen"
    EXPECT_TRUE(QFileInfo::exists(intern("kanaele\\eins.kxp")));
    ok("löschen", "eins.kxp");
    Fenster.Hinweisform->Command1->click();  // "Fortfahren"
    EXPECT_FALSE(QFileInfo::exists(intern("kanaele\\eins.kxp")));
}

TEST_F(Projektdialog, Speichern_unter_ueberschreibt_erst_nach_Bestaetigung) {
    Daten.Kanaltabelle[1].Signalbezeichnung[1] = "geaendert";
    const QByteArray vorher = Teststation::Datei_lesen(intern("kanaele\\eins.kxp"));
    ok("speichern unter...", "eins.kxp");
    EXPECT_EQ(hinweis(), "dieses Projekt existiert bereits!");
    EXPECT_EQ(Fenster.Hinweisform->Command1->text(), "Überschreiben");
    EXPECT_EQ(Teststation::Datei_lesen(intern("kanaele\\eins.kxp")), vorher);
    Fenster.Hinweisform->Command1->click();
    EXPECT_NE(Teststation::Datei_lesen(intern("kanaele\\eins.kxp")), vorher);
    EXPECT_EQ(Daten.Projektname, "eins.kxp");

    ok("speichern unter...", "drei");
    EXPECT_TRUE(QFileInfo::exists(intern("kanaele\\drei.kxp")));
    EXPECT_EQ(Daten.Projektname, "drei.kxp");
    EXPECT_FALSE(dialog->isVisibleTo(rahmen.get()));

    // Typed without ".kxp", an existing project is found all the same.
    const QByteArray drei = Teststation::Datei_lesen(intern("kanaele\\drei.kxp"));
    Daten.Kanaltabelle[1].Signalbezeichnung[1] = "nochmal";
    ok("speichern unter...", "drei");
    EXPECT_EQ(hinweis(), "dieses Projekt existiert bereits!");
    Fenster.Hinweisform->Command3->click();  // "Abbrechen"
    EXPECT_EQ(Teststation::Datei_lesen(intern("kanaele\\drei.kxp")), drei);
}

TEST_F(Projektdialog, Oeffnen_laedt_das_gewaehlte_Projekt) {
    Daten.Kanaltabelle[2].Signalbezeichnung[2] = "nur in zwei";
    ASSERT_TRUE(projekt->alles_speichern());
    ok("öffnen", "eins.kxp");
    Fenster.Hinweisform->Command3->click();  // "Nein": open without saving
    EXPECT_EQ(Daten.Projektname, "eins.kxp");
    EXPECT_EQ(projekt->Label1->text(), "eins.kxp");
    EXPECT_NE(Daten.Kanaltabelle[2].Signalbezeichnung[2].text(), "nur in zwei");
}

// ---- the search for boxes ---------------------------------------------------------

TEST(Suchpuffer, Adressen_und_Seriennummern_aus_den_Antworten) {
    Gerätesatz liste[21];
    qint16 anzahl = 0;
    QString puffer = "IP:  7.0.0.9 255.0.0.0 00-50 V1.02 SNr: Q70000007\r"
                     "IP:010.1.2.3 255.0.0.0 00-51 V1.02 SNr: Q70000010\r"
                     "IP:192.168.1.5 255.255.255.0 00-52 V1.02 SNr: Q70000007\r";
    Projekt::Suchpuffer_auswerten(puffer, liste, anzahl);
    ASSERT_EQ(anzahl, 2);
    EXPECT_EQ(liste[0].IPAdresse, "7.0.0.9");
    EXPECT_EQ(liste[0].Seriennummer, "Q70000007");
    EXPECT_EQ(liste[1].IPAdresse, "10.1.2.3");
    EXPECT_EQ(liste[1].Seriennummer, "Q70000010");
    EXPECT_TRUE(puffer.isEmpty() || !puffer.contains('.'));
}

TEST(Suchpuffer, Kurze_Gruppe_kaputte_Antworten_und_volle_Liste) {
    Gerätesatz liste[21];
    qint16 anzahl = 0;
    QString puffer = "IP: 12.0.0.1 a b c SNr: Q71\r";
    Projekt::Suchpuffer_auswerten(puffer, liste, anzahl);
    ASSERT_EQ(anzahl, 1);
    EXPECT_EQ(liste[0].Seriennummer, "Q71");

    for (const char* kaputt : {".", "..", "1.2", "x.y z", "  .  .  .  ", "\r.\r"}) {
        QString p = kaputt;
        Projekt::Suchpuffer_auswerten(p, liste, anzahl);  // must return and read nothing outside
    }
    for (int i = 0; i < 30; ++i) {
        QString p = QString("IP: 10.0.0.%1 a b c SNr: Q7%2\r").arg(i).arg(i, 7, 10, QChar('0'));
        Projekt::Suchpuffer_auswerten(p, liste, anzahl);
    }
    EXPECT_EQ(anzahl, 21);  // the 22nd box is not listed
    EXPECT_EQ(liste[20].IPAdresse, "10.0.0.19");
}

namespace {
quint16 freier_udp_port() {
    QUdpSocket probe;
    probe.bind(QHostAddress("127.0.0.2"), 0);
    return probe.localPort();
}

struct Suche : Projektseite {
    std::unique_ptr<Q7Sim> box;
    void SetUp() override {
#ifndef Q7SIM_PFAD
        GTEST_SKIP() << "without the simulated box";
#endif
        Projektseite::SetUp();
        const quint16 port = freier_udp_port();
        qputenv("KESTRIX_DISCOVERY_ADDR", "127.0.0.2");
        qputenv("KESTRIX_DISCOVERY_PORT", QByteArray::number(port));
        box = std::make_unique<Q7Sim>(QStringList{"--discovery", QString("127.0.0.2:%1").arg(port), "--serial",
                                                  "Q70000042", "--reply-address", "127.0.0.42", "--extra-box",
                                                  "7.0.0.9,Q70000043", "--extra-box", "127.0.0.99,Q70000042"});
        ASSERT_TRUE(box->läuft());
    }
    void TearDown() override {
        qunsetenv("KESTRIX_DISCOVERY_ADDR");
        qunsetenv("KESTRIX_DISCOVERY_PORT");
        Projektseite::TearDown();
    }
};
}

TEST_F(Suche, Boxen_werden_einmal_gelistet_und_ausgewaehlt) {
    projekt->Command9->click();
    EXPECT_EQ(projekt->Command9->text(), "Suche abbrechen");
    ASSERT_TRUE(warten_bis([&] { return projekt->List2->count() >= 2; }, 5000));
    warten_bis([] { return false; }, 1500);  // a further tick lists nothing twice
    projekt->Command9->click();
    EXPECT_EQ(projekt->Command9->text(), "nach verfügbaren Geräten suchen");
    ASSERT_EQ(projekt->List2->count(), 2);
    EXPECT_EQ(projekt->List2->item(0)->text(), "127.0.0.42    Q70000042");
    EXPECT_EQ(projekt->List2->item(1)->text(), "7.0.0.9    Q70000043");
    const QStringList log = station.Protokollmeldungen();
    const QStringList takt = {"Protocol ok", "RemotePort ok", "Bind 8001 ok", "RemoteHost ok", "SendData ok"};
    ASSERT_GE(log.size(), 6);
    EXPECT_EQ(log.mid(1, 5), takt);

    projekt->List2->setCurrentRow(1);
    EXPECT_EQ(Daten.Boxadresse, "7.0.0.9");
    EXPECT_EQ(projekt->Seriennummer, "Q70000043");
    EXPECT_EQ(projekt->Label3->text(), "Q70000043");
}

TEST_F(Suche, Adresse_der_Projektbox_nach_Seriennummer) {
    projekt->Seriennummer = "Q70000043";
    projekt->Q7AdresseFinden();
    EXPECT_EQ(Daten.Boxadresse, "7.0.0.9");
    EXPECT_FALSE(projekt->Timer1->isActive());

    // With an address known nothing is sent.
    const int zeilen = station.Protokollmeldungen().size();
    projekt->Q7AdresseFinden();
    EXPECT_EQ(station.Protokollmeldungen().size(), zeilen);

    // Without a serial number the free entry matches in the first round.
    Daten.Boxadresse.clear();
    projekt->Seriennummer.clear();
    projekt->Label4->setText("1");
    projekt->Q7AdresseFinden();
    EXPECT_EQ(Daten.Boxadresse, "");
    EXPECT_EQ(projekt->Label4->text(), "");
}

TEST_F(Projektdialog, Name_von_der_Bildschirmtastatur) {
    dialog->öffnen("neu");
    dialog->Tastatur_öffnen();
    Tastatur* tastatur = Fenster.Tastatur;
    ASSERT_NE(tastatur, nullptr);
    EXPECT_EQ(Daten.Tastaturaufrufer, "Dateiform");
    EXPECT_FALSE(dialog->isEnabled());
    tastatur->Text1->setText("Halle7");
    tastatur->Label4_Click();  // "Return"
    EXPECT_EQ(dialog->Text1->text(), "Halle7");
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_TRUE(tastatur->isHidden());

    dialog->Tastatur_öffnen();
    tastatur->Text1->setText("verworfen");
    tastatur->Label3_Click();  // "Esc"
    EXPECT_EQ(dialog->Text1->text(), "Halle7");
    EXPECT_TRUE(dialog->isEnabled());
}

TEST(Projektstart, Standardprojekt_beginnt_immer_mit_den_Anfangstabellen) {
    Teststation station;
    for (QChar lw : {'c', 'd', 'e'})
        station.Laufwerk_anlegen(lw);
    {
        MDIForm1 rahmen;
        ASSERT_TRUE(rahmen.MDIForm_Load());
        Daten.Kanaltabelle[1].Signalbezeichnung[1] = "alt";
        ASSERT_TRUE(Fenster.Projekt->alles_speichern());  // work kept in noname01.kxp
        rahmen.entladen();
    }
    Daten = Programmdaten{};
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    EXPECT_EQ(Daten.Projektname, "noname01.kxp");
    EXPECT_TRUE(Daten.Kanaltabelle[1].Signalbezeichnung[1].text().trimmed().isEmpty());
    EXPECT_EQ(Daten.Kanaltabelle[1].Klemme[1].text(), "A 01");
    rahmen.entladen();
}

TEST(Projektstart, Projektname_aus_der_Kommandozeile_ohne_fuehrende_Leerzeichen) {
    Teststation station;
    for (QChar lw : {'c', 'd', 'e'})
        station.Laufwerk_anlegen(lw);
    QProcess programm;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert("QT_QPA_PLATFORM", "offscreen");
    umgebung.insert("KESTRIX_DIALOGPROTOKOLL", station.Programmverzeichnis() + "/dialoge.txt");
    programm.setProcessEnvironment(umgebung);
    programm.start(KESTRIX_PFAD, {"   halle.kxp"});
    // The project does not exist: the load asks for one, the empty answer ends the program.
    ASSERT_TRUE(programm.waitForFinished(20000));
    EXPECT_EQ(Teststation::Datei_lesen(station.Wurzel() + "/c/kestrix/intern/projbez/projekt.kxp"), "halle.kxp\r\n");
    EXPECT_EQ(Teststation::Datei_lesen(station.Wurzel() + "/c/kestrix/intern/Stromaus/halle.kxp"),
              QByteArray("\x01\x00", 2));
    EXPECT_TRUE(QString::fromUtf8(Teststation::Datei_lesen(station.Programmverzeichnis() + "/dialoge.txt"))
                    .startsWith("Meldung: Projekt nicht vorhanden!\n"));
}

TEST(Projekt_Testanzeige, Datlogzeile_zeigt_die_Zeile_des_Datenloggers) {
    Teststation station;
    Variablen_initialisieren();
    Datenlogger::Vorgaben_setzen();  // logger on, the time at the line start
    Daten.Logtrennzeichen = ";";
    Daten.Messwerttexte[1].Logzeit = "14.12.06 09:30:05";
    Daten.Aufzeichnungstabelle[0].Signalname = "U1";
    Daten.Aufzeichnungstexte[0].Logwert = "1,500";
    Daten.Aufzeichnungstabelle[1].Signalname = "U2";
    Daten.Aufzeichnungstexte[1].Logwert = "-2,25";
    Daten.Testlabels = 1;
    {
        Projekt seite;
        EXPECT_FALSE(seite.Command8->isHidden());
        EXPECT_FALSE(seite.Text1->isHidden());
        seite.Command8->click();
        EXPECT_EQ(seite.Text1->text(), "14.12.06 09:30:05;1,500;-2,25;");
    }
    Daten.Testlabels = 0;
    Projekt ohne;
    EXPECT_TRUE(ohne.Command8->isHidden());
    EXPECT_TRUE(ohne.Text1->isHidden());
}

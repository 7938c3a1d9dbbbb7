// The calculation list: "Rechen.ini", the parsing and binding of the
// definitions, the computed values and the texts for the data files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <cmath>

#include "calc/CalcuReihenfolge.h"
#include "calc/Datenreihenfolge.h"
#include "calc/Formelrechner.h"
#include "calc/Rechenformat.h"
#include "common/Fenster.h"
#include "platform/Pfade.h"
#include "project/Hinweisform.h"
#include "project/Projekt.h"
#include "recording/Datenformat.h"
#include "support/Teststation.h"

namespace {
const QString Kopf_Zeile = QString("Fehler in Rechenformel (Zeile %1 in Datei \"Rechen.ini\"): \r");

class Rechenliste : public ::testing::Test {
protected:
    void SetUp() override {
        Daten.Projektkurzname = "Versuch";
        Daten.Testlabels = 1;
        Daten.HelpSchalter = 1;
        Daten.EscSchalter = 1;
        CalcuReihenfolge::Rechenlogteil.clear();
        CalcuReihenfolge::Rechenkopf.clear();
        CalcuReihenfolge::Rechendatenteil.clear();
        seite.Form_Load();
    }

    // Scan positions 1, 2, ... with these signal names, end marker after them.
    static void Scanliste(const QStringList& namen) {
        for (int i = 0; i < namen.size(); ++i)
            Daten.Scanlistentabelle[i + 1].Signalname = namen[i];
        Daten.Scanlistentabelle[namen.size() + 1].Signalname = QString();
    }

    void Definitionen(const QStringList& zeilen) {
        seite.List2->clear();
        seite.List2->addItems(zeilen);
        seite.List2->addItem(CalcuReihenfolge::Neuer_Eintrag);
    }

    QStringList Zeilen(QListWidget* liste) const {
        QStringList z;
        for (int i = 0; i < liste->count(); ++i)
            z << liste->item(i)->text();
        return z;
    }

    QString Ini() const { return CalcuReihenfolge::Rechenini_Pfad(); }
    void Ini_schreiben(const QByteArray& inhalt) {
        QDir().mkpath(QFileInfo(Ini()).absolutePath());
        Teststation::Datei_schreiben(Ini(), inhalt);
    }

    Teststation station;
    CalcuReihenfolge seite;
};
}  // namespace

TEST_F(Rechenliste, DefinitionszeileWirdInNameFormelEinheitUndFormatZerlegt) {
    Rechensatz satz;
    CalcuReihenfolge::Definition_zerlegen("Leistung=[Spannung]*[Strom]_W_0.00", satz);
    EXPECT_EQ(satz.Name, "Leistung");
    EXPECT_EQ(satz.Formel, "[Spannung]*[Strom]");
    EXPECT_EQ(satz.Einheit, "W");
    EXPECT_EQ(satz.Format, "0.00");

    CalcuReihenfolge::Definition_zerlegen("Diff=[T_1]-[T_2]_K", satz);
    EXPECT_EQ(satz.Name, "Diff");
    EXPECT_EQ(satz.Formel, "[T_1]-[T_2]");
    EXPECT_EQ(satz.Einheit, "K");
    EXPECT_EQ(satz.Format, "");

    CalcuReihenfolge::Definition_zerlegen("[a]*2", satz);  // no "=": all formula, no name
    EXPECT_EQ(satz.Name, "");
    EXPECT_EQ(satz.Formel, "[a]*2");

    CalcuReihenfolge::Definition_zerlegen("x=1=2_m_0_0", satz);  // first "=" and first two "_"
    EXPECT_EQ(satz.Name, "x");
    EXPECT_EQ(satz.Formel, "1=2");
    EXPECT_EQ(satz.Einheit, "m");
    EXPECT_EQ(satz.Format, "0_0");
}

TEST_F(Rechenliste, RecheniniWirdZeilenweiseGelesenMitAbschlusseintrag) {
    seite.rechnenini_lesen();
    EXPECT_EQ(Zeilen(seite.List2), QStringList{"Doppelklicken um Eintrag hinzuzufügen!"});

    // Windows-1252: "ä" is E4, "°" is B0.
    Ini_schreiben("W\xe4rme=[T_1]*2_\xb0" "C\r\nLeistung=[U]*[I]_W_0.00\r\n");
    seite.rechnenini_lesen();
    EXPECT_EQ(Zeilen(seite.List2), (QStringList{QString::fromUtf8("Wärme=[T_1]*2_°C"), "Leistung=[U]*[I]_W_0.00",
                                                "neuen Eintrag hinzufügen"}));

    // A last line without its line end still counts.
    Ini_schreiben("a=1\r\nb=2");
    seite.rechnenini_lesen();
    EXPECT_EQ(Zeilen(seite.List2), (QStringList{"a=1", "b=2", "neuen Eintrag hinzufügen"}));
}

TEST_F(Rechenliste, RecheniniWirdOhneAbschlusseintragZurueckgeschrieben) {
    Ini_schreiben("alt=1\r\n");
    Definitionen({QString::fromUtf8("Wärme=[T_1]*2_°C"), "b=2"});
    seite.rechenini_rückspeichern();
    EXPECT_EQ(Teststation::Datei_lesen(Ini()), QByteArray("W\xe4rme=[T_1]*2_\xb0" "C\r\nb=2\r\n"));

    // Read and written again: byte for byte the same.
    seite.rechnenini_lesen();
    seite.rechenini_rückspeichern();
    EXPECT_EQ(Teststation::Datei_lesen(Ini()), QByteArray("W\xe4rme=[T_1]*2_\xb0" "C\r\nb=2\r\n"));
}

TEST_F(Rechenliste, SpeichernNurMitAbschlusszeileLaesstRecheniniWieEsWar) {
    Ini_schreiben("alt=1\r\nnoch=2");
    seite.List2->clear();
    seite.List2->addItem(CalcuReihenfolge::Neuer_Eintrag);
    seite.Command3->click();
    EXPECT_EQ(Teststation::Datei_lesen(Ini()), QByteArray("alt=1\r\nnoch=2"));

    // Without any file, nothing is created either.
    QFile::remove(Ini());
    seite.List2->clear();
    seite.List2->addItem(CalcuReihenfolge::Leerer_Eintrag);
    seite.rechenini_rückspeichern();
    EXPECT_FALSE(QFile::exists(Ini()));

    // The project's folder is made when it is missing.
    QDir(QFileInfo(Ini()).absolutePath()).removeRecursively();
    Definitionen({"x=1"});
    seite.rechenini_rückspeichern();
    EXPECT_EQ(Teststation::Datei_lesen(Ini()), QByteArray("x=1\r\n"));
}

TEST_F(Rechenliste, VorbelegenBindetReferenzenAnScanpositionen) {
    Scanliste({"Spannung", "Strom", "T_1"});
    Definitionen({"Leistung=[Spannung]*[Strom]_W_0.00", "Diff=[T_1]-[Spannung]_K", "Konstante=2*3"});
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    const Rechensatz& p = Daten.Rechentabelle[0];
    EXPECT_EQ(p.Name, "Leistung");
    EXPECT_EQ(p.Referenzname[0], "Spannung");
    EXPECT_EQ(p.Referenzposition[0], 1);
    EXPECT_EQ(p.Scanposition[0], 1);
    EXPECT_EQ(p.Referenzname[1], "Strom");
    EXPECT_EQ(p.Referenzposition[1], 12);
    EXPECT_EQ(p.Scanposition[1], 2);
    EXPECT_EQ(p.Referenzname[2], "");
    EXPECT_EQ(Daten.Rechentabelle[1].Scanposition[0], 3);
    EXPECT_EQ(Daten.Rechentabelle[1].Scanposition[1], 1);
    EXPECT_EQ(Daten.Rechentabelle[2].Referenzname[0], "");
    EXPECT_EQ(Daten.Rechentabelle[3].Formel, "");
    EXPECT_EQ(station.Ende.Aufrufe, 0);
}

TEST_F(Rechenliste, BerechnenSetztMesswerteEinUndZeigtDieErgebnisse) {
    Scanliste({"a", "b", "c"});
    Daten.Messwerttexte[1].Logwert = "-3,2";
    Daten.Messwerttexte[2].Logwert = "  4,5 ";
    Daten.Messwerttexte[3].Logwert = "0,001";
    Definitionen({"Doppelt=[a]*2_V", "Summe=[a]+[b]+[c]_V", "Wurzel=Sqr([b]*[b])", "Quotient=[b]/[c]_x",
                  "Betrag=Abs([a])"});
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    seite.CalcuVar_berechnen();
    // -3,2 is put in as (-3,2): [a]*2 is -6,4, not 2*0-3,2.
    EXPECT_DOUBLE_EQ(Daten.Rechentabelle[0].Ergebnis, -6.4);
    EXPECT_DOUBLE_EQ(Daten.Rechentabelle[1].Ergebnis, 1.301);
    EXPECT_DOUBLE_EQ(Daten.Rechentabelle[2].Ergebnis, 4.5);
    EXPECT_DOUBLE_EQ(Daten.Rechentabelle[3].Ergebnis, 4500);
    EXPECT_DOUBLE_EQ(Daten.Rechentabelle[4].Ergebnis, 3.2);
    // Computed while the page was hidden: the lines come when it is shown.
    EXPECT_EQ(seite.List1->count(), 0);
    seite.show();
    EXPECT_EQ(Zeilen(seite.List1), (QStringList{"Doppelt :-6,4 V", "Summe :1,301 V", "Wurzel :4,5 ", "Quotient :4500 x",
                                                "Betrag :3,2 "}));
}

// The values of a record are put in as numbers where a reference stands
// between operators; everywhere the result is the one of the formula's text
// with the values written in.
TEST_F(Rechenliste, WerteEingesetztWieImText) {
    Scanliste({"a", "b"});
    Definitionen({"q=(-[a]^2)", "p=[a]^2", "e=2E-[a]", "g=2[a]", "z=[a][b]", "f=Sin[a]", "k=Abs(-[a]*[b])",
                  "v=[b]/[a]/[b]*[a]", "t=(([a]))-[b]^[a]", "n=[a]+-[b]"});
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    const QStringList werte = {"3", "-3", "0", "-0,00", "1,5", "-0,0001", "1E-7", "-2,5E+3", "NaN", "abc", "",
                               "12345678901234567", "0,1234567890123456"};
    for (const QString& a : werte)
        for (const QString& b : werte) {
            Daten.Messwerttexte[1].Logwert = a;
            Daten.Messwerttexte[2].Logwert = b;
            for (int k = 0; k < 10; ++k) {
                const Rechensatz& satz = Daten.Rechentabelle[k];
                EXPECT_EQ(CalcuReihenfolge::Rechensatz_berechnen(satz), CalcuReihenfolge::Rechensatz_aus_Text(satz))
                    << satz.Formel.toStdString() << " a=" << a.toStdString() << " b=" << b.toStdString();
            }
        }
    Daten.Messwerttexte[1].Logwert = "3";
    EXPECT_EQ(CalcuReihenfolge::Rechensatz_berechnen(Daten.Rechentabelle[0]), 9);
    EXPECT_DOUBLE_EQ(CalcuReihenfolge::Rechensatz_berechnen(Daten.Rechentabelle[2]), 0.002);
    Daten.Messwerttexte[1].Logwert = "-3";
    EXPECT_EQ(CalcuReihenfolge::Rechensatz_berechnen(Daten.Rechentabelle[1]), 9);
}

TEST_F(Rechenliste, UeberlaufwertUndFehlerGebenNeunE99) {
    seite.show();
    Scanliste({"a", "b"});
    Daten.Messwerttexte[1].Logwert = "NaN";
    Daten.Messwerttexte[2].Logwert = "0";
    Definitionen({"Ueber=[a]*2+1_V", "Null=1/[b]_V", "Gut=[b]+1"});
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    seite.CalcuVar_berechnen();
    EXPECT_EQ(Daten.Rechentabelle[0].Ergebnis, 9e99);
    EXPECT_EQ(Daten.Rechentabelle[1].Ergebnis, 9e99);
    EXPECT_EQ(Daten.Rechentabelle[2].Ergebnis, 1);
    EXPECT_EQ(Zeilen(seite.List1), (QStringList{"Ueber :9E99 V", "Null :9E99 V", "Gut :1 "}));
}

TEST_F(Rechenliste, KlammerfehlerBeendetDasProgrammMitZeilennummer) {
    Scanliste({"a"});
    Definitionen({"gut=([a]+1)*2", "schlecht=([a]+1*2_(V"});
    EXPECT_FALSE(seite.CalcuVar_vorbelegen());
    ASSERT_EQ(station.Dialoge.Meldungen.size(), 1);
    EXPECT_EQ(station.Dialoge.Meldungen[0],
              Kopf_Zeile.arg(2) +
                  QString::fromUtf8("Fehlerhafte Klammersetzung. Bitte Formel auf gleiche Anzahl von \"(\" und \")\" "
                                    "überprüfen!"));
    EXPECT_EQ(station.Ende.Aufrufe, 1);

    // Only the counts matter, and the unit is counted too.
    station.Dialoge.Meldungen.clear();
    Definitionen({"verdreht=)[a](_V", "einheit=[a]_(V)"});
    EXPECT_TRUE(seite.CalcuVar_vorbelegen());
    EXPECT_TRUE(station.Dialoge.Meldungen.isEmpty());
}

TEST_F(Rechenliste, UnbekannterSignalnameBeendetDasProgramm) {
    Scanliste({"a", "b"});
    Definitionen({"x=[a]", "y=[b]", "z=[a]+[fehlt ]"});
    EXPECT_FALSE(seite.CalcuVar_vorbelegen());
    ASSERT_EQ(station.Dialoge.Meldungen.size(), 1);
    EXPECT_EQ(station.Dialoge.Meldungen[0],
              Kopf_Zeile.arg(3) + "Signalname \"fehlt \" nicht in Kanalbelegungsliste vorhanden!");
    EXPECT_EQ(station.Ende.Aufrufe, 1);
}

TEST_F(Rechenliste, NachEinerAenderungOhneMessstartWirdNichtsBerechnet) {
    seite.show();
    Scanliste({"a"});
    Daten.Messwerttexte[1].Logwert = "2";
    Definitionen({"x=[a]*3"});
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    seite.CalcuVar_berechnen();
    ASSERT_EQ(seite.List1->count(), 1);

    seite.List2->setCurrentRow(0);
    ASSERT_TRUE(seite.Formel_übernehmen("x=[a]*4"));
    seite.CalcuVar_berechnen();
    EXPECT_EQ(seite.List1->count(), 0);
    EXPECT_EQ(Daten.Rechentabelle[0].Formel, "");
    EXPECT_EQ(Daten.Rechentabelle[0].Ergebnis, 0);
}

TEST_F(Rechenliste, EinNeuerStartVergisstDieDefinitionenDerVorigenListe) {
    seite.show();
    Scanliste({"a"});
    Daten.Messwerttexte[1].Logwert = "2";
    Definitionen({"x=[a]", "y=[a]*2", "z=[a]*3"});
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    Definitionen({"nur=[a]+1"});
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    seite.CalcuVar_berechnen();
    EXPECT_EQ(Zeilen(seite.List1), QStringList{"nur :3 "});
}

TEST_F(Rechenliste, TexteFuerDieDatendateien) {
    Daten.Datenloggersatz.Datenlogger_ein = 1;
    Daten.Datenloggersatz.Header_ein = 1;
    Daten.Datenloggersatz.Zeit_ein = 1;
    Daten.Logtrennzeichen = ";";
    Daten.Trennzeichen = "\t";
    Daten.Datenformatsatz.Signalnamen = 1;
    Daten.Datenformatsatz.Einheiten = 1;
    Rechensatz& a = Daten.Rechentabelle[0];
    a.Name = "Leistung";
    a.Formel = "1";
    a.Einheit = "W";
    a.Format = "0.00";
    a.Ergebnis = 13.756;
    Rechensatz& b = Daten.Rechentabelle[1];
    b.Name = " Diff ";
    b.Formel = "1";
    b.Einheit = "K ";
    b.Ergebnis = -0.5;

    CalcuReihenfolge::RechnenLogzeile_erstellen();
    EXPECT_EQ(CalcuReihenfolge::Rechenlogteil, "13,76;-0,5;");
    CalcuReihenfolge::RechnenDatzeile_erstellen();
    EXPECT_EQ(CalcuReihenfolge::Rechendatenteil, "13,756\tLeistung\tW\t-0,5\tDiff\tK\t");
    Daten.Knopfzustände[7] = -1;  // appended: the logger line has its time already
    Daten.Knopfzustände[8] = 0;
    CalcuReihenfolge::RechnenHeader_erstellen();
    EXPECT_EQ(CalcuReihenfolge::Rechenkopf, "Leistung [W];Diff [K];");
    Daten.Knopfzustände[7] = 0;  // separate ".cal" file: its lines start with a time
    Daten.Knopfzustände[8] = -1;
    CalcuReihenfolge::RechnenHeader_erstellen();
    EXPECT_EQ(CalcuReihenfolge::Rechenkopf, "Zeit/Datum;Leistung [W];Diff [K];");

    // Decimal point "Punkt", no names, no units.
    Daten.Datenloggersatz.Dezimalpunkt = 1;
    Daten.Datenformatsatz.Dezimalpunkt = 1;
    Daten.Datenformatsatz.Signalnamen = 0;
    Daten.Datenformatsatz.Einheiten = 0;
    CalcuReihenfolge::RechnenLogzeile_erstellen();
    EXPECT_EQ(CalcuReihenfolge::Rechenlogteil, "13.76;-0.5;");
    CalcuReihenfolge::RechnenDatzeile_erstellen();
    EXPECT_EQ(CalcuReihenfolge::Rechendatenteil, "13.756\t-0.5\t");

    // Logger off / header off: their texts are left alone.
    Daten.Datenloggersatz.Datenlogger_ein = 0;
    Daten.Datenloggersatz.Header_ein = 0;
    a.Ergebnis = 1;
    CalcuReihenfolge::RechnenLogzeile_erstellen();
    CalcuReihenfolge::RechnenHeader_erstellen();
    EXPECT_EQ(CalcuReihenfolge::Rechenlogteil, "13.76;-0.5;");
    EXPECT_EQ(CalcuReihenfolge::Rechenkopf, "Zeit/Datum;Leistung [W];Diff [K];");
}

TEST_F(Rechenliste, UeberlaufwertErscheintInDenDatendateienAlsNeunE99) {
    Daten.Datenloggersatz.Datenlogger_ein = 1;
    Daten.Logtrennzeichen = ";";
    Daten.Trennzeichen = ";";
    Scanliste({"a"});
    Daten.Messwerttexte[1].Logwert = "NaN";
    Definitionen({"x=[a]+1_V", "y=[a]*2_W_0.00"});
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    seite.Scan_berechnen();
    CalcuReihenfolge::RechnenDatzeile_erstellen();
    // Also where a number pattern is given.
    EXPECT_EQ(CalcuReihenfolge::Rechenlogteil, "9E99;9E99;");
    EXPECT_EQ(CalcuReihenfolge::Rechendatenteil, "9E99;9E99;");
}

TEST_F(Rechenliste, TestknoepfeRechnenMitDenTestmesswerten) {
    seite.show();
    Scanliste({"s1", "s2", "s3"});
    Daten.Datenloggersatz.Datenlogger_ein = 1;
    Daten.Logtrennzeichen = ";";
    Definitionen({"Summe=[s1]+[s2]+[s3]_V", "Produkt=[s1]*[s2]_W_0.0"});
    seite.Command5->click();
    EXPECT_EQ(Daten.Messwerttexte[2].Logwert, "4,3");
    EXPECT_EQ(Zeilen(seite.List1), (QStringList{"Summe :13,1 V", "Produkt :13,76 W"}));
    EXPECT_EQ(CalcuReihenfolge::Rechenlogteil, "13,1;13,8;");

    seite.Command6->click();
    EXPECT_EQ(seite.List1->item(seite.List1->count() - 1)->text(), "NaN");

    // Test controls off when the station says so.
    Daten.Testlabels = 0;
    CalcuReihenfolge ohne;
    ohne.Form_Load();
    EXPECT_FALSE(ohne.Command5->isEnabled());
    EXPECT_FALSE(ohne.Command6->isEnabled());
    EXPECT_FALSE(ohne.List1->isEnabled());
    ohne.CalcureihenfolgeTest_Ein();  // only with Testlabels = 1
    EXPECT_FALSE(ohne.Command5->isEnabled());
    Daten.Testlabels = 1;
    ohne.CalcureihenfolgeTest_Ein();
    EXPECT_TRUE(ohne.Command5->isEnabled());
}

TEST_F(Rechenliste, SpeicherartKnoepfe) {
    seite.Option1->click();
    EXPECT_EQ(Daten.Knopfzustände[7], 0);
    EXPECT_EQ(Daten.Knopfzustände[8], -1);
    seite.Option2->click();
    EXPECT_EQ(Daten.Knopfzustände[7], -1);
    EXPECT_EQ(Daten.Knopfzustände[8], 0);

    Daten.Knopfzustände[7] = 0;
    Daten.Knopfzustände[8] = -1;
    seite.Speicherart_Knöpfe_setzen();
    EXPECT_TRUE(seite.Option1->isChecked());
    EXPECT_FALSE(seite.Option2->isChecked());
    Daten.Knopfzustände[7] = -1;
    Daten.Knopfzustände[8] = 0;
    seite.Speicherart_Knöpfe_setzen();
    EXPECT_TRUE(seite.Option2->isChecked());
    EXPECT_FALSE(seite.Option1->isChecked());
}

TEST_F(Rechenliste, SeiteUndTasten) {
    EXPECT_EQ(seite.Label1->text(), "berechnete Werte");
    EXPECT_EQ(seite.geometry(), QRect(0, 0, 320, 240));
    Daten.HelpSchalter = 0;
    Daten.EscSchalter = 0;
    CalcuReihenfolge ohne;
    ohne.Form_Load();
    EXPECT_TRUE(ohne.Command8->isHidden());
    EXPECT_TRUE(ohne.Command4->isHidden());
    EXPECT_FALSE(seite.Command8->isHidden());

    // Activation of an empty page offers the first entry.
    seite.List2->clear();
    seite.show();
    EXPECT_EQ(Zeilen(seite.List2), QStringList{"Doppelklicken um Eintrag hinzuzufügen!"});
    seite.Command2->click();
    EXPECT_FALSE(seite.isVisible());
}

TEST_F(Rechenliste, DoppelklickOeffnetDieTastaturMitDerZeile) {
    seite.List2->clear();
    seite.List2->addItem(CalcuReihenfolge::Leerer_Eintrag);
    seite.List2->setCurrentRow(0);
    seite.List2_DblClick();
    EXPECT_EQ(Zeilen(seite.List2), QStringList{"neuen Eintrag hinzufügen"});
    EXPECT_EQ(seite.Tastaturtext, "");
    EXPECT_EQ(Daten.Tastaturaufrufer, "CalcuReihenfolge");
    EXPECT_FALSE(seite.Frame1->isEnabled());
    EXPECT_FALSE(seite.Frame2->isEnabled());

    // "Esc" of the keyboard brings the page back.
    seite.wiederherstellen();
    EXPECT_TRUE(seite.Frame1->isEnabled());
    EXPECT_TRUE(seite.Frame2->isEnabled());

    Definitionen({"a=1", "b=2"});
    seite.List2->setCurrentRow(1);
    seite.List2_DblClick();
    EXPECT_EQ(seite.Tastaturtext, "b=2");
    seite.List2->setCurrentRow(2);
    seite.List2_DblClick();
    EXPECT_EQ(seite.Tastaturtext, "");
    EXPECT_EQ(seite.List2->count(), 3);
}

TEST_F(Rechenliste, FormelOhneGleichheitszeichenWirdNichtUebernommen) {
    QWidget rahmen;
    Hinweisform hinweis(&rahmen);
    QWidget tastatur(&rahmen);
    Definitionen({"a=1"});
    seite.List2->setCurrentRow(1);
    Daten.Headermerker = 0;
    EXPECT_FALSE(seite.Formel_übernehmen("[a]*2", &tastatur));
    EXPECT_EQ(hinweis.Label1->text(), "Fehler im Rechenstring!");
    EXPECT_EQ(hinweis.Command3->text(), "Ok");
    EXPECT_TRUE(hinweis.Command1->isHidden());
    EXPECT_FALSE(tastatur.isEnabled());
    EXPECT_EQ(Zeilen(seite.List2), (QStringList{"a=1", "neuen Eintrag hinzufügen"}));
    EXPECT_EQ(Daten.Headermerker, 0);
    hinweis.Command3->click();
    EXPECT_TRUE(tastatur.isEnabled());

    // With "=": on the closing entry a new line, on a definition a replacement.
    Daten.Rechentabelle[0].Formel = "1";
    EXPECT_TRUE(seite.Formel_übernehmen("b=[a]*2", &tastatur));
    EXPECT_EQ(Zeilen(seite.List2), (QStringList{"a=1", "b=[a]*2", "neuen Eintrag hinzufügen"}));
    EXPECT_EQ(Daten.Headermerker, 1);
    EXPECT_EQ(Daten.Rechentabelle[0].Formel, "");
    EXPECT_TRUE(tastatur.isHidden());
    seite.List2->setCurrentRow(0);
    EXPECT_TRUE(seite.Formel_übernehmen("a=3"));
    EXPECT_EQ(Zeilen(seite.List2), (QStringList{"a=3", "b=[a]*2", "neuen Eintrag hinzufügen"}));
}

TEST_F(Rechenliste, ScanlistenuebernahmeFuelltDieSignalliste) {
    Scanliste({"Spannung", "Strom", "T_1"});
    seite.Scanlistübernahme();
    EXPECT_EQ(seite.Signalliste, (QStringList{"Spannung", "Strom", "T_1"}));
}

TEST_F(Rechenliste, MehrAlsZweihundertDefinitionenUndFuenfzigReferenzen) {
    seite.show();
    Scanliste({"a"});
    Daten.Messwerttexte[1].Logwert = "1";
    QStringList zeilen;
    for (int i = 0; i < 230; ++i)
        zeilen << QString("w%1=[a]+%1").arg(i);
    QString lang = "lang=0";
    for (int j = 0; j < 60; ++j)
        lang += "+[a]";
    zeilen[3] = lang;
    QString fünfzig = "fuenfzig=0";
    for (int j = 0; j < 50; ++j)
        fünfzig += "+[a]";
    zeilen[4] = fünfzig;
    Definitionen(zeilen);
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    seite.CalcuVar_berechnen();
    // The table holds 200 definitions; the rest is kept in the list, not computed.
    EXPECT_EQ(seite.List1->count(), 200);
    EXPECT_EQ(Daten.Rechentabelle[199].Ergebnis, 200);
    EXPECT_EQ(Daten.Rechentabelle[200].Formel, "");
    EXPECT_EQ(Daten.Rechentabelle[4].Ergebnis, 50);
    // A formula with more references than a record holds is marked invalid.
    EXPECT_EQ(Daten.Rechentabelle[3].Ergebnis, 9e99);
    EXPECT_EQ(Daten.Rechentabelle[3].Referenzname[50], "");
}

TEST(Rechentext, ZahlenWieDieRechenlisteSieSchreibt) {
    EXPECT_EQ(CalcuReihenfolge::Zahl_als_Rechentext(9e99), "9E99");
    EXPECT_EQ(CalcuReihenfolge::Zahl_als_Rechentext(3.2 * 4.3), "13,76");
    EXPECT_EQ(CalcuReihenfolge::Zahl_als_Rechentext(-6.4), "-6,4");
    EXPECT_EQ(CalcuReihenfolge::Zahl_als_Rechentext(0), "0");
    EXPECT_EQ(CalcuReihenfolge::Zahl_als_Rechentext(4500), "4500");
    EXPECT_EQ(CalcuReihenfolge::Zahl_als_Rechentext(0.0001), "0,0001");
    EXPECT_EQ(CalcuReihenfolge::Zahl_als_Rechentext(0.000015), "1,5E-5");
    EXPECT_EQ(CalcuReihenfolge::Zahl_als_Rechentext(123456789012345.0), "123456789012345");
    EXPECT_EQ(CalcuReihenfolge::Zahl_als_Rechentext(1e15), "1E15");
    EXPECT_EQ(CalcuReihenfolge::Zahl_als_Rechentext(1.0 / 3), "0,333333333333333");
}

TEST_F(Rechenliste, JedeFormEinesLoggerwertsGehtMitSeinemWertEin) {
    Scanliste({"a"});
    Definitionen({"x=[a]*2", "y=2^[a]"});
    const struct {
        const char* logwert;
        double doppelt;
    } fälle[] = {
        {"3,2000", 6.4},   {"+1,50", 3},        {"-0,000", 0},        {"0,00001", 2e-5},
        {"-0,00001", -2e-5}, {"1,5E-03", 0.003}, {"+9.9E37", 1.98e38}, {"007,25", 14.5},
        {"-12", -24},       {",5", 1},          {"-1234567890123456789", -2469135780246913578.0},
    };
    for (const auto& fall : fälle) {
        Daten.Messwerttexte[1].Logwert = fall.logwert;
        ASSERT_TRUE(seite.CalcuVar_vorbelegen());
        seite.CalcuVar_berechnen();
        EXPECT_NEAR(Daten.Rechentabelle[0].Ergebnis, fall.doppelt, 1e-12 * std::max(1.0, std::fabs(fall.doppelt)))
            << fall.logwert;
        const double x = fall.doppelt / 2;
        EXPECT_NEAR(Daten.Rechentabelle[1].Ergebnis, std::pow(2.0, x), 1e-12 * std::max(1.0, std::pow(2.0, x)))
            << fall.logwert;
    }
    // No reading at all: no plausible number either.
    for (const char* kein : {"", "abc", "--"}) {
        Daten.Messwerttexte[1].Logwert = kein;
        seite.CalcuVar_berechnen();
        EXPECT_EQ(Daten.Rechentabelle[0].Ergebnis, 9e99) << kein;
    }
}

TEST_F(Rechenliste, PfeileUndAbbrechenErreichenDieNachbarseiten) {
    QWidget rahmen;
    auto* reihenfolge = new Datenreihenfolge(&rahmen);
    auto* format = new Datenformat(&rahmen);
    rahmen.show();
    reihenfolge->show();
    format->hide();
    seite.Command1->click();
    EXPECT_TRUE(format->isVisible());
    // "Abbrechen" hides the recording-order page, not this one.
    seite.Command4->click();
    EXPECT_FALSE(reihenfolge->isVisible());
}

TEST_F(Rechenliste, DasSpeichernDesProjektsSchreibtRechenini) {
    QWidget rahmen;
    Projekt projekt(&rahmen);
    projekt.Rechenliste_speichern = [this] { seite.rechenini_rückspeichern(); };
    Daten.Projektname = "Versuch.kxp";
    projekt.Label1->setText("Versuch.kxp");
    Definitionen({"x=1"});
    seite.Command3->click();
    EXPECT_EQ(Teststation::Datei_lesen(Ini()), QByteArray("x=1\r\n"));
}

TEST(Rechenformat, Stellen_Tausender_und_Exponent) {
    using Rechenformat::anwenden;
    EXPECT_EQ(anwenden(13.756, "0.00"), "13,76");
    EXPECT_EQ(anwenden(0.5, "#.##"), ",5");
    EXPECT_EQ(anwenden(7, "000"), "007");
    EXPECT_EQ(anwenden(1234567.891, "#,##0.00"), "1.234.567,89");
    EXPECT_EQ(anwenden(-999.996, "#,##0.00"), "-1.000,00");
    EXPECT_EQ(anwenden(12.5, "#,##0"), "13");
    EXPECT_EQ(anwenden(1234.5678, "0.00E+00"), "1,23E+03");
    EXPECT_EQ(anwenden(-0.000123456, "0.00E+00"), "-1,23E-04");
    EXPECT_EQ(anwenden(9.999, "0.00E+00"), "1,00E+01");
    EXPECT_EQ(anwenden(0, "0.00E+00"), "0,00E+00");
    EXPECT_EQ(anwenden(123456, "0.0E-0"), "1,2E5");
    // "Punkt" in the logger: the point separates the decimals, the comma the thousands.
    EXPECT_EQ(anwenden(1234567.891, "#,##0.00", true), "1,234,567.89");
    EXPECT_EQ(anwenden(1234.5678, "0.00E+00", true), "1.23E+03");
}

TEST_F(Rechenliste, FormatDasNichtAngewendetWerdenKannWirdAbgewiesen) {
    Definitionen({"a=1"});
    for (const char* zeile : {"b=[a]*2_W_0.00x", "b=[a]*2_W_E+00", "b=[a]*2_W_0,", "b=[a]*2_W_#,##0E+00"}) {
        station.Dialoge.Meldungen.clear();
        EXPECT_FALSE(seite.Formel_übernehmen(zeile)) << zeile;
        ASSERT_EQ(station.Dialoge.Meldungen.size(), 1);
        EXPECT_TRUE(station.Dialoge.Meldungen[0].startsWith(
            "Das Format \"" + QString(zeile).section('_', 2) + "\" kann nicht angewendet werden!"));
    }
    EXPECT_EQ(Zeilen(seite.List2), (QStringList{"a=1", "neuen Eintrag hinzufügen"}));
    EXPECT_TRUE(seite.Formel_übernehmen("b=[a]*2_W_#,##0.00"));
    EXPECT_TRUE(seite.Formel_übernehmen("c=[a]*2_W_0.00E+00"));
}

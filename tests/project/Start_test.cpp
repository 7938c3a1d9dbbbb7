// Start of the program: the frame, the station settings, the drive checks,
// the two layouts, the notice window, and the program as the operator starts it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "project/Hinweisform.h"
#include "project/MDIForm1.h"
#include "run/Hauptfenster.h"
#include "support/Teststation.h"

namespace {
struct Start : ::testing::Test {
    Teststation station;
    void SetUp() override {
        station.Laufwerk_anlegen('c');
        station.Laufwerk_anlegen('d');
        station.Laufwerk_anlegen('e');
        station.Laufwerke.Typen['d'] = Laufwerkstyp::RAMDisk;
    }
    QString ini() const { return Teststation::Datei_lesen(station.Programmverzeichnis() + "/Kesti.ini"); }
    void ini_ersetzen(const QByteArray& alt, const QByteArray& neu) {
        QByteArray inhalt = Teststation::Datei_lesen(station.Programmverzeichnis() + "/Kesti.ini");
        ASSERT_TRUE(inhalt.contains(alt));
        inhalt.replace(alt, neu);
        Teststation::Datei_schreiben(station.Programmverzeichnis() + "/Kesti.ini", inhalt);
    }
};
}

TEST_F(Start, Rahmen_liest_die_Stationseinstellungen_und_laedt_das_Hauptfenster) {
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    EXPECT_EQ(rahmen.windowTitle(), "Orvamet Kestrix ");
    EXPECT_EQ(Daten.DisplayType, "1/4 VGA");
    EXPECT_EQ(Daten.OperatingSystem, "WIN95b");
    EXPECT_EQ(Daten.Ramdisk1.roh(), "d:\\");
    EXPECT_EQ(Daten.Ramdisk2.roh(), "e:\\");
    EXPECT_EQ(Daten.HelpSchalter, 1);
    EXPECT_EQ(Daten.MeasureDevice, 0);  // not in device mode
    ASSERT_NE(Fenster.Hauptfenster, nullptr);
    EXPECT_EQ(Fenster.Hauptfenster->messen->text(), "Messung starten");
    EXPECT_EQ(Daten.Ramdisk1_Anzeige.Text, "d:\\Ramdisk ");
    EXPECT_EQ(Daten.Ramdisk2_Anzeige.Text, "e:\\Harddisk ");
    EXPECT_EQ(Daten.Ramdisk2_Anzeige.Farbe, QColor(0xFF, 0xC0, 0xC0));
    EXPECT_EQ(station.Protokollmeldungen(), QStringList{"Programm gestartet"});
    rahmen.entladen();
    EXPECT_EQ(Fenster.Hauptfenster, nullptr);
    EXPECT_EQ(station.Protokollmeldungen(), (QStringList{"Programm gestartet", "Programm beendet"}));
}

TEST_F(Start, Viertel_VGA_und_externer_Monitor) {
    {
        MDIForm1 rahmen;
        ASSERT_TRUE(rahmen.MDIForm_Load());
        // At -360 / -70 twips; the page area starts at the screen corner
        // with the frame's 4970 x 4060 twips.
        EXPECT_EQ(rahmen.pos(), QPoint(-24, -5));
        EXPECT_EQ(rahmen.Arbeitsfläche->geometry(), QRect(24, 5, 331, 271));
        EXPECT_EQ(Daten.Quartervgamerker, 1);
        rahmen.show();
        rahmen.resize(500, 400);  // the panel layout comes back
        QCoreApplication::processEvents();
        EXPECT_EQ(rahmen.size(), QSize(331 + 24, 271 + 5));
        EXPECT_EQ(Fenster.Hauptfenster->geometry(), QRect(0, 0, 323, 243));  // 4850 x 3650
        rahmen.entladen();
    }
    ini_ersetzen("DisplayType=1/4 VGA", "DisplayType=ExtMoni");
    Daten = Programmdaten{};
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    EXPECT_EQ(rahmen.size(), QSize(327, 273));  // 4900 x 4100 twips
    EXPECT_EQ(Daten.Quartervgamerker, 0);
    EXPECT_EQ(Fenster.Hauptfenster->geometry(), QRect(-7, 0, 320, 253));
    rahmen.entladen();
}

TEST_F(Start, Geraetebetrieb_und_externer_Messgeraetestandort) {
    ini_ersetzen("Betriebsart=Projekt ", "Betriebsart=Ger\xE4t   ");
    ini_ersetzen("MeasureDevice=1", "MeasureDevice=2");
    ini_ersetzen("MDeviceLocation=box", "MDeviceLocation=ext");
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    EXPECT_EQ(Daten.MeasureDevice, 2);
    EXPECT_EQ(Daten.ExtTabellenmerker, -1);
    EXPECT_EQ(Daten.ExtAnhaltmerker, 1);
    rahmen.entladen();
}

TEST_F(Start, Ungeeignetes_Laufwerk_wird_erfragt_bis_eines_taugt_und_zurueckgeschrieben) {
    station.Laufwerke.Typen['d'] = Laufwerkstyp::CDROM;
    station.Laufwerke.Typen['n'] = Laufwerkstyp::Netzwerk;
    station.Laufwerke.Typen['f'] = Laufwerkstyp::RAMDisk;
    station.Dialoge.Antworten = {"x", "n", "fest"};
    const QByteArray vorher = Teststation::Datei_lesen(station.Programmverzeichnis() + "/Kesti.ini");
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    const QString frage = QString::fromUtf8(
        "Laufwerk nicht als Datenschnittstelle geeignet!\rBitte gültigen Laufwerksbuchstaben für RamDriveA "
        "angeben! (z.B.: d)");
    EXPECT_EQ(station.Dialoge.Meldungen, (QStringList{frage, frage, frage}));
    EXPECT_EQ(Daten.Ramdisk1.roh(), "f:\\");
    QByteArray erwartet = vorher;
    erwartet.replace("Ramdisk1=d:\\", "Ramdisk1=f:\\");
    EXPECT_EQ(Teststation::Datei_lesen(station.Programmverzeichnis() + "/Kesti.ini"), erwartet);
    EXPECT_EQ(Daten.Ramdisk1_Anzeige.Text, "f:\\Ramdisk ");
    EXPECT_EQ(station.Ende.Aufrufe, 0);
    rahmen.entladen();
}

TEST_F(Start, Leere_Antwort_auf_die_Laufwerksfrage_beendet_das_Programm) {
    QDir(station.Wurzel() + "/e").removeRecursively();
    MDIForm1 rahmen;
    rahmen.Drivetypabfrage2();
    ASSERT_EQ(station.Dialoge.Meldungen.size(), 1);
    EXPECT_TRUE(station.Dialoge.Meldungen[0].startsWith("Laufwerk nicht als Pufferspeicher geeignet!\r"));
    EXPECT_TRUE(station.Dialoge.Meldungen[0].endsWith("(z.B.: e)"));
    EXPECT_EQ(station.Ende.Aufrufe, 1);
}

TEST_F(Start, Fehlende_Kestiini_wird_gemeldet_und_beendet) {
    QFile::remove(station.Programmverzeichnis() + "/Kesti.ini");
    MDIForm1 rahmen;
    EXPECT_FALSE(rahmen.MDIForm_Load());
    ASSERT_EQ(station.Dialoge.Meldungen.size(), 1);
    EXPECT_TRUE(station.Dialoge.Meldungen[0].contains("\"Kesti.ini\" fehlen oder sind nicht lesbar"));
    EXPECT_EQ(station.Ende.Aufrufe, 1);
    EXPECT_EQ(Fenster.Hauptfenster, nullptr);
}

TEST_F(Start, Nach_Stromausfall_wartet_der_Startknopf_auf_den_Neustart) {
    QDir(station.Wurzel()).mkpath("c/kestrix/intern/Stromaus");
    Teststation::Datei_schreiben(station.Wurzel() + "/c/kestrix/intern/Stromaus/noname01.kxp", QByteArray("\x01\x00", 2));
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    EXPECT_FALSE(Fenster.Hauptfenster->messen->isEnabled());
    EXPECT_TRUE(rahmen.Timer1->isActive());
    int gedrückt = 0;
    QObject::connect(Fenster.Hauptfenster->messen, &QPushButton::clicked, [&] { ++gedrückt; });
    rahmen.Timer1_Timer();
    EXPECT_TRUE(Fenster.Hauptfenster->messen->isEnabled());
    EXPECT_EQ(gedrückt, 1);
    EXPECT_FALSE(rahmen.Timer1->isActive());
    rahmen.entladen();
}

TEST_F(Start, Hinweis_mit_einem_Knopf_zeigt_nur_Ok_und_gibt_die_Seite_frei) {
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    rahmen.show();
    Hinweisform* hinweis = Fenster.Hinweisform;
    ASSERT_NE(hinweis, nullptr);
    EXPECT_EQ(hinweis->geometry().topLeft(), QPoint(33, 33));  // 500 / 500 twips
    hinweis->zeigen_Ok(Fenster.Hauptfenster, "Sie müßen erst das Modell des angeschl. Gerätes auswählen!");
    EXPECT_TRUE(hinweis->isVisible());
    EXPECT_FALSE(hinweis->Command1->isVisible());
    EXPECT_TRUE(hinweis->Command3->isVisible());
    EXPECT_EQ(hinweis->Command3->text(), "Ok");
    EXPECT_FALSE(Fenster.Hauptfenster->isEnabled());
    hinweis->Command3->click();
    EXPECT_FALSE(hinweis->isVisible());
    EXPECT_TRUE(Fenster.Hauptfenster->isEnabled());

    // A flow that steers by the answer gets the text and the button.
    QString gesehen;
    int knopf = 0;
    hinweis->Ablauf = [&](const QString& text, int k) {
        gesehen = text;
        knopf = k;
        return true;
    };
    hinweis->zeigen(Fenster.Hauptfenster, "Projekt existiert bereits!", "Überschreiben", "Abbrechen");
    hinweis->Command1->click();
    EXPECT_EQ(gesehen, "Projekt existiert bereits!");
    EXPECT_EQ(knopf, 1);
    EXPECT_FALSE(Fenster.Hauptfenster->isEnabled());  // the flow decides what comes next
    rahmen.entladen();
}

// The program itself, as a second process on an empty station root.
namespace {
struct Programm {
    QProcess prozess;
    explicit Programm(const Teststation& station, const QString& dialogprotokoll) {
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert("QT_QPA_PLATFORM", "offscreen");
        umgebung.insert("KESTRIX_DIALOGPROTOKOLL", dialogprotokoll);
        umgebung.insert("KESTRIX_ROOT", station.Wurzel() + "/leer");
        prozess.setProcessEnvironment(umgebung);
        prozess.start(KESTRIX_PFAD);
    }
    ~Programm() {
        prozess.kill();
        prozess.waitForFinished(3000);
    }
};
}

TEST(Programmstart, Kommt_auf_leerer_Station_hoch_und_verweigert_eine_zweite_Kopie) {
    Teststation station;
    const QString protokoll = station.Programmverzeichnis() + "/dialoge.txt";
    Programm erstes(station, protokoll);
    ASSERT_TRUE(erstes.prozess.waitForStarted(5000));
    ASSERT_TRUE(warten_bis([&] { return station.Protokoll().contains("Programm gestartet"); }, 10000));
    EXPECT_TRUE(QFileInfo(station.Wurzel() + "/leer/c").isDir());
    EXPECT_TRUE(QFileInfo(station.Wurzel() + "/leer/d").isDir());

    Programm zweites(station, protokoll);
    ASSERT_TRUE(zweites.prozess.waitForFinished(10000));
    EXPECT_EQ(QString::fromUtf8(Teststation::Datei_lesen(protokoll)),
              "Meldung: Programm kann nicht zweimal gestartet werden!\n");
    EXPECT_EQ(station.Protokollmeldungen(), QStringList{"Programm gestartet"});

    erstes.prozess.terminate();  // as the system ends it: the frame closes
    ASSERT_TRUE(erstes.prozess.waitForFinished(10000));
    EXPECT_EQ(station.Protokollmeldungen(), (QStringList{"Programm gestartet", "Programm beendet"}));

    // A copy that crashed leaves no lock behind that blocks the next start.
    Programm drittes(station, protokoll);
    ASSERT_TRUE(warten_bis([&] { return station.Protokollmeldungen().size() == 3; }, 10000));
    drittes.prozess.kill();
    drittes.prozess.waitForFinished(3000);
    Programm viertes(station, protokoll);
    EXPECT_TRUE(warten_bis([&] { return station.Protokollmeldungen().size() == 4; }, 10000));
    EXPECT_EQ(QString::fromUtf8(Teststation::Datei_lesen(protokoll)).count("zweimal"), 1);
}

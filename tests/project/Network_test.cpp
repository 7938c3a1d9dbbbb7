// The network identity page: what the station tools get in "c:\MSnetzw.txt",
// how and when they are started, and the keyboard entries of the three fields.
// The tools are stand-in scripts in the test's station that keep a copy of
// the hand-over file as they found it and the arguments they got.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QTest>

#include <sys/stat.h>

#include "common/Fenster.h"
#include "keyboard/Tastatur.h"
#include "platform/Pfade.h"
#include "project/MDIForm1.h"
#include "project/Network.h"
#include "project/Projekt.h"
#include "support/Teststation.h"

namespace {
const QString Namenswerkzeug = "c:\\Dazuzoz\\KestiMSNet.exe";
const QString Kennwortwerkzeug = "c:\\dazuzoz\\kennwort.exe";

// The real launcher, with a note of each start and its window kind.
class Aufzeichnender_Starter : public Programmstarter {
public:
    QStringList Gestartet;
    QList<Fensterart> Arten;
    bool starten(const QString& name, const QStringList& argumente, Fensterart art) override {
        Gestartet << (argumente.isEmpty() ? name : name + ' ' + argumente.join(' '));
        Arten << art;
        return Programmstarter::starten(name, argumente, art);
    }
};

struct Netzstation {
    Teststation station;
    Aufzeichnender_Starter starter;
    std::unique_ptr<Tastatur> tastatur;
    std::unique_ptr<Network> seite;

    explicit Netzstation(const QString& betriebssystem = "WIN95b", bool mit_werkzeugen = true) {
        Daten.OperatingSystem = betriebssystem;
        programmstarter_ersetzen(&starter);
        QDir(station.Wurzel()).mkpath("c/dazuzoz");
        if (mit_werkzeugen) {
            // One named without, one with ".exe": the launcher finds both.
            Werkzeug_anlegen("KestiMSNet", "name");
            Werkzeug_anlegen("kennwort.exe", "kennwort");
        }
        tastatur = std::make_unique<Tastatur>();
        tastatur->Form_Load();
        seite = std::make_unique<Network>();
        seite->Form_Load();
        seite->show();
    }
    ~Netzstation() {
        seite.reset();
        tastatur.reset();
        programmstarter_ersetzen(nullptr);
    }

    QString Ordner() const { return station.Wurzel() + "/c/dazuzoz"; }
    QString Übergabedatei() const { return station.Wurzel() + "/c/MSnetzw.txt"; }

    void Werkzeug_anlegen(const QString& datei, const QString& kürzel) {
        const QString pfad = Ordner() + "/" + datei;
        Teststation::Datei_schreiben(pfad, QString("#!/bin/sh\n"
                                                   "d=$(dirname \"$0\")\n"
                                                   "cp \"$d/../MSnetzw.txt\" \"$d/%1.datei.tmp\"\n"
                                                   "printf '%s|' \"$@\" > \"$d/%1.args.tmp\"\n"
                                                   "mv \"$d/%1.datei.tmp\" \"$d/%1.datei\"\n"
                                                   "mv \"$d/%1.args.tmp\" \"$d/%1.args\"\n")
                                               .arg(kürzel)
                                               .toUtf8());
        QFile::setPermissions(pfad, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // What the tool saw when it started: arguments ("a|b|") and the hand-over file.
    bool Werkzeug_lief(const QString& kürzel) {
        return warten_bis([&] { return QFile::exists(Ordner() + "/" + kürzel + ".args"); }, 10000);
    }
    QByteArray Argumente(const QString& kürzel) const { return Teststation::Datei_lesen(Ordner() + "/" + kürzel + ".args"); }
    QByteArray Gelesen(const QString& kürzel) const { return Teststation::Datei_lesen(Ordner() + "/" + kürzel + ".datei"); }
    void Aufzeichnung_löschen(const QString& kürzel) {
        QFile::remove(Ordner() + "/" + kürzel + ".args");
        QFile::remove(Ordner() + "/" + kürzel + ".datei");
    }

    // A click on a field, the text on the keyboard, "Return".
    void eingeben(QLineEdit* feld, const QString& text) {
        QTest::mouseClick(feld, Qt::LeftButton);
        ASSERT_TRUE(tastatur->isVisible());
        ASSERT_FALSE(seite->isEnabled());
        tastatur->Text1->setText(text);
        tastatur->Label4_Click();
    }
    void ändern() { QTest::mouseClick(seite->ändern, Qt::LeftButton); }
};
}  // namespace

TEST(Network, Seite_beim_Laden) {
    Netzstation s;
    EXPECT_EQ(s.seite->windowTitle(), "Netzwerkeinstellungen");
    EXPECT_EQ(s.seite->Frame1->title(), "Microsoft-Netzwerk Einstellungen");
    EXPECT_EQ(s.seite->size(), QSize(320, 240));  // a window of its own here: the position is the frame's
    EXPECT_EQ(s.seite->ArbGruppe->text(), "SCANNER");
    EXPECT_EQ(s.seite->Text1->text(), "********");
    EXPECT_FALSE(s.seite->CompName->text().isEmpty());
    EXPECT_EQ(s.seite->Label4->text(), "Freigabepfad Dataloggverzeichnis:");
    EXPECT_EQ(s.seite->Label5->text(), "\\\\" + s.seite->CompName->text() + "\\KEST_DATALOG");
    EXPECT_EQ(s.seite->Label6->text(), "Freigabepfad aktuelle Messdatenzeile:");
    EXPECT_EQ(s.seite->Label7->text(), "\\\\" + s.seite->CompName->text() + "\\KEST_AKTMESS");
    EXPECT_FALSE(s.seite->ändern->isEnabled());
    // Teststation leaves HelpSchalter and EscSchalter at 0.
    EXPECT_TRUE(s.seite->Command4->isHidden());
    EXPECT_TRUE(s.seite->Command5->isHidden());
    Daten.HelpSchalter = 1;
    Daten.EscSchalter = 1;
    s.seite->Form_Load();
    EXPECT_FALSE(s.seite->Command4->isHidden());
    EXPECT_FALSE(s.seite->Command5->isHidden());

    QTest::mouseClick(s.seite->Command2, Qt::LeftButton);
    EXPECT_FALSE(s.seite->isVisible());
}

TEST(Network, Tastatur_für_die_drei_Felder) {
    Netzstation s;
    const QString name = s.seite->CompName->text();

    QTest::mouseClick(s.seite->CompName, Qt::LeftButton);
    EXPECT_EQ(Daten.Tastaturaufrufer, "Network");
    EXPECT_EQ(Daten.Netzwerkfeld, 1);
    EXPECT_EQ(s.tastatur->Text1->text(), name);
    EXPECT_FALSE(s.seite->isEnabled());
    // "Esc" changes nothing and gives the page back.
    s.tastatur->Label3_Click();
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_TRUE(s.seite->isEnabled());
    EXPECT_TRUE(s.seite->isVisible());
    EXPECT_EQ(s.seite->CompName->text(), name);

    QTest::mouseClick(s.seite->ArbGruppe, Qt::LeftButton);
    EXPECT_EQ(Daten.Netzwerkfeld, 2);
    EXPECT_EQ(s.tastatur->Text1->text(), "SCANNER");
    s.tastatur->Label3_Click();

    // The password is never shown: the keyboard starts with five asterisks.
    QTest::mouseClick(s.seite->Text1, Qt::LeftButton);
    EXPECT_EQ(Daten.Netzwerkfeld, 3);
    EXPECT_EQ(s.tastatur->Text1->text(), "*****");
    // Typed on the keys: "Del" five times, then the new password.
    for (int i = 0; i < 5; ++i)
        s.tastatur->Label7_Click();
    s.tastatur->Label6_Click();  // Shift: capitals
    for (const char* t : {"A", "B", "1"})
        for (int k = 0; k < Tastatur::Tastenzahl; ++k)
            if (s.tastatur->Label1[k]->text() == t)
                s.tastatur->Label1_Click(k);
    EXPECT_EQ(s.tastatur->Text1->text(), "AB1");
    s.tastatur->Label4_Click();
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_TRUE(s.seite->isEnabled());
    EXPECT_EQ(s.seite->Netzkennwort, "AB1");
    EXPECT_EQ(s.seite->Kennwortänderung, 1);
    EXPECT_EQ(s.seite->Namensänderung, 0);
    EXPECT_TRUE(s.seite->ändern->isEnabled());
    EXPECT_EQ(s.seite->Text1->text(), "********");  // the field keeps its mask
}

TEST(Network, Gleicher_Name_gibt_ändern_nicht_frei) {
    Netzstation s;
    s.eingeben(s.seite->CompName, s.seite->CompName->text());
    s.eingeben(s.seite->ArbGruppe, "SCANNER");
    EXPECT_EQ(s.seite->Namensänderung, 0);
    EXPECT_FALSE(s.seite->ändern->isEnabled());
    EXPECT_TRUE(s.seite->isEnabled());

    s.eingeben(s.seite->ArbGruppe, "LABOR");
    EXPECT_EQ(s.seite->ArbGruppe->text(), "LABOR");
    EXPECT_EQ(s.seite->Namensänderung, 1);
    EXPECT_TRUE(s.seite->ändern->isEnabled());
    // Reloading the page forgets the pending change.
    s.seite->Form_Load();
    EXPECT_EQ(s.seite->Namensänderung, 0);
    EXPECT_EQ(s.seite->ArbGruppe->text(), "SCANNER");
    EXPECT_FALSE(s.seite->ändern->isEnabled());
}

TEST(Network, Namensänderung_schreibt_Arbeitsgruppe_dann_Computername) {
    Netzstation s;
    s.eingeben(s.seite->CompName, "PRUEFSTAND7");
    s.ändern();
    ASSERT_TRUE(s.Werkzeug_lief("name"));
    EXPECT_EQ(s.starter.Gestartet, QStringList{Namenswerkzeug + " schreiben"});
    EXPECT_EQ(s.starter.Arten, QList<Fensterart>{Fensterart::minimiert});
    EXPECT_EQ(s.Argumente("name"), "schreiben|");
    // Complete when the tool starts.
    EXPECT_EQ(s.Gelesen("name"), "SCANNER\r\nPRUEFSTAND7\r\n");
    EXPECT_FALSE(s.seite->ändern->isEnabled());

    // A workgroup of its own, with an umlaut in Windows-1252.
    s.Aufzeichnung_löschen("name");
    s.eingeben(s.seite->ArbGruppe, "MESSRÄUME");
    EXPECT_TRUE(s.seite->ändern->isEnabled());
    s.ändern();
    ASSERT_TRUE(s.Werkzeug_lief("name"));
    EXPECT_EQ(s.Gelesen("name"), "MESSR\xC4UME\r\nPRUEFSTAND7\r\n");
    EXPECT_EQ(Teststation::Datei_lesen(s.Übergabedatei()), "MESSR\xC4UME\r\nPRUEFSTAND7\r\n");
    EXPECT_FALSE(QFile::exists(s.Ordner() + "/kennwort.args"));
}

TEST(Network, Kennwortänderung_startet_das_Kennwortwerkzeug) {
    Netzstation s;
    s.eingeben(s.seite->Text1, "Geheim 9ö");
    s.ändern();
    ASSERT_TRUE(s.Werkzeug_lief("kennwort"));
    EXPECT_EQ(s.starter.Gestartet, QStringList{Kennwortwerkzeug});
    EXPECT_EQ(s.starter.Arten, QList<Fensterart>{Fensterart::minimiert});
    EXPECT_EQ(s.Argumente("kennwort"), "|");  // no argument
    EXPECT_EQ(s.Gelesen("kennwort"), "Geheim 9\xF6\r\n");
    EXPECT_EQ(s.seite->Kennwortänderung, 0);
    EXPECT_FALSE(s.seite->ändern->isEnabled());
    EXPECT_FALSE(QFile::exists(s.Ordner() + "/name.args"));
}

TEST(Network, Beides_offen_braucht_zwei_Drücke_Namen_zuerst) {
    Netzstation s;
    s.eingeben(s.seite->Text1, "neu1");
    s.eingeben(s.seite->CompName, "STATION2");

    s.ändern();
    ASSERT_TRUE(s.Werkzeug_lief("name"));
    EXPECT_EQ(s.Gelesen("name"), "SCANNER\r\nSTATION2\r\n");
    EXPECT_EQ(s.starter.Gestartet, QStringList{Namenswerkzeug + " schreiben"});
    // The password is still to be applied: the button stays usable.
    EXPECT_TRUE(s.seite->ändern->isEnabled());

    s.ändern();
    ASSERT_TRUE(s.Werkzeug_lief("kennwort"));
    EXPECT_EQ(s.Gelesen("kennwort"), "neu1\r\n");
    EXPECT_EQ(s.starter.Gestartet, (QStringList{Namenswerkzeug + " schreiben", Kennwortwerkzeug}));
    EXPECT_FALSE(s.seite->ändern->isEnabled());
    // A later password change is applied by itself, not the names again.
    s.Aufzeichnung_löschen("kennwort");
    s.eingeben(s.seite->Text1, "neu2");
    s.ändern();
    ASSERT_TRUE(s.Werkzeug_lief("kennwort"));
    EXPECT_EQ(s.Gelesen("kennwort"), "neu2\r\n");
    EXPECT_EQ(s.starter.Gestartet.size(), 3);
    EXPECT_EQ(s.starter.Gestartet.last(), Kennwortwerkzeug);
}

TEST(Network, Anderes_Betriebssystem_schreibt_nichts_und_startet_nichts) {
    for (const QString os : {"WIN311", "", "win95b"}) {
        Netzstation s(os);
        s.eingeben(s.seite->CompName, "ANDERS");
        s.eingeben(s.seite->Text1, "geheim");
        s.ändern();
        EXPECT_FALSE(s.seite->ändern->isEnabled()) << os.toStdString();
        s.ändern();
        EXPECT_TRUE(s.starter.Gestartet.isEmpty()) << os.toStdString();
        EXPECT_FALSE(QFile::exists(s.Übergabedatei())) << os.toStdString();
        EXPECT_TRUE(QDir(s.station.Wurzel() + "/c").entryList({"*MSnetzw*"}, QDir::Files | QDir::Hidden).isEmpty());
    }
}

TEST(Network, Übergabedatei_nur_für_den_Eigentümer_lesbar) {
    Netzstation s;
    // A file of an earlier apply, readable by everyone: it is replaced.
    Teststation::Datei_schreiben(s.Übergabedatei(), "alt\r\n");
    QFile::setPermissions(s.Übergabedatei(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                  QFile::ReadOther | QFile::WriteOther);
    s.eingeben(s.seite->Text1, "streng geheim");
    s.ändern();
    ASSERT_TRUE(s.Werkzeug_lief("kennwort"));
    EXPECT_EQ(s.Gelesen("kennwort"), "streng geheim\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(s.Übergabedatei()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // No temporary copy stays behind.
    EXPECT_EQ(QDir(s.station.Wurzel() + "/c").entryList(QDir::Files | QDir::Hidden), QStringList{"MSnetzw.txt"});

    // The names are written the same way.
    s.eingeben(s.seite->CompName, "X1");
    s.ändern();
    ASSERT_TRUE(s.Werkzeug_lief("name"));
    ASSERT_EQ(::stat(QFile::encodeName(s.Übergabedatei()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(Network, Fehlendes_Werkzeug_wird_gemeldet_und_die_Änderung_bleibt_offen) {
    Netzstation s("WIN95b", false);
    s.eingeben(s.seite->Text1, "geheim");
    s.ändern();
    EXPECT_EQ(s.station.Dialoge.Meldungen, QStringList{Kennwortwerkzeug + " konnte nicht gestartet werden!"});
    // Nobody reads the file: the password is not left on the disk.
    EXPECT_FALSE(QFile::exists(s.Übergabedatei()));
    EXPECT_EQ(s.seite->Kennwortänderung, 1);
    EXPECT_TRUE(s.seite->ändern->isEnabled());

    // With the tool in place the next press applies it.
    s.Werkzeug_anlegen("kennwort.exe", "kennwort");
    s.ändern();
    ASSERT_TRUE(s.Werkzeug_lief("kennwort"));
    EXPECT_EQ(s.Gelesen("kennwort"), "geheim\r\n");
    EXPECT_FALSE(s.seite->ändern->isEnabled());
}

// The way in from the project page, and screenshots of both pages.
TEST(Network, Weg_von_der_Projektseite_und_Bildschirm) {
    for (const int testlabels : {0, 1}) {
        Teststation station;
        station.Laufwerk_anlegen('d');
        station.Laufwerk_anlegen('e');
        if (testlabels) {
            QByteArray ini = Teststation::Datei_lesen(station.Programmverzeichnis() + "/Kesti.ini");
            ini.replace("Testlabels=0", "Testlabels=1");
            Teststation::Datei_schreiben(station.Programmverzeichnis() + "/Kesti.ini", ini);
        }
        QFont schrift("DejaVu Sans");
        schrift.setPixelSize(11);
        QApplication::setFont(schrift);
        MDIForm1 rahmen;
        ASSERT_TRUE(rahmen.MDIForm_Load());
        rahmen.show();
        ASSERT_NE(Fenster.Network, nullptr);
        Projekt* projekt = Fenster.Projekt;
        projekt->show();
        projekt->raise();
        auto* knopf = projekt->findChild<QPushButton*>("Netzwerkknopf");
        ASSERT_NE(knopf, nullptr);
        EXPECT_EQ(knopf->text(), "Netzwerk");
        // Inside the serial number frame, clear of its title and of a long serial number.
        QGroupBox* rahmen4 = projekt->Frame4;
        EXPECT_EQ(knopf->parentWidget(), rahmen4);
        EXPECT_TRUE(knopf->isVisibleTo(projekt));
        EXPECT_TRUE(rahmen4->rect().adjusted(2, 2, -2, -2).contains(knopf->geometry()));
        const QFontMetrics maß(rahmen4->font());
        const int titelende = maß.horizontalAdvance(rahmen4->title()) + 12;
        const int nummernende = projekt->Label3->x() + maß.horizontalAdvance("Q7-000123456789");
        EXPECT_GT(knopf->x(), std::max(titelende, nummernende));
        const QString ziel = qEnvironmentVariable("KESTRIX_BILDER");
        if (!ziel.isEmpty()) {
            QDir().mkpath(ziel);
            projekt->grab().save(ziel + QString("/projekt_netzwerkknopf%1.png").arg(testlabels ? "_test" : ""));
        }

        QTest::mouseClick(knopf, Qt::LeftButton);
        Network* seite = Fenster.Network;
        EXPECT_TRUE(seite->isVisible());
        EXPECT_EQ(seite->geometry(), QRect(0, 0, 320, 240));
        for (QWidget* w : seite->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(QRect(0, 0, 320, 240).contains(w->geometry())) << w->objectName().toStdString();
        for (QLabel* l : {seite->Label4, seite->Label5, seite->Label6, seite->Label7, seite->Label1})
            EXPECT_LE(l->sizeHint().width(), l->width()) << l->text().toStdString();
        if (!ziel.isEmpty()) {
            seite->grab().save(ziel + "/network.png");
            seite->CompName_Click();
            rahmen.Arbeitsfläche->grab(QRect(0, 0, 320, 240)).save(ziel + "/network_tastatur.png");
            Fenster.Tastatur->Label3_Click();
        }
        QTest::mouseClick(seite->Command2, Qt::LeftButton);
        EXPECT_FALSE(seite->isVisible());
        rahmen.entladen();
        EXPECT_EQ(Fenster.Network, nullptr);
    }
}

TEST(Network, Nicht_schreibbare_Übergabedatei_startet_kein_Werkzeug) {
    Netzstation s;
    QDir().mkpath(s.Übergabedatei());  // a folder where the file belongs
    s.eingeben(s.seite->CompName, "NEU");
    s.ändern();
    EXPECT_EQ(s.station.Dialoge.Meldungen, QStringList{"Die Datei c:\\MSnetzw.txt konnte nicht geschrieben werden!"});
    EXPECT_TRUE(s.starter.Gestartet.isEmpty());
    EXPECT_EQ(s.seite->Namensänderung, 1);
    EXPECT_TRUE(s.seite->ändern->isEnabled());
    // No temporary copy stays behind either.
    EXPECT_EQ(QDir(s.station.Wurzel() + "/c").entryList(QDir::Files | QDir::Hidden), QStringList{});
}

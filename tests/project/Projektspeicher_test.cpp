// The project store under power failures and odd names, as the files on disk
// show it: a save is the old project or the new one, never a mix, and the
// current-project file names a project only once it is complete.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Steuerelemente.h"
#include "platform/Pfade.h"
#include "project/Dateiform.h"
#include "project/Hinweisform.h"
#include "project/MDIForm1.h"
#include "project/Projekt.h"
#include "support/Teststation.h"

namespace {
const char* const Speicherschleife = "KESTRIX_TEST_SPEICHERSCHLEIFE";

QString intern(const QString& rest) { return Pfade::lokal("c:\\kestrix\\intern\\" + rest); }

// Save number n leaves its number in every file of the project.
void Marken_setzen(int n, Projekt& seite) {
    const QString t = QString::number(n);
    Daten.Kanaltabelle[1].Signalbezeichnung[1] = t;
    Daten.Scanlistentabelle[1].Signalname = t;
    Daten.Aufzeichnungstabelle[0].Signalname = t;
    Daten.Messblocktabelle[1].Messblockname = t;
    Daten.Funktionskonstantentabelle[1].Text1 = t;
    Daten.Optiscantabelle[1].Messblock = t;
    Daten.Vorgabetabelle[1].Vorgabefrei = t;
    Daten.Knopfzustände[1] = static_cast<i16>(n);
    Daten.Datenformatsatz.Stundenindex = static_cast<i16>(n);
    Daten.Datenloggersatz.Periodenindex = static_cast<i16>(n);
    Daten.Matrixtabelle[1].Matrixname = t;
    seite.Seriennummer = t;
}

// The numbers found in the files of project 'name'.
QSet<QString> Marken_lesen(const QString& name) {
    Daten = Programmdaten{};
    Daten.Projektname = name;
    Projekt seite;
    seite.alle_Daten_aus_Dateien_holen();
    return {Daten.Kanaltabelle[1].Signalbezeichnung[1].text(), Daten.Scanlistentabelle[1].Signalname.text(),
            Daten.Aufzeichnungstabelle[0].Signalname.text(), Daten.Messblocktabelle[1].Messblockname.text(),
            Daten.Funktionskonstantentabelle[1].Text1.text(), Daten.Optiscantabelle[1].Messblock.text(),
            Daten.Vorgabetabelle[1].Vorgabefrei.text(), QString::number(Daten.Knopfzustände[1]),
            QString::number(Daten.Datenformatsatz.Stundenindex), QString::number(Daten.Datenloggersatz.Periodenindex),
            Daten.Matrixtabelle[1].Matrixname.text(), seite.Seriennummer};
}
}

TEST(Projektspeicher, Harter_Abbruch_waehrend_des_Speicherns_laesst_das_alte_oder_das_neue_Projekt) {
    if (qEnvironmentVariableIsSet(Speicherschleife)) {
        // The saving program: back-to-back saves until it is killed.
        qputenv("KESTRIX_ROOT", qgetenv(Speicherschleife));
        Skriptdialoge dialoge;
        dialoge_ersetzen(&dialoge);
        Projekt seite;
        seite.Projektverz_anleg();
        const int basis = qEnvironmentVariableIntValue("KESTRIX_TEST_BASIS");
        for (int n = basis;; ++n) {
            Daten.Projektname = "p.kxp";
            Marken_setzen(n, seite);
            if (!seite.alles_speichern())
                return;
            if (n == basis) {
                std::fputs("bereit\n", stdout);
                std::fflush(stdout);
            }
        }
    }
    Teststation station;
    station.Laufwerk_anlegen('c');
    {
        Projekt seite;
        seite.Projektverz_anleg();
        Daten.Projektname = "p.kxp";
        Marken_setzen(1, seite);
        ASSERT_TRUE(seite.alles_speichern());
    }
    int gemischt = 0, reste = 0;
    for (int abbruch = 1; abbruch <= 15; ++abbruch) {
        QProcess p;
        auto umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(Speicherschleife, station.Wurzel());
        umgebung.insert("KESTRIX_TEST_BASIS", QString::number(abbruch * 1000));
        p.setProcessEnvironment(umgebung);
        p.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=Projektspeicher.Harter_Abbruch_waehrend_des_Speicherns_laesst_das_alte_oder_das_neue_"
                 "Projekt"});
        QByteArray ausgabe;
        while (!ausgabe.contains("bereit") && p.waitForReadyRead(20000))
            ausgabe += p.readAllStandardOutput();
        ASSERT_TRUE(ausgabe.contains("bereit")) << ausgabe.toStdString();
        QTest::qSleep(QRandomGenerator::global()->bounded(1, 40));
        p.kill();
        ASSERT_TRUE(p.waitForFinished(5000));

        // What the next start finds, after its store has tidied up.
        Projekt seite;
        seite.Projektverz_anleg();
        const QSet<QString> marken = Marken_lesen("p.kxp");
        gemischt += marken.size() != 1;
        for (const char* v : {"kanaele", "scanlist", "vorg_rei", "SerNo", "Matrix"})
            reste += static_cast<int>(QDir(intern(v)).entryList(QDir::Files | QDir::Hidden).size()) - 1;
        // A temporary file that an older copy left beside a table never becomes a project.
        Teststation::Datei_schreiben(intern("vorg_rei\\alt.kxp.Ab12Cd"), "x");
    }
    EXPECT_EQ(gemischt, 0);
    EXPECT_EQ(reste, 0);
    EXPECT_EQ(station.Dialoge.Meldungen, QStringList{});
}

// ---- names and the current-project file ------------------------------------------

namespace {
struct Namen : ::testing::Test {
    Teststation station;
    std::unique_ptr<MDIForm1> rahmen;
    void SetUp() override {
        for (QChar lw : {'c', 'd', 'e'})
            station.Laufwerk_anlegen(lw);
        rahmen = std::make_unique<MDIForm1>();
        ASSERT_TRUE(rahmen->MDIForm_Load());
    }
    void TearDown() override { rahmen->entladen(); }
    QByteArray Projektdatei() const { return Teststation::Datei_lesen(intern("projbez\\projekt.kxp")); }
    QStringList Projekte() const { return QDir(intern("vorg_rei")).entryList(QDir::Files | QDir::Hidden); }
};
}

TEST_F(Namen, Nicht_speicherbare_Namen_werden_in_jeder_Aktion_abgelehnt) {
    Dateiform* dialog = Fenster.Dateiform;
    Hinweisform* hinweis = Fenster.Hinweisform;
    ASSERT_TRUE(Fenster.Projekt->speichern_unter("da.kxp"));
    const QStringList vorher = Projekte();
    for (const QString aktion : {"speichern unter...", "neu", "öffnen", "löschen"}) {
        for (const QString name : {QString::fromUtf8("Ωmega"), QString(), QString("   "), QString(".."),
                                   QString(300, 'x'), QString("a\tb")}) {
            const qsizetype meldungen = station.Dialoge.Meldungen.size();
            dialog->öffnen(aktion);
            dialog->Text1->setText(name);
            dialog->Command2->click();
            const bool hinweis_sichtbar = hinweis->isVisibleTo(rahmen.get());
            EXPECT_TRUE(station.Dialoge.Meldungen.size() == meldungen + 1 ||
                        (hinweis_sichtbar && hinweis->Label1->text() == "Bitte max. 8 Zeichen eingeben!"))
                << aktion.toStdString() << " " << name.toStdString();
            if (hinweis_sichtbar)
                hinweis->Command3->click();
        }
    }
    EXPECT_EQ(Projekte(), vorher);
    EXPECT_EQ(Projektdatei(), "da.kxp\r\n");
    EXPECT_EQ(Daten.Projektname, "da.kxp");

    // A save that cannot be completed leaves the current project as it was.
    EXPECT_FALSE(Fenster.Projekt->speichern_unter(QString(300, 'y') + ".kxp"));
    EXPECT_EQ(Projektdatei(), "da.kxp\r\n");
    EXPECT_EQ(Daten.Projektname, "da.kxp");
    EXPECT_EQ(Fenster.Projekt->Label1->text(), "da.kxp");
    EXPECT_EQ(Projekte(), vorher);
}

// "Ja" to saving the default project first: it is saved under a name the
// operator gives, then the project chosen before is opened or created.
TEST_F(Namen, Ja_beim_Standardprojekt_speichert_unter_einem_Namen_und_fuehrt_die_Wahl_aus) {
    Projekt* projekt = Fenster.Projekt;
    Dateiform* dialog = Fenster.Dateiform;
    Hinweisform* hinweis = Fenster.Hinweisform;
    ASSERT_TRUE(projekt->speichern_unter("ziel.kxp"));
    Daten.Kanaltabelle[2].Signalbezeichnung[2] = "nur in ziel";
    ASSERT_TRUE(projekt->alles_speichern());
    dialog->Text1->setText("noname01.kxp");
    projekt->Projektname_aktualisieren();
    projekt->alle_Daten_aus_Dateien_holen();

    auto wählen = [&](int aktion, const QString& name) {
        Listenindex_setzen(projekt->Combo1, aktion);
        dialog->Text1->setText(name);
        dialog->Command2->click();
        ASSERT_EQ(hinweis->Label1->text(), "sollen Änderungen in aktuellem Projekt gespeichert werden?");
        hinweis->Command1->click();  // "Ja"
        ASSERT_EQ(dialog->Label2->text(), "speichern unter...");
    };
    Daten.Kanaltabelle[1].Signalbezeichnung[1] = "Arbeit1";
    wählen(2, "ziel.kxp");  // "öffnen"
    dialog->Text1->setText("arbeit1");
    dialog->Command2->click();
    EXPECT_EQ(Teststation::Datei_lesen(intern("kanaele\\arbeit1.kxp")).mid(36 + 45 + 180 + 20, 20),
              "Arbeit1             ");
    EXPECT_EQ(Projektdatei(), "ziel.kxp\r\n");
    EXPECT_EQ(Daten.Kanaltabelle[2].Signalbezeichnung[2].text(), "nur in ziel");

    dialog->Text1->setText("noname01.kxp");
    projekt->Projektname_aktualisieren();
    projekt->alle_Daten_aus_Dateien_holen();
    Daten.Kanaltabelle[1].Signalbezeichnung[1] = "Arbeit2";
    wählen(3, "frisch");  // "neu"
    dialog->Text1->setText("arbeit2");
    dialog->Command2->click();
    EXPECT_EQ(Teststation::Datei_lesen(intern("kanaele\\arbeit2.kxp")).mid(36 + 45 + 180 + 20, 20),
              "Arbeit2             ");
    EXPECT_EQ(Projektdatei(), "frisch.kxp\r\n");
    EXPECT_EQ(Teststation::Datei_lesen(intern("kanaele\\frisch.kxp")).mid(36 + 45 + 180 + 20, 20),
              QByteArray(20, ' '));
    // The default project keeps what it was saved with at start.
    EXPECT_EQ(Teststation::Datei_lesen(intern("kanaele\\noname01.kxp")).mid(36 + 45 + 180 + 20, 20),
              QByteArray(20, ' '));
}

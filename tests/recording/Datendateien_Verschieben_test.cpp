// Moving the logger buffer into the project directory at the hour change, and
// what happens when a drive or the target cannot be written: no line is
// lost, none is written twice, the run goes on and the run log says why.
#include <QElapsedTimer>

#include "Datendateien_Testhilfe.h"

namespace {
const QString Projektdatei = "c:\\kestrix\\extern\\messdat\\Versuch\\";

// A short run as the run loop drives it: every scan reads one value at
// 'wann'; at a change of the hour stamp the buffer is moved and the name made anew.
class Kleiner_Lauf {
public:
    explicit Kleiner_Lauf(const QDateTime& start) {
        Datendateien_Test::Uhr_stellen(start);
        Datenformat::Dateinamen_erzeug();
        laufname = Daten.Logdateiname;
    }
    void Scan(const QDateTime& wann, const QString& wert) {
        Datendateien_Test::Uhr_stellen(wann);
        Datenformat::Dateinamen_erzeug();
        Datendateien_Test::Wert(1, wert, "V", wann);
        Datendateien::Reihenfolge_ändern();
        if (Daten.Stundenstempel != stempel && !erster) {
            Datendateien::Datenlogfiles_umkopieren(laufname);
            Datenformat::Dateinamen_erzeug();
            laufname = Daten.Logdateiname;
        }
        stempel = Daten.Stundenstempel;
        erster = false;
        Datendateien::Datenlogzeile_erstellen();
        Datendateien::Meßdatei_öffnen();
        Datendateien::Meßdat_speichern();
        Datendateien::Meßdatei_schließen();
    }
    void Ende() { Datendateien::Datenlogfiles_umkopieren(Daten.Logdateiname); }

    QString laufname, stempel;
    bool erster = true;
};

class Verschieben : public Datendateien_Test {
protected:
    void SetUp() override {
        Datendateien_Test::SetUp();
        Punkt(1, "DCV", "U1", 1, 1);
        Daten.Kopfzeile_roh = "Zeit;U1 [V];";
        Daten.Datenloggersatz.Zeit_ein = 1;
        Daten.Logdatumsformat = "";
        Daten.Datenformatsatz.Datum = 0;
    }
    // A record at 09:30:05 with this value.
    static void Satz(const QString& wert) {
        Wert(1, wert, "V", Messzeit);
        Satz_schreiben();
    }
};
}  // namespace

TEST_F(Verschieben, Stunde_gibt_um_Mitternacht_zwei_Projektdateien) {
    Daten.Dateiperiode = "Stunde";
    Daten.Headermerker = 1;
    Kleiner_Lauf lauf(QDateTime(QDate(2006, 12, 31), QTime(23, 59, 0)));
    lauf.Scan(QDateTime(QDate(2006, 12, 31), QTime(23, 59, 0)), "1,0");
    lauf.Scan(QDateTime(QDate(2007, 1, 1), QTime(0, 0, 0)), "2,0");
    lauf.Ende();

    EXPECT_EQ(Datei(Projektdatei + "06123123.txt"), QByteArray("Zeit;U1 [V];\r\n"
                                                                "Zeit;U1 [V];\r\n"
                                                                "23:59:00;1,0;\r\n"));
    EXPECT_EQ(Datei(Projektdatei + "07010100.txt"), QByteArray("Zeit;U1 [V];\r\n00:00:00;2,0;\r\n"));
    EXPECT_FALSE(Vorhanden("e:\\06123123.txt"));
    EXPECT_FALSE(Vorhanden("e:\\07010100.txt"));
}

TEST_F(Verschieben, Tag_behaelt_den_Namen_und_verschiebt_doch_jede_Stunde) {
    Daten.Dateiperiode = "Tag";
    const QDate tag(2006, 12, 14);
    Kleiner_Lauf lauf(QDateTime(tag, QTime(9, 10, 0)));
    lauf.Scan(QDateTime(tag, QTime(9, 10, 0)), "1,0");
    lauf.Scan(QDateTime(tag, QTime(9, 50, 0)), "2,0");
    EXPECT_FALSE(Vorhanden(Projektdatei + "06Dez14.txt"));
    lauf.Scan(QDateTime(tag, QTime(10, 5, 0)), "3,0");
    // moved at the hour change, before the 10 o'clock line was written
    EXPECT_EQ(Datei(Projektdatei + "06Dez14.txt"), QByteArray("Zeit;U1 [V];\r\n"
                                                               "09:10:00;1,0;\r\n"
                                                               "09:50:00;2,0;\r\n"));
    EXPECT_EQ(Datei("e:\\06Dez14.txt"), QByteArray("10:05:00;3,0;\r\n"));
    lauf.Scan(QDateTime(tag, QTime(11, 0, 0)), "4,0");
    lauf.Ende();
    EXPECT_EQ(Daten.Logdateiname, "06Dez14.txt");
    EXPECT_EQ(Datei(Projektdatei + "06Dez14.txt"), QByteArray("Zeit;U1 [V];\r\n"
                                                               "09:10:00;1,0;\r\n"
                                                               "09:50:00;2,0;\r\n"
                                                               "10:05:00;3,0;\r\n"
                                                               "11:00:00;4,0;\r\n"));
    EXPECT_FALSE(Vorhanden("e:\\06Dez14.txt"));
    EXPECT_TRUE(station.Protokollmeldungen().isEmpty()) << station.Protokoll().toStdString();
}

TEST_F(Verschieben, Getrennte_Dateien_gehen_mit_ihren_Kopfzeilen) {
    Daten.Knopfzustände[7] = 0;
    Daten.Knopfzustände[8] = -1;
    CalcuReihenfolge::Rechenkopf = "Zeit/Datum;S [V];";
    Teststation::Datei_schreiben(Pfade::lokal("e:\\06121409.cal"), "09:00:00;5;\r\n");
    Teststation::Datei_schreiben(Pfade::lokal("e:\\06121409.roh"), "09:00:00;2,5;\r\n");
    Datendateien::Datenlogfiles_umkopieren("06121409.txt");
    EXPECT_EQ(Datei(Projektdatei + "06121409.cal"), "Zeit/Datum;S [V];\r\n09:00:00;5;\r\n");
    EXPECT_EQ(Datei(Projektdatei + "06121409.roh"), "Zeit;U1 [V];\r\n09:00:00;2,5;\r\n");
    EXPECT_FALSE(Vorhanden("e:\\06121409.cal"));
    EXPECT_FALSE(Vorhanden("e:\\06121409.roh"));
    EXPECT_FALSE(Vorhanden(Projektdatei + "06121409.txt"));

    // another storage kind moves nothing
    Daten.Knopfzustände[8] = 1;
    Teststation::Datei_schreiben(Pfade::lokal("e:\\06121409.txt"), "x\r\n");
    Datendateien::Datenlogfiles_umkopieren("06121409.txt");
    EXPECT_TRUE(Vorhanden("e:\\06121409.txt"));
    // nor does a move with the logger off
    Daten.Knopfzustände[8] = 0;
    Daten.Datenloggersatz.Datenlogger_ein = 0;
    Datendateien::Datenlogfiles_umkopieren("06121409.txt");
    EXPECT_TRUE(Vorhanden("e:\\06121409.txt"));
}

TEST_F(Verschieben, Nicht_beschreibbares_Ziel_behaelt_den_Puffer_bis_zum_naechsten_Mal) {
    // A file where the project's data folder should be: nothing can be
    // created in it, whatever the rights of the test.
    const QString ordner = Pfade::lokal("c:\\kestrix\\extern\\messdat\\Versuch");
    ASSERT_TRUE(QDir(ordner).removeRecursively());
    Teststation::Datei_schreiben(ordner, "kein Ordner");

    Satz("1,0");
    Satz("2,0");
    const QByteArray puffer = Datei("e:\\06121409.txt");
    ASSERT_EQ(puffer, "09:30:05;1,0;\r\n09:30:05;2,0;\r\n");
    EXPECT_FALSE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
    EXPECT_EQ(Datei("e:\\06121409.txt"), puffer);
    ASSERT_EQ(station.Protokollmeldungen().size(), 1);
    EXPECT_TRUE(station.Protokollmeldungen()[0].startsWith("Loggerdatei 06121409.txt nicht verschoben"))
        << station.Protokoll().toStdString();

    // Lines keep coming into the buffer meanwhile.
    Satz("3,0");
    ASSERT_TRUE(QFile::remove(ordner));
    ASSERT_TRUE(QDir().mkdir(ordner));
    EXPECT_TRUE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
    const QByteArray erwartet = "Kopf;\r\n09:30:05;1,0;\r\n09:30:05;2,0;\r\n09:30:05;3,0;\r\n";
    EXPECT_EQ(Datei(Projektdatei + "06121409.txt"), erwartet);
    EXPECT_FALSE(Vorhanden("e:\\06121409.txt"));

    // A second move has nothing more to add.
    EXPECT_TRUE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
    EXPECT_EQ(Datei(Projektdatei + "06121409.txt"), erwartet);
}

TEST_F(Verschieben, Abbruch_an_jeder_Stelle_verliert_und_verdoppelt_keine_Zeile) {
    struct Abbruch {};
    static int halt = 0;
    const QString puffer = Pfade::lokal("e:\\");
    for (halt = 1; halt <= 6; ++halt) {
        SCOPED_TRACE(halt);
        QFile::remove(Pfade::lokal(Projektdatei + "06121409.txt"));
        Satz("1,0");
        ASSERT_TRUE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
        Satz("2,0");
        Satz("3,0");
        // The program is killed at this step of the move ...
        Datendateien::Prüfpunkt = [](int schritt) {
            if (schritt == halt)
                throw Abbruch{};
        };
        EXPECT_THROW(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"), Abbruch);
        Datendateien::Prüfpunkt = nullptr;
        // ... starts again, writes a record and moves at the next hour.
        Satz("4,0");
        EXPECT_TRUE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
        EXPECT_EQ(Datei(Projektdatei + "06121409.txt"),
                  "Kopf;\r\n09:30:05;1,0;\r\n09:30:05;2,0;\r\n09:30:05;3,0;\r\n09:30:05;4,0;\r\n");
        EXPECT_EQ(QDir(puffer).entryList(QDir::Files), QStringList());
    }
}

TEST_F(Verschieben, Puffer_einer_frueheren_Stunde_geht_mit_der_naechsten_Verschiebung) {
    // Killed just before the move at 09:00, started again at 09:00:30.
    Teststation::Datei_schreiben(Pfade::lokal("e:\\06121408.txt"), "08:59:59;0,5;\r\n");
    Satz("1,0");
    Datendateien::Datenlogfiles_umkopieren("06121409.txt");
    EXPECT_EQ(Datei(Projektdatei + "06121408.txt"), "Zeit;U1 [V];\r\n08:59:59;0,5;\r\n");
    EXPECT_EQ(Datei(Projektdatei + "06121409.txt"), "Zeit;U1 [V];\r\n09:30:05;1,0;\r\n");
    EXPECT_EQ(QDir(Pfade::lokal("e:\\")).entryList(QDir::Files), QStringList());
}

TEST_F(Verschieben, Vorhandene_Projektdatei_bekommt_keine_neue_Kopfzeile) {
    Teststation::Datei_schreiben(Pfade::lokal(Projektdatei + "06121409.txt"), "alt\r\n");
    Teststation::Datei_schreiben(Pfade::lokal("e:\\06121409.txt"), "neu\r\nabgerissen");
    Daten.Headermerker = 1;
    EXPECT_TRUE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
    // a line cut off in the buffer still ends its line in the project file
    EXPECT_EQ(Datei(Projektdatei + "06121409.txt"), "alt\r\nneu\r\nabgerissen\r\n");
    EXPECT_EQ(Daten.Headermerker, 1);
}

TEST_F(Verschieben, Ohne_Pufferdatei_entsteht_nur_die_Kopfzeile) {
    Daten.Headermerker = 1;
    EXPECT_TRUE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
    EXPECT_EQ(Datei(Projektdatei + "06121409.txt"), "Kopf;\r\n");
    EXPECT_EQ(Daten.Headermerker, 0);
}

TEST_F(Verschieben, Geloeschtes_Projekt_beendet_das_Programm) {
    ASSERT_TRUE(QFile::remove(Pfade::lokal("c:\\kestrix\\intern\\kanaele\\Versuch.kxp")));
    Satz("1,0");
    EXPECT_FALSE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
    EXPECT_EQ(station.Dialoge.Meldungen, QStringList{"Projekt nicht vorhanden!"});
    EXPECT_EQ(station.Ende.Aufrufe, 1);
    EXPECT_EQ(Datei("e:\\06121409.txt"), "09:30:05;1,0;\r\n");
}

TEST_F(Verschieben, Fehlender_Pufferspeicher_haelt_die_Zeilen_zurueck) {
    ASSERT_TRUE(QDir(Pfade::lokal("e:\\")).removeRecursively());
    Daten.Headermerker = 1;
    Satz("1,0");
    Satz("2,0");
    EXPECT_EQ(Datendateien::Rückstand("06121409.txt"), "Zeit;U1 [V];\r\n09:30:05;1,0;\r\n09:30:05;2,0;\r\n");
    EXPECT_EQ(Datei("d:\\Daten.txt"), "09:30:05;2,0;U1;V;\r\n") << "the data interface goes on";
    ASSERT_EQ(station.Protokollmeldungen().size(), 1) << station.Protokoll().toStdString();
    EXPECT_TRUE(station.Protokollmeldungen()[0].startsWith("Loggerpuffer nicht beschreibbar: e:\\06121409.txt"));

    // The drive is back: the held-back lines come first.
    station.Laufwerk_anlegen('e');
    Satz("3,0");
    EXPECT_EQ(Datei("e:\\06121409.txt"), "Zeit;U1 [V];\r\n09:30:05;1,0;\r\n09:30:05;2,0;\r\n09:30:05;3,0;\r\n");
    EXPECT_TRUE(Datendateien::Rückstand("06121409.txt").isEmpty());
    EXPECT_EQ(station.Protokollmeldungen().size(), 2);
    EXPECT_TRUE(station.Protokollmeldungen().last().startsWith("Loggerpuffer wieder beschreibbar"));
}

TEST_F(Verschieben, Zurueckgehaltene_Zeilen_gehen_mit_der_naechsten_Verschiebung) {
    ASSERT_TRUE(QDir(Pfade::lokal("e:\\")).removeRecursively());
    Satz("1,0");
    Satz("2,0");
    EXPECT_TRUE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
    EXPECT_EQ(Datei(Projektdatei + "06121409.txt"), "Kopf;\r\n09:30:05;1,0;\r\n09:30:05;2,0;\r\n");
    EXPECT_TRUE(Datendateien::Rückstand("06121409.txt").isEmpty());
    EXPECT_TRUE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
    EXPECT_EQ(Datei(Projektdatei + "06121409.txt"), "Kopf;\r\n09:30:05;1,0;\r\n09:30:05;2,0;\r\n");
}

TEST_F(Verschieben, Fehlende_Datenschnittstelle_haelt_den_Lauf_nur_einmal_kurz_auf) {
    ASSERT_TRUE(QDir(Pfade::lokal("d:\\")).removeRecursively());
    QElapsedTimer uhrzeit;
    uhrzeit.start();
    Satz("1,0");
    const qint64 erster = uhrzeit.restart();
    // ten tries, half a second apart
    EXPECT_GE(erster, 4000);
    EXPECT_LT(erster, 8000);
    Satz("2,0");
    EXPECT_LT(uhrzeit.elapsed(), 1000) << "a drive that is gone is not waited for again";
    EXPECT_EQ(Datei("e:\\06121409.txt"), "09:30:05;1,0;\r\n09:30:05;2,0;\r\n") << "the logger goes on";
    EXPECT_EQ(station.Protokollmeldungen(), (QStringList{"Datenschnittstelle nicht beschreibbar: d:\\Daten.txt",
                                                         "Datenschnittstelle nicht beschreibbar: d:\\Daten&.txt"}));

    station.Laufwerk_anlegen('d');
    Satz("3,0");
    EXPECT_EQ(Datei("d:\\Daten.txt"), "09:30:05;3,0;U1;V;\r\n");
    EXPECT_EQ(Datei("d:\\Daten&.txt"), "09:30:05;3,0;U1;V;\r\n09:30:05;2,0;U1;V;\r\n09:30:05;1,0;U1;V;\r\n")
        << "the ring kept the lines the drive missed";
    EXPECT_EQ(station.Protokollmeldungen().mid(2), (QStringList{"Datenschnittstelle wieder beschreibbar: d:\\Daten.txt",
                                                                "Datenschnittstelle wieder beschreibbar: d:\\Daten&.txt"}));
}

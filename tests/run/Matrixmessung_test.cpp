// The matrix measurement: calibration lines, temperatures and voltages with
// their limits, the matrix files, and whole runs against the simulated box.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTimer>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "points/MBForm1.h"
#include "project/MDIForm1.h"
#include "run/Hauptfenster.h"
#include "run/Matrixkalibrierung.h"
#include "run/Matrixmessung.h"
#include "platform/Text1252.h"
#include "support/Teststation.h"
#include "Messlauf_Testhilfe.h"

using namespace Matrixmessung;

namespace {

QByteArray Lesen(const QString& pfad) { return Teststation::Datei_lesen(pfad); }

// ---- without a window -----------------------------------------------------------

struct Matrixdaten : ::testing::Test {
    Teststation station;
    QString c, d;  // the drives as folders

    void SetUp() override {
        station.Laufwerk_anlegen('c');
        station.Laufwerk_anlegen('d');
        c = station.Wurzel() + "/c";
        d = station.Wurzel() + "/d";
        Daten.Ramdisk1 = "d:\\";
        Daten.Projektkurzname = "Proj";
        Daten.Trennzeichen = ";";
        Daten.Logtrennzeichen = "\t";
        Daten.Datenloggersatz.Zeit_ein = 1;
        Daten.Messwerttexte[1].Zeilenanfang = "07.12.26;18:00:00;";
        Daten.Messwerttexte[1].Logzeit = " 18:00:00";
        Daten.Scanlistentabelle[1].Signalname = "U1";
        Daten.Scanlistentabelle[2].Signalname = "Vorlauf";
        Daten.Scanlistentabelle[3].Signalname = "";
        Daten.Messwerttexte[2].Logwert = "21,5";
        Daten.Messwerttexte[2].Einheitensegment = QString::fromUtf8("°C;");
    }
    // Matrix B with two points: 25 °C and 52.5 °C at 0.6 V and 0.5 V.
    Zeilen Matrix_B() {
        Spannungen U;
        U.Punkt[1] = 0.6;
        U.Punkt[2] = 0.5;
        return Zeilen_bilden(2, 2, U, Kalibrierung_lesen("B01 0x2 -500x +325\r\nB02 10x2 -20x +60\r\n"));
    }
};

TEST_F(Matrixdaten, Kalibrierzeilen_geben_die_drei_Koeffizienten_und_eine_kaputte_Zeile_nur_ihrem_Punkt_keine) {
    const Kalibrierung kal = Kalibrierung_lesen(
        "A01 0,0021x2 -2,51x +420,7\r\n"
        "A02 0,5x2 +1,25 ohne\r\n"     // no "x" after "x2"
        "A03 7,5 -2,0x +1,0\r\n"       // no "x2"
        "\r\n"
        "x05-1,5x2 +0x -3\r\n"         // the label is not searched
        "A06 1.5x2 -2.5x +3.5\r\n");   // a point is read as well
    ASSERT_TRUE(kal.Punkt[1]);
    EXPECT_DOUBLE_EQ(kal.Punkt[1]->a, 0.0021);
    EXPECT_DOUBLE_EQ(kal.Punkt[1]->b, -2.51);
    EXPECT_DOUBLE_EQ(kal.Punkt[1]->c, 420.7);
    EXPECT_FALSE(kal.Punkt[2]);
    EXPECT_FALSE(kal.Punkt[3]);
    EXPECT_FALSE(kal.Punkt[4]);
    ASSERT_TRUE(kal.Punkt[5]);
    EXPECT_DOUBLE_EQ(kal.Punkt[5]->a, -1.5);
    EXPECT_DOUBLE_EQ(kal.Punkt[5]->b, 0);
    EXPECT_DOUBLE_EQ(kal.Punkt[5]->c, -3);
    ASSERT_TRUE(kal.Punkt[6]);
    EXPECT_DOUBLE_EQ(kal.Punkt[6]->c, 3.5);
    EXPECT_FALSE(kal.Punkt[7]);  // beyond the file

    // The unreadable point gets -1; its voltage is written; the next point keeps its own line.
    Spannungen U;
    U.Punkt[1] = U.Punkt[2] = U.Punkt[3] = U.Punkt[5] = 0.5;
    Daten.Trennzeichen = ";";
    const Zeilen z = Zeilen_bilden(1, 3, U, Kalibrierung_lesen("A01 0x2 -100x +90\r\nA02 kaputt\r\nA03 0x2 -100x +80"));
    EXPECT_EQ(z.Temperatur, QString::fromUtf8("07.12.26;18:00:00;;;;40,0000;A1;[°C];-1;A2;[°C];30,0000;A3;[°C];"));
    EXPECT_EQ(z.Spannung, "07.12.26;18:00:00;;;;0,500000;A1;[V];0,500000;A2;[V];0,500000;A3;[V];");
}

TEST_F(Matrixdaten, Temperaturen_und_Spannungen_mit_Grenzen_und_Mustern) {
    const Koeffizienten quadratisch{10, -20, 60};  // 52.5 at 0.5 V
    const Koeffizienten gerade{0, -500, 325};      // falling line: 75 at 0.5 V
    EXPECT_EQ(Temperaturtext(0.5, quadratisch), "52,5000");
    EXPECT_EQ(Temperaturtext(0.6, gerade), "25,0000");
    EXPECT_EQ(Temperaturtext(0.6395, gerade), "05,2500");
    EXPECT_EQ(Temperaturtext(0.123456, Koeffizienten{0, 0, 12.345678}), "12,3457");
    EXPECT_EQ(Temperaturtext(0.450000004, gerade), "100,0000") << "just below 100 rounds up";
    EXPECT_EQ(Temperaturtext(0.65, Koeffizienten{0, -500, 325}), "-1") << "0";
    EXPECT_EQ(Temperaturtext(0.45, Koeffizienten{0, 0, 100}), "-1") << "exactly 100";
    EXPECT_EQ(Temperaturtext(0.7, gerade), "-1");
    EXPECT_EQ(Temperaturtext(std::nullopt, gerade), "-1") << "no voltage";
    EXPECT_EQ(Temperaturtext(0.5, std::nullopt), "-1") << "no coefficients";
    // The temperature is taken from the voltage before the voltage limit.
    EXPECT_EQ(Temperaturtext(1.2, Koeffizienten{0, 0, 50}), "50,0000");

    EXPECT_EQ(Spannungstext(0.5), "0,500000");
    EXPECT_EQ(Spannungstext(0.5231), "0,523100");
    EXPECT_EQ(Spannungstext(0.0100001), "0,010000");
    EXPECT_EQ(Spannungstext(0.9999994), "0,999999");
    EXPECT_EQ(Spannungstext(0.01), "0");
    EXPECT_EQ(Spannungstext(1.0), "0");
    EXPECT_EQ(Spannungstext(1.2), "0");
    EXPECT_EQ(Spannungstext(-0.5), "0");
    EXPECT_EQ(Spannungstext(std::nullopt), "0");
}

TEST_F(Matrixdaten, Die_Antwort_verteilt_sich_in_Punktfolge_und_Fehlendes_ist_keine_Spannung) {
    Spannungen U = Spannungen_aufteilen("+5.11100000E-01,+5.12100000E-01,+5.13100000E-01", 3);
    ASSERT_TRUE(U.Punkt[1] && U.Punkt[2] && U.Punkt[3]);
    EXPECT_DOUBLE_EQ(*U.Punkt[1], 0.5111);
    EXPECT_DOUBLE_EQ(*U.Punkt[2], 0.5121);
    EXPECT_DOUBLE_EQ(*U.Punkt[3], 0.5131);
    EXPECT_FALSE(U.Punkt[4]);

    // What a timed-out fetch leaves behind.
    U = Spannungen_aufteilen("+9.9E37,+9.9E37,", 2);
    EXPECT_FALSE(U.Punkt[1]);
    EXPECT_FALSE(U.Punkt[2]);

    // A short reply: the last point has no voltage, the others keep theirs.
    U = Spannungen_aufteilen("+5.00000000E-01,+6.00000000E-01", 3);
    EXPECT_DOUBLE_EQ(U.Punkt[1].value_or(0), 0.5);
    EXPECT_DOUBLE_EQ(U.Punkt[2].value_or(0), 0.6);
    EXPECT_FALSE(U.Punkt[3]);

    U = Spannungen_aufteilen("+5.00000000E-01,Unsinn", 2);
    EXPECT_TRUE(U.Punkt[1]);
    EXPECT_FALSE(U.Punkt[2]);
}

TEST_F(Matrixdaten, Punktzahl_und_Kreuzpunkte) {
    EXPECT_EQ(Punktanzahl(0), 2);
    EXPECT_EQ(Punktanzahl(1), 2);
    EXPECT_EQ(Punktanzahl(2), 3);
    EXPECT_EQ(Punktanzahl(63), 64);
    EXPECT_EQ(Punktanzahl(-5), 2);
    EXPECT_EQ(Punktanzahl(200), 64);
    EXPECT_EQ(Kreuzpunktframe(3, 2, 7), "32372");
}

TEST_F(Matrixdaten, Zeilen_ohne_und_mit_Signal_und_ohne_Zeit) {
    Zeilen z = Matrix_B();
    EXPECT_EQ(z.Temperatur, QString::fromUtf8("07.12.26;18:00:00;;;;25,0000;B1;[°C];52,5000;B2;[°C];"));
    EXPECT_EQ(z.Spannung, "07.12.26;18:00:00;;;;0,600000;B1;[V];0,500000;B2;[V];");
    EXPECT_EQ(z.Kopf, "Zeit/Datum\tB1\tB2\t");
    EXPECT_EQ(z.Daten_c, "18:00:00\t25,0000\t52,5000\t");
    EXPECT_EQ(z.Daten_r, "18:00:00\t0,600000\t0,500000\t");

    Daten.Matrixtabelle[2].MitSignal = 1;
    Daten.Matrixtabelle[2].Signal = "Vorlauf";
    z = Matrix_B();
    EXPECT_EQ(z.Temperatur, QString::fromUtf8("07.12.26;18:00:00;21,5;Vorlauf;°C;25,0000;B1;[°C];52,5000;B2;[°C];"));
    EXPECT_EQ(z.Spannung, QString::fromUtf8("07.12.26;18:00:00;21,5;Vorlauf;°C;0,600000;B1;[V];0,500000;B2;[V];"));
    EXPECT_EQ(z.Kopf, QString::fromUtf8("Zeit/Datum\tVorlauf [°C]\tB1\tB2\t"));
    EXPECT_EQ(z.Daten_c, "18:00:00\t21,5\t25,0000\t52,5000\t");
    EXPECT_EQ(z.Daten_r, "18:00:00\t21,5\t0,600000\t0,500000\t");

    Daten.Datenloggersatz.Zeit_ein = 0;
    z = Matrix_B();
    EXPECT_EQ(z.Kopf, QString::fromUtf8("Vorlauf [°C]\tB1\tB2\t"));
    EXPECT_EQ(z.Daten_c, "21,5\t25,0000\t52,5000\t");
    Daten.Matrixtabelle[2].MitSignal = 0;
    z = Matrix_B();
    EXPECT_EQ(z.Kopf, "B1\tB2\t");
    EXPECT_EQ(z.Daten_r, "0,600000\t0,500000\t");

    // A signal behind the first empty scan entry is not found: its columns stay empty.
    Daten.Datenloggersatz.Zeit_ein = 1;
    Daten.Scanlistentabelle[4].Signalname = "Rücklauf";
    Daten.Matrixtabelle[2].MitSignal = 1;
    Daten.Matrixtabelle[2].Signal = QString::fromUtf8("Rücklauf");
    z = Matrix_B();
    EXPECT_EQ(z.Temperatur, QString::fromUtf8("07.12.26;18:00:00;;Rücklauf;25,0000;B1;[°C];52,5000;B2;[°C];"));
    EXPECT_EQ(z.Kopf, QString::fromUtf8("Zeit/Datum\tRücklauf []\tB1\tB2\t"));
    EXPECT_EQ(z.Daten_c, "18:00:00\t\t25,0000\t52,5000\t");
}

TEST_F(Matrixdaten, Dateien_fuer_jede_Wahl_von_Roh_Kal_Signal_und_eigenem_Namen) {
    const QByteArray ram_c_ohne = "07.12.26;18:00:00;;;;25,0000;B1;[\xB0" "C];52,5000;B2;[\xB0" "C];\r\n";
    const QByteArray ram_r_ohne = "07.12.26;18:00:00;;;;0,600000;B1;[V];0,500000;B2;[V];\r\n";
    const QByteArray ram_c_mit = "07.12.26;18:00:00;21,5;Vorlauf;\xB0" "C;25,0000;B1;[\xB0" "C];52,5000;B2;[\xB0" "C];\r\n";
    const QByteArray ram_r_mit = "07.12.26;18:00:00;21,5;Vorlauf;\xB0" "C;0,600000;B1;[V];0,500000;B2;[V];\r\n";
    const QByteArray kopf_ohne = "Zeit/Datum\tB1\tB2\t\r\n";
    const QByteArray kopf_mit = "Zeit/Datum\tVorlauf [\xB0" "C]\tB1\tB2\t\r\n";
    const QByteArray c_ohne = "18:00:00\t25,0000\t52,5000\t\r\n";
    const QByteArray r_ohne = "18:00:00\t0,600000\t0,500000\t\r\n";
    const QByteArray c_mit = "18:00:00\t21,5\t25,0000\t52,5000\t\r\n";
    const QByteArray r_mit = "18:00:00\t21,5\t0,600000\t0,500000\t\r\n";
    const QString ordner = c + "/kestrix/extern/messdat/Proj";

    for (int wahl = 0; wahl < 16; ++wahl) {
        const bool roh = wahl & 1, kal = wahl & 2, signal = wahl & 4, eigen = wahl & 8;
        SCOPED_TRACE(QString("roh %1 kal %2 signal %3 eigen %4").arg(roh).arg(kal).arg(signal).arg(eigen).toStdString());
        QDir(ordner).removeRecursively();
        Matrixsatz& m = Daten.Matrixtabelle[2];
        m.RohDatei = roh;
        m.KalDatei = kal;
        m.MitSignal = signal;
        m.Signal = "Vorlauf";
        m.EigenerName = eigen;
        m.Matrixname = "Kessel 2";
        Dateien_schreiben(2, Matrix_B(), "26120718.txt");

        EXPECT_EQ(Lesen(d + "/Matrix_B_c.txt"), signal ? ram_c_mit : ram_c_ohne);
        EXPECT_EQ(Lesen(d + "/Matrix_B_r.txt"), signal ? ram_r_mit : ram_r_ohne);
        const QString basis = ordner + (eigen ? "/Kessel 2" : "/26120718_MatrixB");
        const QByteArray kopf = signal ? kopf_mit : kopf_ohne;
        EXPECT_EQ(Lesen(basis + "_r.txt"), roh ? kopf + (signal ? r_mit : r_ohne) : QByteArray());
        EXPECT_EQ(Lesen(basis + "_c.txt"), kal ? kopf + (signal ? c_mit : c_ohne) : QByteArray());
        EXPECT_EQ(QDir(ordner).entryList(QDir::Files).size(), int(roh) + int(kal));
    }
}

TEST_F(Matrixdaten, Datendateien_wachsen_mit_einem_Kopf_und_die_RAM_Disk_hat_nur_die_letzte_Zeile) {
    Matrixsatz& m = Daten.Matrixtabelle[2];
    m.RohDatei = 1;
    m.KalDatei = 1;
    Dateien_schreiben(2, Matrix_B(), "26120718.txt");
    Daten.Messwerttexte[1].Zeilenanfang = "07.12.26;18:00:10;";
    Daten.Messwerttexte[1].Logzeit = "18:00:10";
    Dateien_schreiben(2, Matrix_B(), "26120718.txt");
    EXPECT_EQ(Lesen(c + "/kestrix/extern/messdat/Proj/26120718_MatrixB_c.txt"),
              QByteArray("Zeit/Datum\tB1\tB2\t\r\n18:00:00\t25,0000\t52,5000\t\r\n18:00:10\t25,0000\t52,5000\t\r\n"));
    EXPECT_EQ(Lesen(d + "/Matrix_B_r.txt"), QByteArray("07.12.26;18:00:10;;;;0,600000;B1;[V];0,500000;B2;[V];\r\n"));
    EXPECT_EQ(QDir(d).entryList(QDir::Files), (QStringList{"Matrix_B_c.txt", "Matrix_B_r.txt"}));  // no leftovers
}

TEST_F(Matrixdaten, Dateinamen_der_Datendateien) {
    EXPECT_EQ(Datendatei(3, "26120718.txt", "r"), "c:\\kestrix\\extern\\messdat\\Proj\\26120718_MatrixC_r.txt");
    EXPECT_EQ(Datendatei(8, "26Dez07.txt", "c"), "c:\\kestrix\\extern\\messdat\\Proj\\26Dez07_MatrixH_c.txt");
    Daten.Matrixtabelle[3].EigenerName = 1;
    Daten.Matrixtabelle[3].Matrixname = "  Ofen links  ";
    EXPECT_EQ(Datendatei(3, "26120718.txt", "c"), "c:\\kestrix\\extern\\messdat\\Proj\\Ofen links_c.txt");
    // Without a name of its own the logger file's name is used.
    Daten.Matrixtabelle[4].EigenerName = 1;
    EXPECT_EQ(Datendatei(4, "26120718.txt", "c"), "c:\\kestrix\\extern\\messdat\\Proj\\26120718_MatrixD_c.txt");
    // A name too short to lose its extension forms no file; nothing is written.
    EXPECT_EQ(Datendatei(3, "abc", "r"), "c:\\kestrix\\extern\\messdat\\Proj\\Ofen links_r.txt");
    EXPECT_EQ(Datendatei(5, "abc", "r"), "");
    EXPECT_EQ(Datendatei(5, ".txt", "r"), "");
    Daten.Matrixtabelle[5].RohDatei = 1;
    Dateien_schreiben(5, Zeilen{}, "abc");
    EXPECT_FALSE(QDir(c + "/kestrix/extern/messdat").exists());
}

TEST_F(Matrixdaten, Fehlende_Kalibrierdatei_kommt_aus_der_Vorlage_und_eine_vorhandene_bleibt) {
    EXPECT_EQ(Matrix_Kalibrierdatei(1), "C:\\kestrix\\extern\\config\\Proj\\Matrix_Cal_A.txt");
    EXPECT_EQ(Matrix_Kalibrierdatei(8), "C:\\kestrix\\extern\\config\\Proj\\Matrix_Cal_H.txt");
    const QString datei = c + "/kestrix/extern/config/Proj/Matrix_Cal_B.txt";
    ASSERT_FALSE(QFile::exists(datei));
    const Kalibrierung kal = Kalibrierdatei_lesen(2);
    EXPECT_EQ(Lesen(datei), Lesen(station.Programmverzeichnis() + "/Matrix_Cal_.txt"));
    // The shipped template: 64 points on one falling line, 75 °C at 0.5 V.
    for (int p = 1; p <= 64; ++p) {
        ASSERT_TRUE(kal.Punkt[p]) << p;
        EXPECT_EQ(Temperaturtext(0.5, kal.Punkt[p]), "75,0000") << p;
    }

    Teststation::Datei_schreiben(datei, "B01 0x2 +0x +42\r\n");
    EXPECT_TRUE(Matrix_Kalibrierdatei_bereitstellen(2));
    EXPECT_EQ(Lesen(datei), QByteArray("B01 0x2 +0x +42\r\n"));
    EXPECT_EQ(Temperaturtext(0.5, Kalibrierdatei_lesen(2).Punkt[1]), "42,0000");
    EXPECT_FALSE(Kalibrierdatei_lesen(2).Punkt[2]);

    // Neither file nor template: no coefficients, no file.
    QFile::remove(station.Programmverzeichnis() + "/Matrix_Cal_.txt");
    EXPECT_FALSE(Matrix_Kalibrierdatei_bereitstellen(3));
    EXPECT_FALSE(Kalibrierdatei_lesen(3).Punkt[1]);
    EXPECT_FALSE(QFile::exists(c + "/kestrix/extern/config/Proj/Matrix_Cal_C.txt"));
}

// ---- runs against the simulated box --------------------------------------------

struct Matrixlauf : Messlaufstation {
    void SetUp() override {
        Messlaufstation::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        MBForm1::Meßblockvar_vorbeleg();
        eintrag(1, 1, 1, Daten.Messblocktabelle[1].Messblockname.text(), "U1");
        Daten.Datenformatsatz.max = 1;
    }
    // One scan: the stop file is there before the scan ends.
    void ein_Scan() {
        auto* uhrwerk = new QTimer(haupt);
        QObject::connect(uhrwerk, &QTimer::timeout, [this, uhrwerk] {
            if (box->Frames().contains("00023!")) {
                Teststation::Datei_schreiben(station.Wurzel() + "/d/Ende.txt", "");
                uhrwerk->stop();
            }
        });
        uhrwerk->start(5);
        haupt->messen->click();  // returns when the run has ended
    }
    void matrix(int m, int punktzahl) {
        Daten.Matrixtabelle[m].Aktiv = 1;
        Daten.Matrixtabelle[m].Punktzahl = static_cast<i16>(punktzahl);
    }
    QString Datenordner() const {
        return station.Wurzel() + "/c/kestrix/extern/messdat/" + Daten.Projektkurzname + "/";
    }
};

TEST_F(Matrixlauf, Die_Box_erhaelt_die_Matrixfolge_fuer_zwei_und_fuer_64_Punkte) {
    starten({});
    matrix(1, 0);
    matrix(4, 63);
    Daten.Matrixtabelle[2].Punktzahl = 5;  // switched off
    ein_Scan();

    const QList<QByteArray> erwartet = {
        "00043:FUNC \"FRES\"\r:FRES:RANG 100\r!",
        "00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r!",
        "00063!",
        // matrix A, two points
        "00043:FUNC \"DIOD\"\r:DIOD:CURR:RANG 0.1e-3\r!",
        "00043:TRAC:POIN 2\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN 1\r:TRIG:COUN 2\r:INIT\r!",
        "00061!",
        "11112!", "00063!", "11122!", "00063!",
        "00071!", "00083!", "00053!",
        // matrix D, all 64 points, rows in turn
        "00043:FUNC \"DIOD\"\r:DIOD:CURR:RANG 0.1e-3\r!",
        "00043:TRAC:POIN 64\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN 1\r:TRIG:COUN 64\r:INIT\r!",
        "00061!",
        "41412!", "00063!", "41422!", "00063!", "41432!", "00063!", "41442!", "00063!", "41452!", "00063!", "41462!", "00063!", "41472!", "00063!", "41482!", "00063!",
        "42412!", "00063!", "42422!", "00063!", "42432!", "00063!", "42442!", "00063!", "42452!", "00063!", "42462!", "00063!", "42472!", "00063!", "42482!", "00063!",
        "43412!", "00063!", "43422!", "00063!", "43432!", "00063!", "43442!", "00063!", "43452!", "00063!", "43462!", "00063!", "43472!", "00063!", "43482!", "00063!",
        "44412!", "00063!", "44422!", "00063!", "44432!", "00063!", "44442!", "00063!", "44452!", "00063!", "44462!", "00063!", "44472!", "00063!", "44482!", "00063!",
        "45412!", "00063!", "45422!", "00063!", "45432!", "00063!", "45442!", "00063!", "45452!", "00063!", "45462!", "00063!", "45472!", "00063!", "45482!", "00063!",
        "46412!", "00063!", "46422!", "00063!", "46432!", "00063!", "46442!", "00063!", "46452!", "00063!", "46462!", "00063!", "46472!", "00063!", "46482!", "00063!",
        "47412!", "00063!", "47422!", "00063!", "47432!", "00063!", "47442!", "00063!", "47452!", "00063!", "47462!", "00063!", "47472!", "00063!", "47482!", "00063!",
        "48412!", "00063!", "48422!", "00063!", "48432!", "00063!", "48442!", "00063!", "48452!", "00063!", "48462!", "00063!", "48472!", "00063!", "48482!", "00063!",
        "00071!", "00083!", "00053!",
    };
    const QList<QByteArray> frames = box->Frames();
    const qsizetype start = frames.indexOf(erwartet.first());
    ASSERT_GE(start, 0);
    EXPECT_EQ(frames.indexOf("00073!"), start - 1);  // right after the scan's value
    EXPECT_EQ(frames.mid(start, erwartet.size()), erwartet);
    // Then only the end of the run.
    for (const QByteArray& f : frames.mid(start + erwartet.size()))
        EXPECT_TRUE(f == "00002!" || f == "00093!") << f.toStdString();
    EXPECT_EQ(frames.count("00061!"), 2);
    EXPECT_EQ(Lesen(station.Wurzel() + "/d/Matrix_D_c.txt").count("[\xB0" "C]"), 64);
    EXPECT_FALSE(QFile::exists(station.Wurzel() + "/d/Matrix_B_c.txt"));
}

TEST_F(Matrixlauf, Ohne_eingeschaltete_Matrix_geht_kein_Matrixframe_hinaus) {
    starten({});
    Daten.Matrixtabelle[3].Punktzahl = 7;
    ein_Scan();
    const QList<QByteArray> frames = box->Frames();
    ASSERT_TRUE(frames.contains("00073!"));
    for (const QByteArray& f : frames)
        EXPECT_FALSE(f.contains("DIOD") || f.contains("FRES") || f == "00061!" || f == "00071!") << f.toStdString();
}

TEST_F(Matrixlauf, Zwei_Matrizen_schreiben_die_Spannungen_der_simulierten_Dioden) {
    starten({"--signal", "M1R1C1=const:0.61"});
    matrix(1, 3);  // A1..A4
    matrix(3, 1);  // C1, C2
    Daten.Matrixtabelle[1].RohDatei = 1;
    Daten.Matrixtabelle[1].KalDatei = 1;
    Daten.Matrixtabelle[1].MitSignal = 1;
    Daten.Matrixtabelle[1].Signal = "U1";
    Daten.Matrixtabelle[3].KalDatei = 1;
    Daten.Matrixtabelle[3].EigenerName = 1;
    Daten.Matrixtabelle[3].Matrixname = "Kessel";
    ein_Scan();
    ASSERT_FALSE(Daten.Logdateiname.isEmpty());

    // The shipped calibration: T = 325 - 500 U. Diodes: 0.5 + row/100 + column/1000 + module/10000.
    const QString sep = Daten.Trennzeichen, X = Daten.Logtrennzeichen;
    const Ausgabesatz& u1 = Daten.Messwerttexte[1];
    const QString anfang = u1.Zeilenanfang + u1.Logwert + sep + "U1" + sep + u1.Einheitensegment;
    const QString grad = QString::fromUtf8("[°C]");
    QStringList a_c, a_r, c_c, c_r;
    a_c << "20,0000" << "A1" << grad << "68,9500" << "A2" << grad << "68,4500" << "A3" << grad << "67,9500" << "A4" << grad;
    a_r << "0,610000" << "A1" << "[V]" << "0,512100" << "A2" << "[V]" << "0,513100" << "A3" << "[V]" << "0,514100" << "A4" << "[V]";
    c_c << "69,3500" << "C1" << grad << "68,8500" << "C2" << grad;
    c_r << "0,511300" << "C1" << "[V]" << "0,512300" << "C2" << "[V]";
    const auto zeile = [](const QString& text) { return Text1252::kodieren(text) + "\r\n"; };
    const QString d = station.Wurzel() + "/d/";
    EXPECT_EQ(Lesen(d + "Matrix_A_c.txt"), zeile(anfang + a_c.join(sep) + sep));
    EXPECT_EQ(Lesen(d + "Matrix_A_r.txt"), zeile(anfang + a_r.join(sep) + sep));
    const QString ohne = u1.Zeilenanfang + sep + sep + sep;
    EXPECT_EQ(Lesen(d + "Matrix_C_c.txt"), zeile(ohne + c_c.join(sep) + sep));
    EXPECT_EQ(Lesen(d + "Matrix_C_r.txt"), zeile(ohne + c_r.join(sep) + sep));

    const QString zeit = Daten.Datenloggersatz.Zeit_ein == 1 ? u1.Logzeit.trimmed() + X : QString();
    const QString zeitkopf = Daten.Datenloggersatz.Zeit_ein == 1 ? "Zeit/Datum" + X : QString();
    const QString einheit = u1.Einheitensegment.chopped(u1.Einheitensegment.isEmpty() ? 0 : 1);
    const QString basis = Datenordner() + Daten.Logdateiname.chopped(4) + "_MatrixA";
    EXPECT_EQ(Lesen(basis + "_c.txt"),
              zeile(zeitkopf + "U1 [" + einheit + "]" + X + "A1" + X + "A2" + X + "A3" + X + "A4" + X) +
                  zeile(zeit + u1.Logwert + X + "20,0000" + X + "68,9500" + X + "68,4500" + X + "67,9500" + X));
    EXPECT_EQ(Lesen(basis + "_r.txt"),
              zeile(zeitkopf + "U1 [" + einheit + "]" + X + "A1" + X + "A2" + X + "A3" + X + "A4" + X) +
                  zeile(zeit + u1.Logwert + X + "0,610000" + X + "0,512100" + X + "0,513100" + X + "0,514100" + X));
    EXPECT_EQ(Lesen(Datenordner() + "Kessel_c.txt"),
              zeile(zeitkopf + "C1" + X + "C2" + X) + zeile(zeit + "69,3500" + X + "68,8500" + X));
    EXPECT_FALSE(QFile::exists(Datenordner() + "Kessel_r.txt"));
    EXPECT_TRUE(QFile::exists(station.Wurzel() + "/c/kestrix/extern/config/" + Daten.Projektkurzname + "/Matrix_Cal_A.txt"));
    EXPECT_TRUE(station.Protokollmeldungen().filter("Timeout").isEmpty());
}

TEST_F(Matrixlauf, Ausbleibende_Werte_werden_protokolliert_und_sehen_nicht_wie_Temperaturen_aus) {
    starten({"--wrong-length"});  // the header announces one byte more than comes
    matrix(2, 0);
    Daten.Matrixtabelle[2].KalDatei = 1;
    ein_Scan();
    const QStringList log = station.Protokollmeldungen();
    EXPECT_EQ(log.filter("Timeout bei Messwertholen. Messwerte nicht vollst").size(), 1) << log.join('\n').toStdString();
    const QString sep = Daten.Trennzeichen;
    const QString anfang = Daten.Messwerttexte[1].Zeilenanfang + sep + sep + sep;
    EXPECT_EQ(Lesen(station.Wurzel() + "/d/Matrix_B_c.txt"),
              Text1252::kodieren(anfang + "-1" + sep + "B1" + sep + QString::fromUtf8("[°C]") + sep + "-1" + sep + "B2" + sep +
                                 QString::fromUtf8("[°C]") + sep) + "\r\n");
    EXPECT_EQ(Lesen(station.Wurzel() + "/d/Matrix_B_r.txt"),
              Text1252::kodieren(anfang + "0" + sep + "B1" + sep + "[V]" + sep + "0" + sep + "B2" + sep + "[V]" + sep) + "\r\n");
    const QString X = Daten.Logtrennzeichen;
    const QByteArray inhalt = Lesen(Datenordner() + Daten.Logdateiname.chopped(4) + "_MatrixB_c.txt");
    EXPECT_TRUE(inhalt.endsWith(Text1252::kodieren("-1" + X + "-1" + X) + "\r\n")) << inhalt.toStdString();
    EXPECT_EQ(box->Frames().count("00053!"), 1);  // the fetch is closed as usual
}

TEST_F(Matrixlauf, Eine_tote_Verbindung_mitten_in_der_Matrix_schreibt_keine_Matrixdateien) {
    starten({"--silent-on", "00061"});
    matrix(1, 0);
    matrix(2, 0);
    ein_Scan();
    haupt->Restarttimer->stop();
    EXPECT_GE(station.Protokollmeldungen().count("Netzwerk-Timeout, Messung wird neu gestartet, Befehl:  00061"), 1);
    EXPECT_FALSE(QFile::exists(station.Wurzel() + "/d/Matrix_A_c.txt"));
    EXPECT_FALSE(QFile::exists(station.Wurzel() + "/d/Matrix_B_c.txt"));
    const QList<QByteArray> frames = box->Frames();
    EXPECT_EQ(frames.mid(frames.indexOf("00061!")), (QList<QByteArray>{"00061!", "00061!"}))
        << "the one repeat, then nothing on a dead link";
}

}  // namespace

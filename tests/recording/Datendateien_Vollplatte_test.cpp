// A drive that runs full in the middle of a write: the lines that did not fit
// are neither lost nor half-written, and they arrive exactly once when there
// is room again. The full drive is a small tmpfs mounted for the test (root
// is available here); without the right to mount the tests are skipped.
#include <QProcess>

#include "Datendateien_Testhilfe.h"

namespace {
bool Befehl(const QString& programm, const QStringList& argumente) {
    QProcess p;
    p.start(programm, argumente);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

class Vollplatte : public Datendateien_Test {
protected:
    void SetUp() override {
        Datendateien_Test::SetUp();
        Punkt(1, "DCV", "U1", 1, 1);
        Daten.Datenformatsatz.Datum = 0;
        Daten.Logdatumsformat = "";
    }
    void TearDown() override {
        if (!eingehängt.isEmpty())
            Befehl("umount", {eingehängt});
        Datendateien_Test::TearDown();
    }
    // A tmpfs of this size over the folder; false when mounting is not allowed.
    bool Einhängen(const QString& ordner, const QString& größe) {
        if (!Befehl("mount", {"-t", "tmpfs", "-o", "size=" + größe, "tmpfs", ordner}))
            return false;
        eingehängt = ordner;
        return true;
    }
    bool Vergrößern(const QString& größe) {
        return Befehl("mount", {"-o", "remount,size=" + größe, eingehängt});
    }
    // A record whose logger line is about 1 KiB, numbered.
    static QByteArray Satz(int n) {
        Wert(1, QString::number(n) + "," + QString(1000, '5'), "V", Messzeit);
        Satz_schreiben();
        return "09:30:05;" + QByteArray::number(n) + "," + QByteArray(1000, '5') + ";\r\n";
    }
    QString eingehängt;
};
}  // namespace

TEST_F(Vollplatte, Voller_Puffer_haelt_ganze_Saetze_zurueck) {
    if (!Einhängen(Pfade::lokal("e:\\"), "8k"))
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    QByteArray erwartet;
    for (int n = 1; n <= 20; ++n)
        erwartet += Satz(n);
    const QByteArray puffer = Datei("e:\\06121409.txt");
    EXPECT_LT(puffer.size(), erwartet.size()) << "the drive must have run full";
    EXPECT_TRUE(erwartet.startsWith(puffer)) << "only whole records in the buffer";
    EXPECT_TRUE(puffer.isEmpty() || puffer.endsWith("\r\n"));
    EXPECT_EQ(puffer + Datendateien::Rückstand("06121409.txt"), erwartet);
    EXPECT_TRUE(station.Protokoll().contains("Loggerpuffer nicht beschreibbar: e:\\06121409.txt"));

    ASSERT_TRUE(Vergrößern("1m"));
    erwartet += Satz(21);
    EXPECT_EQ(Datei("e:\\06121409.txt"), erwartet);
    EXPECT_TRUE(Datendateien::Rückstand("06121409.txt").isEmpty());
}

TEST_F(Vollplatte, Volles_Projektverzeichnis_nimmt_nichts_halb_auf) {
    QByteArray erwartet;
    for (int n = 1; n <= 10; ++n)  // more than fits, less than a write buffer
        erwartet += Satz(n);
    if (!Einhängen(Pfade::lokal("c:\\kestrix\\extern\\messdat\\Versuch"), "8k"))
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    EXPECT_FALSE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
    EXPECT_EQ(Datei("c:\\kestrix\\extern\\messdat\\Versuch\\06121409.txt"), "Kopf;\r\n")
        << "the part that fitted is cut off again";
    EXPECT_EQ(Datei("e:\\06121409.txt"), erwartet);

    ASSERT_TRUE(Vergrößern("1m"));
    EXPECT_TRUE(Datendateien::Datenlogfile_umkopieren("06121409.txt", "Kopf;"));
    EXPECT_EQ(Datei("c:\\kestrix\\extern\\messdat\\Versuch\\06121409.txt"), "Kopf;\r\n" + erwartet);
    EXPECT_FALSE(Vorhanden("e:\\06121409.txt"));
}

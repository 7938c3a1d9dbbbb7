// Another program of the station reads "Daten.txt" and "Daten&.txt" in a
// tight loop while the run rewrites them: it must never see a half-written
// line or an empty file. The reader is this test program again, started as a
// second process.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

#include "Datendateien_Testhilfe.h"

namespace {
constexpr int Segmente = 40;

QByteArray Satzzeile(int n) {
    QByteArray z = "Satz " + QByteArray::number(n) + ";";
    for (int k = 0; k < Segmente; ++k)
        z += QByteArray::number(n) + "," + QByteArray::number(k) + ";";
    return z;
}

// The record number of a complete line, -1 for anything else.
int Satznummer(const QByteArray& zeile) {
    if (!zeile.startsWith("Satz "))
        return -1;
    bool ok = false;
    const int n = zeile.mid(5, zeile.indexOf(';') - 5).toInt(&ok);
    return ok && zeile == Satzzeile(n) ? n : -1;
}

QString Prüfen(const QByteArray& daten, const QByteArray& ring) {
    if (daten.isEmpty())
        return "Daten.txt leer";
    if (!daten.endsWith("\r\n") || daten.count('\n') != 1 || Satznummer(daten.chopped(2)) < 0)
        return "Daten.txt unvollständig: " + QString::fromLatin1(daten.left(60));
    if (ring.isEmpty())
        return "Daten&.txt leer";
    if (!ring.endsWith("\r\n"))
        return "Daten&.txt ohne Zeilenende am Schluss";
    const QList<QByteArray> zeilen = ring.chopped(2).split('\n');
    if (zeilen.size() > 99)
        return QString("Daten&.txt mit %1 Zeilen").arg(zeilen.size());
    int vorige = -1;
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        QByteArray zeile = zeilen[i];
        if (i + 1 < zeilen.size()) {
            if (!zeile.endsWith('\r'))
                return "Daten&.txt: Zeile ohne CR";
            zeile.chop(1);
        }
        const int n = Satznummer(zeile);
        if (n < 0)
            return "Daten&.txt: halbe Zeile " + QString::fromLatin1(zeile.left(60));
        if (vorige >= 0 && n != vorige - 1)
            return QString("Daten&.txt: Satz %1 nach Satz %2").arg(n).arg(vorige);
        vorige = n;
    }
    return {};
}
}  // namespace

// Runs only as the reader of the test below.
TEST(Datendateien_Leserprozess, Liest_bis_zum_Stoppsignal) {
    const QString ordner = qEnvironmentVariable("KESTRIX_LESEORDNER");
    const QString stopp = qEnvironmentVariable("KESTRIX_LESESTOPP");
    if (ordner.isEmpty() || stopp.isEmpty())
        GTEST_SKIP() << "only as the second process of the stress test";
    std::printf("BEREIT\n");
    std::fflush(stdout);
    QElapsedTimer frist;
    frist.start();
    int lesungen = 0;
    QString fehler;
    while (fehler.isEmpty() && !QFileInfo::exists(stopp) && frist.elapsed() < 30000) {
        QFile d(ordner + "/Daten.txt"), r(ordner + "/Daten&.txt");
        // Before the first record neither file exists.
        if (!d.open(QIODevice::ReadOnly) || !r.open(QIODevice::ReadOnly))
            continue;
        fehler = Prüfen(d.readAll(), r.readAll());
        ++lesungen;
    }
    std::printf("LESUNGEN %d\n", lesungen);
    if (!fehler.isEmpty())
        std::printf("FEHLER %s\n", qPrintable(fehler));
    std::fflush(stdout);
    EXPECT_TRUE(fehler.isEmpty()) << fehler.toStdString();
}

TEST_F(Datendateien_Test, Zweiter_Prozess_liest_nie_eine_halbe_Zeile_oder_eine_leere_Datei) {
    QTemporaryDir signal;
    const QString stopp = signal.path() + "/stopp";
    QProcess leser;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert("KESTRIX_LESEORDNER", Pfade::lokal("d:\\"));
    umgebung.insert("KESTRIX_LESESTOPP", stopp);
    leser.setProcessEnvironment(umgebung);
    leser.setProcessChannelMode(QProcess::MergedChannels);
    leser.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=Datendateien_Leserprozess.*"});
    ASSERT_TRUE(leser.waitForStarted(10000));
    QByteArray ausgabe;
    QElapsedTimer frist;
    frist.start();
    while (!ausgabe.contains("BEREIT") && frist.elapsed() < 15000 && leser.waitForReadyRead(1000))
        ausgabe += leser.readAll();
    ASSERT_TRUE(ausgabe.contains("BEREIT")) << ausgabe.toStdString();

    // Records for three seconds, as fast as they can be written.
    int n = 0;
    frist.restart();
    while (frist.elapsed() < 3000) {
        ++n;
        Daten.Datenzeile = QString::fromLatin1(Satzzeile(n));
        Daten.Logzeile = Daten.Datenzeile;
        Datendateien::Meßdatei_öffnen();
        Datendateien::Meßdat_speichern();
        Datendateien::Meßdatei_schließen();
    }
    Teststation::Datei_schreiben(stopp, "");
    ASSERT_TRUE(leser.waitForFinished(20000));
    ausgabe += leser.readAll();

    EXPECT_EQ(leser.exitCode(), 0) << ausgabe.toStdString();
    EXPECT_FALSE(ausgabe.contains("FEHLER")) << ausgabe.toStdString();
    const qsizetype stelle = ausgabe.indexOf("LESUNGEN ");
    ASSERT_GE(stelle, 0) << ausgabe.toStdString();
    const int lesungen = ausgabe.mid(stelle + 9, ausgabe.indexOf('\n', stelle) - stelle - 9).trimmed().toInt();
    EXPECT_GE(lesungen, 100) << "the reader must really have read while the records were written";
    EXPECT_GE(n, 100);
    std::printf("%d records, %d reads\n", n, lesungen);
    // and the files are whole at the end too
    EXPECT_EQ(Prüfen(Datei("d:\\Daten.txt"), Datei("d:\\Daten&.txt")), QString());
    EXPECT_EQ(Datei("d:\\Daten.txt"), Satzzeile(n) + "\r\n");
}

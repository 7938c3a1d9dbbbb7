// Project saves under SIGKILL: a second copy of this program saves one
// project back to back, each save leaving its number in every file; it is
// killed at a random moment, the store of the next start tidies up, and the
// project is read back. Prints how many kills left one save whole, how many
// a mix or stray files, and the median time of a save beside a reference:
// the same files each replaced on its own (written beside, synced, renamed).
//   bench_projektspeicher [kills (100)] [folder on the disk to test (.)]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/Programmdaten.h"
#include "platform/Pfade.h"
#include "platform/Text1252.h"
#include "project/Projekt.h"
#include "project/Projektdateien.h"

namespace {
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

QSet<QString> Marken_lesen() {
    Daten = Programmdaten{};
    Daten.Projektname = "p.kxp";
    Projekt seite;
    seite.alle_Daten_aus_Dateien_holen();
    return {Daten.Kanaltabelle[1].Signalbezeichnung[1].text(), Daten.Scanlistentabelle[1].Signalname.text(),
            Daten.Aufzeichnungstabelle[0].Signalname.text(), Daten.Messblocktabelle[1].Messblockname.text(),
            Daten.Funktionskonstantentabelle[1].Text1.text(), Daten.Optiscantabelle[1].Messblock.text(),
            Daten.Vorgabetabelle[1].Vorgabefrei.text(), QString::number(Daten.Knopfzustände[1]),
            QString::number(Daten.Datenformatsatz.Stundenindex), QString::number(Daten.Datenloggersatz.Periodenindex),
            Daten.Matrixtabelle[1].Matrixname.text(), seite.Seriennummer};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The reference: every file replaced on its own.
void einzeln_ersetzen(Projekt& seite) {
    using namespace Projektdateien;
    for (const Tabelle* t : {&kanaele, &scanlist, &aufzlist, &messbvar, &fkt_cnst, &optiscan, &vorg_rei, &Buttons,
                             &Dformat, &Datlog, &matrix}) {
        QSaveFile f(Pfad(t->Verzeichnis, "r.kxp"));
        f.open(QIODevice::WriteOnly);
        f.write(schreiben(*t, Daten));
        f.commit();
    }
    QSaveFile f(Pfad("SerNo", "r.kxp"));
    f.open(QIODevice::WriteOnly);
    f.write(Text1252::kodieren(seite.Seriennummer + "\r\n"));
    f.commit();
}
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 3 && QByteArray(argv[1]) == "--schleife") {
        QApplication app(argc, argv);
        Projekt seite;
        seite.Projektverz_anleg();
        for (int n = QByteArray(argv[2]).toInt();; ++n) {
            Daten.Projektname = "p.kxp";
            Marken_setzen(n, seite);
            if (!seite.alles_speichern())
                return 1;
            std::fputs("bereit\n", stdout);
            std::fflush(stdout);
        }
    }
    const int kills = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 100;
    QTemporaryDir ordner((argc > 2 ? QString(argv[2]) : QString(".")) + "/kestrix_speicher_XXXXXX");
    if (!ordner.isValid()) {
        std::fprintf(stderr, "no folder for the station\n");
        return 1;
    }
    qputenv("KESTRIX_ROOT", (ordner.path() + "/station").toUtf8());
    qputenv("KESTRIX_PROGDIR", ordner.path().toUtf8());
    qputenv("KESTRIX_DIALOGPROTOKOLL", (ordner.path() + "/dialoge.txt").toUtf8());
    QApplication app(argc, argv);
    QDir(ordner.path()).mkpath("station/c");

    std::vector<double> neu, bezug;
    {
        Projekt seite;
        seite.Projektverz_anleg();
        for (int i = 0; i < 41; ++i) {
            Daten.Projektname = "p.kxp";
            Marken_setzen(i, seite);
            QElapsedTimer uhr;
            uhr.start();
            seite.alles_speichern();
            neu.push_back(uhr.nsecsElapsed() / 1e6);
            uhr.restart();
            einzeln_ersetzen(seite);
            bezug.push_back(uhr.nsecsElapsed() / 1e6);
        }
    }

    int ganz = 0, gemischt = 0, reste = 0, nachgetragen = 0, verworfen = 0;
    const QString intern = Pfade::lokal("c:\\kestrix\\intern");
    for (int k = 0; k < kills; ++k) {
        QProcess kopie;
        kopie.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        kopie.start(QCoreApplication::applicationFilePath(), {"--schleife", QString::number((k % 30 + 1) * 1000)});
        QByteArray ausgabe;
        while (!ausgabe.contains("bereit") && kopie.waitForReadyRead(20000))
            ausgabe += kopie.readAllStandardOutput();
        QThread::msleep(QRandomGenerator::global()->bounded(0, 60));
        kopie.kill();
        kopie.waitForFinished(5000);
        nachgetragen += QFileInfo(intern + "/.fertig").isDir();
        verworfen += QFileInfo(intern + "/.neu").isDir();
        Projekt seite;
        seite.Projektverz_anleg();
        const bool einheitlich = Marken_lesen().size() == 1;
        ganz += einheitlich;
        gemischt += !einheitlich;
        for (const QString& v : QDir(intern).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const QString& datei : QDir(intern + '/' + v).entryList(QDir::Files | QDir::Hidden))
                reste += datei != "p.kxp" && datei != "r.kxp" && datei != "noname1" && datei != "projekt.kxp";
    }
    std::printf("kills during saves:            %d\n", kills);
    std::printf("project wholly one save:       %d\n", ganz);
    std::printf("project mixed:                 %d\n", gemischt);
    std::printf("stray files after the start:   %d\n", reste);
    std::printf("kills after the commit (finished at start): %d, before it (dropped): %d\n", nachgetragen, verworfen);
    std::printf("save, median of %zu: %.2f ms; files replaced one by one: %.2f ms; ratio %.2f\n", neu.size(),
                Median(neu), Median(bezug), Median(bezug) > 0 ? Median(neu) / Median(bezug) : 0.0);
    return gemischt == 0 && reste == 0 ? 0 : 2;
}

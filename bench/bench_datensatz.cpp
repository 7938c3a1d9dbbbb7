// Time for one complete record of a full station: 120 measured values in
// recording order, 200 calculated values, logger on, every file of the
// record opened, written and closed, the data-interface drive and the buffer
// drive on tmpfs (/dev/shm). Wall time, because the files are part of it;
// the thread's processor time beside it for comparison on a loaded machine.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "calc/CalcuReihenfolge.h"
#include "common/Programmdaten.h"
#include "recording/Datendateien.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir ordner(QDir("/dev/shm").exists() ? "/dev/shm/kestrix_bench_XXXXXX" : QString());
    if (!ordner.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    qputenv("KESTRIX_ROOT", (ordner.path() + "/station").toUtf8());
    qputenv("KESTRIX_PROGDIR", ordner.path().toUtf8());
    QApplication app(argc, argv);
    for (const char* laufwerk : {"c", "d", "e"})
        QDir(ordner.path()).mkpath(QString("station/") + laufwerk);

    Datenformat::Vorgaben_setzen();
    Datenlogger::Vorgaben_setzen();
    Daten.Ramdisk1 = "d:\\";
    Daten.Ramdisk2 = "e:\\";
    Daten.Trennzeichen = "\t";
    Daten.Datumsformat = "dd mm yy";
    Daten.Zeitformat = "hh:mm:ss";
    Daten.Logtrennzeichen = ";";
    Daten.Logzeitformat = "hh:mm:ss";
    Daten.Logdatumsformat = "dd.mm.yy";
    Daten.Knopfzustände[7] = -1;
    Daten.Projektname = "Bench.kxp";
    Daten.Dateiperiode = "Stunde";
    Datendateien::Meßdatenverz_anleg();
    Datenformat::Dateinamen_erzeug();

    for (int i = 1; i <= 120; ++i) {
        for (Scanlistensatz* s : {&Daten.Scanlistentabelle[i], &Daten.Aufzeichnungstabelle[i - 1]}) {
            s->Messblockname = QString("Block %1").arg(i % 20 + 1);
            s->Signalname = QString("Signal_%1").arg(i);
            s->Gruppennummer = static_cast<i16>((i - 1) / 8 + 1);
            s->Klemmennummer = static_cast<i16>((i - 1) % 8 + 1);
        }
    }
    CalcuReihenfolge seite;
    for (int k = 0; k < 200; ++k)
        seite.List2->addItem(QString("Wert%1=[Signal_%2]*2+[Signal_%3]_V_0.000").arg(k).arg(k % 120 + 1).arg((k * 7) % 120 + 1));
    seite.List2->addItem(CalcuReihenfolge::Neuer_Eintrag);
    if (!seite.CalcuVar_vorbelegen()) {
        std::fprintf(stderr, "definitions could not be bound\n");
        return 1;
    }

    // The texts reading and evaluation leave for every point of a scan.
    const QDateTime wann(QDate(2006, 12, 14), QTime(9, 30, 5));
    auto werte = [&wann](int satz) {
        for (int i = 1; i <= 120; ++i) {
            Ausgabesatz& a = Daten.Messwerttexte[i];
            Datenformat::ZeilenDatstring(a.Zeilenanfang, wann.date(), wann.time());
            Datenformat::MW_Zeitstring(a.Messwertzeit, wann.time());
            Datenlogger::LoggZeitDatString(a.Logzeit, wann.date(), wann.time());
            const QString wert = QString("%1%2,%3").arg(i % 7 == 0 ? "-" : "").arg(i + satz % 10).arg(i % 1000, 3, 10, QChar('0'));
            QString n, u;
            Datenformat::Signam_ja_nein(Daten.Scanlistentabelle[i].Signalname.text(), n);
            Datenformat::Einheit_ja_nein("V", u);
            a.Datensegment = a.Messwertzeit + wert + Daten.Trennzeichen + n + u;
            a.Logwert = wert;
        }
    };
    auto datensatz = [] {
        Datendateien::Reihenfolge_ändern();
        Datendateien::Datenlogzeile_erstellen();
        Datendateien::Meßdatei_öffnen();
        Datendateien::Meßdat_speichern();
        Datendateien::Meßdatei_schließen();
    };
    auto cpu_ms = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    };

    // The ring of "Daten&.txt" full first, as in a run of some minutes.
    for (int satz = 0; satz < 120; ++satz) {
        werte(satz);
        datensatz();
    }
    std::vector<double> wand, cpu;
    QElapsedTimer uhr;
    for (int satz = 0; satz < 300; ++satz) {
        werte(satz);  // belongs to reading the values, not to the record
        const double c0 = cpu_ms();
        uhr.start();
        datensatz();
        wand.push_back(static_cast<double>(uhr.nsecsElapsed()) / 1e6);
        cpu.push_back(cpu_ms() - c0);
    }
    std::sort(wand.begin(), wand.end());
    std::sort(cpu.begin(), cpu.end());
    const auto p = [](const std::vector<double>& v, int prozent) { return v[v.size() * prozent / 100]; };
    std::printf("one record, 120 values + 200 calculated values, logger on, files on %s:\n",
                qPrintable(ordner.path().startsWith("/dev/shm") ? QString("tmpfs") : ordner.path()));
    std::printf("  wall time median %.3f ms, 95%% %.3f ms (target < 2 ms median)\n", p(wand, 50), p(wand, 95));
    std::printf("  processor time median %.3f ms, 95%% %.3f ms\n", p(cpu, 50), p(cpu, 95));
    std::printf("  data line %lld characters, \"Daten&.txt\" 99 lines\n", static_cast<long long>(Daten.Datenzeile.size() + CalcuReihenfolge::Rechendatenteil.size()));
    return 0;
}

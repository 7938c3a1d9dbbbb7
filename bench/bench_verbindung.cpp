// Command round trips per second through the link against the simulated box
// on loopback, and the processor time a five-second wait costs.
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

#include "bench/Simbox.h"
#include "common/Programmdaten.h"
#include "run/Hauptfenster.h"

namespace {
double cpu_sekunden() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_utime.tv_sec + r.ru_stime.tv_sec + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir ordner;
    qputenv("KESTRIX_ROOT", (ordner.path() + "/station").toUtf8());
    qputenv("KESTRIX_PROGDIR", ordner.path().toUtf8());
    qputenv("KESTRIX_CLOCK_OFFSET", "0");
    QApplication app(argc, argv);

#ifdef Q7SIM_PFAD
    QProcess box;
    if (Simbox_starten(box, Q7SIM_PFAD, {}) == 0)
        return 1;

    Hauptfenster haupt;
    haupt.messen->setText("Messung anhalten");  // the running look, as during a run
    Daten.Boxadresse = "127.0.0.1";
    if (haupt.Verbindung_öffnen() != Hauptfenster::Verbindung::hergestellt) {
        std::fprintf(stderr, "no link to the simulated box\n");
        return 1;
    }
    const int anzahl = 20000;
    for (int i = 0; i < 500; ++i)  // warm-up
        haupt.TCPIPBefehl_mit_Antwort("00002");
    QElapsedTimer uhr;
    uhr.start();
    for (int i = 0; i < anzahl; ++i)
        haupt.TCPIPBefehl_mit_Antwort(i % 2 ? "00063" : "25002");
    const double sekunden = uhr.nsecsElapsed() / 1e9;
    std::printf("command round trips: %d in %.3f s = %.0f per second (target >= 5000)\n", anzahl, sekunden,
                anzahl / sekunden);
    haupt.Verbindung_schließen();
    box.terminate();
    box.waitForFinished(3000);
#else
    std::printf("command round trips: not measured (built without the simulated box)\n");
#endif

    const double vorher = cpu_sekunden();
    QElapsedTimer wand;
    wand.start();
    Delay_events(5);
    std::printf("Delay_events(5): %.3f s wall, %.4f s CPU (target < 0.05 s)\n", wand.nsecsElapsed() / 1e9,
                cpu_sekunden() - vorher);
    return 0;
}

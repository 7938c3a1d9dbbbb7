// Time to compute the calculated values of one record: 200 definitions of
// 50 signal references each (the largest list the table holds), first the
// computation alone, as a run without the page's result list sees it, then
// the page's CalcuVar_berechnen with its result lines.
#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "calc/CalcuReihenfolge.h"
#include "common/Programmdaten.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir ordner;
    qputenv("KESTRIX_ROOT", (ordner.path() + "/station").toUtf8());
    qputenv("KESTRIX_PROGDIR", ordner.path().toUtf8());
    QApplication app(argc, argv);

    // 120 scan positions with typical logger values, some negative, new
    // ones for every record as in a run.
    auto werte_setzen = [](int satz) {
        for (int i = 1; i <= 120; ++i)
            Daten.Messwerttexte[i].Logwert =
                QString("%1%2,%3").arg(i % 7 == 0 ? "-" : "").arg(i * 3 + satz % 10).arg((i * 37 + satz) % 1000, 3, 10, QChar('0'));
    };
    for (int i = 1; i <= 120; ++i)
        Daten.Scanlistentabelle[i].Signalname = QString("Signal_%1").arg(i);
    werte_setzen(0);
    QStringList definitionen;
    for (int k = 0; k < 200; ++k) {
        QString zeile = QString("Wert%1=").arg(k);
        for (int j = 0; j < 50; ++j) {
            static const char* const ops[] = {"+", "-", "*", "/"};
            if (j > 0)
                zeile += ops[(k + j) % 4];
            zeile += QString("[Signal_%1]").arg((k * 7 + j * 13) % 120 + 1);
        }
        zeile += "_V_0.000";
        definitionen << zeile;
    }
    if (!CalcuReihenfolge::CalcuVar_vorbelegen(definitionen)) {
        std::fprintf(stderr, "definitions could not be bound\n");
        return 1;
    }

    // Processor time of this thread, so that other load on the machine
    // does not count; the median and the 95th percentile of 200 records.
    auto cpu_ms = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    };
    auto messen = [&](auto&& lauf) {
        std::vector<double> zeiten;
        for (int durchgang = 0; durchgang < 200; ++durchgang) {
            werte_setzen(durchgang);
            const double anfang = cpu_ms();
            lauf();
            zeiten.push_back(cpu_ms() - anfang);
        }
        std::sort(zeiten.begin(), zeiten.end());
        return std::pair{zeiten[zeiten.size() / 2], zeiten[zeiten.size() * 95 / 100]};
    };

    const auto [rechnen_median, rechnen_p95] = messen([] {
        for (int k = 0; k < 200 && !Daten.Rechentabelle[k].Formel.isEmpty(); ++k)
            Daten.Rechentabelle[k].Ergebnis = CalcuReihenfolge::Rechensatz_berechnen(Daten.Rechentabelle[k]);
    });
    // The reference: every value written into the formula's text and read again.
    const auto [text_median, text_p95] = messen([] {
        for (int k = 0; k < 200 && !Daten.Rechentabelle[k].Formel.isEmpty(); ++k)
            Daten.Rechentabelle[k].Ergebnis = CalcuReihenfolge::Rechensatz_aus_Text(Daten.Rechentabelle[k]);
    });
    int abweichend = 0;
    for (int satz = 0; satz < 50; ++satz) {
        werte_setzen(satz);
        for (int k = 0; k < 200; ++k)
            abweichend += CalcuReihenfolge::Rechensatz_berechnen(Daten.Rechentabelle[k]) !=
                          CalcuReihenfolge::Rechensatz_aus_Text(Daten.Rechentabelle[k]);
    }
    std::printf("200 definitions x 50 references, computation: median %.3f ms, 95%% %.3f ms (target <= 0.5 ms)\n"
                "  the values written into the text (reference): median %.3f ms, 95%% %.3f ms; ratio %.2f; "
                "%d of 10000 results differ\n",
                rechnen_median, rechnen_p95, text_median, text_p95, rechnen_median / text_median, abweichend);

    // As during a run, the page is not on the screen: its result list gets
    // its lines when it is shown.
    CalcuReihenfolge seite;
    const auto [seite_median, seite_p95] = messen([&seite] { seite.CalcuVar_berechnen(); });
    std::printf("the same through the page's CalcuVar_berechnen: median %.3f ms, 95%% %.3f ms\n",
                seite_median, seite_p95);
    seite.show();
    std::printf("first result, once the page is shown: %s\n",
                seite.List1->count() > 0 ? qPrintable(seite.List1->item(0)->text()) : "(none)");
    return 0;
}

// The data lines the trend viewer reads back: the data-interface ring, the
// logger and matrix files in every line layout, and the dates of file names.
#include "Fuzzstation.h"
#include "dadavu/Zeilenleser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe) {
    Station();
    const QByteArray bytes = Eingabe(daten, größe);
    const std::vector<dadavu::Signalwahl> wahl = {{QString(), 1}, {"U1", 2}, {QString(), 40}};
    const QDate heute(2026, 12, 7);
    dadavu::Datenschnittstelle_lesen(bytes, wahl, heute);
    dadavu::Loggerdatei_lesen(bytes, wahl, QDate(2026, 12, 1), heute, "26120714.txt");
    dadavu::Loggerdatei_lesen(bytes, wahl, QDate(), heute);
    dadavu::Datum_aus_Dateiname(QString::fromLatin1(bytes.left(40)));
    return 0;
}

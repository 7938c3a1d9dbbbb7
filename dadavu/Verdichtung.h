#pragma once
// A week of one-second values is 604,800 points; a chart is a few hundred
// pixels wide. Per pixel column only the smallest and the largest value are
// drawn, so the line looks the same and costs two points per column.
#include <vector>

#include "dadavu/Zeilenleser.h"

namespace dadavu {

struct Zeichenpunkt {
    double t;
    double y;  // NaN: the line breaks here (a gap in the recording)
};

// Points of 'reihe' within [t0, t1] for 'spalten' pixel columns, plus the
// neighbours just outside so the line runs to the edges. 'reihe.t' ascends.
std::vector<Zeichenpunkt> verdichten(const Reihe& reihe, double t0, double t1, int spalten);

struct Statistik {
    double min = 0, max = 0, mittel = 0;
    long anzahl = 0;  // values in the span (gaps not counted)
};
Statistik Statistik_der_Spanne(const Reihe& reihe, double t0, double t1);

// First and last index of the points within [t0, t1] (erster > letzter when none).
void Spanne_suchen(const Reihe& reihe, double t0, double t1, long& erster, long& letzter);

}  // namespace dadavu

#include "dadavu/Verdichtung.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dadavu {

void Spanne_suchen(const Reihe& reihe, double t0, double t1, long& erster, long& letzter) {
    erster = std::lower_bound(reihe.t.begin(), reihe.t.end(), t0) - reihe.t.begin();
    letzter = (std::upper_bound(reihe.t.begin(), reihe.t.end(), t1) - reihe.t.begin()) - 1;
}

std::vector<Zeichenpunkt> verdichten(const Reihe& reihe, double t0, double t1, int spalten) {
    std::vector<Zeichenpunkt> punkte;
    if (reihe.t.empty() || spalten < 1 || !(t1 > t0))
        return punkte;
    long a, e;
    Spanne_suchen(reihe, t0, t1, a, e);
    a = std::max(0L, a - 1);
    e = std::min(static_cast<long>(reihe.t.size()) - 1, e + 1);
    if (a > e)
        return punkte;
    const double breite = (t1 - t0) / spalten;
    punkte.reserve(static_cast<size_t>(std::min<long>(e - a + 1, 2L * spalten + 4)));
    const auto spalte_von = [&](double t) {
        return static_cast<long>(std::floor((t - t0) / breite));
    };
    constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
    bool lücke_offen = false;
    for (long i = a; i <= e;) {
        const long spalte = spalte_von(reihe.t[static_cast<size_t>(i)]);
        long imin = -1, imax = -1;
        long j = i;
        for (; j <= e && spalte_von(reihe.t[static_cast<size_t>(j)]) == spalte; ++j) {
            const double y = reihe.y[static_cast<size_t>(j)];
            if (std::isnan(y))
                continue;
            if (imin < 0 || y < reihe.y[static_cast<size_t>(imin)])
                imin = j;
            if (imax < 0 || y > reihe.y[static_cast<size_t>(imax)])
                imax = j;
        }
        if (imin < 0) {
            // A column with nothing but gaps breaks the line once.
            if (!lücke_offen && !punkte.empty())
                punkte.push_back({reihe.t[static_cast<size_t>(i)], NaN});
            lücke_offen = true;
        } else {
            lücke_offen = false;
            const long erst = std::min(imin, imax), dann = std::max(imin, imax);
            punkte.push_back({reihe.t[static_cast<size_t>(erst)], reihe.y[static_cast<size_t>(erst)]});
            if (dann != erst)
                punkte.push_back({reihe.t[static_cast<size_t>(dann)], reihe.y[static_cast<size_t>(dann)]});
        }
        i = j;
    }
    while (!punkte.empty() && std::isnan(punkte.back().y))
        punkte.pop_back();
    return punkte;
}

Statistik Statistik_der_Spanne(const Reihe& reihe, double t0, double t1) {
    Statistik s;
    long a, e;
    Spanne_suchen(reihe, t0, t1, a, e);
    double summe = 0;
    for (long i = a; i <= e; ++i) {
        const double y = reihe.y[static_cast<size_t>(i)];
        if (std::isnan(y))
            continue;
        if (s.anzahl == 0 || y < s.min)
            s.min = y;
        if (s.anzahl == 0 || y > s.max)
            s.max = y;
        summe += y;
        ++s.anzahl;
    }
    if (s.anzahl)
        s.mittel = summe / static_cast<double>(s.anzahl);
    return s;
}

}  // namespace dadavu

#include "physics.h"

#include <cmath>
#include <iterator>

namespace physics {

namespace {

// ITS-90 reference functions E(t) in mV, t in °C: sum c_i t^i, for type K
// above 0 °C plus a0 exp(a1 (t - a2)^2).
constexpr double kBelow[] = {0.0, 0.394501280250E-01, 0.236223735980E-04, -0.328589067840E-06,
                             -0.499048287770E-08, -0.675090591730E-10, -0.574103274280E-12,
                             -0.310888728940E-14, -0.104516093650E-16, -0.198892668780E-19,
                             -0.163226974860E-22};
constexpr double kAbove[] = {-0.176004136860E-01, 0.389212049750E-01, 0.185587700320E-04,
                             -0.994575928740E-07, 0.318409457190E-09, -0.560728448890E-12,
                             0.560750590590E-15, -0.320207200030E-18, 0.971511471520E-22,
                             -0.121047212750E-25};
constexpr double kExp[] = {0.118597600000E+00, -0.118343200000E-03, 0.126968600000E+03};

constexpr double jLow[] = {0.0, 0.503811878150E-01, 0.304758369300E-04, -0.856810657200E-07,
                           0.132281952950E-09, -0.170529583370E-12, 0.209480906970E-15,
                           -0.125383953360E-18, 0.156317256970E-22};
constexpr double jHigh[] = {0.296456256810E+03, -0.149761277860E+01, 0.317871039240E-02,
                            -0.318476867010E-05, 0.157208190040E-08, -0.306913690560E-12};

constexpr double tBelow[] = {0.0, 0.387481063640E-01, 0.441944343470E-04, 0.118443231050E-06,
                             0.200329735540E-07, 0.901380195590E-09, 0.226511565930E-10,
                             0.360711542050E-12, 0.384939398830E-14, 0.282135219250E-16,
                             0.142515947790E-18, 0.487686622860E-21, 0.107955392700E-23,
                             0.139450270620E-26, 0.797951539270E-30};
constexpr double tAbove[] = {0.0, 0.387481063640E-01, 0.332922278800E-04, 0.206182434040E-06,
                             -0.218822568460E-08, 0.109968809280E-10, -0.308157587720E-13,
                             0.454791352900E-16, -0.275129016730E-19};

template <std::size_t N>
double polynomial(const double (&c)[N], double t)
{
    double sum = 0;
    for (std::size_t i = N; i-- > 0;)
        sum = sum * t + c[i];
    return sum;
}

// 1N4148 (diode model IS=2.682n N=1.836 RS=0.5664 XTI=3 EG=1.11), at 27 °C nominal.
constexpr double saturation = 2.682e-9, emission = 1.836, seriesOhms = 0.5664;
constexpr double xti = 3, gap = 1.11, nominalKelvin = 300.15;
constexpr double boltzmannOverCharge = 8.617333262e-5; // V/K

} // namespace

double thermocoupleMin(Thermocouple type)
{
    return type == Thermocouple::J ? -210 : -270;
}

double thermocoupleMax(Thermocouple type)
{
    switch (type) {
    case Thermocouple::J: return 1200;
    case Thermocouple::K: return 1372;
    case Thermocouple::T: return 400;
    }
    return 0;
}

double thermocoupleMillivolts(Thermocouple type, double t)
{
    switch (type) {
    case Thermocouple::J:
        return t <= 760 ? polynomial(jLow, t) : polynomial(jHigh, t);
    case Thermocouple::K:
        if (t < 0)
            return polynomial(kBelow, t);
        return polynomial(kAbove, t) + kExp[0] * std::exp(kExp[1] * (t - kExp[2]) * (t - kExp[2]));
    case Thermocouple::T:
        return t < 0 ? polynomial(tBelow, t) : polynomial(tAbove, t);
    }
    return 0;
}

bool thermocoupleDegrees(Thermocouple type, double mv, double *degrees)
{
    // The reference functions rise monotonically over their range: bisect.
    double lo = thermocoupleMin(type), hi = thermocoupleMax(type);
    if (!std::isfinite(mv) || mv < thermocoupleMillivolts(type, lo) || mv > thermocoupleMillivolts(type, hi))
        return false;
    for (int i = 0; i < 80; ++i) {
        const double mid = (lo + hi) / 2;
        (thermocoupleMillivolts(type, mid) < mv ? lo : hi) = mid;
    }
    *degrees = (lo + hi) / 2;
    return true;
}

double platinumOhms(double r0, double t)
{
    constexpr double a = 3.9083e-3, b = -5.775e-7, c = -4.183e-12;
    double factor = 1 + a * t + b * t * t;
    if (t < 0)
        factor += c * (t - 100) * t * t * t;
    return r0 * factor;
}

double ktyOhms(double r25, double t)
{
    const double d = t - 25;
    return r25 * (1 + 7.88e-3 * d + 1.937e-5 * d * d);
}

double diodeVolts(double amperes, double degrees)
{
    if (amperes <= 0)
        return 0;
    const double kelvin = degrees + 273.15;
    const double thermal = boltzmannOverCharge * kelvin;
    const double ratio = kelvin / nominalKelvin;
    const double is = saturation * std::pow(ratio, xti / emission)
                      * std::exp((ratio - 1) * gap / (emission * thermal));
    return emission * thermal * std::log(amperes / is + 1) + amperes * seriesOhms;
}

} // namespace physics

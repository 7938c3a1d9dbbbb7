#pragma once

#include "physics.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>

// How a quantity moves with time.
struct TimeModel {
    enum class Kind { Const, Ramp, Sine, Overflow };
    Kind kind = Kind::Const;
    double a = 0;  // const value, ramp start, sine offset
    double b = 0;  // ramp step, sine amplitude
    double c = 1;  // sine period in seconds

    // "const:V", "V", "ramp:START:STEP", "sine:OFFSET:AMPL:PERIOD_S", "overflow"
    static std::optional<TimeModel> parse(const QString &text);
};

// What is wired to a terminal, a matrix cross point or what a box variable
// holds. A "reading" is a number the meter reports whatever it is set to
// (the form of earlier versions); every other quantity is a physical signal
// that the meter converts according to its configuration.
struct SignalModel {
    enum class Quantity {
        Reading, DcVolts, AcVolts, DcAmps, AcAmps, Ohms, Pt100, Pt1000, Kty, Diode, Thermocouple,
        Frequency, Pulse
    };
    Quantity quantity = Quantity::Reading;
    physics::Thermocouple type = physics::Thermocouple::K;
    TimeModel time;
    double noise = 0;          // standard deviation, in the quantity's unit
    std::optional<quint64> seed;
    double sourceOhms = 1000;  // voltage sources: output resistance
    double shuntOhms = 100;    // currents: the shunt the terminal is wired across
    double leadOhms = 0;       // resistances: both leads together; thermocouples: the loop
    int wires = 4;             // resistances: 4 = sense leads wired too
    double hertz = 50;         // AC voltage and current
    double volts = 1;          // frequency signals: RMS amplitude
    double r25 = 2000;         // KTY: resistance at 25 °C

    // "[QUANTITY] TIME [OPTION:VALUE ...]"; see README.md.
    static std::optional<SignalModel> parse(const QString &text, QString *error);
    bool physical() const { return quantity != Quantity::Reading; }
    // "dcv 1.5 V" and the like, with the value given.
    QString describe(double value) const;
    static QString quantityName(Quantity q, physics::Thermocouple type);
};

// Signal models by key plus the per-key reading counters that ramps need and
// the noise generators.
class SignalTable {
public:
    // Normalises a key ("c5" -> "C5", "m1r2c3" -> "M1R2C3", "T::name" and
    // "T:name" -> "T:name");
    // returns an empty string when the key names nothing this box has.
    static QString normalisedKey(const QString &key);

    // One "KEY=MODEL" assignment; false with a message when it is malformed.
    bool assign(const QString &assignment, QString *error);
    // A file of assignments, one a line, '#' starting a comment.
    bool load(const QString &path, QString *error);
    // Seed of the noise of signals without a seed of their own.
    void setSeed(quint64 seed) { seed_ = seed; }

    // The model of a key: the configured one or the default reading.
    SignalModel model(const QString &key) const;
    bool configured(const QString &key) const { return models_.contains(key); }
    // Takes one value of the key without noise: advances a ramp, samples a
    // sine at the given time. Overflow is returned as infinity.
    double take(const QString &key, double seconds);
    // The value at the start, without advancing anything.
    double peek(const QString &key) const;
    // One draw of the key's noise (0 without noise).
    double noise(const QString &key);

    // Value of a key nobody configured; see README.md.
    static double defaultValue(const QString &key);

private:
    QHash<QString, SignalModel> models_;
    QHash<QString, qint64> readings_;
    QHash<QString, std::uint64_t> noiseState_;
    quint64 seed_ = 1;
};

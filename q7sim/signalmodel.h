#pragma once

#include <QHash>
#include <QString>
#include <optional>

// What a simulated terminal, matrix cross point or box variable reads.
struct SignalModel {
    enum class Kind { Const, Ramp, Sine, Overflow };
    Kind kind = Kind::Const;
    double a = 0;  // const value, ramp start, sine offset
    double b = 0;  // ramp step, sine amplitude
    double c = 1;  // sine period in seconds

    // "const:V", "ramp:START:STEP", "sine:OFFSET:AMPL:PERIOD_S", "overflow"
    static std::optional<SignalModel> parse(const QString &text, QString *error);
};

// Signal models by key plus the per-key reading counters that ramps need.
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

    // Takes one reading of the key: advances a ramp, samples a sine at the
    // given time. Overflow is returned as infinity.
    double take(const QString &key, double seconds);

    // Value of a key nobody configured; see README.md.
    static double defaultValue(const QString &key);

private:
    QHash<QString, SignalModel> models_;
    QHash<QString, qint64> readings_;
};

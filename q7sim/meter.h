#pragma once

#include "physics.h"
#include "signalmodel.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>

// The multimeter behind the box: keeps what the configuration commands set
// and turns the signal at the closed relays into the reading a real meter
// of this family would give.
class Meter {
public:
    enum class Function { DcVolts, AcVolts, Ohms2, Ohms4, Temperature, Frequency, Diode, Other };

    // Per-function settings; a range of 0 is autorange.
    struct Settings {
        double range = 0;
        int digits = 7;
        double nplc = 1;
        bool averaging = false;
        int averageCount = 10;
        bool repeatFilter = true;
    };

    // Which relays connect the terminal: the input side, the sense side, and
    // whether both belong to the same channel (a four-wire connection).
    struct Connection {
        bool input = false;
        bool sense = false;
        bool fourWire = false;
    };

    // One command in short form ("VOLT:DC:RANG", argument "100").
    void command(const QByteArray &header, const QByteArray &argument);

    // The reading of a signal: 'sample' gives one value of the quantity (with
    // fresh noise) per call; the meter calls it once, or once per filtered
    // reading. Overflow is infinity. 'coldJunction' is the temperature of the
    // terminals in °C.
    double read(const SignalModel &model, const std::function<double()> &sample, Connection connection,
                double coldJunction) const;

    Function function() const { return function_; }
    const Settings &settings() const { return settings_[int(function_)]; }
    static QString functionName(Function f);
    // "range 100 V", "autorange", "type K, reference junction 23 °C", ...
    QString describeSettings() const;
    // Seconds one reading takes at the present integration time and filter.
    double readingSeconds(double lineHertz) const;
    physics::Thermocouple thermocouple() const { return tcType_; }
    double referenceJunction() const { return referenceJunction_; }

private:
    double convert(const SignalModel &model, double value, Connection connection, double coldJunction) const;
    Function function_ = Function::DcVolts;
    Settings settings_[8];
    physics::Thermocouple tcType_ = physics::Thermocouple::J;
    double referenceJunction_ = 23;
    double diodeAmperes_ = 1e-3;
    double frequencyThreshold_ = 10;
};

#include "meter.h"

#include <QList>
#include <cmath>
#include <limits>

namespace {

using F = Meter::Function;
using Q = SignalModel::Quantity;
constexpr double overflow = std::numeric_limits<double>::infinity();
// A range reads up to 120 % of its nominal value.
constexpr double overrange = 1.2;
// The diode test measures up to this voltage.
constexpr double diodeRangeVolts = 10;

const QList<double> &rangesOf(F f)
{
    static const QList<double> volts = {0.1, 1, 10, 100, 1000};
    static const QList<double> acVolts = {0.1, 1, 10, 100, 750};
    static const QList<double> ohms = {100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    static const QList<double> none;
    switch (f) {
    case F::DcVolts: return volts;
    case F::AcVolts: return acVolts;
    case F::Ohms2: case F::Ohms4: return ohms;
    default: return none;
    }
}

// The source current of the resistance ranges.
double testCurrent(double range)
{
    if (range <= 1e3)
        return 1e-3;
    if (range <= 1e4)
        return 1e-4;
    if (range <= 1e6)
        return 1e-5;
    return 7e-7;
}

QByteArray shortNodes(const QByteArray &text)
{
    QList<QByteArray> kept;
    for (const QByteArray &n : text.toUpper().split(':'))
        if (!n.isEmpty())
            kept.append(n.left(4));
    return kept.join(':');
}

bool functionOf(const QByteArray &prefix, F *f)
{
    if (prefix == "VOLT" || prefix == "VOLT:DC")
        *f = F::DcVolts;
    else if (prefix == "VOLT:AC")
        *f = F::AcVolts;
    else if (prefix == "RES")
        *f = F::Ohms2;
    else if (prefix == "FRES")
        *f = F::Ohms4;
    else if (prefix == "TEMP")
        *f = F::Temperature;
    else if (prefix == "FREQ")
        *f = F::Frequency;
    else if (prefix == "DIOD")
        *f = F::Diode;
    else
        return false;
    return true;
}

bool onOff(const QByteArray &arg)
{
    const QByteArray a = arg.trimmed().toUpper();
    return a == "ON" || a == "1";
}

// What the terminal looks like electrically.
struct Terminal {
    bool open = false;        // nothing the meter can drive a current through
    bool passive = false;     // a resistance 'ohms'
    bool diode = false;       // a diode at 'degrees'
    double ohms = 0;
    double degrees = 0;
    double dcVolts = 0;       // open-circuit voltages of a source
    double acVolts = 0;
    double hertz = 0;
    double sourceOhms = 0;
    double leadOhms = 0;
    bool senseWired = true;
};

Terminal terminalOf(const SignalModel &m, double x, double coldJunction)
{
    Terminal t;
    switch (m.quantity) {
    case Q::DcVolts:
        t.dcVolts = x;
        t.sourceOhms = m.sourceOhms;
        break;
    case Q::AcVolts:
        t.acVolts = x;
        t.hertz = m.hertz;
        t.sourceOhms = m.sourceOhms;
        break;
    case Q::DcAmps:
        t.dcVolts = x * m.shuntOhms;
        t.sourceOhms = m.shuntOhms;
        break;
    case Q::AcAmps:
        t.acVolts = x * m.shuntOhms;
        t.hertz = m.hertz;
        t.sourceOhms = m.shuntOhms;
        break;
    case Q::Frequency:
        t.acVolts = m.volts;
        t.hertz = x;
        t.sourceOhms = m.sourceOhms;
        break;
    case Q::Ohms: case Q::Pt100: case Q::Pt1000: case Q::Kty:
        t.passive = true;
        t.ohms = m.quantity == Q::Ohms     ? x
                 : m.quantity == Q::Pt100  ? physics::platinumOhms(100, x)
                 : m.quantity == Q::Pt1000 ? physics::platinumOhms(1000, x)
                                           : physics::ktyOhms(m.r25, x);
        t.leadOhms = m.leadOhms;
        t.senseWired = m.wires == 4;
        break;
    case Q::Diode:
        t.diode = true;
        t.degrees = x;
        t.leadOhms = m.leadOhms;
        break;
    case Q::Thermocouple:
        // The junction at the box's terminals is the cold one.
        t.dcVolts = (physics::thermocoupleMillivolts(m.type, x)
                     - physics::thermocoupleMillivolts(m.type, coldJunction)) / 1000;
        t.sourceOhms = m.leadOhms;
        break;
    case Q::Pulse: case Q::Reading:
        t.open = true;
        break;
    }
    return t;
}

// Value within the range, or overflow: a fixed range, or the smallest that fits.
double ranged(double value, const QList<double> &ranges, double range)
{
    if (!std::isfinite(value))
        return overflow;
    for (double r : ranges)
        if ((range > 0 && r >= range * 0.999) || (range <= 0 && std::fabs(value) <= r * overrange))
            return std::fabs(value) <= r * overrange ? value : overflow;
    return range > 0 && !ranges.isEmpty() && std::fabs(value) <= ranges.last() * overrange ? value : overflow;
}

} // namespace

QString Meter::functionName(Function f)
{
    switch (f) {
    case F::DcVolts: return QStringLiteral("DC voltage");
    case F::AcVolts: return QStringLiteral("AC voltage");
    case F::Ohms2: return QStringLiteral("2-wire resistance");
    case F::Ohms4: return QStringLiteral("4-wire resistance");
    case F::Temperature: return QStringLiteral("thermocouple temperature");
    case F::Frequency: return QStringLiteral("frequency");
    case F::Diode: return QStringLiteral("diode test");
    case F::Other: break;
    }
    return QStringLiteral("unsupported function");
}

QString Meter::describeSettings() const
{
    const Settings &s = settings();
    const auto number = [](double v) { return QString::number(v, 'g', 6); };
    switch (function_) {
    case F::DcVolts: case F::AcVolts:
    case F::Ohms2: case F::Ohms4: {
        if (s.range <= 0)
            return QStringLiteral("autorange");
        double selected = rangesOf(function_).last();
        for (double r : rangesOf(function_))
            if (r >= s.range * 0.999) {
                selected = r;
                break;
            }
        return QStringLiteral("range %1 %2").arg(number(selected), function_ == F::DcVolts || function_ == F::AcVolts
                                                                       ? QStringLiteral("V") : QStringLiteral("Ohm"));
    }
    case F::Temperature:
        return QStringLiteral("type %1, reference junction %2 °C")
            .arg(QChar("JKT"[int(tcType_)])).arg(number(referenceJunction_));
    case F::Frequency:
        return QStringLiteral("threshold range %1 V").arg(number(frequencyThreshold_));
    case F::Diode:
        return QStringLiteral("test current %1 mA").arg(number(diodeAmperes_ * 1000));
    case F::Other: break;
    }
    return {};
}

double Meter::readingSeconds(double lineHertz) const
{
    const Settings &s = settings();
    double seconds = s.nplc / lineHertz;
    if (s.averaging && s.repeatFilter)
        seconds *= s.averageCount;
    return seconds;
}

void Meter::command(const QByteArray &header, const QByteArray &argument)
{
    const QByteArray arg = argument.trimmed();
    if (header == "FUNC") {
        QByteArray word = arg;
        word.replace('"', QByteArray()).replace('\'', QByteArray());
        if (!functionOf(shortNodes(word), &function_))
            function_ = F::Other;
        return;
    }
    if (header == "TEMP:TC:TYPE") {
        const QByteArray t = arg.toUpper();
        if (t == "J")
            tcType_ = physics::Thermocouple::J;
        else if (t == "K")
            tcType_ = physics::Thermocouple::K;
        else if (t == "T")
            tcType_ = physics::Thermocouple::T;
        return;
    }
    bool ok = false;
    const double v = arg.toDouble(&ok);
    if (header == "TEMP:TC:RJUN:SIM") {
        if (ok)
            referenceJunction_ = v;
        return;
    }
    if (header == "DIOD:CURR:RANG") {
        if (ok && v > 0)
            diodeAmperes_ = v;
        return;
    }
    if (header == "FREQ:THR:VOLT:RANG") {
        if (ok && v > 0)
            frequencyThreshold_ = v;
        return;
    }
    // "<function>:<setting>": the function is the header without its setting nodes.
    static const QList<QByteArray> settingsTails = {"RANG:AUTO", "RANG", "DIG", "NPLC", "AVER:TCON", "AVER:COUN",
                                                     "AVER:STAT"};
    for (const QByteArray &tail : settingsTails) {
        if (!header.endsWith(':' + tail))
            continue;
        F f;
        if (!functionOf(header.left(header.size() - tail.size() - 1), &f))
            return;
        Settings &s = settings_[int(f)];
        if (tail == "RANG:AUTO") {
            if (onOff(arg))
                s.range = 0;
        } else if (tail == "RANG") {
            if (ok && v > 0)
                s.range = v;
        } else if (tail == "DIG") {
            if (ok)
                s.digits = int(v);
        } else if (tail == "NPLC") {
            if (ok && v > 0)
                s.nplc = v;
        } else if (tail == "AVER:TCON") {
            s.repeatFilter = arg.toUpper().startsWith("REP");
        } else if (tail == "AVER:COUN") {
            if (ok && v >= 1)
                s.averageCount = int(std::min(v, 100.0));
        } else if (tail == "AVER:STAT") {
            s.averaging = onOff(arg);
        }
        return;
    }
    // Auto-zero and anything else: accepted, nothing to model.
}

double Meter::read(const SignalModel &model, const std::function<double()> &sample, Connection connection,
                   double coldJunction) const
{
    const Settings &s = settings();
    const int n = s.averaging ? s.averageCount : 1;
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const double r = convert(model, sample(), connection, coldJunction);
        if (!std::isfinite(r))
            return overflow;
        sum += r;
    }
    return sum / n;
}

double Meter::convert(const SignalModel &model, double x, Connection c, double coldJunction) const
{
    // A reading is what the meter reports, whatever it is set to.
    if (!model.physical())
        return x;
    if (!c.input && !c.sense)
        return overflow;
    if (!std::isfinite(x))
        return overflow;
    const Terminal t = terminalOf(model, x, coldJunction);
    const Settings &s = settings();
    switch (function_) {
    case F::DcVolts:
        return ranged(t.dcVolts, rangesOf(function_), s.range);
    case F::AcVolts:
        return ranged(t.acVolts, rangesOf(function_), s.range);
    case F::Ohms2: case F::Ohms4: {
        const bool four = function_ == F::Ohms4;
        // Four-wire needs the sense relay of the same channel and sense leads at the sensor.
        if (four && (!c.fourWire || (t.passive && !t.senseWired)))
            return overflow;
        if (t.open)
            return overflow;
        const double leads = four ? 0 : t.leadOhms;
        const auto ohmsAt = [&](double range) {
            const double i = testCurrent(range);
            if (t.passive)
                return t.ohms + leads;
            if (t.diode)
                return physics::diodeVolts(i, t.degrees) / i + leads;
            return (t.dcVolts + i * t.sourceOhms) / i;
        };
        const QList<double> &ranges = rangesOf(function_);
        if (s.range > 0)
            return ranged(ohmsAt(s.range), ranges, s.range);
        for (double r : ranges) {
            const double v = ohmsAt(r);
            if (std::fabs(v) <= r * overrange)
                return v;
        }
        return overflow;
    }
    case F::Diode: {
        if (t.open)
            return overflow;
        const double i = diodeAmperes_;
        double v;
        if (t.passive)
            v = i * (t.ohms + t.leadOhms);
        else if (t.diode)
            v = physics::diodeVolts(i, t.degrees) + i * t.leadOhms;
        else
            v = t.dcVolts + i * t.sourceOhms;
        return std::fabs(v) <= diodeRangeVolts ? v : overflow;
    }
    case F::Temperature: {
        // The meter adds the voltage of its simulated reference junction.
        double degrees = 0;
        const double mv = t.dcVolts * 1000 + physics::thermocoupleMillivolts(tcType_, referenceJunction_);
        return physics::thermocoupleDegrees(tcType_, mv, &degrees) ? degrees : overflow;
    }
    case F::Frequency:
        // Counts only a signal that crosses a tenth of the threshold range.
        if (t.hertz > 0 && t.acVolts * std::sqrt(2.0) >= frequencyThreshold_ / 10)
            return t.hertz;
        return 0;
    case F::Other:
        break;
    }
    return overflow;
}

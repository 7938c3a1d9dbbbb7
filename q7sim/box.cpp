#include "box.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>

namespace {

constexpr double alpha = 0.00788;
constexpr double beta = 1.937e-5;
const QByteArray overflowText = "+9.9E37";

bool isRelayFrame(const QByteArray &f)
{
    if (f.size() != 5 || f[4] != '2')
        return false;
    for (int i = 0; i < 4; ++i)
        if (f[i] < '0' || f[i] > '8')
            return false;
    return true;
}

// Short form of an SCPI header: nodes cut to four letters, no leading colon,
// the optional SENSe root dropped, upper case.
QByteArray shortHeader(QByteArray header)
{
    header = header.toUpper();
    QList<QByteArray> nodes = header.split(':');
    QList<QByteArray> kept;
    for (QByteArray &n : nodes) {
        if (n.isEmpty())
            continue;
        kept.append(n.left(4));
    }
    if (!kept.isEmpty() && kept.first() == "SENS")
        kept.removeFirst();
    return kept.join(':');
}

int clampedCount(const QByteArray &arg, int fallback)
{
    bool ok = false;
    const double v = arg.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return fallback;
    return int(std::clamp(v, 1.0, 100000.0));
}

} // namespace

Box::Box(Options options, SignalTable signalTable)
    : options_(std::move(options)), signals_(std::move(signalTable))
{
    clock_.start();
}

QByteArray Box::reading(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= 9.9e37)
        return overflowText;
    char text[40];
    std::snprintf(text, sizeof text, "%+.8E", value);
    if (std::strlen(text) != 15) // exponent below -99: the meter shows zero
        return "+0.00000000E+00";
    return text;
}

double Box::sensorResistance(double degrees)
{
    const double d = degrees - 25;
    return 1980 * (1 + alpha * d + beta * d * d) - 3;
}

QByteArray Box::handle(const QByteArray &frame)
{
    replyDelayMs_ = 0;
    if (isRelayFrame(frame)) {
        switchRelays(frame);
        return "OK";
    }
    const QByteArray code = frame.left(5);
    const QByteArray text = frame.mid(5);
    if (code == "00051")
        return options_.firmware + " Q7SIM";
    if (code == "00023")
        return options_.meterPresent ? "1" : "0";
    if (code == "00043") {
        configure(text);
        return "OK";
    }
    if (code == "00041")
        return boxVariable(text);
    if (code == "00063") {
        trigger();
        if (options_.timing)
            replyDelayMs_ = int(std::lround(sampleCount_ * meter_.readingSeconds(options_.lineHertz) * 1000));
        return "OK";
    }
    if (code == "00073")
        return singleValue();
    if (code == "00083")
        return bufferedValues();
    if (code == "00053") {
        clearBuffer();
        return "OK";
    }
    if (code == "00033")
        return referenceReadings();
    if (code == "00061") {
        matrixSequence_ = true;
        return "OK";
    }
    if (code == "00071") {
        matrixSequence_ = false;
        return "OK";
    }
    return "OK";
}

void Box::switchRelays(const QByteArray &f)
{
    const int inModule = f[0] - '0', inChannel = f[1] - '0';
    const int senseModule = f[2] - '0', senseChannel = f[3] - '0';
    const bool input = inModule > 0 && inChannel > 0;
    const bool sense = senseModule > 0 && senseChannel > 0;
    connection_ = {input, sense, input && sense && inModule == senseModule && inChannel == senseChannel};
    if (matrixSequence_ && input && sense && inModule == senseModule) {
        // The diode between row and column: a two-wire connection.
        selected_ = QStringLiteral("M%1R%2C%3").arg(inModule).arg(inChannel).arg(senseChannel);
        connection_.fourWire = false;
    } else if (input) {
        // Four-wire too: the meter reads the input side, the sense leads only compensate.
        selected_ = QStringLiteral("%1%2").arg(QChar('A' + 2 * (inModule - 1))).arg(inChannel);
    } else if (sense) {
        selected_ = QStringLiteral("%1%2").arg(QChar('A' + 2 * senseModule - 1)).arg(senseChannel);
    } else {
        selected_.clear();
    }
}

void Box::configure(const QByteArray &scpi)
{
    QByteArray normal = scpi;
    normal.replace('\n', '\r');
    for (const QByteArray &line : normal.split('\r')) {
        // After ';' a header without a leading colon continues the path of the one before.
        QList<QByteArray> path;
        for (const QByteArray &raw : line.split(';')) {
            const QByteArray command = raw.trimmed();
            if (command.isEmpty())
                continue;
            const qsizetype blank = command.indexOf(' ');
            QByteArray header = blank < 0 ? command : command.left(blank);
            const QByteArray arg = blank < 0 ? QByteArray() : command.mid(blank + 1).trimmed();
            if (!header.startsWith(':') && !header.startsWith('*') && !path.isEmpty())
                header = path.join(':') + ':' + header;
            header = shortHeader(header);
            path = header.split(':');
            path.removeLast();
            if (header == "SAMP:COUN") {
                sampleCount_ = clampedCount(arg, sampleCount_);
            } else if (header == "TRIG:COUN") {
                triggerCount_ = clampedCount(arg, triggerCount_);
            } else if (header == "TRAC:POIN") {
                tracePoints_ = clampedCount(arg, tracePoints_);
            } else if (header == "TRAC:FEED:CONT") {
                // NEXT fills the buffer from its start and stops when it is full.
                traceFeed_ = arg.toUpper().startsWith("NEXT");
                if (traceFeed_)
                    clearBuffer();
            } else if (header == "TRAC:CLE") {
                clearBuffer();
            } else {
                // Function, ranges, digits, NPLC, filter, thermocouple: the meter's.
                meter_.command(header, arg);
            }
        }
    }
}

void Box::trigger()
{
    const double seconds = clock_.elapsed() / 1000.0;
    for (int i = 0; i < sampleCount_; ++i) {
        if (selected_.isEmpty()) {
            last_ = overflowText;
        } else {
            const double base = signals_.take(selected_, seconds);
            const auto sample = [&] { return base + signals_.noise(selected_); };
            last_ = reading(meter_.read(signals_.model(selected_), sample, connection_,
                                        options_.referenceTemperature));
        }
        if (traceFeed_) {
            trace_.append(last_);
            if (matrixSequence_)
                traceFromMatrix_ = true;
            if (trace_.size() >= tracePoints_)
                traceFeed_ = false;
        }
    }
}

QByteArray Box::singleValue() const
{
    if (options_.wrongLength)
        return (last_ + "000000000").left(10);
    return last_;
}

QByteArray Box::bufferedValues() const
{
    QByteArray body;
    if (traceFromMatrix_) {
        body = trace_.join(',');
    } else {
        for (const QByteArray &r : trace_)
            body += r + ',';
    }
    // The reader waits for header + 9 bytes in all, so the header counts one
    // byte more than follows it.
    const qsizetype announced = body.size() + 1 + (options_.wrongLength ? 1 : 0);
    return QByteArray::number(announced).rightJustified(10, '0') + body;
}

QByteArray Box::referenceReadings() const
{
    const QByteArray r = reading(sensorResistance(options_.referenceTemperature));
    return r + ',' + r + ',' + r + ',' + r;
}

QByteArray Box::boxVariable(const QByteArray &text)
{
    QByteArray name = text;
    name.replace('\r', QByteArray()).replace('\n', QByteArray());
    QString key = SignalTable::normalisedKey(QStringLiteral("T:") + QString::fromLatin1(name));
    if (key.isEmpty())
        key = QStringLiteral("T:");
    // A named variable wins; otherwise the pulse input at the closed relays.
    if (!signals_.configured(key) && !selected_.isEmpty()
        && signals_.model(selected_).quantity == SignalModel::Quantity::Pulse)
        key = selected_;
    const double v = signals_.take(key, clock_.elapsed() / 1000.0) + signals_.noise(key);
    if (!std::isfinite(v) || std::fabs(v) >= 9.9e37)
        return "T-Variable: " + overflowText;
    char out[40];
    std::snprintf(out, sizeof out, "%.6E", std::fabs(v) < 1e-99 ? 0.0 : v);
    return QByteArray("T-Variable: ") + out;
}

void Box::clearBuffer()
{
    trace_.clear();
    traceFromMatrix_ = false;
}

#include "check.h"

#include "box.h"
#include "meter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cmath>

namespace {

using Q = SignalModel::Quantity;

// The functions of the measurement blocks: meter function word, command
// prefix and the range commands by range index.
struct BlockFunction {
    const char *word;
    const char *prefix;
    QList<QByteArray> ranges;
    QList<Q> fits;
};

const BlockFunction &blockFunction(int f)
{
    static const QList<QByteArray> volts = {":RANG 0.1", ":RANG 1.0", ":RANG 10", ":RANG 100", ":RANG:AUTO ON"};
    static const QList<QByteArray> ohms = {":RANG 100", ":RANG 1000", ":RANG 10000", ":RANG 100000",
                                           ":RANG 1000000", ":RANG:AUTO ON"};
    static const QList<BlockFunction> table = {
        {"VOLT", ":VOLT:DC", volts, {Q::DcVolts}},
        {"VOLT:AC", ":VOLT:AC", volts, {Q::AcVolts}},
        {"RES", ":RES", ohms, {Q::Ohms}},
        {"FRES", ":FRES", ohms, {Q::Ohms}},
        {"VOLT", ":VOLT:DC", {":RANG 10", ":RANG 10", ":RANG 0.1", ":RANG 0.1", ":RANG 0.1"}, {Q::DcAmps}},
        {"VOLT:AC", ":VOLT:AC", {":RANG 10", ":RANG 0.1", ":RANG 0.1", ":RANG 0.1"}, {Q::AcAmps}},
        {"RES", ":RES", {":RANG 1000"}, {Q::Pt100}},
        {"FREQ", ":FREQ", {":THR:VOLT:RANG 1", ":THR:VOLT:RANG 10", ":THR:VOLT:RANG 30"}, {Q::Frequency, Q::AcVolts}},
        {"", "", {"1000000050000", "0000000050000", ":Pulsdauer [s]", ":Betr.-Std. [h]"}, {Q::Pulse}},
        {"RES", ":RES", {":RANG 1000"}, {Q::Pt100}},
        {"FRES", ":FRES", {":RANG 1000"}, {Q::Pt100}},
        {"RES", ":RES", {":RANG 10000"}, {Q::Pt1000}},
        {"FRES", ":FRES", {":RANG 10000"}, {Q::Pt1000}},
        {"RES", ":RES", {":RANG 10000"}, {Q::Kty}},
        {"DIOD", ":DIOD", {":CURR:RANG 0.1e-3"}, {Q::Diode}},
        {"TEMP", ":TEMP", {":TC:TYPE J"}, {Q::Thermocouple}},
        {"TEMP", ":TEMP", {":TC:TYPE K"}, {Q::Thermocouple}},
        {"TEMP", ":TEMP", {":TC:TYPE T"}, {Q::Thermocouple}},
    };
    static const BlockFunction none{"", "", {}, {}};
    return f >= 0 && f < table.size() ? table[f] : none;
}

// Shunts of the current ranges: what the block's factor assumes.
double blockShunt(int f, int range)
{
    static const QList<double> dc = {100, 100, 1, 0.1, 0.01}, ac = {100, 1, 0.1, 0.01};
    return f == 4 ? dc.value(range, 0) : f == 5 ? ac.value(range, 0) : 0;
}

physics::Thermocouple blockThermocouple(int f)
{
    return f == 15 ? physics::Thermocouple::J : f == 17 ? physics::Thermocouple::T : physics::Thermocouple::K;
}

// A path below the root, each component matched without regard to case.
QString resolve(const QString &root, const QStringList &components)
{
    QString path = root;
    for (const QString &c : components) {
        QString next = path + QLatin1Char('/') + c;
        if (!QFileInfo::exists(next)) {
            const QStringList entries = QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            for (const QString &e : entries)
                if (e.compare(c, Qt::CaseInsensitive) == 0)
                    next = path + QLatin1Char('/') + e;
        }
        path = next;
    }
    return path;
}

// Fixed-width text of the record files (single-byte, blank-padded, zero bytes when never set).
QString text(const QByteArray &record, int offset, int width)
{
    QByteArray bytes = record.mid(offset, width);
    bytes.replace('\0', ' ');
    return QString::fromLatin1(bytes).trimmed();
}

int int16(const QByteArray &record, int offset)
{
    return qFromLittleEndian<qint16>(record.constData() + offset);
}

float float32(const QByteArray &record, int offset)
{
    return qFromLittleEndian<float>(record.constData() + offset);
}

QList<QByteArray> records(const QString &path, int length)
{
    QFile f(path);
    QList<QByteArray> list;
    if (!f.open(QIODevice::ReadOnly))
        return list;
    const QByteArray all = f.readAll();
    for (qsizetype at = 0; at + length <= all.size(); at += length)
        list.append(all.mid(at, length));
    return list;
}

// "RefTempMeasurement" of the station settings in the program directory
// ($KESTRIX_PROGDIR); on when they cannot be read, as the shipped file has it.
bool referenceMeasurement()
{
    QFile ini(qEnvironmentVariable("KESTRIX_PROGDIR") + QStringLiteral("/Kesti.ini"));
    if (qEnvironmentVariableIsEmpty("KESTRIX_PROGDIR") || !ini.open(QIODevice::ReadOnly))
        return true;
    for (const QByteArray &line : ini.readAll().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0 && line.left(eq).trimmed().compare("RefTempMeasurement", Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed().toDouble() >= 1;
    }
    return true;
}

} // namespace

int checkProject(const QString &stationRoot, const QString &project, SignalTable &signalTable,
                 double referenceTemperature, QTextStream &out, QString *error)
{
    const QString base = resolve(stationRoot, {QStringLiteral("c"), QStringLiteral("kestrix"), QStringLiteral("intern")});
    const QString scanPath = resolve(base, {QStringLiteral("scanlist"), project});
    const QString blockPath = resolve(base, {QStringLiteral("messbvar"), project});
    const QList<QByteArray> scan = records(scanPath, 53);
    const QList<QByteArray> blocks = records(blockPath, 144);
    if (scan.isEmpty() || blocks.isEmpty()) {
        *error = QStringLiteral("no project \"%1\" in %2 (needs scanlist and messbvar files)").arg(project, base);
        return 2;
    }
    // The whole degrees the program gives the meter as its reference junction;
    // 0 when the station settings switch the reference measurement off.
    const bool measured = referenceMeasurement();
    const int junction = measured && referenceTemperature >= 0 ? int(referenceTemperature) : 0;
    out << "project " << project << ", reference junction at " << referenceTemperature
        << " \u00b0C (the meter is given " << junction << " \u00b0C"
        << (measured ? "" : ": RefTempMeasurement is off") << ")\n";

    int misfits = 0;
    for (int i = 0; i < scan.size(); ++i) {
        const QByteArray &entry = scan[i];
        const QString signal = text(entry, 33, 20);
        if (signal.isEmpty())
            break;
        const int channel = int16(entry, 0), slot = int16(entry, 2);
        const QString blockName = text(entry, 8, 20).left(16);
        const QString key = slot >= 1 && slot <= 16 && channel >= 1 && channel <= 8
                                ? QStringLiteral("%1%2").arg(QChar('A' + slot - 1)).arg(channel) : QString();
        out << QStringLiteral("%1 %2 %3 ").arg(i + 1, 3).arg(signal, -20).arg(key.isEmpty() ? QStringLiteral("--") : key, -3);
        const QByteArray *block = nullptr;
        for (const QByteArray &b : blocks)
            if (!blockName.isEmpty() && text(b, 2, 20).left(16) == blockName) {
                block = &b;
                break;
            }
        if (!block || key.isEmpty()) {
            out << "\"" << blockName << "\": " << (key.isEmpty() ? "no terminal" : "block not in the project")
                << "  does not fit\n";
            ++misfits;
            continue;
        }
        const int f = int16(*block, 44);
        const int range = int(float32(*block, 98));
        const BlockFunction &bf = blockFunction(f);
        const QByteArray rangeCommand = bf.ranges.value(range);

        // The block's meter setting, as its initialisation string sets it.
        Meter meter;
        const QByteArray prefix = QByteArray(bf.prefix).mid(1);
        meter.command("FUNC", bf.word);
        if (f >= 15 && f <= 17)
            meter.command("TEMP:TC:RJUN:SIM", QByteArray::number(junction));
        if (f != 8 && !rangeCommand.isEmpty()) {
            const qsizetype blank = rangeCommand.indexOf(' ');
            meter.command(prefix + rangeCommand.left(blank).toUpper(),
                          blank < 0 ? QByteArray() : rangeCommand.mid(blank + 1));
        }
        out << "\"" << blockName << "\" ";

        // Relays as the program closes them: four-wire blocks input and sense of the channel.
        const bool four = QByteArray(bf.prefix) == ":FRES" || f == 8;
        const bool odd = slot % 2 == 1;
        Meter::Connection connection{odd, !odd && !four, odd && four};
        if (four && odd)
            connection.sense = true;

        if (f == 8) {
            const QString variable = SignalTable::normalisedKey(QStringLiteral("T:") + QString::fromLatin1(rangeCommand));
            const bool named = !variable.isEmpty() && signalTable.configured(variable);
            const SignalModel m = signalTable.model(named ? variable : key);
            out << "box variable \"" << rangeCommand << "\": ";
            if (named) {
                out << "variable " << m.describe(signalTable.peek(variable)) << "  fits\n";
            } else if (m.quantity == Q::Pulse) {
                out << "pulse input " << m.describe(signalTable.peek(key)) << "  fits\n";
            } else {
                out << "neither the variable nor a pulse input at " << key << " (reads 0)  does not fit\n";
                ++misfits;
            }
            continue;
        }
        if (bf.ranges.isEmpty() || rangeCommand.isEmpty()) {
            out << "function " << f << " range " << range << ": unknown to the meter  does not fit\n";
            ++misfits;
            continue;
        }
        out << Meter::functionName(meter.function()) << ", " << meter.describeSettings() << ": ";
        const SignalModel m = signalTable.model(key);
        const double value = signalTable.peek(key);
        const double reading = meter.read(m, [&] { return value; }, connection, referenceTemperature);
        out << m.describe(value) << " -> " << Box::reading(reading) << "  ";
        QString why;
        if (!m.physical()) {
            out << "not checked: a reading, not a physical signal\n";
            continue;
        }
        if (!bf.fits.contains(m.quantity) || (m.quantity == Q::Thermocouple && m.type != blockThermocouple(f)))
            why = QStringLiteral("the block measures %1, the terminal carries %2")
                      .arg(SignalModel::quantityName(bf.fits.first(), blockThermocouple(f)),
                           SignalModel::quantityName(m.quantity, m.type));
        else if (blockShunt(f, range) > 0 && std::fabs(blockShunt(f, range) - m.shuntOhms) > 1e-9 * m.shuntOhms)
            why = QStringLiteral("the block assumes a %1 Ohm shunt, the terminal has %2 Ohm")
                      .arg(blockShunt(f, range)).arg(m.shuntOhms);
        else if (m.quantity == Q::Thermocouple && int16(*block, 138) == 1)
            why = QStringLiteral("the block subtracts the reference temperature that the meter already compensates");
        else if (m.quantity == Q::Thermocouple && std::fabs(junction - referenceTemperature) >= 1)
            why = QStringLiteral("the meter is given a reference junction of %1 \u00b0C, the terminals are at %2 \u00b0C")
                      .arg(junction).arg(referenceTemperature);
        else if (!std::isfinite(reading))
            why = four && m.wires != 4 ? QStringLiteral("four-wire block, but no sense leads at the sensor")
                  : four && !odd       ? QStringLiteral("four-wire block on a sense terminal")
                                       : QStringLiteral("the signal is above the range");
        if (why.isEmpty()) {
            out << "fits\n";
        } else {
            out << "does not fit: " << why << "\n";
            ++misfits;
        }
    }
    return misfits > 0 ? 1 : 0;
}

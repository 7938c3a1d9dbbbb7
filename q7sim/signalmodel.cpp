#include "signalmodel.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

bool number(const QString &text, double *out)
{
    bool ok = false;
    *out = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(*out);
}

using Q = SignalModel::Quantity;

struct QuantityWord {
    const char *word;
    Q quantity;
    physics::Thermocouple type;
};

constexpr QuantityWord quantityWords[] = {
    {"dcv", Q::DcVolts, physics::Thermocouple::K},   {"acv", Q::AcVolts, physics::Thermocouple::K},
    {"dci", Q::DcAmps, physics::Thermocouple::K},    {"aci", Q::AcAmps, physics::Thermocouple::K},
    {"res", Q::Ohms, physics::Thermocouple::K},      {"pt100", Q::Pt100, physics::Thermocouple::K},
    {"pt1000", Q::Pt1000, physics::Thermocouple::K}, {"kty", Q::Kty, physics::Thermocouple::K},
    {"diode", Q::Diode, physics::Thermocouple::K},   {"tc:j", Q::Thermocouple, physics::Thermocouple::J},
    {"tc:k", Q::Thermocouple, physics::Thermocouple::K}, {"tc:t", Q::Thermocouple, physics::Thermocouple::T},
    {"freq", Q::Frequency, physics::Thermocouple::K}, {"pulse", Q::Pulse, physics::Thermocouple::K},
};

// Fixed across runs and platforms, so that a noise sequence is reproducible.
std::uint64_t keyHash(const QString &key)
{
    std::uint64_t h = 1469598103934665603ull;
    for (QChar c : key) {
        h ^= c.unicode();
        h *= 1099511628211ull;
    }
    return h;
}

std::uint64_t splitmix(std::uint64_t &state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double uniform(std::uint64_t &state)
{
    return (double(splitmix(state) >> 11) + 0.5) / 9007199254740992.0; // (0, 1)
}

QString unitOf(Q q)
{
    switch (q) {
    case Q::DcVolts: case Q::AcVolts: return QStringLiteral("V");
    case Q::DcAmps: case Q::AcAmps: return QStringLiteral("A");
    case Q::Ohms: return QStringLiteral("Ohm");
    case Q::Frequency: return QStringLiteral("Hz");
    case Q::Pt100: case Q::Pt1000: case Q::Kty: case Q::Diode: case Q::Thermocouple:
        return QStringLiteral("°C");
    case Q::Pulse: case Q::Reading: break;
    }
    return {};
}

} // namespace

std::optional<TimeModel> TimeModel::parse(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    const QString kind = parts.value(0).trimmed().toLower();
    TimeModel m;
    bool ok = true;
    if (parts.size() == 1 && number(parts[0], &m.a)) {
        m.kind = Kind::Const;
    } else if (kind == QLatin1String("const") && parts.size() == 2) {
        m.kind = Kind::Const;
        ok = number(parts[1], &m.a);
    } else if (kind == QLatin1String("ramp") && parts.size() == 3) {
        m.kind = Kind::Ramp;
        ok = number(parts[1], &m.a) && number(parts[2], &m.b);
    } else if (kind == QLatin1String("sine") && parts.size() == 4) {
        m.kind = Kind::Sine;
        ok = number(parts[1], &m.a) && number(parts[2], &m.b) && number(parts[3], &m.c) && m.c > 0;
    } else if (kind == QLatin1String("overflow") && parts.size() == 1) {
        m.kind = Kind::Overflow;
    } else {
        ok = false;
    }
    if (!ok)
        return std::nullopt;
    return m;
}

QString SignalModel::quantityName(Quantity q, physics::Thermocouple type)
{
    for (const QuantityWord &w : quantityWords) {
        if (w.quantity != q || (q == Q::Thermocouple && w.type != type))
            continue;
        QString word = QString::fromLatin1(w.word);
        if (q == Q::Thermocouple)
            word[3] = word[3].toUpper(); // "tc:K"
        return word;
    }
    return QStringLiteral("reading");
}

QString SignalModel::describe(double value) const
{
    const QString v = std::isfinite(value) ? QString::number(value, 'g', 9) : QStringLiteral("overflow");
    QString text = quantityName(quantity, type) + QLatin1Char(' ') + v;
    const QString unit = unitOf(quantity);
    if (!unit.isEmpty() && std::isfinite(value))
        text += QLatin1Char(' ') + unit;
    return text;
}

std::optional<SignalModel> SignalModel::parse(const QString &text, QString *error)
{
    const QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    SignalModel m;
    qsizetype next = 0;
    const QString first = words.value(0).toLower();
    for (const QuantityWord &w : quantityWords) {
        if (first == QLatin1String(w.word)) {
            m.quantity = w.quantity;
            m.type = w.type;
            next = 1;
            break;
        }
    }
    if (m.quantity == Q::Thermocouple || m.quantity == Q::Ohms || m.quantity == Q::Pt100
        || m.quantity == Q::Pt1000 || m.quantity == Q::Kty)
        m.leadOhms = m.quantity == Q::Thermocouple ? 10 : 0;
    if (m.quantity == Q::DcAmps || m.quantity == Q::AcAmps)
        m.sourceOhms = m.shuntOhms;
    const auto bad = [&](const QString &why) {
        *error = QStringLiteral("bad signal model \"%1\": %2").arg(text.trimmed(), why);
        return std::nullopt;
    };
    const auto time = TimeModel::parse(words.value(next));
    if (!time)
        return bad(QStringLiteral("expected a value or const:, ramp:, sine:, overflow"));
    if (time->kind == TimeModel::Kind::Overflow && m.physical())
        return bad(QStringLiteral("overflow is a reading, not a physical signal"));
    m.time = *time;
    for (qsizetype i = next + 1; i < words.size(); ++i) {
        const qsizetype colon = words[i].indexOf(QLatin1Char(':'));
        const QString name = words[i].left(colon).toLower();
        double v = 0;
        if (colon <= 0 || !number(words[i].mid(colon + 1), &v))
            return bad(QStringLiteral("option \"%1\" is not NAME:NUMBER").arg(words[i]));
        if (name == QLatin1String("noise") && v >= 0)
            m.noise = v;
        else if (name == QLatin1String("seed") && v >= 0)
            m.seed = quint64(v);
        else if (name == QLatin1String("rs") && v >= 0 && (m.quantity == Q::DcVolts || m.quantity == Q::AcVolts
                                                             || m.quantity == Q::Frequency))
            m.sourceOhms = v;
        else if (name == QLatin1String("shunt") && v > 0 && (m.quantity == Q::DcAmps || m.quantity == Q::AcAmps))
            m.shuntOhms = m.sourceOhms = v;
        else if (name == QLatin1String("leads") && v >= 0
                 && (m.quantity == Q::Ohms || m.quantity == Q::Pt100 || m.quantity == Q::Pt1000
                     || m.quantity == Q::Kty || m.quantity == Q::Diode || m.quantity == Q::Thermocouple))
            m.leadOhms = v;
        else if (name == QLatin1String("wires") && (v == 2 || v == 4))
            m.wires = int(v);
        else if (name == QLatin1String("hz") && v > 0 && (m.quantity == Q::AcVolts || m.quantity == Q::AcAmps))
            m.hertz = v;
        else if (name == QLatin1String("ampl") && v >= 0 && m.quantity == Q::Frequency)
            m.volts = v;
        else if (name == QLatin1String("r25") && v > 0 && m.quantity == Q::Kty)
            m.r25 = v;
        else
            return bad(QStringLiteral("option \"%1\" does not apply").arg(words[i]));
    }
    return m;
}

QString SignalTable::normalisedKey(const QString &key)
{
    if (key.startsWith(QLatin1String("T:"))) {
        // The program sends names such as ":Betr.-Std. [h]"; the colon is optional here.
        QString name = key.mid(2).trimmed();
        if (name.startsWith(QLatin1Char(':')))
            name.remove(0, 1);
        return name.isEmpty() ? QString() : QStringLiteral("T:") + name;
    }
    const QString k = key.trimmed().toUpper();
    static const QRegularExpression terminal(QStringLiteral("^[A-P][1-8]$"));
    static const QRegularExpression crossPoint(QStringLiteral("^M[1-8]R[1-8]C[1-8]$"));
    if (terminal.match(k).hasMatch() || crossPoint.match(k).hasMatch())
        return k;
    return {};
}

bool SignalTable::assign(const QString &assignment, QString *error)
{
    // Models never contain '=', variable names might.
    const qsizetype eq = assignment.lastIndexOf(QLatin1Char('='));
    if (eq <= 0) {
        *error = QStringLiteral("expected KEY=MODEL, got \"%1\"").arg(assignment);
        return false;
    }
    const QString key = normalisedKey(assignment.left(eq).trimmed());
    if (key.isEmpty()) {
        *error = QStringLiteral("unknown signal key \"%1\"").arg(assignment.left(eq));
        return false;
    }
    const auto model = SignalModel::parse(assignment.mid(eq + 1), error);
    if (!model)
        return false;
    models_.insert(key, *model);
    readings_.remove(key);
    noiseState_.remove(key);
    return true;
}

bool SignalTable::load(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
        return false;
    }
    int lineNo = 0;
    while (!f.atEnd()) {
        ++lineNo;
        QString line = QString::fromUtf8(f.readLine());
        const qsizetype hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            line.truncate(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        QString why;
        if (!assign(line, &why)) {
            *error = QStringLiteral("%1:%2: %3").arg(path).arg(lineNo).arg(why);
            return false;
        }
    }
    return true;
}

SignalModel SignalTable::model(const QString &key) const
{
    const auto it = models_.constFind(key);
    if (it != models_.constEnd())
        return *it;
    SignalModel m;
    m.time.a = defaultValue(key);
    if (!std::isfinite(m.time.a))
        m.time.kind = TimeModel::Kind::Overflow;
    return m;
}

double SignalTable::take(const QString &key, double seconds)
{
    const qint64 n = readings_[key]++;
    const auto it = models_.constFind(key);
    if (it == models_.constEnd())
        return defaultValue(key);
    const TimeModel &m = it->time;
    switch (m.kind) {
    case TimeModel::Kind::Const:
        return m.a;
    case TimeModel::Kind::Ramp:
        return m.a + double(n) * m.b;
    case TimeModel::Kind::Sine:
        return m.a + m.b * std::sin(2 * std::numbers::pi * seconds / m.c);
    case TimeModel::Kind::Overflow:
        break;
    }
    return std::numeric_limits<double>::infinity();
}

double SignalTable::peek(const QString &key) const
{
    const auto it = models_.constFind(key);
    if (it == models_.constEnd())
        return defaultValue(key);
    return it->time.kind == TimeModel::Kind::Overflow ? std::numeric_limits<double>::infinity() : it->time.a;
}

double SignalTable::noise(const QString &key)
{
    const auto it = models_.constFind(key);
    if (it == models_.constEnd() || it->noise <= 0)
        return 0;
    auto state = noiseState_.find(key);
    if (state == noiseState_.end())
        state = noiseState_.insert(key, it->seed ? *it->seed : seed_ ^ keyHash(key));
    // Box-Muller from a generator whose sequence is the same on every platform.
    const double u1 = uniform(*state), u2 = uniform(*state);
    return it->noise * std::sqrt(-2 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
}

double SignalTable::defaultValue(const QString &key)
{
    if (key.startsWith(QLatin1String("T:")))
        return 0;
    if (key.size() == 2) // slot number (A = 1 ... P = 16) plus channel / 100
        return (key[0].unicode() - 'A' + 1) + (key[1].unicode() - '0') / 100.0;
    if (key.size() == 6) // a diode voltage: 0.5 V + row/100 + column/1000 + module/10000
        return 0.5 + (key[3].unicode() - '0') / 100.0 + (key[5].unicode() - '0') / 1000.0
               + (key[1].unicode() - '0') / 10000.0;
    return std::numeric_limits<double>::infinity();
}

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

} // namespace

std::optional<SignalModel> SignalModel::parse(const QString &text, QString *error)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    const QString kind = parts.value(0).trimmed().toLower();
    SignalModel m;
    bool ok = true;
    if (kind == QLatin1String("const") && parts.size() == 2) {
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
    if (!ok) {
        *error = QStringLiteral("bad signal model \"%1\"").arg(text);
        return std::nullopt;
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

double SignalTable::take(const QString &key, double seconds)
{
    const qint64 n = readings_[key]++;
    const auto it = models_.constFind(key);
    if (it == models_.constEnd())
        return defaultValue(key);
    const SignalModel &m = *it;
    switch (m.kind) {
    case SignalModel::Kind::Const:
        return m.a;
    case SignalModel::Kind::Ramp:
        return m.a + double(n) * m.b;
    case SignalModel::Kind::Sine:
        return m.a + m.b * std::sin(2 * std::numbers::pi * seconds / m.c);
    case SignalModel::Kind::Overflow:
        break;
    }
    return std::numeric_limits<double>::infinity();
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

#include "platform/Uhr.h"

#include <QTimeZone>

#include <limits>
#include <typeinfo>

#include <sys/time.h>

Uhr::Uhr() {
    bool ok = false;
    const double s = qEnvironmentVariable("KESTRIX_CLOCK_OFFSET").toDouble(&ok);
    if (ok || qEnvironmentVariableIsSet("KESTRIX_CLOCK_OFFSET")) {
        versatz_s = ok ? s : 0;
        mit_versatz = true;
    }
}

QDateTime Uhr::jetzt() const {
    const QDateTime system = QDateTime::currentDateTime();
    if (!mit_versatz)
        return system;
    return system.addMSecs(static_cast<qint64>(versatz_s * 1000.0));
}

qint64 Uhr::Ortszeit_ms() const {
    qint64 ms = QDateTime::currentMSecsSinceEpoch();
    if (mit_versatz)
        ms += static_cast<qint64>(versatz_s * 1000.0);
    if (ms < abstand_von_ms_ || ms >= abstand_bis_ms_) {
        static const QTimeZone zone = QTimeZone::systemTimeZone();
        const QDateTime utc = QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc());
        abstand_ms_ = zone.isValid() ? qint64(zone.offsetFromUtc(utc)) * 1000 : 0;
        const QTimeZone::OffsetData wechsel = zone.isValid() ? zone.nextTransition(utc) : QTimeZone::OffsetData{};
        abstand_von_ms_ = ms;
        abstand_bis_ms_ = wechsel.atUtc.isValid() ? wechsel.atUtc.toMSecsSinceEpoch()
                                                  : std::numeric_limits<qint64>::max();
    }
    return ms + abstand_ms_;
}

double Uhr::Sekunden_seit_Mitternacht() const {
    if (typeid(*this) != typeid(Uhr))
        return jetzt().time().msecsSinceStartOfDay() / 1000.0;
    constexpr qint64 Tag_ms = 86'400'000;
    const qint64 ortszeit = Ortszeit_ms();
    return (((ortszeit % Tag_ms) + Tag_ms) % Tag_ms) / 1000.0;
}

Uhr::Zeitpunkt Uhr::Ortszeit() const {
    if (typeid(*this) != typeid(Uhr)) {
        const QDateTime j = jetzt();
        return {j.date(), j.time()};
    }
    const QDateTime ort = QDateTime::fromMSecsSinceEpoch(Ortszeit_ms(), QTimeZone::utc());
    return {ort.date(), ort.time()};
}

bool Uhr::systemzeit_setzen(const QDateTime& ziel) {
    if (mit_versatz) {
        versatz_s = QDateTime::currentDateTime().msecsTo(ziel) / 1000.0;
        return true;
    }
    const qint64 ms = ziel.toMSecsSinceEpoch();
    timeval tv{static_cast<time_t>(ms / 1000), static_cast<suseconds_t>((ms % 1000) * 1000)};
    return settimeofday(&tv, nullptr) == 0;
}

bool Uhr::Uhrzeit_setzen(const QTime& zeit) {
    if (!zeit.isValid())
        return false;
    return systemzeit_setzen(QDateTime(jetzt().date(), zeit));
}

bool Uhr::Datum_setzen(const QDate& datum) {
    if (!datum.isValid())
        return false;
    return systemzeit_setzen(QDateTime(datum, jetzt().time()));
}

namespace {
Uhr* ersatzuhr = nullptr;
}

Uhr& uhr() {
    static Uhr die_uhr;
    return ersatzuhr ? *ersatzuhr : die_uhr;
}

void uhr_ersetzen(Uhr* neu) { ersatzuhr = neu; }

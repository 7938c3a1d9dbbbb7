#include "platform/Warten.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {
// One timer serves every wait: a monotonic timer descriptor the event loop
// watches, so that a wait ends at its deadline to the microsecond rather
// than at the next millisecond. Its notifier belongs to the application and
// is made again for a new one.
int Wecker() {
    static const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    static QPointer<QSocketNotifier> melder;
    if (fd >= 0 && !melder) {
        melder = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(melder, &QSocketNotifier::activated, [] {
            std::uint64_t abgelaufen = 0;
            (void)!::read(fd, &abgelaufen, sizeof abgelaufen);
        });
    }
    return fd;
}

void stellen(int fd, qint64 ns) {
    itimerspec zeit{};
    zeit.it_value.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    zeit.it_value.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    timerfd_settime(fd, 0, &zeit, nullptr);
}
}  // namespace

void Ereignisse_abwarten_ns(qint64 höchstens_ns) {
    if (höchstens_ns <= 0) {
        Ereignisse_verarbeiten();
        return;
    }
    const int fd = Wecker();
    if (fd < 0) {  // no timer descriptor: the event loop's own timer, to the millisecond
        QTimer::singleShot(static_cast<int>((höchstens_ns + 999'999) / 1'000'000), Qt::PreciseTimer,
                           QCoreApplication::instance(), [] {});
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return;
    }
    // Setting the timer also drops a tick an earlier wait left unread, so a
    // wait ended by another event leaves nothing behind that ends this one.
    stellen(fd, höchstens_ns);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void Ereignisse_abwarten(int höchstens_ms) { Ereignisse_abwarten_ns(static_cast<qint64>(höchstens_ms) * 1'000'000); }

void Ereignisse_verarbeiten() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

#include "platform/Warten.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace {
// One timer serves every wait: its tick is the event that ends a wait at its
// deadline. It belongs to the application and is made again for a new one.
QTimer& Wecker() {
    static QPointer<QTimer> wecker;
    if (!wecker) {
        wecker = new QTimer(QCoreApplication::instance());
        wecker->setSingleShot(true);
        wecker->setTimerType(Qt::PreciseTimer);
    }
    return *wecker;
}
}

void Ereignisse_abwarten(int höchstens_ms) {
    if (höchstens_ms <= 0) {
        Ereignisse_verarbeiten();
        return;
    }
    QTimer& wecker = Wecker();
    wecker.start(höchstens_ms);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    // A wait ended by another event must not leave a tick behind that wakes a later one.
    wecker.stop();
}

void Ereignisse_verarbeiten() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

#include "platform/Warten.h"

#include <QCoreApplication>
#include <QTimer>

void Ereignisse_abwarten(int höchstens_ms) {
    if (höchstens_ms <= 0) {
        Ereignisse_verarbeiten();
        return;
    }
    QTimer wecker;  // its tick is the event that ends the wait at the deadline
    wecker.setSingleShot(true);
    wecker.setTimerType(Qt::PreciseTimer);
    wecker.start(höchstens_ms);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void Ereignisse_verarbeiten() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

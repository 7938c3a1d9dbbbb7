#pragma once

#include "meter.h"
#include "signalmodel.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>

// The state of the box and its multimeter, and the reply to every frame.
// Knows nothing about sockets: a frame goes in, the reply bytes come out.
class Box {
public:
    struct Options {
        QByteArray firmware = "V1.02.7";
        bool meterPresent = true;
        double referenceTemperature = 23.5;
        bool wrongLength = false;
        // Take as long as a real meter: NPLC line periods per reading.
        bool timing = false;
        double lineHertz = 50;
    };

    Box(Options options, SignalTable signalTable);

    // One frame without its final '!'; returns the reply.
    QByteArray handle(const QByteArray &frame);

    // "+1.23456789E+00" (15 bytes) or the overflow "+9.9E37" (7 bytes).
    static QByteArray reading(double value);
    // Resistance of the reference sensor at a temperature in degrees C.
    static double sensorResistance(double degrees);
    // How long the reply to the frame just handled is held back (--timing).
    int replyDelayMs() const { return replyDelayMs_; }

private:
    void switchRelays(const QByteArray &frame);
    void configure(const QByteArray &scpi);
    void trigger();
    QByteArray singleValue() const;
    QByteArray bufferedValues() const;
    QByteArray referenceReadings() const;
    QByteArray boxVariable(const QByteArray &text);
    void clearBuffer();

    Options options_;
    SignalTable signals_;
    QElapsedTimer clock_;

    QString selected_;            // terminal or cross point the meter sees; empty: nothing
    bool matrixSequence_ = false; // between "00061" and "00071"

    Meter meter_;
    Meter::Connection connection_;
    int replyDelayMs_ = 0;
    int sampleCount_ = 1;
    int triggerCount_ = 1;
    int tracePoints_ = 100;
    bool traceFeed_ = false;      // armed by :TRAC:FEED:CONT NEXT until the buffer is full
    QList<QByteArray> trace_;
    bool traceFromMatrix_ = false;
    QByteArray last_ = "+9.9E37";
};

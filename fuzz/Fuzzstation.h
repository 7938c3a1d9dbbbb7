#pragma once
// What every fuzz target needs once: an application object without a
// screen, a station root and program directory of its own, and message
// boxes and the program end that only count instead of blocking or ending.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

#include "common/Programmdaten.h"
#include "platform/Dialoge.h"
#include "platform/Programmende.h"

class Fuzzdialoge : public Dialoge {
public:
    void Meldung(const QString&) override {}
    bool Meldung_OK_Abbrechen(const QString&) override { return true; }
    QString Eingabe(const QString&, const QString&, const QString&) override { return {}; }
};

class Fuzzende : public Programmende {
public:
    void sofort_beenden(int) override {}
};

struct Fuzzstation {
    QTemporaryDir ordner;
    Fuzzdialoge dialoge_;
    Fuzzende ende_;
    Fuzzstation() {
        QDir(ordner.path()).mkpath("station/c");
        QDir(ordner.path()).mkpath("station/d");
        QDir(ordner.path()).mkpath("station/e");
        QDir(ordner.path()).mkpath("prog");
        qputenv("KESTRIX_ROOT", (ordner.path() + "/station").toUtf8());
        qputenv("KESTRIX_PROGDIR", (ordner.path() + "/prog").toUtf8());
        qputenv("KESTRIX_CLOCK_OFFSET", "0");
        dialoge_ersetzen(&dialoge_);
        programmende_ersetzen(&ende_);
    }
    QString Programmverzeichnis() const { return ordner.path() + "/prog"; }
};

// Created at the first input and kept for the whole run.
inline Fuzzstation& Station() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static const bool plattform = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }();
    (void)plattform;
    static QApplication app(argc, argv);
    static Fuzzstation station;
    return station;
}

inline QByteArray Eingabe(const uint8_t* daten, size_t größe) {
    return QByteArray(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(größe));
}

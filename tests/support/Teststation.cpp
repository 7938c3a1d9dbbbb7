#include "support/Teststation.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "platform/Text1252.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"

Teststation::Teststation() {
    QDir(ordner_.path()).mkpath("station");
    QDir(ordner_.path()).mkpath("prog");
    qputenv("KESTRIX_ROOT", Wurzel().toUtf8());
    qputenv("KESTRIX_PROGDIR", Programmverzeichnis().toUtf8());
    qputenv("KESTRIX_CLOCK_OFFSET", "0");
    uhr().Versatz_setzen(0);
    QFile::copy(QString(QUELLVERZEICHNIS) + "/project/Kesti.ini", Programmverzeichnis() + "/Kesti.ini");
    QFile(Programmverzeichnis() + "/Kesti.ini").setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QFile::copy(QString(QUELLVERZEICHNIS) + "/run/Matrix_Cal_.txt", Programmverzeichnis() + "/Matrix_Cal_.txt");
    Daten = Programmdaten{};
    dialoge_ersetzen(&Dialoge);
    programmende_ersetzen(&Ende);
    laufwerke_ersetzen(&Laufwerke);
    programmstarter_ersetzen(&Starter);
}

Teststation::~Teststation() {
    dialoge_ersetzen(nullptr);
    programmende_ersetzen(nullptr);
    laufwerke_ersetzen(nullptr);
    programmstarter_ersetzen(nullptr);
}

QString Teststation::Wurzel() const { return ordner_.path() + "/station"; }
QString Teststation::Programmverzeichnis() const { return ordner_.path() + "/prog"; }

void Teststation::Laufwerk_anlegen(QChar buchstabe) { QDir(Wurzel()).mkpath(QString(buchstabe.toLower())); }

QByteArray Teststation::Datei_lesen(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Teststation::Datei_schreiben(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << pfad.toStdString();
    f.write(inhalt);
}

QString Teststation::Protokoll() const {
    return Text1252::dekodieren(Datei_lesen(Programmverzeichnis() + "/Protokolldat.txt"));
}

QStringList Teststation::Protokollmeldungen() const {
    QStringList meldungen;
    for (const QString& zeile : Protokoll().split("\r\n", Qt::SkipEmptyParts))
        meldungen << zeile.mid(QString("dd.mm.yyyy  hh:mm:ss  ").size());
    return meldungen;
}

Q7Sim::Q7Sim(QStringList argumente, const QString& framelog, const QStringList& vorsatz) : framelog_(framelog) {
#ifdef Q7SIM_PFAD
    argumente << "--port" << "0" << "--host" << "127.0.0.1";
    if (!framelog.isEmpty())
        argumente << "--log" << framelog;
    prozess_.setProcessChannelMode(QProcess::SeparateChannels);
    if (vorsatz.isEmpty())
        prozess_.start(Q7SIM_PFAD, argumente);
    else
        prozess_.start(vorsatz.first(), vorsatz.mid(1) + QStringList{Q7SIM_PFAD} + argumente);
    QDeadlineTimer frist(10000);
    QByteArray ausgabe;
    while (!frist.hasExpired() && port_ == 0) {
        if (!prozess_.waitForReadyRead(static_cast<int>(frist.remainingTime())))
            break;
        ausgabe += prozess_.readAllStandardOutput();
        for (const QByteArray& zeile : ausgabe.split('\n'))
            if (zeile.startsWith("UDPPORT "))
                udpport_ = static_cast<quint16>(zeile.mid(8).trimmed().toUInt());
            else if (zeile.startsWith("PORT "))
                port_ = static_cast<quint16>(zeile.mid(5).trimmed().toUInt());
    }
#else
    Q_UNUSED(argumente);
    Q_UNUSED(vorsatz);
#endif
}

Q7Sim::~Q7Sim() { beenden(); }

void Q7Sim::beenden() {
    if (prozess_.state() != QProcess::NotRunning) {
        prozess_.terminate();
        if (!prozess_.waitForFinished(3000))
            prozess_.kill();
        prozess_.waitForFinished(1000);
    }
}

QList<QByteArray> Q7Sim::Frames() const {
    QList<QByteArray> frames = Teststation::Datei_lesen(framelog_).split('\n');
    if (!frames.isEmpty() && frames.last().isEmpty())
        frames.removeLast();
    return frames;
}

bool warten_bis(const std::function<bool()>& bedingung, int ms) {
    QDeadlineTimer frist(ms);
    while (!bedingung()) {
        if (frist.hasExpired())
            return false;
        Ereignisse_abwarten(static_cast<int>(std::min<qint64>(frist.remainingTime(), 50)));
    }
    return true;
}

#include "support/Programmlauf.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcessEnvironment>

#include "platform/Text1252.h"
#include "support/Teststation.h"

Programmlauf::Programmlauf(Teststation& station) : station_(station) {
    for (QChar lw : {'c', 'd', 'e'})
        station_.Laufwerk_anlegen(lw);
}

Programmlauf::~Programmlauf() {
    if (kestrix_ && kestrix_->state() != QProcess::NotRunning) {
        kestrix_->kill();
        kestrix_->waitForFinished(3000);
    }
    Box_beenden();
}

bool Programmlauf::Box_starten(const QStringList& argumente, quint16 port) {
    Box_beenden();
    static int nummer = 0;
    framelog_ = station_.Programmverzeichnis() + QString("/frames%1.log").arg(++nummer);
    QStringList mit_suche = argumente;
    mit_suche << "--discovery" << QString("127.0.0.2:%1").arg(suchport_) << "--reply-address" << "127.0.0.1";
    QStringList vorsatz;
    // Q7Sim asks for a free port; a later "--port" wins, so a box can come
    // back on the port that Kestrix already knows.
    if (port != 0)
        vorsatz = {"/bin/sh", "-c", QString("exec \"$0\" \"$@\" --port %1").arg(port)};
    box_ = std::make_unique<Q7Sim>(mit_suche, framelog_, vorsatz);
    if (!box_->läuft())
        return false;
    if (suchport_ == 0)
        suchport_ = box_->Udpport();
    return suchport_ != 0;
}

void Programmlauf::Box_beenden() {
    if (box_)
        box_->beenden();
}

QList<QByteArray> Programmlauf::Frames() const { return box_ ? box_->Frames() : QList<QByteArray>{}; }

bool Programmlauf::Kestrix_starten(const QStringList& argumente) {
    if (kestrix_ && kestrix_->state() != QProcess::NotRunning)
        return false;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert("QT_QPA_PLATFORM", Anzeige.isEmpty() ? "offscreen" : "xcb");
    if (!Anzeige.isEmpty()) {
        umgebung.insert("DISPLAY", Anzeige);
        umgebung.insert("KESTRIX_BILDSCHIRMAUSKUNFT", Auskunftsdatei());
    }
    umgebung.insert("KESTRIX_ROOT", station_.Wurzel());
    umgebung.insert("KESTRIX_PROGDIR", station_.Programmverzeichnis());
    umgebung.insert("KESTRIX_CLOCK_OFFSET", QString::number(Uhrversatz));
    umgebung.insert("KESTRIX_DIALOGPROTOKOLL", station_.Programmverzeichnis() + "/dialoge.txt");
    umgebung.remove("KESTRIX_DIALOGANTWORTEN");
    if (box_) {
        umgebung.insert("KESTRIX_Q7_PORT", QString::number(box_->Port()));
        umgebung.insert("KESTRIX_DISCOVERY_ADDR", "127.0.0.2");
        umgebung.insert("KESTRIX_DISCOVERY_PORT", QString::number(suchport_));
    }
    kestrix_ = std::make_unique<QProcess>();
    kestrix_->setProcessEnvironment(umgebung);
    kestrix_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    kestrix_->setStandardOutputFile(QProcess::nullDevice());
    kestrix_->start(KESTRIX_PFAD, argumente);
    return kestrix_->waitForStarted(5000);
}

QString Programmlauf::Auskunftsdatei() const { return station_.Programmverzeichnis() + "/auskunft.txt"; }

bool Programmlauf::Frames_abwarten(const QByteArray& frame, int n, int ms) {
    return warten_bis([&] { return Anzahl(frame) >= n; }, ms);
}

bool Programmlauf::Meldung_abwarten(const QString& meldung, int n, int ms) {
    return warten_bis([&] { return Protokollmeldungen().count(meldung) >= n; }, ms);
}

bool Programmlauf::mit_Endedatei_beenden(int ms) {
    Teststation::Datei_schreiben(Laufwerk('d') + "/Ende.txt", "");
    return Ende_abwarten(ms);
}

bool Programmlauf::Ende_abwarten(int ms) {
    return warten_bis([&] { return !läuft(); }, ms);
}

bool Programmlauf::läuft() const { return kestrix_ && kestrix_->state() != QProcess::NotRunning; }

int Programmlauf::Exitcode() const {
    return kestrix_ && kestrix_->exitStatus() == QProcess::NormalExit ? kestrix_->exitCode() : -1;
}

void Programmlauf::hart_beenden() {
    if (!läuft())
        return;
    kestrix_->kill();
    kestrix_->waitForFinished(5000);
}

QString Programmlauf::Laufwerk(QChar buchstabe) const { return station_.Wurzel() + '/' + buchstabe.toLower(); }

QString Programmlauf::Datei(const QString& windowspfad) const {
    return Text1252::dekodieren(Teststation::Datei_lesen(Pfade::lokal(windowspfad)));
}

bool Programmlauf::vorhanden(const QString& windowspfad) const { return QFileInfo::exists(Pfade::lokal(windowspfad)); }

QStringList Programmlauf::Protokollmeldungen() const { return station_.Protokollmeldungen(); }

QStringList Programmlauf::Protokollzeilen() const { return station_.Protokoll().split("\r\n", Qt::SkipEmptyParts); }

QString Programmlauf::Dialogprotokoll() const {
    return QString::fromUtf8(Teststation::Datei_lesen(station_.Programmverzeichnis() + "/dialoge.txt"));
}

namespace {
QMap<QString, QString> Textdateien(const QString& ordner) {
    QMap<QString, QString> dateien;
    for (const QFileInfo& info : QDir(ordner).entryInfoList({"*.txt", "*.cal", "*.roh"}, QDir::Files))
        dateien[info.fileName()] = Text1252::dekodieren(Teststation::Datei_lesen(info.filePath()));
    return dateien;
}
}

QMap<QString, QString> Programmlauf::Pufferdateien() const { return Textdateien(Laufwerk('e')); }

QMap<QString, QString> Programmlauf::Projektdateien(const QString& projektkurzname) const {
    return Textdateien(Pfade::lokal("c:\\kestrix\\extern\\messdat\\" + projektkurzname));
}

QByteArray Programmlauf::Stromausfallsatz(const QString& projekt) const {
    return Teststation::Datei_lesen(Pfade::lokal("c:\\kestrix\\intern\\Stromaus\\" + projekt)).left(2);
}

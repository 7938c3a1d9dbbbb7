#include "support/Bildschirm.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>

#include "support/Teststation.h"

Bildschirm::Bildschirm(int breite, int höhe) : breite_(breite), höhe_(höhe) {
    // -displayfd 1: Xvfb picks a free display and prints its number.
    xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", QString("%1x%2x24").arg(breite).arg(höhe), "-nolisten",
                         "tcp", "-ac", "-noreset"});
    if (!xvfb_.waitForStarted(5000))
        return;
    QDeadlineTimer frist(10000);
    QByteArray ausgabe;
    while (!ausgabe.contains('\n') && !frist.hasExpired() && xvfb_.state() == QProcess::Running) {
        xvfb_.waitForReadyRead(100);
        ausgabe += xvfb_.readAllStandardOutput();
    }
    if (ausgabe.contains('\n'))
        anzeige_ = ":" + QString::fromLatin1(ausgabe.trimmed());
}

Bildschirm::~Bildschirm() {
    xvfb_.terminate();
    if (!xvfb_.waitForFinished(3000))
        xvfb_.kill();
    xvfb_.waitForFinished(1000);
}

bool Bildschirm::xdotool(const QStringList& argumente, QByteArray* ausgabe) {
    QProcess p;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert("DISPLAY", anzeige_);
    p.setProcessEnvironment(umgebung);
    p.start("xdotool", argumente);
    const bool gut = p.waitForFinished(5000) && p.exitCode() == 0;
    if (ausgabe)
        *ausgabe = p.readAllStandardOutput();
    return gut;
}

bool Bildschirm::Fokus_weg_und_zurück(qint64 pid) {
    QByteArray fenster, wurzel;
    if (!xdotool({"search", "--onlyvisible", "--pid", QString::number(pid)}, &fenster) ||
        !xdotool({"search", "--maxdepth", "0", "--name", ""}, &wurzel))
        return false;
    const QString f = QString::fromLatin1(fenster).split('\n', Qt::SkipEmptyParts).value(0);
    const QString w = QString::fromLatin1(wurzel).split('\n', Qt::SkipEmptyParts).value(0);
    if (f.isEmpty() || w.isEmpty())
        return false;
    const bool weg = xdotool({"windowfocus", w});
    warten_bis([] { return false; }, 200);
    return weg && xdotool({"windowfocus", f});
}

bool Bildschirm::klicken(const QPoint& punkt) {
    return xdotool({"mousemove", QString::number(punkt.x()), QString::number(punkt.y()), "sleep", "0.05", "click", "1"});
}

bool Bildschirm::doppelklicken(const QPoint& punkt) {
    return xdotool({"mousemove", QString::number(punkt.x()), QString::number(punkt.y()), "sleep", "0.05", "click",
                    "--repeat", "2", "--delay", "80", "1"});
}

bool Bildschirm::klicken(const Steuerelement* element) { return element && klicken(element->Rechteck.center()); }

bool Bildschirm::ziehen(const QPoint& von, const QPoint& nach) {
    const QPoint mitte = (von + nach) / 2;
    return xdotool({"mousemove", QString::number(von.x()), QString::number(von.y()), "sleep", "0.05", "mousedown", "1",
                    "sleep", "0.05", "mousemove", QString::number(mitte.x()), QString::number(mitte.y()), "sleep",
                    "0.05", "mousemove", QString::number(nach.x()), QString::number(nach.y()), "sleep", "0.05",
                    "mouseup", "1"});
}

bool Bildschirm::tippen(const QString& text) { return xdotool({"type", "--delay", "20", text}); }

bool Bildschirm::Taste(const QString& name) { return xdotool({"key", name}); }

QString Bildschirm::Foto(const QString& name) {
    QDir().mkpath("bildschirmfotos");
    const QString pfad = QFileInfo("bildschirmfotos/" + name + ".png").absoluteFilePath();
    QProcess p;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert("DISPLAY", anzeige_);
    umgebung.insert("QT_QPA_PLATFORM", "xcb");
    p.setProcessEnvironment(umgebung);
    p.start(BILDSCHIRMFOTO_PFAD, {pfad});
    return p.waitForFinished(10000) && p.exitCode() == 0 ? pfad : QString();
}

namespace {
QString entschlüsseln(const QString& text) {
    QString klar;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            klar += text[i];
            continue;
        }
        const QChar c = text[++i];
        klar += c == 'n' ? QChar('\n') : c == 't' ? QChar('\t') : c;
    }
    return klar;
}
}

Auskunft Bildschirm::Auskunft_holen(qint64 pid, const QString& datei) {
    Auskunft auskunft;
    // The program writes a first report when it listens for the signal;
    // before that the signal would end it.
    QDeadlineTimer frist(5000);
    while (!QFile::exists(datei) && !frist.hasExpired())
        QThread::msleep(10);
    QFile::remove(datei);
    if (pid <= 0 || ::kill(static_cast<pid_t>(pid), SIGUSR1) != 0)
        return auskunft;
    frist.setRemainingTime(5000);
    while (!QFile::exists(datei) && !frist.hasExpired())
        QThread::msleep(10);
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly))
        return auskunft;
    for (const QString& zeile : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList teile = zeile.split(' ');
        if (teile.size() < 10)
            continue;
        Steuerelement e;
        e.Tiefe = teile[0].toInt();
        e.Klasse = teile[1];
        e.Name = teile[2] == "-" ? QString() : teile[2];
        e.Rechteck = QRect(teile[3].toInt(), teile[4].toInt(), teile[5].toInt(), teile[6].toInt());
        e.verdeckt = teile[7] == "1";
        e.abgeschnitten = teile[8] == "1";
        e.Zustand = teile[9].toInt() & 1;
        e.gewählt = teile[9].toInt() & 2;
        e.Text = entschlüsseln(teile.mid(10).join(' '));
        auskunft.Elemente << e;
    }
    auskunft.gültig = true;
    return auskunft;
}

Auskunft Bildschirm::abwarten(qint64 pid, const QString& datei,
                              const std::function<bool(const Auskunft&)>& bedingung, int ms) {
    QDeadlineTimer frist(ms);
    Auskunft a;
    do {
        a = Auskunft_holen(pid, datei);
        if (a.gültig && bedingung(a))
            return a;
        warten_bis([] { return false; }, 50);
    } while (!frist.hasExpired());
    return a;
}

const Steuerelement* Auskunft::finden(const QString& name, const QString& text) const {
    for (const Steuerelement& e : Elemente)
        if (e.Name == name && (text.isNull() || e.Text == text))
            return &e;
    return nullptr;
}

const Steuerelement* Auskunft::finden_auf(const QString& seite, const QString& name, const QString& text) const {
    int tiefe = -1;
    for (const Steuerelement& e : Elemente) {
        if (tiefe >= 0 && e.Tiefe <= tiefe)
            tiefe = -1;
        if (tiefe < 0 && e.Name == seite)
            tiefe = e.Tiefe;
        else if (tiefe >= 0 && e.Name == name && (text.isNull() || e.Text == text))
            return &e;
    }
    return nullptr;
}

const Steuerelement* Auskunft::mit_Text(const QString& text) const {
    for (const Steuerelement& e : Elemente)
        if (e.Text == text)
            return &e;
    return nullptr;
}

QList<Steuerelement> Auskunft::auf_Seite(const QString& seite) const {
    QList<Steuerelement> ergebnis;
    int tiefe = -1;
    for (const Steuerelement& e : Elemente) {
        if (tiefe >= 0 && e.Tiefe <= tiefe)
            break;
        if (tiefe < 0 && e.Name == seite)
            tiefe = e.Tiefe;
        if (tiefe >= 0)
            ergebnis << e;
    }
    return ergebnis;
}

QStringList Auskunft::Seitenstapel() const {
    QStringList stapel;
    int tiefe = -1;
    for (const Steuerelement& e : Elemente) {
        if (e.Name == "Arbeitsflaeche")
            tiefe = e.Tiefe + 1;
        else if (tiefe >= 0 && e.Tiefe < tiefe)
            break;
        else if (e.Tiefe == tiefe)
            stapel << e.Name;
    }
    return stapel;
}

QString Auskunft::oberste_Seite() const {
    const QStringList stapel = Seitenstapel();
    return stapel.isEmpty() ? QString() : stapel.last();
}

QStringList Auskunft::Mängel(const QString& seite, const QRect& bildschirm) const {
    QStringList mängel;
    const QList<Steuerelement> teile = auf_Seite(seite);
    for (const Steuerelement& e : teile) {
        const QString wer = e.Klasse + " " + e.Name + " \"" + e.Text.left(30) + "\"";
        // The page's own size may overhang the screen where nothing of it is
        // shown; every control must be on it.
        if (&e == &teile.first())
            continue;
        if (!bildschirm.contains(e.Rechteck))
            mängel << wer + QString(" außerhalb: %1,%2 %3x%4")
                                .arg(e.Rechteck.x()).arg(e.Rechteck.y()).arg(e.Rechteck.width()).arg(e.Rechteck.height());
        else if (e.abgeschnitten)
            mängel << wer + " abgeschnitten";
        else if (e.verdeckt)
            mängel << wer + " verdeckt";
    }
    return mängel;
}

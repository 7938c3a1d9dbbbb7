// The matrix measurement: diode voltages of every cross point of the
// switched-on matrices, converted with a quadratic per point.
#include "run/Matrixmessung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>

#include "common/Programmdaten.h"
#include "common/Zahlformat.h"
#include "common/Zahltext.h"
#include "platform/Pfade.h"
#include "platform/Text1252.h"
#include "points/MBForm1.h"
#include "recording/Datendateien.h"
#include "run/Hauptfenster.h"
#include "run/Matrixkalibrierung.h"

namespace Matrixmessung {

namespace {

// A field never assigned holds zero characters; for names they count as blank.
QString Name(const QString& text) {
    QString t = text;
    t.replace(QChar(0), QChar(' '));
    return t.trimmed();
}

QByteArray Zeile(const QString& text) { return Text1252::kodieren(text) + "\r\n"; }

}  // namespace

std::optional<Koeffizienten> Kalibrierzeile_lesen(const QString& zeile) {
    // The label may hold any character, so "x2" is looked for behind it.
    const qsizetype x2 = zeile.indexOf("x2", 3);
    if (x2 < 0)
        return std::nullopt;
    const qsizetype x = zeile.indexOf('x', x2 + 2);
    if (x < 0)
        return std::nullopt;
    const std::optional<double> a = Zahl_lesen(zeile.mid(3, x2 - 3));
    const std::optional<double> b = Zahl_lesen(zeile.mid(x2 + 3, x - (x2 + 3)));
    const std::optional<double> c = Zahl_lesen(zeile.mid(x + 2));
    if (!a || !b || !c)
        return std::nullopt;
    return Koeffizienten{*a, *b, *c};
}

Kalibrierung Kalibrierung_lesen(const QByteArray& datei) {
    Kalibrierung kal;
    QStringList zeilen = Text1252::dekodieren(datei).split('\n');
    if (!zeilen.isEmpty() && zeilen.last().isEmpty())
        zeilen.removeLast();  // the line end of the last line
    for (int p = 1; p <= Höchstpunkte && p <= zeilen.size(); ++p) {
        QString z = zeilen[p - 1];
        if (z.endsWith('\r'))
            z.chop(1);
        kal.Punkt[p] = Kalibrierzeile_lesen(z);
    }
    return kal;
}

Kalibrierung Kalibrierdatei_lesen(int matrix) {
    if (!Matrix_Kalibrierdatei_bereitstellen(matrix))
        return {};
    QFile datei(Pfade::lokal(Matrix_Kalibrierdatei(matrix)));
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    return Kalibrierung_lesen(datei.readAll());
}

int Punktanzahl(int Punktzahl) { return std::clamp(Punktzahl + 1, 2, Höchstpunkte); }

QString Buchstabe(int matrix) { return QString(QChar('A' + matrix - 1)); }

QString Kreuzpunktframe(int m, int r, int c) {
    return QString::number(m) + QString::number(r) + QString::number(m) + QString::number(c) + "2";
}

Spannungen Spannungen_aufteilen(const QString& Werte, int n) {
    // The values fill the points in order: a short reply leaves the last
    // points without voltage instead of moving a reading to another point.
    Spannungen U;
    const QStringList teile = Werte.split(',');
    for (int p = 1; p <= n && p <= Höchstpunkte && p <= teile.size(); ++p) {
        const QString& text = teile[p - 1];
        if (text.contains("9.9E37", Qt::CaseInsensitive))
            continue;
        double wert = 0;
        if (MBForm1::Meßdatenstring_aufbereit(text, wert) && std::isfinite(wert))
            U.Punkt[p] = wert;
    }
    return U;
}

QString Temperaturtext(const std::optional<double>& U, const std::optional<Koeffizienten>& k) {
    if (!U || !k)
        return "-1";
    const double u = *U;
    const double T = k->a * u * u + k->b * u + k->c;
    if (T > 0 && T < 100)
        return Zahl_formatieren(T, "00.0000");
    return "-1";
}

QString Spannungstext(const std::optional<double>& U) {
    if (!U || *U >= 1.0 || *U <= 0.01)
        return "0";
    return Zahl_formatieren(*U, "0.000000");
}

int Signal_suchen(const QString& Signal) {
    const QString gesucht = Name(Signal);
    for (int i = 1; i <= 120; ++i) {
        const QString name = Name(Daten.Scanlistentabelle[i].Signalname.text());
        if (name.isEmpty())
            break;
        if (name == gesucht)
            return i;
    }
    return 0;
}

Zeilen Zeilen_bilden(int matrix, int n, const Spannungen& U, const Kalibrierung& kal) {
    const Matrixsatz& satz = Daten.Matrixtabelle[matrix];
    const QString& sep = Daten.Trennzeichen;
    const QString& X = Daten.Logtrennzeichen;
    const bool mit_signal = satz.MitSignal == 1;
    const bool mit_zeit = Daten.Datenloggersatz.Zeit_ein == 1;
    const int k = mit_signal ? Signal_suchen(satz.Signal.text()) : 0;
    // Without a scan entry of that name the signal columns stay empty, so
    // the point columns keep their places.
    const Ausgabesatz& signal = Daten.Messwerttexte[k];
    const QString signalname = k > 0 ? Name(Daten.Scanlistentabelle[k].Signalname.text()) : Name(satz.Signal.text());

    Zeilen z;
    QString anfang = Daten.Messwerttexte[1].Zeilenanfang;
    if (mit_signal)
        anfang += signal.Logwert + sep + signalname + sep + signal.Einheitensegment;
    else
        anfang += sep + sep + sep;
    z.Temperatur = z.Spannung = anfang;

    QString daten_anfang;
    if (mit_zeit) {
        z.Kopf = "Zeit/Datum" + X;
        daten_anfang = Daten.Messwerttexte[1].Logzeit.trimmed() + X;
    }
    if (mit_signal) {
        z.Kopf += Name(satz.Signal.text()) + " [" + signal.Einheitensegment.chopped(
                      signal.Einheitensegment.isEmpty() ? 0 : 1) + "]" + X;
        daten_anfang += signal.Logwert + X;
    }
    z.Daten_c = z.Daten_r = daten_anfang;

    const QString buchstabe = Buchstabe(matrix);
    for (int p = 1; p <= n && p <= Höchstpunkte; ++p) {
        const QString T = Temperaturtext(U.Punkt[p], kal.Punkt[p]);
        const QString u = Spannungstext(U.Punkt[p]);
        const QString marke = buchstabe + QString::number(p);
        z.Temperatur += T + sep + marke + sep + QString::fromUtf8("[°C]") + sep;
        z.Spannung += u + sep + marke + sep + "[V]" + sep;
        z.Kopf += marke + X;
        z.Daten_c += T + X;
        z.Daten_r += u + X;
    }
    return z;
}

QString Datendatei(int matrix, const QString& Dateiname, const QString& art) {
    const Matrixsatz& satz = Daten.Matrixtabelle[matrix];
    const QString eigener = Name(satz.Matrixname.text());
    QString basis;
    // Without a name of its own the matrix keeps to the logger file's name
    // rather than write a file called only "_c.txt".
    if (satz.EigenerName == 1 && !eigener.isEmpty())
        basis = eigener;
    else if (Dateiname.size() > 4)
        basis = Dateiname.chopped(4) + "_Matrix" + Buchstabe(matrix);
    else
        return {};
    return Datendateien::Projektdatenverzeichnis() + basis + "_" + art + ".txt";
}

namespace {

void Ramdatei_ersetzen(const QString& name, const QString& zeile) {
    // Written beside the old file and renamed over it, as the other
    // data-interface files: a reader sees the old or the new line.
    QSaveFile datei(Pfade::lokal(Daten.Ramdisk1.roh() + name));
    if (!datei.open(QIODevice::WriteOnly))
        return;
    datei.write(Zeile(zeile));
    datei.commit();
}

void Datendatei_anhängen(const QString& windowspfad, const QString& kopf, const QString& zeile) {
    if (windowspfad.isEmpty())
        return;
    const QString pfad = Pfade::lokal(windowspfad);
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    const bool neu = !QFileInfo::exists(pfad);
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    QByteArray bytes;
    if (neu)
        bytes += Zeile(kopf);
    bytes += Zeile(zeile);
    datei.write(bytes);
}

}  // namespace

void Dateien_schreiben(int matrix, const Zeilen& z, const QString& Dateiname) {
    const QString buchstabe = Buchstabe(matrix);
    Ramdatei_ersetzen("Matrix_" + buchstabe + "_c.txt", z.Temperatur);
    Ramdatei_ersetzen("Matrix_" + buchstabe + "_r.txt", z.Spannung);
    const Matrixsatz& satz = Daten.Matrixtabelle[matrix];
    if (satz.RohDatei == 1)
        Datendatei_anhängen(Datendatei(matrix, Dateiname, "r"), z.Kopf, z.Daten_r);
    if (satz.KalDatei == 1)
        Datendatei_anhängen(Datendatei(matrix, Dateiname, "c"), z.Kopf, z.Daten_c);
}

bool eine_eingeschaltet() {
    for (int m = 1; m <= 8; ++m)
        if (Daten.Matrixtabelle[m].Aktiv == 1)
            return true;
    return false;
}

}  // namespace Matrixmessung

void Hauptfenster::Keith2000_Matrix(const QString& Dateiname) {
    using namespace Matrixmessung;
    if (!eine_eingeschaltet())
        return;
    TCPIPBefehl_mit_Antwort("00043:FUNC \"FRES\"\r:FRES:RANG 100\r");
    TCPIPBefehl_mit_Antwort("00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r");
    Delay_events(0.1);
    TCPIPBefehl_mit_Antwort("00063");

    for (int m = 1; m <= 8; ++m) {
        const Matrixsatz& satz = Daten.Matrixtabelle[m];
        if (satz.Aktiv != 1)
            continue;
        // A dead link sends nothing; the run is being torn down, so no
        // matrix file is written from polls that cannot succeed.
        if (Daten.Timeoutzähler == 10)
            return;
        TCPIPBefehl_mit_Antwort("00043:FUNC \"DIOD\"\r:DIOD:CURR:RANG 0.1e-3\r");
        const int n = Punktanzahl(satz.Punktzahl);
        const QString N = QString::number(n);
        TCPIPBefehl_mit_Antwort("00043:TRAC:POIN " + N + "\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN 1\r:TRIG:COUN " + N +
                                "\r:INIT\r");
        Delay_events(0.1);
        TCPIPBefehl_mit_Antwort("00061");
        int ausgelöst = 0;
        for (int r = 1; r <= 8 && ausgelöst < n; ++r) {
            for (int c = 1; c <= 8 && ausgelöst < n; ++c) {
                TCPIPBefehl_mit_Antwort(Kreuzpunktframe(m, r, c));
                TCPIPBefehl_mit_Antwort("00063");
                ++ausgelöst;
            }
        }
        TCPIPBefehl_mit_Antwort("00071");
        // The buffered fetch of the scan, with its poll limits and log lines;
        // it ends with "00053". A fetch that timed out yields overflow marks,
        // which give every point -1 and 0.
        QString werte;
        Keith2000_MeßwHolen(n, werte);
        if (Daten.Timeoutzähler == 10)
            return;
        const Spannungen U = Spannungen_aufteilen(werte, n);
        const Kalibrierung kal = Kalibrierdatei_lesen(m);
        Dateien_schreiben(m, Zeilen_bilden(m, n, U, kal), Dateiname);
    }
}

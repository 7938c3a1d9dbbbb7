#pragma once
// The trend window: one signal (and optionally a second on its own axis)
// over time, live from the data-interface file or from the logger files.
// Made for the 320 x 240 panel without window manager: the window is the
// whole screen, every control is a large button, zoom and pan by touch.
#include <QChartView>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QWidget>

#include <vector>

#include "dadavu/Zeilenleser.h"

class QLineSeries;
class QValueAxis;
class QDateTimeAxis;

namespace dadavu {

class Chartansicht;

class Trendfenster : public QWidget {
    Q_OBJECT
public:
    // 'datei': the data-interface file; 'index1' the signal (position in the
    // line); 'index2' a second signal when it differs, else 0.
    Trendfenster(const QString& datei, int index1, int index2, QWidget* eltern = nullptr);

    // For the benchmark and the tests: show these series as history.
    void Reihen_setzen(Reihe erste, Reihe zweite, bool mit_zeit = true);
    void Spanne_setzen(double t0, double t1);
    void vergrößern();
    void verkleinern();
    void verschieben(double anteil);  // share of the visible span, + = later
    void alles_zeigen();
    // Redraws the series for the visible span now.
    void neu_zeichnen();
    bool Live_nachlesen();  // false when the file did not change
    // Writes the visible span as CSV and PNG; returns the two paths.
    QStringList exportieren();

    double Anfang() const { return t0; }
    double Ende() const { return t1; }
    const Reihe& erste_Reihe() const { return reihe[0]; }
    QString Kopftext() const;
    QString Statistiktext() const;
    QString Ablesetext() const;

    // Pointer input on the chart (widget pixels of the plot).
    void Cursor_setzen_bei(double x_pixel);
    void Ziehen(double dx_pixel);

private:
    void Oberfläche_bauen();
    void Menü_zeigen();
    void Signalwahl_zeigen();
    void Verlaufswahl_zeigen();
    void Auswahl_übernehmen();
    void Live_laden();
    void Verlauf_laden(const QStringList& dateien);
    void Achsen_anpassen();
    void Serien_füllen(int nr);
    void Texte_aktualisieren();
    double Plotbreite() const;
    void Meldung(const QString& text);

    QString schnittstelle;  // the data-interface file
    QString wurzel;         // station root ("" when unknown)
    Signalwahl wahl[2];
    bool zweite_an = false;
    Reihe reihe[2];
    bool mit_zeit = true;
    bool live = true;
    bool folgen = true;  // the view keeps the newest value at its right edge
    double t0 = 0, t1 = 1;
    double cursor = qQNaN();
    QDateTime gelesen_stand;
    qint64 gelesen_größe = -1;
    QStringList namen, einheiten;  // of the data-interface line
    QString meldung;

    enum class Auswahlzweck { Signal2, Verlauf };
    Auswahlzweck zweck = Auswahlzweck::Signal2;
    QStringList verlaufsdateien;
    QStringList verlauf_gewählt;  // the files shown as history

    QStackedWidget* seiten = nullptr;
    QLabel* Kopf = nullptr;
    QLabel* Ablesung = nullptr;
    QLabel* Statistikzeile = nullptr;
    Chartansicht* ansicht = nullptr;
    QChart* chart = nullptr;
    QDateTimeAxis* zeitachse = nullptr;
    QValueAxis* satzachse = nullptr;
    QValueAxis* achse[2] = {nullptr, nullptr};
    std::vector<QLineSeries*> stücke[2];  // one series per unbroken piece of the line
    QListWidget* Auswahlliste = nullptr;
    QLabel* Auswahltitel = nullptr;
    QPushButton* Alle = nullptr;
    QFileSystemWatcher wächter;
    QTimer nachlesen;
};

// The chart: a tap sets the cursor, a drag pans.
class Chartansicht : public QChartView {
    Q_OBJECT
public:
    Chartansicht(QChart* chart, Trendfenster* fenster);
    double Cursorzeit = qQNaN();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void drawForeground(QPainter* maler, const QRectF& bereich) override;

private:
    Trendfenster* fenster;
    QPointF druckpunkt, letzter;
    bool gezogen = false;
};

}  // namespace dadavu

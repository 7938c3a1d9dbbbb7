#include "dadavu/Trendfenster.h"

#include <QApplication>
#include <QChart>
#include <QDateTimeAxis>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScroller>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "dadavu/Station.h"
#include "dadavu/Verdichtung.h"

namespace dadavu {
namespace {
// More pieces than this and the rest of the line is drawn across its gaps.
constexpr size_t Höchste_Stückzahl = 48;
const QColor Farbe[2] = {QColor(0, 70, 200), QColor(200, 60, 0)};

QString Zahltext(double wert) {
    if (std::isnan(wert))
        return "--";
    QString text = QString::number(wert, 'g', 6);
    text.replace('.', ',');
    return text;
}

QString Zeittext(double t, bool mit_zeit, bool mit_datum = true) {
    if (!mit_zeit)
        return "Satz " + QString::number(static_cast<qint64>(t));
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(t)).toString(mit_datum ? "dd.MM.yy hh:mm:ss" : "hh:mm:ss");
}

QPushButton* Knopf(const QString& text, QWidget* eltern) {
    auto* k = new QPushButton(text, eltern);
    k->setMinimumHeight(30);
    // Six across the 320 pixels of the panel: the row, not the caption,
    // decides the width.
    k->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    k->setMinimumWidth(24);
    k->setFocusPolicy(Qt::NoFocus);
    return k;
}

// The index in 't' of the point closest to 'zeit' (-1 when empty).
long nächster_Punkt(const Reihe& r, double zeit) {
    if (r.t.empty())
        return -1;
    const long i = std::lower_bound(r.t.begin(), r.t.end(), zeit) - r.t.begin();
    if (i <= 0)
        return 0;
    if (i >= static_cast<long>(r.t.size()))
        return static_cast<long>(r.t.size()) - 1;
    return zeit - r.t[static_cast<size_t>(i - 1)] <= r.t[static_cast<size_t>(i)] - zeit ? i - 1 : i;
}

// Appends to 'alt' the points of 'neu' later than its last one.
void anhängen(Reihe& alt, const Reihe& neu) {
    const double letzte = alt.t.empty() ? -1e300 : alt.t.back();
    for (size_t i = 0; i < neu.t.size(); ++i)
        if (neu.t[i] > letzte) {
            alt.t.push_back(neu.t[i]);
            alt.y.push_back(neu.y[i]);
        }
    if (!neu.name.isEmpty())
        alt.name = neu.name;
    if (!neu.einheit.isEmpty())
        alt.einheit = neu.einheit;
}

QString Dateiname_sicher(QString name) {
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != '-' && c != '_')
            c = '_';
    return name.isEmpty() ? QStringLiteral("Signal") : name;
}
}  // namespace

// ---- chart -------------------------------------------------------------------------

Chartansicht::Chartansicht(QChart* chart, Trendfenster* f) : QChartView(chart), fenster(f) {
    setRenderHint(QPainter::Antialiasing, false);
    setRubberBand(QChartView::NoRubberBand);
}

void Chartansicht::mousePressEvent(QMouseEvent* e) {
    druckpunkt = letzter = e->position();
    gezogen = false;
}

void Chartansicht::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton))
        return;
    // A finger trembles: only a clear movement is a drag.
    if (!gezogen && std::abs(e->position().x() - druckpunkt.x()) < 8)
        return;
    gezogen = true;
    fenster->Ziehen(e->position().x() - letzter.x());
    letzter = e->position();
}

void Chartansicht::mouseReleaseEvent(QMouseEvent* e) {
    if (!gezogen)
        fenster->Cursor_setzen_bei(e->position().x());
    gezogen = false;
}

void Chartansicht::drawForeground(QPainter* maler, const QRectF&) {
    if (std::isnan(Cursorzeit) || chart()->series().isEmpty())
        return;
    const QRectF fläche = chart()->plotArea();
    const QPointF p = chart()->mapToPosition(QPointF(Cursorzeit, 0), chart()->series().first());
    if (p.x() < fläche.left() || p.x() > fläche.right())
        return;
    maler->save();
    maler->setPen(QPen(Qt::darkGreen, 1, Qt::DashLine));
    maler->drawLine(QPointF(p.x(), fläche.top()), QPointF(p.x(), fläche.bottom()));
    maler->restore();
}

// ---- window ------------------------------------------------------------------------

Trendfenster::Trendfenster(const QString& datei, int index1, int index2, QWidget* eltern)
    : QWidget(eltern), schnittstelle(Datei_finden(datei)) {
    setWindowTitle("dadavu");
    wurzel = Stationswurzel_zu(schnittstelle);
    wahl[0].index = std::max(1, index1);
    wahl[1].index = std::max(1, index2);
    zweite_an = index2 > 0 && index2 != index1;
    Oberfläche_bauen();
    // The run replaces the file by a rename on every record: the folder
    // changes, the old file is gone. One read for a burst of changes, at most
    // ten a second however fast the run writes.
    nachlesen.setSingleShot(true);
    nachlesen.setInterval(100);
    connect(&nachlesen, &QTimer::timeout, this, [this] {
        if (live && Live_nachlesen())
            neu_zeichnen();
    });
    connect(&wächter, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!nachlesen.isActive())
            nachlesen.start();
    });
    if (!datei.isEmpty())
        wächter.addPath(QFileInfo(schnittstelle).absolutePath());
    Live_laden();
}

void Trendfenster::Oberfläche_bauen() {
    // Large enough to be hit with a finger on the quarter-VGA panel, and
    // still in proportion on an external monitor.
    const QRect schirm = screen() ? screen()->geometry() : QRect(0, 0, 320, 240);
    QFont schrift = font();
    schrift.setPixelSize(schirm.height() <= 300 ? 12 : 16);
    setFont(schrift);

    seiten = new QStackedWidget(this);
    auto* außen = new QVBoxLayout(this);
    außen->setContentsMargins(0, 0, 0, 0);
    außen->addWidget(seiten);

    // Page 0: the trend.
    auto* trend = new QWidget;
    auto* spalte = new QVBoxLayout(trend);
    spalte->setContentsMargins(2, 1, 2, 1);
    spalte->setSpacing(1);
    Kopf = new QLabel;
    QFont fett = schrift;
    fett.setBold(true);
    Kopf->setFont(fett);
    Ablesung = new QLabel;
    Statistikzeile = new QLabel;
    spalte->addWidget(Kopf);
    spalte->addWidget(Ablesung);

    chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(0, 0, 0, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    // Axis numbers with the decimal comma.
    chart->setLocale(QLocale(QLocale::German, QLocale::Germany));
    chart->setLocalizeNumbers(true);
    QFont achsenschrift = schrift;
    achsenschrift.setPixelSize(schirm.height() <= 300 ? 10 : 13);
    zeitachse = new QDateTimeAxis;
    satzachse = new QValueAxis;
    satzachse->setLabelFormat("%d");
    for (int nr = 0; nr < 2; ++nr) {
        achse[nr] = new QValueAxis;
        achse[nr]->setLabelsColor(Farbe[nr]);
        achse[nr]->setTickCount(schirm.height() <= 300 ? 4 : 7);
    }
    for (QAbstractAxis* a : std::initializer_list<QAbstractAxis*>{zeitachse, satzachse, achse[0], achse[1]})
        a->setLabelsFont(achsenschrift);
    zeitachse->setTickCount(schirm.width() <= 400 ? 3 : 6);
    satzachse->setTickCount(schirm.width() <= 400 ? 3 : 6);
    chart->addAxis(zeitachse, Qt::AlignBottom);
    chart->addAxis(achse[0], Qt::AlignLeft);
    chart->addAxis(achse[1], Qt::AlignRight);
    achse[1]->hide();
    for (int nr = 0; nr < 2; ++nr) {
        auto* s = new QLineSeries;
        s->setPen(QPen(Farbe[nr], 1));
        chart->addSeries(s);
        s->attachAxis(zeitachse);
        s->attachAxis(achse[nr]);
        stücke[nr].push_back(s);
    }
    ansicht = new Chartansicht(chart, this);
    ansicht->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    spalte->addWidget(ansicht, 1);
    spalte->addWidget(Statistikzeile);

    auto* knöpfe = new QHBoxLayout;
    knöpfe->setSpacing(2);
    auto* plus = Knopf("+", trend);
    auto* minus = Knopf("\u2212", trend);
    auto* links = Knopf("\u25C0", trend);
    auto* rechts = Knopf("\u25B6", trend);
    auto* alles = Knopf("Alles", trend);
    auto* menü = Knopf("Menü", trend);
    for (QPushButton* k : {plus, minus, links, rechts, alles, menü})
        knöpfe->addWidget(k);
    spalte->addLayout(knöpfe);
    connect(plus, &QPushButton::clicked, this, &Trendfenster::vergrößern);
    connect(minus, &QPushButton::clicked, this, &Trendfenster::verkleinern);
    connect(links, &QPushButton::clicked, this, [this] { verschieben(-0.5); });
    connect(rechts, &QPushButton::clicked, this, [this] { verschieben(0.5); });
    connect(alles, &QPushButton::clicked, this, &Trendfenster::alles_zeigen);
    connect(menü, &QPushButton::clicked, this, &Trendfenster::Menü_zeigen);
    seiten->addWidget(trend);

    // Page 1: the menu.
    auto* menüseite = new QWidget;
    auto* gitter = new QGridLayout(menüseite);
    gitter->setSpacing(4);
    const QList<QPair<QString, std::function<void()>>> einträge = {
        {"Zweites Signal", [this] { Signalwahl_zeigen(); }},
        {"Verlauf laden", [this] { Verlaufswahl_zeigen(); }},
        {"Live-Daten", [this] { Live_laden(); seiten->setCurrentIndex(0); }},
        {"Exportieren", [this] { exportieren(); seiten->setCurrentIndex(0); }},
        {"Zurück", [this] { seiten->setCurrentIndex(0); }},
        {"Programm beenden", [] { QApplication::quit(); }},
    };
    for (int i = 0; i < einträge.size(); ++i) {
        auto* k = Knopf(einträge[i].first, menüseite);
        k->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(k, &QPushButton::clicked, this, einträge[i].second);
        gitter->addWidget(k, i / 2, i % 2);
    }
    seiten->addWidget(menüseite);

    // Page 2: choosing a signal or files.
    auto* auswahl = new QWidget;
    auto* aspalte = new QVBoxLayout(auswahl);
    aspalte->setContentsMargins(2, 2, 2, 2);
    Auswahltitel = new QLabel;
    Auswahlliste = new QListWidget;
    Auswahlliste->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QScroller::grabGesture(Auswahlliste->viewport(), QScroller::LeftMouseButtonGesture);
    Auswahlliste->setStyleSheet("QListWidget::item { min-height: 28px; }");
    aspalte->addWidget(Auswahltitel);
    aspalte->addWidget(Auswahlliste, 1);
    auto* akn = new QHBoxLayout;
    auto* ok = Knopf("OK", auswahl);
    Alle = Knopf("Alle", auswahl);
    auto* zurück = Knopf("Zurück", auswahl);
    akn->addWidget(ok);
    akn->addWidget(Alle);
    akn->addWidget(zurück);
    aspalte->addLayout(akn);
    connect(ok, &QPushButton::clicked, this, &Trendfenster::Auswahl_übernehmen);
    connect(Alle, &QPushButton::clicked, this, [this] { Auswahlliste->selectAll(); });
    connect(zurück, &QPushButton::clicked, this, [this] { seiten->setCurrentIndex(0); });
    seiten->addWidget(auswahl);
}

double Trendfenster::Plotbreite() const {
    const double b = chart->plotArea().width();
    return b > 10 ? b : std::max(100, ansicht->width() - 60);
}

void Trendfenster::Meldung(const QString& text) {
    meldung = text;
    Texte_aktualisieren();
}

// ---- data ---------------------------------------------------------------------------

void Trendfenster::Live_laden() {
    live = true;
    folgen = true;
    reihe[0] = Reihe{};
    reihe[1] = Reihe{};
    gelesen_größe = -1;
    gelesen_stand = {};
    if (!Live_nachlesen() && reihe[0].t.empty())
        Meldung(schnittstelle.isEmpty() ? "Keine Datendatei angegeben" : "Keine Daten in " + schnittstelle);
    alles_zeigen();
}

bool Trendfenster::Live_nachlesen() {
    // Not there at the start: the run may create it later, spelt its own way.
    if (!QFileInfo::exists(schnittstelle))
        schnittstelle = Datei_finden(schnittstelle);
    QFile datei(schnittstelle);
    const QFileInfo info(schnittstelle);
    if (!info.exists() || (info.lastModified() == gelesen_stand && info.size() == gelesen_größe))
        return false;
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = datei.readAll();
    gelesen_stand = info.lastModified();
    gelesen_größe = info.size();
    std::vector<Signalwahl> w{wahl[0], wahl[1]};
    Dateiinhalt inhalt = Datenschnittstelle_lesen(bytes, w, info.lastModified().date());
    if (inhalt.reihen.empty() || inhalt.namen.isEmpty())
        return false;
    namen = inhalt.namen;
    einheiten = inhalt.einheiten;
    for (int nr = 0; nr < 2; ++nr) {
        Reihe& neu = inhalt.reihen[static_cast<size_t>(nr)];
        if (!inhalt.mit_zeit) {
            // Without time in the lines only the newest line is new; record
            // numbers go on from the last one.
            const bool erstes_mal = reihe[nr].t.empty();
            if (erstes_mal) {
                reihe[nr] = std::move(neu);
            } else if (!neu.y.empty()) {
                reihe[nr].t.push_back(reihe[nr].t.back() + 1);
                reihe[nr].y.push_back(neu.y.back());
            }
        } else {
            anhängen(reihe[nr], neu);
        }
        // Keep the name so the signal is found again when the order changes.
        if (wahl[nr].name.isEmpty() && !reihe[nr].name.isEmpty())
            wahl[nr].name = reihe[nr].name;
    }
    mit_zeit = inhalt.mit_zeit;
    if (folgen && !reihe[0].t.empty()) {
        const double breite = t1 - t0;
        const double neuestes = reihe[0].t.back();
        if (t0 <= reihe[0].t.front()) {
            // Everything was in view: it stays so.
            t1 = std::max(t1, neuestes);
        } else if (neuestes > t1) {
            t1 = neuestes;
            t0 = t1 - breite;
        }
    }
    meldung.clear();
    Texte_aktualisieren();
    return true;
}

void Trendfenster::Verlauf_laden(const QStringList& dateien) {
    verlauf_gewählt = dateien;
    live = false;
    folgen = false;
    Reihe neu[2];
    int verworfen = 0;
    bool zeit = true;
    // Oldest file first, so the points come in order of time.
    QFileInfoList infos;
    for (const QString& d : dateien)
        infos << QFileInfo(d);
    std::sort(infos.begin(), infos.end(), [](const QFileInfo& a, const QFileInfo& b) {
        const QDate da = Datum_aus_Dateiname(a.fileName()), db = Datum_aus_Dateiname(b.fileName());
        if (da.isValid() && db.isValid() && da != db)
            return da < db;
        return a.lastModified() < b.lastModified();
    });
    for (const QFileInfo& info : infos) {
        QFile datei(info.absoluteFilePath());
        if (!datei.open(QIODevice::ReadOnly))
            continue;
        std::vector<Signalwahl> w{wahl[0], wahl[1]};
        const Dateiinhalt inhalt = Loggerdatei_lesen(datei.readAll(), w, Datum_aus_Dateiname(info.fileName()),
                                                     info.lastModified().date(), info.fileName());
        verworfen += inhalt.verworfen;
        zeit = zeit && inhalt.mit_zeit;
        if (!inhalt.namen.isEmpty()) {
            namen = inhalt.namen;
            einheiten = inhalt.einheiten;
        }
        for (int nr = 0; nr < 2; ++nr)
            anhängen(neu[nr], inhalt.reihen[static_cast<size_t>(nr)]);
    }
    for (int nr = 0; nr < 2; ++nr) {
        if (neu[nr].name.isEmpty())
            neu[nr].name = reihe[nr].name;
        if (neu[nr].einheit.isEmpty())
            neu[nr].einheit = reihe[nr].einheit;
    }
    Reihen_setzen(std::move(neu[0]), std::move(neu[1]), zeit);
    live = false;
    Meldung(verworfen ? QString::number(verworfen) + " Zeilen unvollständig, übergangen" : QString());
}

void Trendfenster::Reihen_setzen(Reihe erste, Reihe zweite, bool mit_zeit_) {
    reihe[0] = std::move(erste);
    reihe[1] = std::move(zweite);
    mit_zeit = mit_zeit_;
    live = false;
    alles_zeigen();
}

// ---- view ---------------------------------------------------------------------------

void Trendfenster::Spanne_setzen(double a, double b) {
    if (!(b > a))
        b = a + (mit_zeit ? 10000 : 10);
    t0 = a;
    t1 = b;
    const double neuestes = reihe[0].t.empty() ? 0 : reihe[0].t.back();
    folgen = live && t1 >= neuestes;
    neu_zeichnen();
}

void Trendfenster::alles_zeigen() {
    double a = 1e300, b = -1e300;
    for (int nr = 0; nr < (zweite_an ? 2 : 1); ++nr)
        if (!reihe[nr].t.empty()) {
            a = std::min(a, reihe[nr].t.front());
            b = std::max(b, reihe[nr].t.back());
        }
    if (a > b) {
        a = mit_zeit ? static_cast<double>(QDateTime::currentMSecsSinceEpoch()) - 60000 : 0;
        b = a + (mit_zeit ? 60000 : 10);
    }
    Spanne_setzen(a, b);
    if (live)
        folgen = true;
}

void Trendfenster::vergrößern() {
    const double mitte = !std::isnan(cursor) && cursor > t0 && cursor < t1 ? cursor : (t0 + t1) / 2;
    const double kleinste = mit_zeit ? 10000 : 4;
    const double halb = std::max(kleinste, t1 - t0) / 4;
    Spanne_setzen(mitte - halb, mitte + halb);
}

void Trendfenster::verkleinern() {
    const double mitte = (t0 + t1) / 2, halb = t1 - t0;
    Spanne_setzen(mitte - halb, mitte + halb);
}

void Trendfenster::verschieben(double anteil) {
    const double d = (t1 - t0) * anteil;
    Spanne_setzen(t0 + d, t1 + d);
}

void Trendfenster::Ziehen(double dx_pixel) {
    // The content follows the finger: dragging right shows earlier times.
    const double d = -dx_pixel * (t1 - t0) / Plotbreite();
    Spanne_setzen(t0 + d, t1 + d);
}

void Trendfenster::Cursor_setzen_bei(double x_pixel) {
    if (chart->series().isEmpty())
        return;
    const QPointF wert = chart->mapToValue(QPointF(x_pixel, chart->plotArea().center().y()), chart->series().first());
    // The cursor snaps to the nearest recorded point of the first signal.
    const long i = nächster_Punkt(reihe[0], wert.x());
    cursor = i >= 0 ? reihe[0].t[static_cast<size_t>(i)] : wert.x();
    ansicht->Cursorzeit = cursor;
    Texte_aktualisieren();
    ansicht->viewport()->update();
}

void Trendfenster::Serien_füllen(int nr) {
    const std::vector<Zeichenpunkt> punkte =
        (nr == 0 || zweite_an) ? verdichten(reihe[nr], t0, t1, static_cast<int>(Plotbreite())) : std::vector<Zeichenpunkt>{};
    std::vector<QList<QPointF>> teile(1);
    for (const Zeichenpunkt& p : punkte) {
        if (std::isnan(p.y)) {
            if (!teile.back().isEmpty() && teile.size() < Höchste_Stückzahl)
                teile.emplace_back();
            continue;
        }
        teile.back().append(QPointF(p.t, p.y));
    }
    QAbstractAxis* x = mit_zeit ? static_cast<QAbstractAxis*>(zeitachse) : satzachse;
    while (stücke[nr].size() < teile.size()) {
        auto* s = new QLineSeries;
        s->setPen(QPen(Farbe[nr], 1));
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(achse[nr]);
        stücke[nr].push_back(s);
    }
    for (size_t i = 0; i < stücke[nr].size(); ++i) {
        QLineSeries* s = stücke[nr][i];
        if (!s->attachedAxes().contains(x)) {
            for (QAbstractAxis* a : s->attachedAxes())
                if (a->orientation() == Qt::Horizontal)
                    s->detachAxis(a);
            s->attachAxis(x);
        }
        // A few records alone would be hardly visible as a line.
        s->setPointsVisible(punkte.size() < 40);
        s->replace(i < teile.size() ? teile[i] : QList<QPointF>{});
    }
}

void Trendfenster::Achsen_anpassen() {
    QAbstractAxis* x = mit_zeit ? static_cast<QAbstractAxis*>(zeitachse) : satzachse;
    QAbstractAxis* anderes = mit_zeit ? static_cast<QAbstractAxis*>(satzachse) : zeitachse;
    if (!chart->axes(Qt::Horizontal).contains(x)) {
        if (chart->axes(Qt::Horizontal).contains(anderes))
            chart->removeAxis(anderes);
        chart->addAxis(x, Qt::AlignBottom);
    }
    if (mit_zeit) {
        const double spanne = t1 - t0;
        zeitachse->setFormat(spanne > 2 * 86400000.0 ? "dd.MM. hh:mm" : spanne > 600000.0 ? "hh:mm" : "hh:mm:ss");
        zeitachse->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(t0)),
                            QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(t1)));
    } else {
        satzachse->setRange(t0, t1);
    }
    for (int nr = 0; nr < 2; ++nr) {
        const Statistik s = Statistik_der_Spanne(reihe[nr], t0, t1);
        double lo = s.anzahl ? s.min : 0, hi = s.anzahl ? s.max : 1;
        const double rand = hi > lo ? (hi - lo) * 0.05 : std::max(1e-9, std::abs(hi) * 0.05 + (hi == 0 ? 1 : 0));
        achse[nr]->setRange(lo - rand, hi + rand);
        achse[nr]->setLabelFormat(std::max(std::abs(lo), std::abs(hi)) >= 1e5 || (hi - lo) < 1e-3 ? "%.3g" : "%.4g");
    }
    achse[1]->setVisible(zweite_an);
}

void Trendfenster::neu_zeichnen() {
    Achsen_anpassen();
    Serien_füllen(0);
    Serien_füllen(1);
    Texte_aktualisieren();
}

// ---- texts --------------------------------------------------------------------------

QString Trendfenster::Kopftext() const {
    const Reihe& r = reihe[0];
    QString name = r.name.isEmpty() ? "Signal " + QString::number(wahl[0].index) : r.name;
    if (r.y.empty())
        return name;
    return name + ": " + Zahltext(r.y.back()) + (r.einheit.isEmpty() ? QString() : " " + r.einheit);
}

QString Trendfenster::Statistiktext() const {
    const Statistik s = Statistik_der_Spanne(reihe[0], t0, t1);
    if (!s.anzahl)
        return "keine Werte im Ausschnitt";
    return "Min " + Zahltext(s.min) + "  Max " + Zahltext(s.max) + "  Mittel " + Zahltext(s.mittel);
}

QString Trendfenster::Ablesetext() const {
    if (!meldung.isEmpty())
        return meldung;
    if (std::isnan(cursor))
        return Zeittext(t0, mit_zeit, true) + " \u2013 " + Zeittext(t1, mit_zeit, false);
    QString text = Zeittext(cursor, mit_zeit);
    for (int nr = 0; nr < (zweite_an ? 2 : 1); ++nr) {
        const long i = nächster_Punkt(reihe[nr], cursor);
        if (i >= 0)
            text += "  " + Zahltext(reihe[nr].y[static_cast<size_t>(i)]) + " " + reihe[nr].einheit;
    }
    return text;
}

void Trendfenster::Texte_aktualisieren() {
    QString kopf = "<span style='color:" + Farbe[0].name() + "'>" + Kopftext().toHtmlEscaped() + "</span>";
    if (zweite_an) {
        const Reihe& r = reihe[1];
        const QString zweiter = (r.name.isEmpty() ? "Signal " + QString::number(wahl[1].index) : r.name) +
                                (r.y.empty() ? QString() : ": " + Zahltext(r.y.back()) + " " + r.einheit);
        kopf += "&nbsp;&nbsp; <span style='color:" + Farbe[1].name() + "'>" + zweiter.toHtmlEscaped() + "</span>";
    }
    Kopf->setText(kopf);
    Ablesung->setText(Ablesetext());
    Statistikzeile->setText(Statistiktext());
    setWindowTitle("dadavu - " + Kopftext());
}

// ---- menu pages ---------------------------------------------------------------------

void Trendfenster::Menü_zeigen() { seiten->setCurrentIndex(1); }

void Trendfenster::Signalwahl_zeigen() {
    zweck = Auswahlzweck::Signal2;
    Auswahltitel->setText("Zweites Signal (eigene Achse):");
    Auswahlliste->clear();
    Auswahlliste->setSelectionMode(QAbstractItemView::SingleSelection);
    Alle->hide();
    Auswahlliste->addItem("kein zweites Signal");
    for (int i = 0; i < namen.size(); ++i)
        Auswahlliste->addItem(QString::number(i + 1) + "  " + (namen[i].isEmpty() ? "Signal " + QString::number(i + 1) : namen[i]) +
                              (einheiten[i].isEmpty() ? QString() : " [" + einheiten[i] + "]"));
    Auswahlliste->setCurrentRow(zweite_an ? wahl[1].index : 0);
    seiten->setCurrentIndex(2);
}

void Trendfenster::Verlaufswahl_zeigen() {
    zweck = Auswahlzweck::Verlauf;
    verlaufsdateien = Verlaufsdateien(wurzel, QCoreApplication::applicationDirPath());
    Auswahltitel->setText(verlaufsdateien.isEmpty() ? "Keine Datenlogger-Dateien gefunden" : "Dateien wählen (antippen):");
    Auswahlliste->clear();
    Auswahlliste->setSelectionMode(QAbstractItemView::MultiSelection);
    Alle->show();
    for (const QString& d : verlaufsdateien) {
        const QFileInfo info(d);
        Auswahlliste->addItem(info.fileName() + "   " + QString::number((info.size() + 1023) / 1024) + " kB");
    }
    seiten->setCurrentIndex(2);
}

void Trendfenster::Auswahl_übernehmen() {
    if (zweck == Auswahlzweck::Signal2) {
        const int zeile = Auswahlliste->currentRow();
        zweite_an = zeile > 0;
        if (zweite_an) {
            wahl[1].index = zeile;
            wahl[1].name = zeile - 1 < namen.size() ? namen[zeile - 1] : QString();
        }
        seiten->setCurrentIndex(0);
        if (live) {
            Live_laden();
        } else {
            Verlauf_laden(verlauf_gewählt);
        }
        return;
    }
    QStringList gewählt;
    for (QListWidgetItem* e : Auswahlliste->selectedItems())
        gewählt << verlaufsdateien.value(Auswahlliste->row(e));
    seiten->setCurrentIndex(0);
    if (gewählt.isEmpty())
        return;
    Verlauf_laden(gewählt);
}

QStringList Trendfenster::exportieren() {
    const QString ordner = Exportordner(wurzel, schnittstelle);
    const QString stamm = ordner + "/dadavu_" + Dateiname_sicher(reihe[0].name) + "_" +
                          QDateTime::currentDateTime().toString("yyyyMMdd_hhmmss");
    // Table: semicolon and decimal comma, as German spreadsheets read it;
    // one row per time, a signal without a value at that time stays empty.
    QFile csv(stamm + ".csv");
    bool ok = csv.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (ok) {
        const auto spaltenkopf = [](const Reihe& r) {
            return r.name + (r.einheit.isEmpty() ? QString() : " [" + r.einheit + "]");
        };
        QString text = (mit_zeit ? "Zeit" : "Satz") + QString(";") + spaltenkopf(reihe[0]);
        if (zweite_an)
            text += ";" + spaltenkopf(reihe[1]);
        text += "\r\n";
        long a[2], e[2];
        for (int nr = 0; nr < 2; ++nr)
            Spanne_suchen(reihe[nr], t0, t1, a[nr], e[nr]);
        if (!zweite_an)
            a[1] = 0, e[1] = -1;
        const auto wert = [&](int nr, long k) {
            const double y = reihe[nr].y[static_cast<size_t>(k)];
            return std::isnan(y) ? QString() : Zahltext(y);
        };
        long i = a[0], j = a[1];
        while (i <= e[0] || j <= e[1]) {
            const double ti = i <= e[0] ? reihe[0].t[static_cast<size_t>(i)] : 1e300;
            const double tj = j <= e[1] ? reihe[1].t[static_cast<size_t>(j)] : 1e300;
            const double t = std::min(ti, tj);
            text += (mit_zeit ? Zeittext(t, true) : QString::number(static_cast<qint64>(t))) + ';';
            if (ti == t)
                text += wert(0, i++);
            if (zweite_an) {
                text += ';';
                if (tj == t)
                    text += wert(1, j++);
            }
            text += "\r\n";
        }
        ok = csv.write(text.toLatin1()) >= 0 && csv.flush();
        csv.close();
    }
    const bool bild = ansicht->grab().save(stamm + ".png");
    if (!ok || !bild) {
        Meldung("Export nicht möglich: " + ordner);
        return {};
    }
    Meldung("Gespeichert: " + QFileInfo(stamm).fileName() + ".csv/.png");
    return {stamm + ".csv", stamm + ".png"};
}

}  // namespace dadavu

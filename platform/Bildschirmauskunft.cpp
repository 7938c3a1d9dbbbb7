#include "platform/Bildschirmauskunft.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTextStream>
#include <QWidget>

#include <algorithm>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalpaar[2] = {-1, -1};

void beim_Signal(int) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(signalpaar[0], &c, 1);
}

QString Text(const QWidget* w) {
    if (auto* k = qobject_cast<const QAbstractButton*>(w))
        return k->text();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto* c = qobject_cast<const QComboBox*>(w))
        return c->currentText();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (auto* l = qobject_cast<const QListWidget*>(w)) {
        QStringList zeilen;
        for (int i = 0; i < l->count(); ++i)
            zeilen << l->item(i)->text();
        return zeilen.join('\n');
    }
    return w->isWindow() ? w->windowTitle() : QString();
}

bool hat_sichtbare_Kinder(const QWidget* w) {
    for (const QObject* o : w->children())
        if (o->isWidgetType() && static_cast<const QWidget*>(o)->isVisible() &&
            !static_cast<const QWidget*>(o)->isWindow())
            return true;
    return false;
}

// A leaf control is covered when a point near its centre or corners belongs
// to a widget that is neither the control nor inside it.
bool verdeckt(const QWidget* w, const QRect& r) {
    if (hat_sichtbare_Kinder(w) || r.width() < 3 || r.height() < 3)
        return false;
    const QRect innen = r.adjusted(1, 1, -1, -1);
    for (const QPoint p : {innen.center(), innen.topLeft(), innen.topRight(), innen.bottomLeft(), innen.bottomRight()}) {
        const QWidget* dort = QApplication::widgetAt(p);
        if (dort != w && !(dort && w->isAncestorOf(dort)))
            return true;
    }
    return false;
}

// 1 when enabled, plus 2 when checked.
int Zustand(const QWidget* w) {
    const auto* knopf = qobject_cast<const QAbstractButton*>(w);
    return (w->isEnabled() ? 1 : 0) | (knopf && knopf->isChecked() ? 2 : 0);
}

// Cut off: part of the widget lies outside one of its parents, so the
// operator cannot see or reach it.
bool abgeschnitten(const QWidget* w, const QRect& r) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (!QRect(p->mapToGlobal(QPoint(0, 0)), p->size()).contains(r))
            return true;
    return false;
}

void schreiben(QTextStream& aus, const QWidget* w, int tiefe) {
    if (!w->isVisible())
        return;
    const QRect r(w->mapToGlobal(QPoint(0, 0)), w->size());
    QString text = Text(w);
    text.replace('\\', "\\\\").replace('\n', "\\n").replace('\r', "\\n");
    aus << tiefe << ' ' << w->metaObject()->className() << ' '
        << (w->objectName().isEmpty() ? QString("-") : QString(w->objectName()).replace(' ', '_')) << ' '
        << r.x() << ' ' << r.y() << ' ' << r.width() << ' ' << r.height() << ' ' << (verdeckt(w, r) ? 1 : 0)
        << ' ' << (abgeschnitten(w, r) ? 1 : 0) << ' ' << Zustand(w) << ' ' << text << '\n';
    for (const QObject* o : w->children())
        if (o->isWidgetType() && !static_cast<const QWidget*>(o)->isWindow())
            schreiben(aus, static_cast<const QWidget*>(o), tiefe + 1);
    // The rows a list shows, so that a test can touch one of them.
    if (auto* liste = qobject_cast<const QAbstractItemView*>(w); liste && liste->model()) {
        const QRect sichtbar = liste->viewport()->rect();
        for (int zeile = 0; zeile < liste->model()->rowCount(liste->rootIndex()); ++zeile) {
            const QModelIndex index = liste->model()->index(zeile, 0, liste->rootIndex());
            QRect z = liste->visualRect(index);
            if (!z.isValid() || !sichtbar.intersects(z))
                continue;
            // A row may be wider than its list; what counts is the shown part.
            z.setLeft(std::max(z.left(), sichtbar.left()));
            z.setRight(std::min(z.right(), sichtbar.right()));
            const QRect g(liste->viewport()->mapToGlobal(z.topLeft()), z.size());
            QString zeilentext = index.data().toString();
            zeilentext.replace('\\', "\\\\").replace('\n', "\\n").replace('\t', "\\t");
            aus << tiefe + 1 << " Zeile " << zeile << ' ' << g.x() << ' ' << g.y() << ' ' << g.width() << ' '
                << g.height() << " 0 " << (sichtbar.contains(z) ? 0 : 1) << ' '
                << (liste->selectionModel() && liste->selectionModel()->isSelected(index) ? 3 : 1) << ' ' << zeilentext << '\n';
        }
    }
}

void Auskunft_schreiben(const QString& pfad) {
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        return;
    QTextStream aus(&datei);
    for (const QWidget* fenster : QApplication::topLevelWidgets())
        schreiben(aus, fenster, 0);
    aus.flush();
    datei.commit();
}
}

void Bildschirmauskunft_einrichten(QObject* besitzer) {
    const QString pfad = qEnvironmentVariable("KESTRIX_BILDSCHIRMAUSKUNFT");
    if (pfad.isEmpty() || ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalpaar) != 0)
        return;
    auto* melder = new QSocketNotifier(signalpaar[1], QSocketNotifier::Read, besitzer);
    QObject::connect(melder, &QSocketNotifier::activated, besitzer, [pfad] {
        char c;
        [[maybe_unused]] auto n = ::read(signalpaar[1], &c, 1);
        Auskunft_schreiben(pfad);
    });
    struct sigaction aktion {};
    aktion.sa_handler = beim_Signal;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &aktion, nullptr);
    // The first report says the program is ready for the signal.
    Auskunft_schreiben(pfad);
}

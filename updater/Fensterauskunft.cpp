#include "Fensterauskunft.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace Loadmate {
namespace {
int paar[2] = {-1, -1};

void Signal_empfangen(int)
{
    const char c = 1;
    [[maybe_unused]] auto n = ::write(paar[0], &c, 1);
}

QString Kodiert(QString text)
{
    return text.replace('\\', QStringLiteral("\\\\")).replace('\n', QStringLiteral("\\n")).replace('\r', QStringLiteral("\\n"));
}

void Zeile(QTextStream &aus, int tiefe, const QString &klasse, const QString &name, const QRect &r, int zustand,
           const QString &text)
{
    aus << tiefe << ' ' << klasse << ' ' << (name.isEmpty() ? QStringLiteral("-") : name) << ' ' << r.x() << ' '
        << r.y() << ' ' << r.width() << ' ' << r.height() << " 0 0 " << zustand << ' ' << Kodiert(text)
        << '\n';
}

void Widget_schreiben(QTextStream &aus, const QWidget *w, int tiefe)
{
    if (!w->isVisible())
        return;
    QString text = w->isWindow() ? w->windowTitle() : QString();
    if (auto *k = qobject_cast<const QAbstractButton *>(w))
        text = k->text();
    else if (auto *l = qobject_cast<const QLabel *>(w))
        text = l->text();
    else if (auto *g = qobject_cast<const QGroupBox *>(w))
        text = g->title();
    Zeile(aus, tiefe, QString::fromLatin1(w->metaObject()->className()), w->objectName(),
          QRect(w->mapToGlobal(QPoint(0, 0)), w->size()), w->isEnabled() ? 1 : 0, text);
    for (const QObject *o : w->children())
        if (o->isWidgetType() && !static_cast<const QWidget *>(o)->isWindow())
            Widget_schreiben(aus, static_cast<const QWidget *>(o), tiefe + 1);
    if (auto *liste = qobject_cast<const QAbstractItemView *>(w); liste && liste->model())
        for (int z = 0; z < liste->model()->rowCount(); ++z) {
            const QModelIndex i = liste->model()->index(z, 0);
            const QRect r = liste->visualRect(i) & liste->viewport()->rect();
            if (r.isValid() && !r.isEmpty())
                Zeile(aus, tiefe + 1, QStringLiteral("Zeile"), QString::number(z),
                      QRect(liste->viewport()->mapToGlobal(r.topLeft()), r.size()),
                      liste->selectionModel() && liste->selectionModel()->isSelected(i) ? 3 : 1, i.data().toString());
        }
}
} // namespace

void Fensterauskunft_einrichten(QObject *besitzer)
{
    const QString pfad = qEnvironmentVariable("LOADMATE_FENSTERAUSKUNFT");
    if (pfad.isEmpty() || ::socketpair(AF_UNIX, SOCK_STREAM, 0, paar) != 0)
        return;
    const auto schreiben = [pfad] {
        QSaveFile datei(pfad);
        if (!datei.open(QIODevice::WriteOnly))
            return;
        QTextStream aus(&datei);
        for (const QWidget *fenster : QApplication::topLevelWidgets())
            Widget_schreiben(aus, fenster, 0);
        aus.flush();
        datei.commit();
    };
    auto *melder = new QSocketNotifier(paar[1], QSocketNotifier::Read, besitzer);
    QObject::connect(melder, &QSocketNotifier::activated, besitzer, [schreiben] {
        char c;
        [[maybe_unused]] auto n = ::read(paar[1], &c, 1);
        schreiben();
    });
    struct sigaction aktion {};
    aktion.sa_handler = Signal_empfangen;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &aktion, nullptr);
    // The first report says the wizard is ready for the signal.
    schreiben();
}
} // namespace Loadmate

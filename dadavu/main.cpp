// dadavu: trend viewer of the station's recorded signals.
//
//   dadavu <data-interface file> 3 <index> <index>
//
// as the live value list starts it: the file "Daten&.txt", the display kind
// (3, the trend, the only one) and the position of the chosen signal in the
// data line, twice; a second position that differs is shown as a second
// signal on its own axis. A single argument "i j" is read as the two
// positions, the way a Windows command line would split it.
#include <QApplication>
#include <QScreen>

#include "dadavu/Trendfenster.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList argumente = app.arguments().mid(1);
    QStringList zahlen;
    for (int i = 2; i < argumente.size(); ++i)
        zahlen << argumente[i].split(' ', Qt::SkipEmptyParts);
    const QString datei = argumente.value(0);
    const int erster = zahlen.value(0, "1").toInt();
    const int zweiter = zahlen.value(1, zahlen.value(0, "1")).toInt();
    dadavu::Trendfenster fenster(datei, erster, zweiter);
    // No window manager on the panel: the window is the whole screen.
    if (QScreen* schirm = QGuiApplication::primaryScreen())
        fenster.setGeometry(schirm->geometry());
    fenster.show();
    return app.exec();
}

#include "Form1.h"
#include "Fensterauskunft.h"

#include <QApplication>
#include <QFont>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Loadmate"));
    // The panel's font, the same on every station.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    Loadmate::Form1 fenster;
    Loadmate::Fensterauskunft_einrichten(&fenster);
    fenster.show();
    return app.exec();
}

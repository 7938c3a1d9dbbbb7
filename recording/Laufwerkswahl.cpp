#include "recording/Laufwerkswahl.h"

#include <QStyle>

#include "common/Kestiini.h"
#include "platform/Dialoge.h"

void Laufwerk_erfragen(Festtext<3>& laufwerk, const QString& schlüssel, const QString& aufforderung) {
    const QString antwort = dialoge().Eingabe(aufforderung);
    // Anything but a letter would name a folder of the station root as drive.
    if (antwort.isEmpty() || !antwort[0].isLetter() || antwort[0].unicode() >= 128)
        return;
    const QString neu = antwort.left(1) + ":\\";
    if (!Kestiini_schreiben(schlüssel, "3", neu))
        dialoge().Meldung("Das neue Laufwerk konnte nicht in \"Kesti.ini\" gespeichert werden (Eintrag \"" +
                          schlüssel + "\" fehlt oder Datei nicht beschreibbar).");
    laufwerk = neu;
}

void Laufwerk_zeigen(QLabel* label, const Laufwerksanzeige& anzeige) {
    label->setText(anzeige.Text);
    QPalette farben = label->palette();
    farben.setColor(QPalette::Window, anzeige.Farbe.isValid() ? anzeige.Farbe
                                                              : label->style()->standardPalette().color(QPalette::Button));
    label->setPalette(farben);
    label->setAutoFillBackground(true);
}

#include "points/Messblocktastatur.h"

#include <QCoreApplication>
#include <QPointer>

#include "common/Fenster.h"
#include "common/Festtext.h"
#include "keyboard/Tastatur.h"
#include "platform/Dialoge.h"
#include "points/Messstellentabellen.h"
#include "project/Projekt.h"

// Without the on-screen keyboard (a block window on its own): an input box
// with the keyboard's rules for block names.
namespace {
void Messblockname_abfragen(const QPointer<QWidget>& aufrufer) {
    for (;;) {
        const QString text = dialoge().Eingabe("Name des neuen Meßblocks:", "Meßblock");
        if (text.isEmpty()) {
            if (Fenster.Projekt)
                Fenster.Projekt->MBForm_ausblenden();
            if (aufrufer)
                aufrufer->setEnabled(true);
            return;
        }
        if (Messblockliste().contains(RTrim(text))) {
            dialoge().Meldung("Diese Messblockname existiert bereits!");
            continue;
        }
        if (text.size() > 16) {
            dialoge().Meldung("Bitte max. 16 Zeichen!");
            continue;
        }
        if (text.trimmed().isEmpty()) {
            dialoge().Meldung("Messblockname darf nicht aus Leerzeichen bestehen!");
            continue;
        }
        if (Projekt* projekt = Fenster.Projekt) {
            projekt->MBForm_Enablen();
            projekt->MBForm_anzeigen();
            projekt->MBFormTastaturtextverarbeit(text);
            projekt->MBForminitialisieren();
        } else if (aufrufer) {
            aufrufer->setEnabled(true);
        }
        return;
    }
}
}  // namespace

void Messblocktastatur_zeigen(QWidget* aufrufer) {
    if (Tastatur* tastatur = Fenster.Tastatur) {
        tastatur->Text1->clear();
        tastatur->zeigen();
        return;
    }
    // Later, like the keyboard window: the list click that opened it ends first.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [fenster = QPointer<QWidget>(aufrufer)] { Messblockname_abfragen(fenster); },
        Qt::QueuedConnection);
}

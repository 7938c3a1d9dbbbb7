#pragma once
// Small helpers for the controls of the set-up pages.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QStringList>

#include <functional>

// A label that reacts to a click, like the "ändern" links of the pages.
class Verweislabel : public QLabel {
    Q_OBJECT
public:
    explicit Verweislabel(const QString& text, QWidget* eltern = nullptr);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
};

// Refills a list without running its click handler; afterwards nothing is
// selected, so the next Listenindex_setzen always counts as a click.
void Liste_füllen(QComboBox* liste, const QStringList& einträge);
// Selecting an entry from code counts as a click, even when that entry is
// already selected (the handler is connected to currentIndexChanged).
void Listenindex_setzen(QComboBox* liste, int index);
// Connects a list's click handler: it runs when the selection changes (also
// from code) and when the operator picks the entry that is already selected,
// which changes nothing and so reports no change of its own.
void Auswahl_verbinden(QComboBox* liste, QObject* empfänger, std::function<void(int)> handler);
// Sets a pair of option buttons from stored values, including "neither".
void Optionen_setzen(QRadioButton* erste, bool erste_an, QRadioButton* zweite, bool zweite_an);
// Shows a page on top of the others, also when it is already shown beneath
// them (an arrow always brings its page to the front).
void Seite_zeigen(QWidget* seite);
// A text for a control that changes with every reply or entry: while the
// control is not on the screen the text is only kept, and it is shown when
// the control is.
void Text_zeigen(QLabel* feld, const QString& text);
void Text_zeigen(QLineEdit* feld, const QString& text);
// "Hilfe" and "Abbrechen" of a page, shown as the station switches
// HelpSchalter and EscSchalter say.
void Stationsschalter_anwenden(QWidget* hilfe, QWidget* abbrechen);

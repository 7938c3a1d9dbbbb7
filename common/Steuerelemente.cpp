#include "common/Steuerelemente.h"

#include <QEvent>
#include <QHash>
#include <QSignalBlocker>
#include <QTimer>

#include <memory>

#include "common/Programmdaten.h"

Verweislabel::Verweislabel(const QString& text, QWidget* eltern) : QLabel(text, eltern) {
    setCursor(Qt::PointingHandCursor);
    QFont schrift = font();
    schrift.setUnderline(true);
    setFont(schrift);
    QPalette farben = palette();
    farben.setColor(QPalette::WindowText, QColor(0, 0, 0xC0));
    setPalette(farben);
}

void Verweislabel::mouseReleaseEvent(QMouseEvent* ereignis) {
    if (ereignis->button() == Qt::LeftButton && rect().contains(ereignis->position().toPoint()) && isEnabled())
        emit clicked();
    QLabel::mouseReleaseEvent(ereignis);
}

void Liste_füllen(QComboBox* liste, const QStringList& einträge) {
    const QSignalBlocker sperre(liste);
    liste->clear();
    liste->addItems(einträge);
    liste->setCurrentIndex(-1);
}

void Listenindex_setzen(QComboBox* liste, int index) {
    if (index < 0 || index >= liste->count())
        index = -1;
    if (liste->currentIndex() == index)
        emit liste->currentIndexChanged(index);
    else
        liste->setCurrentIndex(index);
}

void Optionen_setzen(QRadioButton* erste, bool erste_an, QRadioButton* zweite, bool zweite_an) {
    const bool e1 = erste->autoExclusive(), e2 = zweite->autoExclusive();
    erste->setAutoExclusive(false);
    zweite->setAutoExclusive(false);
    // Both chosen cannot be shown in one group: the second wins, as when
    // the two were set one after the other.
    erste->setChecked(erste_an && !zweite_an);
    zweite->setChecked(zweite_an);
    erste->setAutoExclusive(e1);
    zweite->setAutoExclusive(e2);
}

void Seite_zeigen(QWidget* seite) {
    if (!seite)
        return;
    seite->show();
    seite->raise();
}

void Auswahl_verbinden(QComboBox* liste, QObject* empfänger, std::function<void(int)> handler) {
    // A pick that changes the entry reports the change first, then the pick;
    // the mark lives until the event loop runs again, so a change from code
    // does not swallow a later pick.
    auto gemeldet = std::make_shared<bool>(false);
    QObject::connect(liste, &QComboBox::currentIndexChanged, empfänger, [handler, gemeldet](int index) {
        handler(index);
        if (!*gemeldet) {
            *gemeldet = true;
            QTimer::singleShot(0, [gemeldet] { *gemeldet = false; });
        }
    });
    QObject::connect(liste, &QComboBox::activated, empfänger, [handler, gemeldet](int index) {
        if (!*gemeldet)
            handler(index);
        *gemeldet = false;
    });
}

namespace {
// Holds the latest text of a hidden control and hands it over when the
// control is shown.
template <class Feld>
class Textnachtrag : public QObject {
public:
    explicit Textnachtrag(Feld* feld) : QObject(feld), feld_(feld) {
        feld->installEventFilter(this);
        alle().insert(feld, this);
    }
    ~Textnachtrag() override { alle().remove(feld_); }
    QString text;
    bool offen = false;

    static Textnachtrag* von(Feld* feld) {
        Textnachtrag* n = alle().value(feld);
        return n ? n : new Textnachtrag(feld);
    }

protected:
    bool eventFilter(QObject*, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::Show && offen) {
            offen = false;
            feld_->setText(text);
        }
        return false;
    }

private:
    static QHash<const QObject*, Textnachtrag*>& alle() {
        static QHash<const QObject*, Textnachtrag*> nachträge;
        return nachträge;
    }
    Feld* feld_;
};

template <class Feld>
void Text_zeigen_in(Feld* feld, const QString& text) {
    if (feld->isVisible()) {
        feld->setText(text);
        return;
    }
    Textnachtrag<Feld>* nachtrag = Textnachtrag<Feld>::von(feld);
    nachtrag->text = text;
    nachtrag->offen = true;
}
}  // namespace

void Text_zeigen(QLabel* feld, const QString& text) { Text_zeigen_in(feld, text); }
void Text_zeigen(QLineEdit* feld, const QString& text) { Text_zeigen_in(feld, text); }

void Stationsschalter_anwenden(QWidget* hilfe, QWidget* abbrechen) {
    hilfe->setVisible(Daten.HelpSchalter != 0);
    abbrechen->setVisible(Daten.EscSchalter != 0);
}

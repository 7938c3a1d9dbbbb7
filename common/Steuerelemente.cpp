#include "common/Steuerelemente.h"

#include <QSignalBlocker>

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

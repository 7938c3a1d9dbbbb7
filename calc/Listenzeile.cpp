#include "calc/Listenzeile.h"

#include <QFontMetrics>
#include <QMouseEvent>

#include <algorithm>

#include "platform/Twips.h"

namespace Listenzeile {

int Textbreite_in_Twips(const QFont& schrift, const QString& text) {
    return QFontMetrics(schrift).horizontalAdvance(text) * Twips::pro_Pixel;
}

QString bauen(const QFont& schrift, const QString& block, const QString& signal) {
    QString spalte = Blockschlüssel(block);
    while (Textbreite_in_Twips(schrift, spalte) < Blockspalte)
        spalte += ' ';
    return spalte + '\t' + RTrim(signal);
}

QString Platzhalterzeile(const QFont& schrift) { return bauen(schrift, Platzhalter, Platzhalter); }

QString Block(const QString& zeile) {
    const qsizetype tab = zeile.indexOf('\t');
    return Blockschlüssel(tab < 0 ? zeile : zeile.left(tab));
}

QString Signal(const QString& zeile) {
    const qsizetype tab = zeile.indexOf('\t');
    return tab < 0 ? QString() : zeile.mid(tab + 1);
}

bool ist_Platzhalter(const QString& zeile) { return Block(zeile) == Platzhalter && Signal(zeile) == Platzhalter; }

QString Blockschlüssel(const QString& name) { return RTrim(Links16(name)); }

bool gleicher_Block(const QString& a, const QString& b) { return Blockschlüssel(a) == Blockschlüssel(b); }

bool hat_Text(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c != ' ' && c != QChar(0); });
}

bool ist_Messpunkt(int gruppe, int klemme) {
    const Kanalgruppe& g = Daten.Kanaltabelle[gruppe];
    return hat_Text(g.Signalbezeichnung[klemme].text()) && hat_Text(g.Messblockzuordnung[klemme].text()) &&
           hat_Text(g.Art[klemme].text()) && g.Art[klemme].text() != "Sense";
}

bool Klemme_finden(const QString& block, const QString& signal, i16& gruppe, i16& klemme) {
    for (int g = 1; g <= 16; ++g)
        for (int t = 1; t <= 8; ++t) {
            const Kanalgruppe& k = Daten.Kanaltabelle[g];
            if (gleicher_Block(k.Messblockzuordnung[t].text(), block) &&
                k.Signalbezeichnung[t].text() == RTrim(signal) && k.Art[t].text() != "Sense") {
                gruppe = static_cast<i16>(g);
                klemme = static_cast<i16>(t);
                return true;
            }
        }
    return false;
}

QList<int> verschieben(QStringList& liste, QList<int> zeilen, int ziel) {
    std::sort(zeilen.begin(), zeilen.end());
    zeilen.erase(std::unique(zeilen.begin(), zeilen.end()), zeilen.end());
    zeilen.removeIf([&](int z) { return z < 0 || z >= liste.size(); });
    QStringList bewegt;
    for (int z : zeilen)
        bewegt << liste[z];
    for (auto z = zeilen.rbegin(); z != zeilen.rend(); ++z)
        liste.removeAt(*z);
    ziel = std::clamp(ziel, 0, static_cast<int>(liste.size()));
    QList<int> neu;
    for (int i = 0; i < bewegt.size(); ++i) {
        liste.insert(ziel + i, bewegt[i]);
        neu << ziel + i;
    }
    return neu;
}

}  // namespace Listenzeile

Ziehliste::Ziehliste(QWidget* eltern) : QListWidget(eltern) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(false);
}

int Ziehliste::Zeile_unter(const QPoint& punkt) const {
    const QModelIndex index = indexAt(punkt);
    if (index.isValid())
        return index.row();
    for (int z = 0; z < count(); ++z) {
        // Beside or between the lines: the line at that height, or the next one.
        if (punkt.y() <= visualItemRect(item(z)).bottom())
            return z;
    }
    return count();
}

QStringList Ziehliste::Zeilen() const {
    QStringList zeilen;
    for (int z = 0; z < count(); ++z)
        zeilen << item(z)->text();
    return zeilen;
}

void Ziehliste::Zeilen_setzen(const QStringList& zeilen) {
    clear();
    addItems(zeilen);
}

QList<int> Ziehliste::Ausgewählte_Zeilen() const {
    QList<int> zeilen;
    for (int z = 0; z < count(); ++z)
        if (item(z)->isSelected())
            zeilen << z;
    return zeilen;
}

void Ziehliste::Auswahl_setzen(const QList<int>& zeilen) {
    clearSelection();
    for (int z : zeilen)
        if (z >= 0 && z < count())
            item(z)->setSelected(true);
    if (!zeilen.isEmpty() && zeilen.first() >= 0 && zeilen.first() < count())
        setCurrentRow(zeilen.first(), QItemSelectionModel::NoUpdate);
}

void Ziehliste::mousePressEvent(QMouseEvent* ereignis) {
    if (ereignis->button() != Qt::LeftButton) {
        QListWidget::mousePressEvent(ereignis);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint punkt = ereignis->position().toPoint();
    const QModelIndex index = indexAt(punkt);
    const int zeile = index.isValid() ? index.row() : -1;
    einzeln_bei_loslassen_ = false;
    if (zeile >= 0) {
        const Qt::KeyboardModifiers tasten = ereignis->modifiers();
        if (tasten & Qt::ControlModifier) {
            item(zeile)->setSelected(!item(zeile)->isSelected());
        } else if ((tasten & Qt::ShiftModifier) && currentRow() >= 0) {
            const int von = std::min(currentRow(), zeile), bis = std::max(currentRow(), zeile);
            clearSelection();
            for (int z = von; z <= bis; ++z)
                item(z)->setSelected(true);
        } else if (item(zeile)->isSelected()) {
            // Kept for a drag; a release on the same line selects it alone.
            einzeln_bei_loslassen_ = true;
        } else {
            clearSelection();
            item(zeile)->setSelected(true);
        }
        if (!(tasten & Qt::ShiftModifier) || currentRow() < 0)
            setCurrentRow(zeile, QItemSelectionModel::NoUpdate);
    }
    gedrückt_ = zeile;
    emit MouseDown(Zeile_unter(punkt));
}

void Ziehliste::mouseMoveEvent(QMouseEvent* ereignis) {
    if (ereignis->buttons() & Qt::LeftButton)
        emit MouseMove(Zeile_unter(ereignis->position().toPoint()));
}

void Ziehliste::mouseReleaseEvent(QMouseEvent* ereignis) {
    if (ereignis->button() != Qt::LeftButton) {
        QListWidget::mouseReleaseEvent(ereignis);
        return;
    }
    const int zeile = Zeile_unter(ereignis->position().toPoint());
    if (einzeln_bei_loslassen_ && zeile == gedrückt_)
        Auswahl_setzen({zeile});
    einzeln_bei_loslassen_ = false;
    gedrückt_ = -1;
    emit MouseUp(zeile);
}

void Ziehliste::mouseDoubleClickEvent(QMouseEvent* ereignis) { ereignis->accept(); }

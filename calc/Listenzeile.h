#pragma once
// The two-column lines of the scan list and the recording order, the terminal
// lookup both pages share, and the list that lets the operator drag several
// lines at once.
#include <QFont>
#include <QList>
#include <QListWidget>
#include <QString>
#include <QStringList>

#include "common/Programmdaten.h"

namespace Listenzeile {

// Width of the block column; the signal column starts after it.
constexpr int Blockspalte = 1350;  // twips
// Usable records of the scan list (1..120) and columns of the recording order (0..119).
constexpr int Plätze = 120;
// Block and signal name of a placeholder column of the recording order.
inline const QString Platzhalter = QStringLiteral("gelöscht!");

// Displayed width of a text in twips (15 twips per pixel).
int Textbreite_in_Twips(const QFont& schrift, const QString& text);

// Block name (first 16 characters, trailing blanks removed) padded with
// blanks until its width reaches the block column, a TAB, the signal name.
QString bauen(const QFont& schrift, const QString& block, const QString& signal);
QString Platzhalterzeile(const QFont& schrift);

// Reading a line back: the block is the part before the TAB, first 16
// characters, trailing blanks removed; the signal is everything after it.
QString Block(const QString& zeile);
QString Signal(const QString& zeile);
bool ist_Platzhalter(const QString& zeile);

// Block names are compared on their first 16 characters, without trailing blanks.
QString Blockschlüssel(const QString& name);
bool gleicher_Block(const QString& a, const QString& b);

// A name counts only when it holds something besides blanks; a field that was
// never assigned (zero characters) counts as empty here too, so that an
// unprepared table never yields points or list lines.
bool hat_Text(const QString& text);

// A terminal is a measuring point when it has a signal name, a block and a
// kind other than "Sense".
bool ist_Messpunkt(int gruppe, int klemme);

// The first terminal (groups 1..16, terminals 1..8) that is not "Sense" and
// carries this block (first 16 characters) and signal name; false when none does.
bool Klemme_finden(const QString& block, const QString& signal, i16& gruppe, i16& klemme);

// Moves the lines at 'zeilen' (any order) to 'ziel': they are taken out and
// inserted again, in their order, at that index of what remains (the end when
// it lies beyond). Returns the new indexes of the moved lines.
QList<int> verschieben(QStringList& liste, QList<int> zeilen, int ziel);

}  // namespace Listenzeile

// A multi-select list that reports mouse down, move and up with the line
// under the mouse (0..count; count means "below the last line"). Ctrl toggles
// a line, Shift extends from the current line; a plain press on a selected
// line keeps the selection, so that several lines can be dragged.
class Ziehliste : public QListWidget {
    Q_OBJECT
public:
    explicit Ziehliste(QWidget* eltern = nullptr);

    int Zeile_unter(const QPoint& punkt) const;
    QStringList Zeilen() const;
    void Zeilen_setzen(const QStringList& zeilen);
    QList<int> Ausgewählte_Zeilen() const;  // ascending
    void Auswahl_setzen(const QList<int>& zeilen);

signals:
    void MouseDown(int zeile);
    void MouseMove(int zeile);
    void MouseUp(int zeile);

protected:
    void mousePressEvent(QMouseEvent* ereignis) override;
    void mouseMoveEvent(QMouseEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
    void mouseDoubleClickEvent(QMouseEvent* ereignis) override;

private:
    int gedrückt_ = -1;
    bool einzeln_bei_loslassen_ = false;
};

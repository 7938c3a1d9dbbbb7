#include "common/Datumstext.h"

namespace {
// Length of the run of 'zeichen' that starts at 'pos'.
int Lauflänge(const QString& muster, int pos, QChar zeichen) {
    int n = 0;
    while (pos + n < muster.size() && muster[pos + n].toLower() == zeichen)
        ++n;
    return n;
}

QString zweistellig(int wert) { return QString::number(wert).rightJustified(2, '0'); }
}

QString Monatskürzel(int monat) {
    static const char* const namen[] = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                        "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    return monat >= 1 && monat <= 12 ? QString::fromLatin1(namen[monat - 1]) : QString();
}

QString Datum_formatieren(const QDate& datum, const QString& muster) {
    QString text;
    for (int i = 0; i < muster.size();) {
        const QChar c = muster[i].toLower();
        if (c == 'd') {
            const int n = Lauflänge(muster, i, 'd');
            text += n >= 2 ? zweistellig(datum.day()) : QString::number(datum.day());
            i += qMin(n, 2);
        } else if (c == 'm') {
            const int n = Lauflänge(muster, i, 'm');
            if (n >= 3)
                text += Monatskürzel(datum.month());
            else
                text += n == 2 ? zweistellig(datum.month()) : QString::number(datum.month());
            i += qMin(n, 3);
        } else if (c == 'y') {
            const int n = Lauflänge(muster, i, 'y');
            if (n >= 4) {
                text += QString::number(datum.year()).rightJustified(4, '0');
                i += 4;
            } else {
                text += zweistellig(datum.year() % 100);
                i += qMin(n, 2);
            }
        } else {
            text += muster[i];
            ++i;
        }
    }
    return text;
}

QString Zeit_formatieren(const QTime& zeit, const QString& muster) {
    QString text;
    for (int i = 0; i < muster.size();) {
        const QChar c = muster[i].toLower();
        int wert = -1;
        if (c == 'h')
            wert = zeit.hour();
        else if (c == 'm' || c == 'n')
            wert = zeit.minute();
        else if (c == 's')
            wert = zeit.second();
        if (wert < 0) {
            text += muster[i];
            ++i;
            continue;
        }
        const int n = Lauflänge(muster, i, c);
        text += n >= 2 ? zweistellig(wert) : QString::number(wert);
        i += qMin(n, 2);
    }
    return text;
}

#pragma once
// The one clock of the station: system time plus KESTRIX_CLOCK_OFFSET
// seconds when that variable is set. Tests shift it; none changes the real
// system clock.
#include <QDateTime>

class Uhr {
public:
    virtual ~Uhr() = default;
    virtual QDateTime jetzt() const;
    // Setting the station clock or date moves the offset while one is set;
    // otherwise it asks the operating system (which needs the privilege).
    virtual bool Uhrzeit_setzen(const QTime& zeit);
    virtual bool Datum_setzen(const QDate& datum);

    double Versatz() const { return versatz_s; }
    void Versatz_setzen(double sekunden) { versatz_s = sekunden; mit_versatz = true; }

    QDate Datum() const { return jetzt().date(); }
    QTime Zeit() const { return jetzt().time(); }
    // Seconds since midnight, with milliseconds.
    double Sekunden_seit_Mitternacht() const;
    // Date and time of day of the station now, as jetzt() gives them.
    struct Zeitpunkt {
        QDate Datum;
        QTime Zeit;
    };
    Zeitpunkt Ortszeit() const;

protected:
    Uhr();
    friend Uhr& uhr();
    double versatz_s = 0;
    bool mit_versatz = false;

private:
    // Milliseconds of local time since the epoch; the zone is read once and
    // its offset kept until its next change.
    qint64 Ortszeit_ms() const;
    mutable qint64 abstand_ms_ = 0;  // offset of the local zone
    mutable qint64 abstand_von_ms_ = 0, abstand_bis_ms_ = 0;  // while it holds
    bool systemzeit_setzen(const QDateTime& ziel);
};

Uhr& uhr();
void uhr_ersetzen(Uhr* neu);  // nullptr restores the real one

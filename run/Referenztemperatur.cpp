// The reference-junction temperature of the relay module, for the thermocouple blocks.
#include <cmath>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Steuerelemente.h"
#include "common/Zahltext.h"
#include "project/Hinweisform.h"
#include "run/Hauptfenster.h"

namespace {
constexpr double alpha = 0.00788;
constexpr double beta = 1.937e-5;

// Mantissa times ten to the exponent, as the box writes its readings.
double Lesewert(const QString& lesung) {
    const qsizetype e = lesung.indexOf('E');
    const QString mantisse = e >= 0 ? lesung.left(e) : lesung;
    const double exponent = e >= 0 ? Zahl_lesen(lesung.mid(e + 1)).value_or(0) : 0;
    return Zahl_lesen(mantisse).value_or(0) * std::pow(10.0, exponent);
}

// The number as the station's German number text shows it (up to 15 digits).
QString Zahl_deutsch(double wert) { return QString::number(wert, 'g', 15).replace('.', ','); }
}

double Hauptfenster::Referenzsensor_Temperatur(double widerstand) {
    return 25 + (std::sqrt(alpha * alpha - 4 * beta + 4 * beta * (widerstand + 3) / 1980) - alpha) / (2 * beta);
}

void Hauptfenster::Referenz_aufteilen(double mittel, qint16& Ganzzahl, double& Rest) {
    const QString text = Zahl_deutsch(mittel);
    const bool mit_komma = text.contains(',');
    const QString gekürzt = text.left(7) + "000000000";
    if (mittel < 0) {
        Rest = mit_komma ? Zahl_lesen(gekürzt).value_or(0) : mittel;
        Ganzzahl = 0;
    } else if (mit_komma) {
        Rest = Zahl_lesen("0" + gekürzt.mid(gekürzt.indexOf(','))).value_or(0);
        Ganzzahl = static_cast<qint16>(std::trunc(mittel));
    } else {
        Rest = 0;
        Ganzzahl = static_cast<qint16>(mittel);
    }
}

void Hauptfenster::Keith2000_RefTemp(qint16& Ganzzahl, double& Rest) {
    Label50->setText("start");
    TCPIPBefehl_mit_Antwort("00033");
    if (Daten.Timeoutzähler == 10)
        return;
    Text_zeigen(Text1, Letztantwort);
    const QStringList teile = Letztantwort.split(',');
    double T[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        // The fourth reading is the rest of the reply after the third comma.
        const QString lesung = i < 3 ? teile.value(i) : teile.mid(3).join(',');
        if (lesung.contains("E37")) {
            if (Fenster.Hinweisform)
                Fenster.Hinweisform->zeigen(this, "keine Thermoelement-Referenz- Temperaturmess. mögl.! ", {}, "Ok");
            messen_drücken();
            break;
        }
        T[i] = Referenzsensor_Temperatur(Lesewert(lesung));
    }
    const double mittel = (T[0] + T[1] + T[2] + T[3]) / 4;
    if (mittel > 50) {
        Ganzzahl = 50;
        if (Fenster.Hinweisform)
            Fenster.Hinweisform->zeigen(this, "Thermoelement- Referenztemperatur       > 50°C!", {}, "Ok");
        messen_drücken();
    } else if (mittel < -20) {
        Ganzzahl = 0;
        if (Fenster.Hinweisform)
            Fenster.Hinweisform->zeigen(this, "Thermoelement- Referenztemperatur       < -20°C!", {}, "Ok");
        messen_drücken();
    } else {
        Referenz_aufteilen(mittel, Ganzzahl, Rest);
    }
}

#pragma once
// Starting another program. The station names programs the Windows way
// ("d:\update.exe", "notepad.exe", "c:\Dazuzoz\KestiMSNet.exe"); the
// launcher maps the name to this platform's program and reports a failed start.
#include <QString>
#include <QStringList>

enum class Fensterart { normal, minimiert };

class Programmstarter {
public:
    virtual ~Programmstarter() = default;
    virtual bool starten(const QString& windowsname, const QStringList& argumente = {},
                         Fensterart art = Fensterart::normal);
    // The local program for a Windows program name ("" when none is found).
    static QString Programm_zu(const QString& windowsname);
};

Programmstarter& programmstarter();
void programmstarter_ersetzen(Programmstarter* neu);  // nullptr restores the real one

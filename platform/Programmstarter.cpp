#include "platform/Programmstarter.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/Pfade.h"

namespace {
QString ohne_exe(const QString& pfad) {
    return pfad.endsWith(".exe", Qt::CaseInsensitive) ? pfad.left(pfad.size() - 4) : pfad;
}

bool ausführbar(const QString& pfad) {
    const QFileInfo info(pfad);
    return info.isFile() && info.isExecutable();
}
}

QString Programmstarter::Programm_zu(const QString& windowsname) {
    const QString name = windowsname.trimmed();
    if (name.compare("notepad.exe", Qt::CaseInsensitive) == 0 || name.compare("notepad", Qt::CaseInsensitive) == 0) {
        const QString editor = qEnvironmentVariable("KESTRIX_EDITOR");
        if (!editor.isEmpty())
            return editor;
        for (const char* kandidat : {"mousepad", "gedit", "kate", "xdg-open"}) {
            const QString gefunden = QStandardPaths::findExecutable(kandidat);
            if (!gefunden.isEmpty())
                return gefunden;
        }
        return {};
    }
    const bool mit_pfad = name.contains('\\') || name.contains('/') || (name.size() > 1 && name[1] == ':');
    const QString lokal = mit_pfad ? Pfade::lokal(name) : Pfade::im_Programmverzeichnis(name);
    if (ausführbar(lokal))
        return lokal;
    const QFileInfo info(lokal);
    const QString ohne = info.absolutePath() + '/' + Pfade::eintrag_suchen(info.absolutePath(), ohne_exe(info.fileName()));
    if (ausführbar(ohne))
        return ohne;
    if (!mit_pfad) {
        const QString gefunden = QStandardPaths::findExecutable(ohne_exe(name));
        if (!gefunden.isEmpty())
            return gefunden;
    }
    return {};
}

bool Programmstarter::starten(const QString& windowsname, const QStringList& argumente, Fensterart) {
    // This platform has no window state to pass on start; minimised programs
    // start like any other.
    const QString programm = Programm_zu(windowsname);
    if (programm.isEmpty())
        return false;
    return QProcess::startDetached(programm, argumente, QFileInfo(programm).absolutePath());
}

namespace {
Programmstarter echter_starter;
Programmstarter* aktueller_starter = &echter_starter;
}
Programmstarter& programmstarter() { return *aktueller_starter; }
void programmstarter_ersetzen(Programmstarter* neu) { aktueller_starter = neu ? neu : &echter_starter; }

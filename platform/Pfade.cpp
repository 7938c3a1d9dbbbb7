#include "platform/Pfade.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/vfs.h>

namespace Pfade {

QString Stationswurzel() {
    const QString gesetzt = qEnvironmentVariable("KESTRIX_ROOT");
    if (!gesetzt.isEmpty())
        return QDir::cleanPath(gesetzt);
    return QDir::homePath() + "/.local/share/kestrix";
}

QString Programmverzeichnis() {
    const QString gesetzt = qEnvironmentVariable("KESTRIX_PROGDIR");
    if (!gesetzt.isEmpty())
        return QDir::cleanPath(gesetzt);
    return QCoreApplication::applicationDirPath();
}

QString eintrag_suchen(const QString& ordner, const QString& name) {
    if (QFileInfo::exists(ordner + '/' + name))
        return name;
    const QStringList einträge =
        QDir(ordner).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : einträge)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return name;
}

QString lokal(const QString& windowspfad) {
    QString rest = windowspfad;
    QString ergebnis;
    if (rest.size() >= 2 && rest[1] == ':' && rest[0].isLetter()) {
        ergebnis = Stationswurzel() + '/' + rest[0].toLower();
        rest = rest.mid(2);
    } else if (rest.startsWith('/')) {
        ergebnis = "";  // already a local path
    } else {
        ergebnis = Programmverzeichnis();
    }
    static const QRegularExpression trenner(R"([\\/])");
    const QStringList teile = rest.split(trenner, Qt::SkipEmptyParts);
    if (teile.isEmpty() && ergebnis.isEmpty())
        return "/";
    for (const QString& teil : teile)
        ergebnis += '/' + eintrag_suchen(ergebnis.isEmpty() ? "/" : ergebnis, teil);
    return ergebnis;
}

QString im_Programmverzeichnis(const QString& name) {
    const QString ordner = Programmverzeichnis();
    return ordner + '/' + eintrag_suchen(ordner, name);
}

}  // namespace Pfade

Laufwerkstyp Laufwerksabfrage::Typ(const QString& wurzel) {
    if (wurzel.size() < 2 || wurzel[1] != ':' || !wurzel[0].isLetter())
        return Laufwerkstyp::kein_Stammverzeichnis;
    const QString ordner = Pfade::Stationswurzel() + '/' + wurzel[0].toLower();
    if (!QFileInfo(ordner).isDir())
        return Laufwerkstyp::kein_Stammverzeichnis;
    struct statfs info {};
    if (statfs(QFile::encodeName(ordner).constData(), &info) != 0)
        return Laufwerkstyp::unbestimmt;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x01021994UL:  // tmpfs
    case 0x858458F6UL:  // ramfs
        return Laufwerkstyp::RAMDisk;
    case 0x6969UL:      // nfs
    case 0xFF534D42UL:  // cifs
    case 0xFE534D42UL:  // smb2
    case 0x517BUL:      // smb
        return Laufwerkstyp::Netzwerk;
    case 0x9660UL:      // iso9660
    case 0x15013346UL:  // udf
        return Laufwerkstyp::CDROM;
    default:
        return Laufwerkstyp::fest;
    }
}

namespace {
Laufwerksabfrage echte_laufwerke;
Laufwerksabfrage* aktuelle_laufwerke = &echte_laufwerke;
}
Laufwerksabfrage& laufwerke() { return *aktuelle_laufwerke; }
void laufwerke_ersetzen(Laufwerksabfrage* neu) { aktuelle_laufwerke = neu ? neu : &echte_laufwerke; }

#include "dadavu/Station.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "dadavu/Zeilenleser.h"

namespace dadavu {
namespace {
// A path below 'wurzel' with each component matched without regard to case.
QString unter(const QString& wurzel, const QString& relativ) {
    QString pfad = wurzel;
    for (const QString& teil : relativ.split('/', Qt::SkipEmptyParts))
        pfad = Datei_finden(pfad + '/' + teil);
    return pfad;
}

QString Ini_wert(const QString& programmverzeichnis, const QString& schlüssel) {
    QFile ini(Datei_finden(programmverzeichnis + "/Kesti.ini"));
    if (!ini.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& zeile : ini.readAll().split('\n')) {
        const QString z = Text1252(std::string_view(zeile.constData(), static_cast<size_t>(zeile.size())));
        if (z.startsWith(schlüssel + "=", Qt::CaseInsensitive))
            return z.mid(schlüssel.size() + 1).trimmed();
    }
    return {};
}

bool ist_Verlaufsdatei(const QString& name) {
    const QString n = name.toLower();
    if (n.endsWith(".roh") || n.endsWith(".cal"))
        return true;
    if (!n.endsWith(".txt"))
        return false;
    return Datum_aus_Dateiname(name).isValid() || n.endsWith("_c.txt") || n.endsWith("_r.txt");
}
}  // namespace

QString Datei_finden(const QString& pfad) {
    const QFileInfo info(pfad);
    if (info.exists())
        return pfad;
    const QDir ordner = info.dir();
    for (const QString& eintrag : ordner.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        if (eintrag.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return ordner.filePath(eintrag);
    return pfad;
}

QString Stationswurzel_zu(const QString& schnittstellendatei) {
    QDir laufwerk = QFileInfo(schnittstellendatei).absoluteDir();
    if (!laufwerk.cdUp())
        return {};
    return QFileInfo(laufwerk.filePath("c")).isDir() ? laufwerk.absolutePath() : QString();
}

QString Projektkurzname(const QString& wurzel) {
    QFile datei(unter(wurzel, "c/kestrix/intern/projbez/projekt.kxp"));
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    const QByteArray zeile = datei.readLine().trimmed();
    return Text1252(std::string_view(zeile.constData(), static_cast<size_t>(zeile.size()))).section('.', 0, 0);
}

QStringList Verlaufsdateien(const QString& wurzel, const QString& programmverzeichnis) {
    QStringList ordner;
    const QString projekt = Projektkurzname(wurzel);
    if (!projekt.isEmpty())
        ordner << unter(wurzel, "c/kestrix/extern/messdat/" + projekt);
    QString puffer = Ini_wert(programmverzeichnis, "Ramdisk2");
    if (puffer.isEmpty())
        puffer = "e:\\";
    ordner << unter(wurzel, puffer.left(1).toLower());
    QFileInfoList dateien;
    for (const QString& o : ordner)
        for (const QFileInfo& info : QDir(o).entryInfoList(QDir::Files))
            if (ist_Verlaufsdatei(info.fileName()))
                dateien << info;
    std::sort(dateien.begin(), dateien.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.lastModified() > b.lastModified(); });
    QStringList pfade;
    for (const QFileInfo& info : dateien)
        pfade << info.absoluteFilePath();
    return pfade;
}

QString Exportordner(const QString& wurzel, const QString& schnittstellendatei) {
    if (!wurzel.isEmpty()) {
        const QString ziel = unter(wurzel, "c/kestrix/extern/export");
        if (QDir().mkpath(ziel))
            return ziel;
    }
    return QFileInfo(schnittstellendatei).absolutePath();
}

}  // namespace dadavu

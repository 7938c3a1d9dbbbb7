#include "Plattform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

namespace Loadmate {

namespace {

// 0x80..0x9F of Windows-1252; 0 where the code page has no character.
constexpr char16_t Zeichen_80_9F[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

} // namespace

QString Ansi_nach_Unicode(const QByteArray &ansi)
{
    QString text;
    text.reserve(ansi.size());
    for (char c : ansi) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0x9F && Zeichen_80_9F[b - 0x80] != 0)
            text += QChar(Zeichen_80_9F[b - 0x80]);
        else
            text += QChar(b); // undefined codes keep their value, as the old platform did
    }
    return text;
}

QByteArray Unicode_nach_Ansi(const QString &text)
{
    QByteArray ansi;
    ansi.reserve(text.size());
    for (QChar z : text) {
        const char16_t u = z.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            ansi += char(u);
            continue;
        }
        char b = '?';
        for (int i = 0; i < 32; ++i)
            if (Zeichen_80_9F[i] == u || (Zeichen_80_9F[i] == 0 && u == 0x80 + i))
                b = char(0x80 + i);
        ansi += b;
    }
    return ansi;
}

QString Programmordner()
{
    const QByteArray ordner = qgetenv("LOADMATE_DIR");
    if (!ordner.isEmpty())
        return QDir::cleanPath(QString::fromLocal8Bit(ordner));
    return QCoreApplication::applicationDirPath();
}

QString Programmdatei(const QString &name)
{
    return Programmordner() + QLatin1Char('/') + name;
}

bool Datei_sicher_ersetzen(const QString &quelle, const QString &ziel, QString *fehler)
{
    auto Fehler = [&](const QString &text) {
        if (fehler)
            *fehler = text;
        return false;
    };
    QFile ein(quelle);
    if (!ein.open(QIODevice::ReadOnly))
        return Fehler(QStringLiteral("Datei %1 kann nicht gelesen werden").arg(quelle));

    // QSaveFile writes a temporary file in the target's folder, flushes it to
    // disk and renames it over the target only when everything was written.
    QSaveFile aus(ziel);
    aus.setDirectWriteFallback(false);
    if (!aus.open(QIODevice::WriteOnly))
        return Fehler(QStringLiteral("Datei %1 kann nicht angelegt werden").arg(ziel));
    char puffer[64 * 1024];
    for (;;) {
        const qint64 n = ein.read(puffer, sizeof puffer);
        if (n < 0)
            return Fehler(QStringLiteral("Datei %1 kann nicht gelesen werden").arg(quelle));
        if (n == 0)
            break;
        if (aus.write(puffer, n) != n)
            return Fehler(QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(ziel));
    }
    // The copy must stay a program the station can start.
    aus.setPermissions(ein.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser
                       | QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::WriteOwner
                       | QFileDevice::WriteUser);
    if (!aus.commit())
        return Fehler(QStringLiteral("Datei %1 kann nicht ersetzt werden").arg(ziel));

    // Make the rename itself survive a power failure.
    const QByteArray ordner = QFile::encodeName(QFileInfo(ziel).absolutePath());
    const int fd = ::open(ordner.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return true;
}

// ---- message boxes ----

namespace {

class Echte_Meldungen : public Meldungen {
public:
    void Meldung(QWidget *eltern, const QString &text) override
    {
        QMessageBox::information(eltern, QStringLiteral("Loadmate"), text, QMessageBox::Ok);
    }
};

Meldungen *installierte_Meldungen = nullptr;

class Echtes_Warten : public Warten {
public:
    void Sekunden(double sekunden) override { Ereignisse_verarbeiten_für(sekunden); }
};

Warten *installiertes_Warten = nullptr;

} // namespace

Meldungen &meldungen()
{
    static Echte_Meldungen echt;
    return installierte_Meldungen ? *installierte_Meldungen : echt;
}

void Meldungen_ersetzen(Meldungen *ersatz) { installierte_Meldungen = ersatz; }

Warten &warten()
{
    static Echtes_Warten echt;
    return installiertes_Warten ? *installiertes_Warten : echt;
}

void Warten_ersetzen(Warten *ersatz) { installiertes_Warten = ersatz; }

void Ereignisse_verarbeiten_für(double sekunden)
{
    const QDeadlineTimer frist(qint64(sekunden * 1000.0 + 0.5));
    // A nested loop that a single-shot timer ends at the deadline: it sleeps
    // in the event dispatcher, and anything that arrives meanwhile is handled
    // at once.
    QEventLoop schleife;
    QTimer wecker;
    wecker.setSingleShot(true);
    wecker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wecker, &QTimer::timeout, &schleife, &QEventLoop::quit);
    while (!frist.hasExpired()) {
        wecker.start(int(qMax<qint64>(0, frist.remainingTime())));
        schleife.exec();
        // exec() also returns early when the application quits.
        if (QCoreApplication::closingDown() || wecker.isActive())
            break;
    }
}

void Ereignisse_verarbeiten()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace Loadmate

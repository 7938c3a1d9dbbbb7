#include "Hilfen.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>

namespace Testhilfe {

namespace {

const char *const Serverskript = R"PY(
import logging, os, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

root, log = sys.argv[1], sys.argv[2]
nur_lesen = set(n for n in sys.argv[3].split(',') if n)
kennwort = sys.argv[4]

class Auth(DummyAuthorizer):
    def has_perm(self, username, perm, path=None):
        if path is not None and perm in 'adfmw' and os.path.basename(path) in nur_lesen:
            return False
        return DummyAuthorizer.has_perm(self, username, perm, path)

class Handler(FTPHandler):
    def pre_process_command(self, line, cmd, arg):
        with open(log, 'a') as f:
            f.write((cmd + ' ' + arg if arg else cmd) + '\n')
        FTPHandler.pre_process_command(self, line, cmd, arg)

a = Auth()
a.add_user('ftp', kennwort, root, perm='elradfmw')
Handler.authorizer = a
Handler.banner = 'Q7 FTP bereit'
Handler.auth_failed_timeout = 0.05
logging.basicConfig(level=logging.CRITICAL)
s = FTPServer(('127.0.0.1', 0), Handler)
print('PORT', s.socket.getsockname()[1], flush=True)
s.serve_forever()
)PY";

} // namespace

FTPServer::FTPServer(const QStringList &nur_lesen, const QString &kennwort)
{
    prozess_.setProcessChannelMode(QProcess::SeparateChannels);
    prozess_.start(QStringLiteral(LOADMATE_PYTHON),
                   {QStringLiteral("-c"), QString::fromUtf8(Serverskript), disk_.path(),
                    verwaltung_.filePath(QStringLiteral("befehle.txt")), nur_lesen.join(QLatin1Char(',')),
                    kennwort});
    if (!prozess_.waitForStarted(5000))
        return;
    QByteArray ausgabe;
    const QDeadlineTimer frist(10000);
    while (!frist.hasExpired() && !ausgabe.contains('\n')) {
        if (!prozess_.waitForReadyRead(int(frist.remainingTime())))
            break;
        ausgabe += prozess_.readAllStandardOutput();
    }
    if (ausgabe.startsWith("PORT "))
        port_ = quint16(ausgabe.mid(5).trimmed().toUInt());
}

FTPServer::~FTPServer()
{
    if (prozess_.state() != QProcess::NotRunning) {
        prozess_.kill();
        prozess_.waitForFinished(3000);
    }
}

QStringList FTPServer::Befehle() const
{
    const QString text = QString::fromUtf8(Lesen(verwaltung_.filePath(QStringLiteral("befehle.txt"))));
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool FTPServer::Warte_auf_Befehl(const QString &befehl, int ms) const
{
    const QDeadlineTimer frist(ms);
    while (!frist.hasExpired()) {
        if (Befehle().contains(befehl))
            return true;
        Loadmate::Ereignisse_verarbeiten_für(0.02);
    }
    return Befehle().contains(befehl);
}

QByteArray Lesen(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Schreiben(const QString &pfad, const QByteArray &inhalt)
{
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(inhalt) == inhalt.size();
}

Umgebung::Umgebung(const char *name, const QByteArray &wert)
    : name_(name), alt_(qgetenv(name)), hatte_(qEnvironmentVariableIsSet(name))
{
    qputenv(name, wert);
}

Umgebung::~Umgebung()
{
    if (hatte_)
        qputenv(name_, alt_);
    else
        qunsetenv(name_);
}

Antworter::Antworter(const QHostAddress &adresse, quint16 port, QList<QByteArray> antworten)
    : antworten_(std::move(antworten))
{
    bereit_ = socket_.bind(adresse, port, QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
    QObject::connect(&socket_, &QUdpSocket::readyRead, [this] {
        while (socket_.hasPendingDatagrams()) {
            const QNetworkDatagram d = socket_.receiveDatagram();
            if (d.data() != "0 1 ")
                continue;
            ++anfragen_;
            for (const QByteArray &a : antworten_)
                socket_.writeDatagram(a, d.senderAddress(), quint16(d.senderPort()));
        }
    });
}

bool Q7sim::vorhanden()
{
#ifdef Q7SIM_PFAD
    return QFileInfo(QStringLiteral(Q7SIM_PFAD)).isExecutable();
#else
    return false;
#endif
}

Q7sim::Q7sim(const QStringList &argumente, const QStringList &vorsatz)
{
#ifdef Q7SIM_PFAD
    QStringList alle = vorsatz;
    alle << QStringLiteral(Q7SIM_PFAD) << argumente;
    const QString programm = alle.takeFirst();
    prozess_.start(programm, alle);
    if (!prozess_.waitForStarted(5000)) {
        fehler_ = prozess_.errorString();
        return;
    }
    QByteArray ausgabe;
    const QDeadlineTimer frist(10000);
    while (!frist.hasExpired() && !ausgabe.contains("PORT ")) {
        if (!prozess_.waitForReadyRead(int(qMax<qint64>(1, frist.remainingTime()))))
            break;
        ausgabe += prozess_.readAllStandardOutput();
    }
    bereit_ = ausgabe.contains("PORT ");
    if (!bereit_)
        fehler_ = QString::fromLocal8Bit(ausgabe + prozess_.readAllStandardError());
#else
    Q_UNUSED(argumente);
    Q_UNUSED(vorsatz);
    fehler_ = QStringLiteral("q7sim nicht gebaut");
#endif
}

Q7sim::~Q7sim()
{
    if (prozess_.state() != QProcess::NotRunning) {
        prozess_.terminate();
        if (!prozess_.waitForFinished(3000)) {
            prozess_.kill();
            prozess_.waitForFinished(3000);
        }
    }
}

QByteArray Boxantwort(const QString &adresse, const QByteArray &seriennummer)
{
    const qsizetype punkt = adresse.indexOf(QLatin1Char('.'));
    return "IP:" + adresse.left(punkt).rightJustified(3, QLatin1Char(' ')).toLatin1()
           + adresse.mid(punkt).toLatin1() + " 255.255.255.0 00-50-C2-00-00-01 V1.02.7 SNr: " + seriennummer;
}

bool Warte_bis(const std::function<bool()> &bedingung, int ms)
{
    const QDeadlineTimer frist(ms);
    while (!bedingung()) {
        if (frist.hasExpired())
            return false;
        Loadmate::Ereignisse_verarbeiten_für(0.01);
    }
    return true;
}

quint16 Freier_UDP_Port()
{
    for (int versuch = 0; versuch < 50; ++versuch) {
        QUdpSocket s;
        if (!s.bind(QHostAddress::AnyIPv4, 0))
            continue;
        const quint16 p = s.localPort();
        s.close();
        QUdpSocket probe;
        if (probe.bind(QHostAddress::AnyIPv4, p))
            return p;
    }
    return 0;
}

} // namespace Testhilfe

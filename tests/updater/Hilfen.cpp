#include "Hilfen.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QUdpSocket>

namespace Testhilfe {

namespace {

const char *const Serverskript = R"PY(
import logging, os, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

root, log = sys.argv[1], sys.argv[2]
nur_lesen = set(n for n in sys.argv[3].split(',') if n) if len(sys.argv) > 3 else set()

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
a.add_user('ftp', 'wbn', root, perm='elradfmw')
Handler.authorizer = a
Handler.banner = 'Q7 FTP bereit'
Handler.auth_failed_timeout = 0.05
logging.basicConfig(level=logging.CRITICAL)
s = FTPServer(('127.0.0.1', 0), Handler)
print('PORT', s.socket.getsockname()[1], flush=True)
s.serve_forever()
)PY";

} // namespace

FTPServer::FTPServer(const QStringList &nur_lesen)
{
    prozess_.setProcessChannelMode(QProcess::SeparateChannels);
    prozess_.start(QStringLiteral(LOADMATE_PYTHON),
                   {QStringLiteral("-c"), QString::fromUtf8(Serverskript), disk_.path(),
                    verwaltung_.filePath(QStringLiteral("befehle.txt")), nur_lesen.join(QLatin1Char(','))});
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

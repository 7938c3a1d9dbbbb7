// q7sim: a simulated measuring box for tests, the demo and trying a project
// without hardware. See README.md for the options.

#include "box.h"
#include "check.h"
#include "discovery.h"
#include "link.h"
#include "signalmodel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <QSocketNotifier>

#include <csignal>
#include <memory>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int stopPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char c = 1;
    [[maybe_unused]] auto n = ::write(stopPipe[1], &c, 1);
}

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "q7sim: %s\n", qPrintable(message));
    std::exit(2);
}

int number(const QCommandLineParser &p, const QString &name, int fallback, int min, int max)
{
    if (!p.isSet(name))
        return fallback;
    bool ok = false;
    const int v = p.value(name).toInt(&ok);
    if (!ok || v < min || v > max)
        fail(QStringLiteral("--%1 needs a whole number from %2 to %3").arg(name).arg(min).arg(max));
    return v;
}

QHostAddress ipv4(const QString &text, const QString &what)
{
    QHostAddress a;
    if (!a.setAddress(text) || a.protocol() != QAbstractSocket::IPv4Protocol)
        fail(QStringLiteral("%1: \"%2\" is not an IPv4 address").arg(what, text));
    return a;
}

QByteArray serialNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 9)
        fail(QStringLiteral("serial number \"%1\" must have 1 to 9 characters").arg(text));
    return text.toLatin1();
}

bool isCode(const QString &s)
{
    if (s.size() != 5)
        return false;
    for (QChar c : s)
        if (!c.isDigit())
            return false;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("q7sim"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Simulated measuring box."));
    p.addHelpOption();
    const auto opt = [&](const char *name, const char *help, const char *value = nullptr) {
        p.addOption(value ? QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help),
                                               QString::fromLatin1(value))
                          : QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help)));
    };
    opt("port", "TCP port for command frames (default 7, 0 = any free port).", "N");
    opt("host", "Address to listen on (default 127.0.0.1).", "ADDR");
    opt("discovery", "Also answer discovery datagrams on this UDP address and port.", "ADDR:PORT");
    opt("serial", "Serial number of the box (default Q70000001).", "S");
    opt("reply-address", "Address given in the discovery reply (default --host).", "A");
    opt("extra-box", "Another box answering discovery (repeatable).", "ADDR,SERIAL");
    opt("firmware", "Firmware text (default V1.02.7).", "TEXT");
    opt("no-meter", "Report that no multimeter is attached.");
    opt("signal", "Signal model of a terminal, cross point or variable (repeatable).", "KEY=MODEL");
    opt("signals", "File of KEY=MODEL lines.", "FILE");
    opt("reftemp", "Temperature of the reference sensor in degrees C (default 23.5).", "DEGC");
    opt("log", "Append every received frame to this file.", "FILE");
    opt("silent", "Never answer.");
    opt("silent-on", "Never answer frames with this code (repeatable).", "CODE");
    opt("repeat-only", "Answer a frame only when it repeats the frame just before it.");
    opt("delay-ms", "Answer this many milliseconds late.", "N");
    opt("chunks", "Split every reply into this many pieces.", "N");
    opt("chunk-gap-ms", "Milliseconds between pieces (default 50).", "G");
    opt("wrong-length", "Send single values of 10 bytes and headers counting one byte too many.");
    opt("drop-after", "Close the connection on receiving the Nth frame.", "N");
    opt("seed", "Seed of the noise of signals without a seed of their own (default 1).", "N");
    opt("timing", "Take as long as a real meter: NPLC line periods per reading.");
    opt("line-hz", "Line frequency for --timing (default 50).", "HZ");
    opt("check", "Print what each scan-list entry of a project sees, and whether its block fits; then end.",
        "PROJECT");
    opt("station", "Station root for --check (default $KESTRIX_ROOT, else ~/.local/share/kestrix).", "DIR");
    p.process(app);
    if (!p.positionalArguments().isEmpty())
        fail(QStringLiteral("unexpected argument \"%1\"").arg(p.positionalArguments().first()));

    QString error;
    SignalTable signalTable;
    if (p.isSet(QStringLiteral("signals")) && !signalTable.load(p.value(QStringLiteral("signals")), &error))
        fail(error);
    for (const QString &s : p.values(QStringLiteral("signal")))
        if (!signalTable.assign(s, &error))
            fail(error);
    if (p.isSet(QStringLiteral("seed"))) {
        bool ok = false;
        const qulonglong seed = p.value(QStringLiteral("seed")).toULongLong(&ok);
        if (!ok)
            fail(QStringLiteral("--seed needs a whole number"));
        signalTable.setSeed(seed);
    }

    Box::Options boxOptions;
    if (p.isSet(QStringLiteral("firmware")))
        boxOptions.firmware = p.value(QStringLiteral("firmware")).toLatin1();
    boxOptions.meterPresent = !p.isSet(QStringLiteral("no-meter"));
    boxOptions.wrongLength = p.isSet(QStringLiteral("wrong-length"));
    if (p.isSet(QStringLiteral("reftemp"))) {
        bool ok = false;
        boxOptions.referenceTemperature = p.value(QStringLiteral("reftemp")).toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("--reftemp needs a number"));
    }
    boxOptions.timing = p.isSet(QStringLiteral("timing"));
    if (p.isSet(QStringLiteral("line-hz"))) {
        bool ok = false;
        boxOptions.lineHertz = p.value(QStringLiteral("line-hz")).toDouble(&ok);
        if (!ok || boxOptions.lineHertz < 1 || boxOptions.lineHertz > 1000)
            fail(QStringLiteral("--line-hz needs a number from 1 to 1000"));
    }

    if (p.isSet(QStringLiteral("check"))) {
        QString root = p.value(QStringLiteral("station"));
        if (root.isEmpty())
            root = qEnvironmentVariable("KESTRIX_ROOT");
        if (root.isEmpty())
            root = QDir::homePath() + QStringLiteral("/.local/share/kestrix");
        QTextStream out(stdout);
        const int result = checkProject(root, p.value(QStringLiteral("check")), signalTable,
                                        boxOptions.referenceTemperature, out, &error);
        out.flush();
        if (result == 2)
            fail(error);
        return result;
    }
    Box box(boxOptions, std::move(signalTable));

    Link::Options linkOptions;
    linkOptions.logPath = p.value(QStringLiteral("log"));
    linkOptions.silent = p.isSet(QStringLiteral("silent"));
    for (const QString &c : p.values(QStringLiteral("silent-on"))) {
        if (!isCode(c))
            fail(QStringLiteral("--silent-on needs a 5-digit code, got \"%1\"").arg(c));
        linkOptions.silentCodes.insert(c.toLatin1());
    }
    linkOptions.repeatOnly = p.isSet(QStringLiteral("repeat-only"));
    linkOptions.delayMs = number(p, QStringLiteral("delay-ms"), 0, 0, 3600000);
    linkOptions.chunks = number(p, QStringLiteral("chunks"), 1, 1, 1000);
    linkOptions.chunkGapMs = number(p, QStringLiteral("chunk-gap-ms"), 50, 0, 3600000);
    linkOptions.dropAfter = number(p, QStringLiteral("drop-after"), 0, 1, 1 << 30);

    const QHostAddress host = ipv4(p.value(QStringLiteral("host")).isEmpty()
                                       ? QStringLiteral("127.0.0.1") : p.value(QStringLiteral("host")),
                                   QStringLiteral("--host"));
    const QByteArray serial = serialNumber(p.isSet(QStringLiteral("serial")) ? p.value(QStringLiteral("serial"))
                                                                            : QStringLiteral("Q70000001"));
    const int tcpPort = number(p, QStringLiteral("port"), 7, 0, 65535); // the box's port

    // Stop cleanly on SIGTERM and SIGINT: the handler only wakes the event loop.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, stopPipe) != 0)
        fail(QStringLiteral("socketpair failed"));
    QSocketNotifier stopNotifier(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction sa = {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);

    Link link(box, linkOptions);
    if (!link.open(&error))
        fail(error);

    std::unique_ptr<Discovery> discovery;
    if (p.isSet(QStringLiteral("discovery"))) {
        const QString where = p.value(QStringLiteral("discovery"));
        const qsizetype colon = where.lastIndexOf(QLatin1Char(':'));
        bool ok = false;
        const int udpPort = colon > 0 ? where.mid(colon + 1).toInt(&ok) : -1;
        if (!ok || udpPort < 0 || udpPort > 65535)
            fail(QStringLiteral("--discovery needs ADDR:PORT, got \"%1\"").arg(where));
        const QHostAddress udpAddress = ipv4(where.left(colon), QStringLiteral("--discovery"));

        QList<Discovery::Box> boxes;
        const QString replyAddress = p.value(QStringLiteral("reply-address"));
        boxes.append({replyAddress.isEmpty() ? host : ipv4(replyAddress, QStringLiteral("--reply-address")),
                      serial});
        for (const QString &extra : p.values(QStringLiteral("extra-box"))) {
            const qsizetype comma = extra.indexOf(QLatin1Char(','));
            if (comma < 0)
                fail(QStringLiteral("--extra-box needs ADDR,SERIAL, got \"%1\"").arg(extra));
            boxes.append({ipv4(extra.left(comma), QStringLiteral("--extra-box")),
                          serialNumber(extra.mid(comma + 1))});
        }
        discovery = std::make_unique<Discovery>(boxes, boxOptions.firmware);
        if (!discovery->bind(udpAddress, quint16(udpPort), &error))
            fail(error);
        if (udpPort == 0)
            std::printf("UDPPORT %u\n", unsigned(discovery->port()));
    }

    if (!link.listen(host, quint16(tcpPort), &error))
        fail(error);
    std::printf("PORT %u\n", unsigned(link.port()));
    std::fflush(stdout);

    return app.exec();
}

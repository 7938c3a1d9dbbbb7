// Discovery replies, read back the way the measuring program reads them.

#include "harness.h"

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace {

struct Found {
    QByteArray address, serial;
    bool operator==(const Found &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Found &f)
{
    return os << f.address.constData() << " / " << f.serial.constData();
}

// Mid$ with 1-based positions: what is there, never past the end.
QByteArray mid(const QByteArray &s, qsizetype from, qsizetype count = -1)
{
    if (from < 1)
        from = 1;
    if (from > s.size())
        return {};
    return s.mid(from - 1, count);
}

// The program's parse of the collected replies, step by step.
QList<Found> parseReplies(QByteArray buffer)
{
    QList<Found> found;
    while (!buffer.isEmpty() && buffer.contains('.')) {
        const qsizetype d = buffer.indexOf('.') + 1;
        const qsizetype b = d - 4;
        QByteArray first = mid(buffer, b + 1, 3).replace(' ', '0');
        if (first.startsWith('0'))
            first = first.right(2);
        if (first.startsWith('0'))
            first = first.right(1);
        qsizetype pos = d;
        while (pos <= buffer.size() && buffer[pos - 1] != ' ')
            ++pos;
        const QByteArray address = first + mid(buffer, d, pos - d);
        for (int field = 0; field < 3; ++field) {
            while (pos <= buffer.size() && buffer[pos - 1] == ' ')
                ++pos;
            while (pos <= buffer.size() && buffer[pos - 1] != ' ')
                ++pos;
        }
        const QByteArray group = mid(buffer, pos, 15);
        const Found f{address, mid(group, 7, 9)};
        buffer = mid(buffer, pos + 15);
        if (!found.contains(f))
            found.append(f);
    }
    return found;
}

// Sends the request from `socket` and collects the replies as the program
// does: each datagram followed by a carriage return.
QByteArray search(QUdpSocket &socket, const QHostAddress &to, quint16 port, int *fromSim = nullptr)
{
    socket.writeDatagram("0 1 ", to, port);
    QByteArray buffer;
    while (socket.waitForReadyRead(300)) {
        while (socket.hasPendingDatagrams()) {
            const QNetworkDatagram d = socket.receiveDatagram();
            if (fromSim && d.senderPort() == port)
                ++*fromSim;
            buffer += d.data() + '\r';
        }
    }
    return buffer;
}

TEST(Discovery, RepliesParseToAddressAndSerialOfEveryBox)
{
    Sim sim({"--discovery", "127.0.0.1:0", "--serial", "Q7ABCDEF1", "--reply-address", "7.0.0.9",
             "--extra-box", "10.1.2.3,Q70000777", "--extra-box", "192.168.100.254,Q70000555"});
    ASSERT_TRUE(sim.started());
    ASSERT_NE(sim.udpPort, 0);
    ASSERT_TRUE(sim.output.startsWith("UDPPORT ")); // before the PORT line

    QUdpSocket socket;
    ASSERT_TRUE(socket.bind(QHostAddress::LocalHost, 0));
    int fromSim = 0;
    const QByteArray buffer = search(socket, QHostAddress::LocalHost, sim.udpPort, &fromSim);
    EXPECT_EQ(fromSim, 3); // to the sender's port, from the discovery port
    EXPECT_TRUE(buffer.startsWith("IP:  7.0.0.9 ")) << buffer.constData();
    EXPECT_EQ(parseReplies(buffer), (QList<Found>{{"7.0.0.9", "Q7ABCDEF1"},
                                                  {"10.1.2.3", "Q70000777"},
                                                  {"192.168.100.254", "Q70000555"}}));
}

TEST(Discovery, DefaultReplyNamesTheListenAddress)
{
    Sim sim({"--discovery", "127.0.0.1:0"});
    ASSERT_TRUE(sim.started());
    QUdpSocket socket;
    ASSERT_TRUE(socket.bind(QHostAddress::LocalHost, 0));
    EXPECT_EQ(parseReplies(search(socket, QHostAddress::LocalHost, sim.udpPort)),
              (QList<Found>{{"127.0.0.1", "Q70000001"}}));
}

TEST(Discovery, AnswersOnlyTheExactRequest)
{
    Sim sim({"--discovery", "127.0.0.1:0"});
    ASSERT_TRUE(sim.started());
    QUdpSocket socket;
    ASSERT_TRUE(socket.bind(QHostAddress::LocalHost, 0));
    for (const QByteArray &wrong : {QByteArray("0 1"), QByteArray("0 2 "), QByteArray("0 1  ")})
        socket.writeDatagram(wrong, QHostAddress::LocalHost, sim.udpPort);
    EXPECT_FALSE(socket.waitForReadyRead(300));
}

TEST(Discovery, SharesThePortWithAProgramOnTheWildcardAddress)
{
    // The program binds the discovery port on every address; the box sits
    // on its own loopback address with the same port.
    QUdpSocket program;
    ASSERT_TRUE(program.bind(QHostAddress::AnyIPv4, 0,
                             QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint));
    const quint16 port = program.localPort();
    Sim sim({"--host", "127.0.0.2", "--discovery", "127.0.0.2:" + QString::number(port)});
    ASSERT_TRUE(sim.started()) << sim.output.constData();
    EXPECT_EQ(parseReplies(search(program, QHostAddress("127.0.0.2"), port)),
              (QList<Found>{{"127.0.0.2", "Q70000001"}}));
}

} // namespace

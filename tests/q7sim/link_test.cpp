// The command link as a peer sees it: framing, the frame log, connections,
// speed, and the misbehaviour options.

#include "harness.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<Sim> startSim(const QStringList &args)
{
    auto sim = std::make_unique<Sim>(args);
    EXPECT_TRUE(sim->started()) << sim->output.constData();
    return sim;
}

TEST(Framing, FrameLogHoldsExactlyTheBytesReceived)
{
    TempPath log;
    auto sim = startSim({"--log", log.path});
    Client c;
    ASSERT_TRUE(c.connectTo(sim->port));

    const QByteArray config = "00043:FUNC \"VOLT\"\r:VOLT:DC:RANG 10\r:SAMP:COUN 1\r:INIT\r!";
    c.send("00051!25002!");                   // two frames in one segment
    c.send(config.left(17));                  // one frame in two segments
    EXPECT_EQ(c.readFor(100).count("OK"), 1); // answers only the complete frames
    c.send(config.mid(17));
    EXPECT_EQ(c.readFor(100), "OK");
    c.send("!");                              // even an empty frame gets its reply
    EXPECT_EQ(c.readFor(100), "OK");

    EXPECT_EQ(readFile(log.path), "00051!\n25002!\n" + config + "\n!\n");
}

TEST(Framing, EveryFrameOfABurstIsAnsweredInOrder)
{
    auto sim = startSim({"--signal", "A1=ramp:1:1"});
    Client c;
    ASSERT_TRUE(c.connectTo(sim->port));
    c.send("11002!00043:SAMP:COUN 1\r!00063!00073!00063!00073!00023!");
    EXPECT_EQ(c.readFor(300), "OKOKOK+1.00000000E+00OK+2.00000000E+00" "1");
}

TEST(Connections, OneClientAtATimeAndStateSurvivesReconnect)
{
    auto sim = startSim({"--signal", "C5=const:2.5"});
    auto first = std::make_unique<Client>();
    ASSERT_TRUE(first->connectTo(sim->port));
    EXPECT_EQ(first->ask("25002"), "OK");
    EXPECT_EQ(first->ask("00063"), "OK");

    Client second;
    ASSERT_TRUE(second.connectTo(sim->port));
    second.send("00073!");
    EXPECT_TRUE(second.readFor(200).isEmpty()); // waits for the first client

    first->socket.disconnectFromHost();
    first.reset();
    EXPECT_EQ(second.readFor(500), "+2.50000000E+00"); // relays and reading kept
}

TEST(Connections, RoundTripsNeedNoTimers)
{
    auto sim = startSim({});
    Client c;
    ASSERT_TRUE(c.connectTo(sim->port));
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 2000; ++i) {
        c.send("00002!");
        while (c.socket.bytesAvailable() < 2 && c.socket.waitForReadyRead(1000)) {
        }
        ASSERT_EQ(c.socket.read(2), "OK");
    }
    EXPECT_LT(t.elapsed(), 2000); // Nagle or a timer in the path would cost far more
}

TEST(Connections, StopsCleanlyOnSigterm)
{
    auto sim = startSim({});
    EXPECT_EQ(sim->stop(), 0);
}

TEST(Misbehaviour, SilentLogsButNeverAnswers)
{
    TempPath log;
    auto sim = startSim({"--silent", "--log", log.path});
    Client c;
    ASSERT_TRUE(c.connectTo(sim->port));
    c.send("00051!00051!00073!");
    EXPECT_TRUE(c.readFor(400).isEmpty());
    EXPECT_EQ(readFile(log.path), "00051!\n00051!\n00073!\n");
}

TEST(Misbehaviour, SilentOnSkipsOnlyThatCode)
{
    auto sim = startSim({"--silent-on", "00073", "--silent-on", "00083"});
    Client c;
    ASSERT_TRUE(c.connectTo(sim->port));
    c.send("00073!");
    c.send("00083!");
    EXPECT_TRUE(c.readFor(300).isEmpty());
    EXPECT_EQ(c.ask("00023"), "1");
}

TEST(Misbehaviour, RepeatOnlyAnswersTheRepeatedSendAndCountsItOnce)
{
    auto sim = startSim({"--repeat-only", "--signal", "A1=ramp:1:1"});
    Client c;
    ASSERT_TRUE(c.connectTo(sim->port));
    const auto sendTwice = [&](const QByteArray &frame) {
        c.send(frame + '!');
        EXPECT_TRUE(c.readFor(150).isEmpty()) << frame.constData();
        return c.ask(frame);
    };
    EXPECT_EQ(sendTwice("11002"), "OK");
    EXPECT_EQ(sendTwice("00063"), "OK");
    EXPECT_EQ(sendTwice("00073"), "+1.00000000E+00"); // one trigger, not two
}

TEST(Misbehaviour, ChunksArriveApart)
{
    auto sim = startSim({"--chunks", "3", "--chunk-gap-ms", "150", "--signal", "A1=const:1"});
    Client c;
    ASSERT_TRUE(c.connectTo(sim->port));
    c.ask("11002");
    c.readFor(400); // rest of that reply
    c.ask("00063");
    c.readFor(400);

    c.send("00073!");
    ASSERT_TRUE(c.socket.waitForReadyRead(2000));
    QElapsedTimer t;
    t.start();
    QByteArray got = c.socket.readAll();
    EXPECT_EQ(got, "+1.00"); // a third of the 15 bytes
    while (got.size() < 15 && c.socket.waitForReadyRead(1000))
        got += c.socket.readAll();
    EXPECT_GE(t.elapsed(), 250); // two gaps
    EXPECT_EQ(got, "+1.00000000E+00");
}

TEST(Misbehaviour, DelayHoldsTheReplyBack)
{
    auto sim = startSim({"--delay-ms", "300"});
    Client c;
    ASSERT_TRUE(c.connectTo(sim->port));
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(c.ask("00023"), "1");
    EXPECT_GE(t.elapsed(), 280);
}

TEST(Misbehaviour, DropAfterClosesOnTheNthFrameUnanswered)
{
    auto sim = startSim({"--drop-after", "3", "--signal", "C5=const:4"});
    Client c;
    ASSERT_TRUE(c.connectTo(sim->port));
    EXPECT_EQ(c.ask("25002"), "OK");
    EXPECT_EQ(c.ask("00063"), "OK");
    c.send("00051!");
    EXPECT_TRUE(c.closedByPeer(1000));
    EXPECT_TRUE(c.socket.readAll().isEmpty());

    Client again; // the next connection is served, with the box state kept
    ASSERT_TRUE(again.connectTo(sim->port));
    EXPECT_EQ(again.ask("00073"), "+4.00000000E+00");
}

} // namespace

// Readings as the measuring program fetches them: relays, trigger, single and
// buffered fetches, reference sensor, box variables.

#include "harness.h"

#include <QFile>
#include <gtest/gtest.h>
#include <cmath>

namespace {

const QByteArray einzel = "00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r";

QByteArray samples(int n)
{
    return "00043:TRAC:POIN " + QByteArray::number(n) + "\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN "
           + QByteArray::number(n) + "\r:TRIG:COUN 1\r:INIT\r";
}

// Relay frame, single-shot configuration, trigger, fetch.
QByteArray measureOnce(Client &c, const QByteArray &relays)
{
    c.ask(relays);
    c.ask(einzel);
    c.ask("00063");
    return c.ask("00073");
}

struct Fixture : ::testing::Test {
    void start(const QStringList &args)
    {
        sim = std::make_unique<Sim>(args);
        ASSERT_TRUE(sim->started()) << sim->output.constData();
        ASSERT_TRUE(client.connectTo(sim->port));
    }
    std::unique_ptr<Sim> sim;
    Client client;
};

using SingleFetch = Fixture;
using BufferedFetch = Fixture;
using BoxQueries = Fixture;

TEST_F(SingleFetch, ReadsTheTerminalWhoseRelayIsClosed)
{
    start({"--signal", "C5=const:1.5", "--signal", "D5=const:-0.0045", "--signal", "A1=const:123456.789"});
    EXPECT_EQ(measureOnce(client, "25002"), "+1.50000000E+00");  // two-wire, input side
    EXPECT_EQ(measureOnce(client, "00252"), "-4.50000000E-03");  // sense side alone
    EXPECT_EQ(measureOnce(client, "25252"), "+1.50000000E+00");  // four-wire reads the input side
    EXPECT_EQ(measureOnce(client, "11002"), "+1.23456789E+05");
}

TEST_F(SingleFetch, OverflowIsSevenBytes)
{
    start({"--signal", "E3=overflow"});
    EXPECT_EQ(measureOnce(client, "00002"), "+9.9E37");  // nothing connected
    EXPECT_EQ(measureOnce(client, "33002"), "+9.9E37");
}

TEST_F(SingleFetch, RampAdvancesPerReadingAndUnconfiguredTerminalsHaveDefaults)
{
    start({"--signal", "P8=ramp:10:-0.25"});
    EXPECT_EQ(measureOnce(client, "00882"), "+1.00000000E+01");
    EXPECT_EQ(measureOnce(client, "00882"), "+9.75000000E+00");
    EXPECT_EQ(measureOnce(client, "00882"), "+9.50000000E+00");
    EXPECT_EQ(measureOnce(client, "24002"), "+3.04000000E+00");  // C4: slot 3 + 4/100
}

TEST_F(SingleFetch, SignalFileWithCommentsAndCommandLineOverride)
{
    TempPath file;
    QFile f(file.path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("# heating circuit\n\nA1 = const:20.5   # flow\nb1=const:1\nM2R8C8=const:0.7\n");
    f.close();
    start({"--signals", file.path, "--signal", "B1=const:2"});
    EXPECT_EQ(measureOnce(client, "11002"), "+2.05000000E+01");
    EXPECT_EQ(measureOnce(client, "00112"), "+2.00000000E+00");
}

TEST(Arguments, MalformedSignalIsRefused)
{
    for (const char *bad : {"Q5=const:1", "A9=const:1", "A1=const:x", "A1=ramp:1", "A1"}) {
        Sim sim({"--signal", bad});
        EXPECT_FALSE(sim.started()) << bad;
        EXPECT_EQ(sim.stop(), 2) << bad;
    }
}

TEST_F(SingleFetch, FetchWithoutNewTriggerRepeatsTheLastReading)
{
    start({"--signal", "A2=ramp:1:1"});
    EXPECT_EQ(measureOnce(client, "12002"), "+1.00000000E+00");
    EXPECT_EQ(client.ask("00073"), "+1.00000000E+00");
}

TEST_F(SingleFetch, WrongLengthSendsTenBytes)
{
    start({"--wrong-length", "--signal", "C5=const:1.5"});
    EXPECT_EQ(measureOnce(client, "25002").size(), 10);
}

// The reader waits for header + 9 bytes in all.
void expectHeaderMatches(const QByteArray &reply, int extra = 0)
{
    ASSERT_GE(reply.size(), 10);
    bool ok = false;
    const int header = reply.left(10).toInt(&ok);
    ASSERT_TRUE(ok) << reply.constData();
    EXPECT_EQ(header + 9, reply.size() + extra) << reply.constData();
}

TEST_F(BufferedFetch, SampleRunListsEveryReadingWithComma)
{
    start({"--signal", "G1=ramp:0.5:0.5"});
    client.ask("41002");
    client.ask(samples(3));
    client.ask("00063");
    const QByteArray reply = client.ask("00083");
    expectHeaderMatches(reply);
    EXPECT_EQ(reply.mid(10), "+5.00000000E-01,+1.00000000E+00,+1.50000000E+00,");

    client.ask("00053");
    EXPECT_EQ(client.ask("00083"), "0000000001");  // emptied
}

TEST_F(BufferedFetch, GroupOfTriggersFillsBufferUpToTracePoints)
{
    start({"--signal", "A1=const:1", "--signal", "A2=const:2"});
    client.ask("00043:TRAC:POIN 2\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN 1\r:TRIG:COUN 2\r:INIT\r");
    client.ask("11002");
    client.ask("00063");
    client.ask("12002");
    client.ask("00063");
    client.ask("00063");  // the buffer is full: not stored
    const QByteArray reply = client.ask("00083");
    expectHeaderMatches(reply);
    EXPECT_EQ(reply.mid(10), "+1.00000000E+00,+2.00000000E+00,");
}

TEST_F(BufferedFetch, MatrixSequenceReadsCrossPointsWithoutTrailingComma)
{
    start({"--signal", "M3R1C2=const:0.612", "--signal", "C1=const:7"});
    client.ask("00043:TRAC:POIN 3\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN 1\r:TRIG:COUN 3\r:INIT\r");
    client.ask("00061");
    for (const QByteArray &relay : {QByteArray("31312"), QByteArray("31322"), QByteArray("31332")}) {
        client.ask(relay);
        client.ask("00063");
    }
    client.ask("00071");
    const QByteArray reply = client.ask("00083");
    expectHeaderMatches(reply);
    // M3R1C1 and M3R1C3 are unconfigured: 0.5 + row/100 + column/1000 + module/10000
    EXPECT_EQ(reply.mid(10), "+5.11300000E-01,+6.12000000E-01,+5.13300000E-01");

    // Outside a sequence the same frame is an ordinary terminal again.
    EXPECT_EQ(measureOnce(client, "10002"), "+9.9E37");
    client.ask(samples(1));
    EXPECT_EQ(measureOnce(client, "21002"), "+7.00000000E+00");
    EXPECT_EQ(client.ask("00083").mid(10), "+7.00000000E+00,");
}

TEST_F(BufferedFetch, WrongLengthAnnouncesOneByteMore)
{
    start({"--wrong-length"});
    client.ask("11002");
    client.ask(samples(2));
    client.ask("00063");
    expectHeaderMatches(client.ask("00083"), 1);
}

TEST_F(BoxQueries, ReferenceSensorGivesTheConfiguredTemperature)
{
    start({"--reftemp", "-12.25"});
    const QList<QByteArray> readings = client.ask("00033").split(',');
    ASSERT_EQ(readings.size(), 4);
    for (const QByteArray &r : readings) {
        EXPECT_EQ(r.size(), 15);
        const double a = 0.00788, b = 1.937e-5, ohm = r.toDouble();
        const double t = 25 + (std::sqrt(a * a - 4 * b + 4 * b * (ohm + 3) / 1980) - a) / (2 * b);
        EXPECT_NEAR(t, -12.25, 0.001);
    }
}

TEST_F(BoxQueries, BoxVariableIsNamedByTheTextAfterTheCode)
{
    start({"--signal", "T:Betr.-Std. [h]=const:1234.5", "--signal", "T::Pulsdauer [s]=const:-0.5"});
    EXPECT_EQ(client.ask("00041:Betr.-Std. [h]\r"), "T-Variable: 1.234500E+03");
    EXPECT_EQ(client.ask("00041:Pulsdauer [s]"), "T-Variable: -5.000000E-01");
    EXPECT_EQ(client.ask("000411000000050000"), "T-Variable: 0.000000E+00");
}

TEST_F(BoxQueries, FirmwareAndMeterPresence)
{
    start({"--firmware", "V9.87.6", "--no-meter"});
    EXPECT_TRUE(client.ask("00051").startsWith("V9.87.6"));
    EXPECT_EQ(client.ask("00023"), "0");
    EXPECT_FALSE(client.ask("00013").isEmpty());
}

} // namespace

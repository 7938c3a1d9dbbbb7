// The meter converts the physical signal at the closed relays as its
// configuration says: reference values of the sensor standards, wrong
// functions and ranges, four-wire connections, noise, --check.

#include "harness.h"

#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QtEndian>
#include <gtest/gtest.h>
#include <cmath>

namespace {

const QByteArray einzel = "00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r";

struct Meter : ::testing::Test {
    void start(const QStringList &args)
    {
        sim = std::make_unique<Sim>(args);
        ASSERT_TRUE(sim->started()) << sim->output.constData();
        ASSERT_TRUE(client.connectTo(sim->port));
    }
    // Configures the meter, closes the relays, triggers and fetches one value.
    QByteArray read(const QByteArray &setting, const QByteArray &relays)
    {
        if (!setting.isEmpty())
            client.ask("00043" + setting);
        client.ask(relays);
        client.ask(einzel);
        client.ask("00063");
        return client.ask("00073");
    }
    double value(const QByteArray &setting, const QByteArray &relays)
    {
        bool ok = false;
        const double v = read(setting, relays).toDouble(&ok);
        return ok ? v : NAN;
    }
    std::unique_ptr<Sim> sim;
    Client client;
};

const QByteArray dcv100mV = ":FUNC \"VOLT\"\r:VOLT:DC:RANG 0.1\r";
const QByteArray dcv100V = ":FUNC \"VOLT\"\r:VOLT:DC:RANG 100\r";
const QByteArray diode = ":FUNC \"DIOD\"\r:DIOD:CURR:RANG 0.1e-3\r";

TEST_F(Meter, ThermocoupleTypeKFollowsTheItsNinetyTablesAndTheReferenceJunction)
{
    start({"--reftemp", "23.5", "--signal", "A1=tc:K 245.7"});
    // E(245.7 °C) - E(23.5 °C) of the type K reference function: 9.978480 - 0.939507 mV
    // (table: 9.950 mV at 245 °C, 9.991 at 246, 0.919 at 23, 0.960 at 24).
    EXPECT_NEAR(value(dcv100mV, "11002"), 9.038973e-3, 1e-6);

    // The meter's simulated reference junction at the box's temperature gives the hot junction back;
    // left at 0 °C the reading lacks the cold junction's 0.9395 mV, some 23 degrees.
    const QByteArray temp = ":FUNC \"TEMP\"\r:TEMP:TC:TYPE K\r:TEMP:TC:RJUN:SIM ";
    EXPECT_NEAR(value(temp + "23.5\r", "11002"), 245.7, 0.001);
    EXPECT_NEAR(value(temp + "0\r", "11002"), 222.46, 0.01);
    // Type J set for a type K junction: a plausible, wrong temperature.
    EXPECT_NEAR(value(":TEMP:TC:TYPE J\r:TEMP:TC:RJUN:SIM 23.5\r", "11002"), 190.27, 0.01);
}

TEST_F(Meter, PlatinumSensorsFollowCallendarVanDusenAndFourWireNeedsTheSenseRelay)
{
    start({"--signal", "A2=pt100 100", "--signal", "C3=pt1000 -50 leads:0.8", "--signal", "E4=pt100 21.5 wires:2"});
    const QByteArray res1k = ":FUNC \"RES\"\r:RES:RANG 1000\r";
    EXPECT_EQ(read(res1k, "12002"), "+1.38505500E+02");  // IEC 60751: 138.5055 Ohm at 100 °C
    EXPECT_EQ(read(":RES:RANG 100\r", "12002"), "+9.9E37");  // above the 100 Ohm range
    // Pt1000 at -50 °C: 803.0628 Ohm; two-wire adds the 0.8 Ohm of the leads, four-wire does not.
    EXPECT_NEAR(value(res1k, "23002"), 803.8628, 1e-4);
    const QByteArray fres = ":FUNC \"FRES\"\r:FRES:RANG 1000\r";
    EXPECT_EQ(read(fres, "23002"), "+9.9E37");  // sense relay open
    EXPECT_NEAR(value(fres, "23232"), 803.0628, 1e-4);
    EXPECT_EQ(read(fres, "34342"), "+9.9E37");  // a sensor wired with two leads only
    EXPECT_NEAR(value(dcv100V, "23002"), 0, 1e-12);  // a resistance has no voltage
}

TEST_F(Meter, DiodeModeOnAVoltageTerminalIsNotThatVoltage)
{
    start({"--signal", "A3=dcv 1.5", "--signal", "A4=dcv 12", "--signal", "M1R2C3=diode 25"});
    EXPECT_EQ(read(dcv100V, "13002"), "+1.50000000E+00");
    // 0.1 mA into the source's 1 kOhm output.
    EXPECT_EQ(read(diode, "13002"), "+1.60000000E+00");
    EXPECT_EQ(read("", "14002"), "+9.9E37");  // 12.1 V: beyond the diode test's 10 V
    EXPECT_EQ(read(dcv100V, "14002"), "+1.20000000E+01");
    EXPECT_EQ(read(":VOLT:DC:RANG 10\r", "14002"), "+1.20000000E+01");  // 120 % of the range
    EXPECT_EQ(read(":VOLT:DC:RANG 1\r", "14002"), "+9.9E37");
    // A resistance function on a source: the source drives the meter's current.
    EXPECT_EQ(read(":FUNC \"RES\"\r:RES:RANG 100\r", "13002"), "+9.9E37");
    EXPECT_EQ(read(":VOLT:AC:RANG 10\r:FUNC \"VOLT:AC\"\r", "13002"), "+0.00000000E+00");

    // A 1N4148 at 25 °C and 0.1 mA, from its diode model: about 0.50 V, falling 2 mV a degree.
    client.ask("00043" + diode);
    client.ask("00061");
    client.ask("12132");
    client.ask("00063");
    client.ask("00071");
    bool ok = false;
    const double v = client.ask("00073").toDouble(&ok);
    ASSERT_TRUE(ok);
    EXPECT_NEAR(v, 0.503, 0.01);
}

TEST_F(Meter, NoiseIsReproducibleByItsSeedAndAveragingNarrowsIt)
{
    start({"--signal", "A1=dcv 1 noise:0.01 seed:5", "--signal", "A2=dcv 1 noise:0.01 seed:5",
           "--signal", "A3=dcv 1 noise:0.01 seed:6"});
    QList<QByteArray> a, b, c;
    for (int i = 0; i < 5; ++i) {
        a << read(i ? "" : dcv100V, "11002");
        b << read("", "12002");
        c << read("", "13002");
    }
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    double spread = 0;
    for (const QByteArray &r : a)
        spread = std::max(spread, std::fabs(r.toDouble() - 1));
    EXPECT_GT(spread, 1e-4);
    client.ask("00043:VOLT:DC:AVER:COUN 100;STAT ON\r");
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(read("", "11002").toDouble(), 1, 0.004);
}

TEST_F(Meter, PulseInputAnswersTheBoxVariableOfItsChannel)
{
    start({"--signal", "C5=pulse 12.5", "--signal", "T:Betr.-Std. [h]=const:7"});
    client.ask("25252");
    EXPECT_EQ(client.ask("000411000000050000"), "T-Variable: 1.250000E+01");
    EXPECT_EQ(client.ask("00041:Betr.-Std. [h]"), "T-Variable: 7.000000E+00");
}

TEST_F(Meter, TimingHoldsTheTriggerForTheIntegrationTime)
{
    start({"--timing", "--signal", "A1=dcv 1"});
    client.ask("00043:FUNC \"VOLT\"\r:VOLT:DC:NPLC 10\r");
    client.ask("00043:SAMP:COUN 2\r");
    QElapsedTimer t;
    t.start();
    client.ask("00063");
    EXPECT_GE(t.elapsed(), 390);  // two readings of 10 line periods at 50 Hz
}

// ---- --check against project files written from the record layouts ----

QByteArray field(const QByteArray &text, int width)
{
    return text.leftJustified(width, ' ', true);
}
QByteArray le16(int v)
{
    QByteArray b(2, '\0');
    qToLittleEndian<qint16>(qint16(v), b.data());
    return b;
}

// Scan-list record (53 bytes): terminal, slot, 4 bytes, block name, 5 bytes, signal name.
QByteArray scanRecord(int slot, int terminal, const QByteArray &block, const QByteArray &signal)
{
    return le16(terminal) + le16(slot) + QByteArray(4, '\0') + field(block, 20) + field("", 5) + field(signal, 20);
}

// Block record (144 bytes): function number at 44, range index as a 32-bit float at 98,
// subtracting the reference temperature at 138.
QByteArray blockRecord(const QByteArray &name, int function, float range, int subtract = 0)
{
    QByteArray r(144, '\0');
    r.replace(2, 20, field(name, 20));
    r.replace(44, 2, le16(function));
    qToLittleEndian<float>(range, r.data() + 98);
    r.replace(138, 2, le16(subtract));
    return r;
}

TEST(Check, TellsForEveryEntryWhatItSeesAndWhetherTheBlockFits)
{
    const QString root = QDir::temp().filePath(QStringLiteral("q7sim-check-%1").arg(QCoreApplication::applicationPid()));
    for (const char *dir : {"scanlist", "messbvar"})
        ASSERT_TRUE(QDir().mkpath(root + "/c/kestrix/intern/" + dir));
    QFile scan(root + "/c/kestrix/intern/scanlist/Probe.kxp");
    ASSERT_TRUE(scan.open(QIODevice::WriteOnly));
    scan.write(scanRecord(1, 1, "Gleichspannung", "U1") + scanRecord(3, 1, "Gleichspannung", "Vorlauf")
               + scanRecord(3, 2, "Abgas TE-K", "Abgas") + scanRecord(1, 2, "Klein", "U2")
               + scanRecord(3, 2, "TE-K minus RJ", "Abgas 2") + scanRecord(0, 0, "", ""));
    scan.close();
    QFile blocks(root + "/c/kestrix/intern/messbvar/Probe.kxp");
    ASSERT_TRUE(blocks.open(QIODevice::WriteOnly));
    blocks.write(blockRecord("Gleichspannung", 0, 3) + blockRecord("Abgas TE-K", 16, 0) + blockRecord("Klein", 0, 0)
                 + blockRecord("TE-K minus RJ", 16, 0, 1));
    blocks.close();

    QProcess q7sim;
    q7sim.start(QStringLiteral(Q7SIM_BINARY),
                {"--station", root, "--check", "probe.kxp", "--reftemp", "23.5", "--signal", "A1=dcv 1.5",
                 "--signal", "C1=pt100 21.5", "--signal", "C2=tc:K 245.7", "--signal", "A2=dcv 12"});
    ASSERT_TRUE(q7sim.waitForFinished(10000));
    const QStringList lines = QString::fromUtf8(q7sim.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QDir(root).removeRecursively();
    EXPECT_EQ(q7sim.exitCode(), 1);
    ASSERT_EQ(lines.size(), 6) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[1].contains("U1") && lines[1].contains("DC voltage, range 100 V: dcv 1.5 V -> +1.50000000E+00  fits"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith("does not fit: the block measures dcv, the terminal carries pt100")) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].contains("type K, reference junction 23 \u00b0C: tc:K 245.7 \u00b0C -> +2.45") &&
                lines[3].endsWith("  fits")) << lines[3].toStdString();
    EXPECT_TRUE(lines[4].endsWith("does not fit: the signal is above the range")) << lines[4].toStdString();
    EXPECT_TRUE(lines[5].endsWith("does not fit: the block subtracts the reference temperature that the meter "
                                  "already compensates")) << lines[5].toStdString();
}

} // namespace

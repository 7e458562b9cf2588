// The program's reader of the G-sensor against the emulated sensor: the 75 ms throttle on the
// device clock, and failures retried, counted and recovered from.
#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "gesture/TiltSensor.h"

namespace {

using test::Devemu;
using testing::ElementsAre;

void SetReading(int32_t rotation, uint32_t tilt = 0) {
    ASSERT_EQ(Devemu({L"tilt", std::to_wstring(rotation), std::to_wstring(tilt)}).code, 0);
}

// Places the device clock, then reads at once: the read sees that uptime plus the moment
// between the two calls, so intervals between reads are set by the test, not by the host.
TiltReading ReadAt(TiltSensor& sensor, uint32_t uptime) {
    Devemu({L"clock", std::to_wstring(uptime)});
    return sensor.ReadTilt();
}

uint32_t SensorReads() {
    return devemu::Device::Get().Locked([](devemu::DeviceState& s) { return s.sensor.reads; });
}

bool SameBytes(const TiltReading& a, const TiltReading& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The sensor's own log lines from `since` on, without their uptime.
std::vector<std::string> SensorEvents(uint64_t since) {
    std::vector<std::string> events;
    for (const std::string& line : test::LogLines(since)) {
        const std::string event = line.substr(line.find(' ') + 1);
        if (event.rfind("sensor ", 0) == 0) events.push_back(event);
    }
    return events;
}

class TiltSensorTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Devemu({L"reset"}).code, 0); }
};

TEST_F(TiltSensorTest, AsksTheLibraryAtMostOncePer75Ms) {
    TiltSensor sensor;
    SetReading(10, 20);
    TiltReading first = ReadAt(sensor, 1000000);
    EXPECT_EQ(first.rotation, 10);
    EXPECT_EQ(first.tilt, 20u);
    EXPECT_EQ(SensorReads(), 1u);

    SetReading(30, 40);
    EXPECT_TRUE(SameBytes(ReadAt(sensor, 1000050), first)) << "read again within 75 ms";
    EXPECT_EQ(SensorReads(), 1u);

    const TiltReading second = ReadAt(sensor, 1000100);
    EXPECT_EQ(second.rotation, 30);
    EXPECT_EQ(second.tilt, 40u);
    EXPECT_EQ(SensorReads(), 2u);
}

TEST_F(TiltSensorTest, TheThrottleMeasuresAcrossTheWrapOfTheTickCount) {
    TiltSensor sensor;
    SetReading(10);
    ReadAt(sensor, 0xFFFFFFF0u);
    SetReading(20);
    EXPECT_EQ(ReadAt(sensor, 0x22u).rotation, 10) << "50 ms after, past the wrap";
    EXPECT_EQ(ReadAt(sensor, 0x54u).rotation, 20) << "100 ms after, past the wrap";
    EXPECT_EQ(SensorReads(), 2u);
}

TEST_F(TiltSensorTest, TheFirstCallReadsWhateverTheUptime) {
    // From 2^31 ms on, the age of a never-made read would look negative.
    for (uint32_t uptime : {0u, 40u, 0x80000000u, 0xFFFFFFFFu}) {
        TiltSensor sensor;
        SetReading(static_cast<int32_t>(uptime % 360));
        EXPECT_EQ(ReadAt(sensor, uptime).rotation, static_cast<int32_t>(uptime % 360)) << uptime;
    }
}

TEST_F(TiltSensorTest, ASensorThatWillNotOpenIsTriedAtEveryCallAndGivesZeros) {
    ASSERT_EQ(Devemu({L"sensor", L"fail-open"}).code, 0);
    SetReading(90, 90);
    const uint64_t since = test::LogCount();
    TiltSensor sensor;
    std::vector<int32_t> counts;
    for (int i = 0; i < 12; ++i) {
        EXPECT_TRUE(SameBytes(sensor.ReadTilt(), TiltReading{})) << "call " << i;
        counts.push_back(sensor.FailureCount());
    }
    EXPECT_THAT(counts, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 2));
    EXPECT_EQ(SensorEvents(since), std::vector<std::string>(12, "sensor open failed kind=1"));

    ASSERT_EQ(Devemu({L"sensor", L"ok"}).code, 0);
    EXPECT_EQ(sensor.ReadTilt().rotation, 90);
    EXPECT_EQ(sensor.FailureCount(), 0);
    EXPECT_THAT(SensorEvents(since + 13), ElementsAre("sensor open handle=1"));
}

TEST_F(TiltSensorTest, TenFailedReadsCloseTheSensorAndTheNextCallOpensItAfresh) {
    TiltSensor sensor;
    SetReading(30, 10);
    const TiltReading good = ReadAt(sensor, 2000000);
    ASSERT_EQ(good.rotation, 30);

    ASSERT_EQ(Devemu({L"sensor", L"fail-read"}).code, 0);
    SetReading(200, 200);
    const uint64_t since = test::LogCount();
    Devemu({L"clock", L"advance", L"100"});
    std::vector<int32_t> counts;
    for (int i = 0; i < 11; ++i) {
        // No pause between failed attempts: the last read tick is that of the good read.
        EXPECT_TRUE(SameBytes(sensor.ReadTilt(), good)) << "call " << i;
        counts.push_back(sensor.FailureCount());
        EXPECT_EQ(sensor.IsOpen(), i != 9) << "call " << i;
    }
    EXPECT_THAT(counts, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1));
    std::vector<std::string> expected(10, "sensor read failed handle=1");
    expected.push_back("sensor close handle=1");
    expected.push_back("sensor open handle=2");
    expected.push_back("sensor read failed handle=2");
    EXPECT_EQ(SensorEvents(since), expected);

    // Recovered: the open handle reads again and the count starts over.
    ASSERT_EQ(Devemu({L"sensor", L"ok"}).code, 0);
    const uint64_t recovered = test::LogCount();
    const TiltReading fresh = sensor.ReadTilt();
    EXPECT_EQ(fresh.rotation, 200);
    EXPECT_EQ(fresh.raw1, 2u) << "read through the second handle";
    EXPECT_EQ(sensor.FailureCount(), 0);
    EXPECT_THAT(SensorEvents(recovered), testing::IsEmpty());
}

TEST_F(TiltSensorTest, DestroyingTheReaderClosesOnlyAnOpenSensor) {
    const uint64_t since = test::LogCount();
    { TiltSensor unused; }
    {
        TiltSensor used;
        used.ReadTilt();
    }
    EXPECT_THAT(SensorEvents(since), ElementsAre("sensor open handle=1", "sensor close handle=1"));
}

}  // namespace

// The emulated G-sensor with the console commands that hold, turn and break it, and the program's
// reader of it: the 75 ms throttle on the device clock, failures counted and recovered from.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "gesture/TiltSensor.h"

namespace {

using test::Devemu;
using test::Events;
using test::StateValue;
using testing::ElementsAre;

class TiltSensorTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Devemu({L"reset"}).code, 0); }
};

// Places the device clock, then reads at once: the read sees that uptime plus the moment
// between the two calls, so intervals between reads are set by the test, not by the host.
TiltReading ReadAt(TiltSensor& sensor, uint32_t uptime) {
    Devemu({L"clock", std::to_wstring(uptime)});
    return sensor.ReadTilt();
}

TEST_F(TiltSensorTest, TheLibraryIsBoundByOrdinalWhenTheProgramLoads) {
    HMODULE library = GetModuleHandleW(L"HTCSensorSDK.dll");
    ASSERT_NE(library, nullptr) << "not loaded with the program";
    auto ordinal = [library](WORD n) { return reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(n))); };
    EXPECT_EQ(ordinal(10), reinterpret_cast<void*>(&HTCSensorOpen));
    EXPECT_EQ(ordinal(4), reinterpret_cast<void*>(&HTCSensorGetData));
    EXPECT_EQ(ordinal(3), reinterpret_cast<void*>(&HTCSensorClose));
    EXPECT_EQ(GetProcAddress(library, "HTCSensorOpen"), nullptr) << "exported by name as well";
    EXPECT_EQ(HTCSensorOpen(2), nullptr) << "only the tilt sensor opens";
}

TEST_F(TiltSensorTest, ReadsWhatTheConsoleSetAtMostOncePer75MsAcrossTheWrap) {
    TiltSensor sensor;
    ASSERT_EQ(Devemu({L"tilt", L"10", L"20"}).code, 0);
    // A first read at any uptime: from 2^31 ms on, a never-made read would look recent.
    const TiltReading first = ReadAt(sensor, 0xFFFFFFF0u);
    EXPECT_EQ(first.rotation, 10);
    EXPECT_EQ(first.tilt, 20u);
    ASSERT_EQ(Devemu({L"tilt", L"359"}).code, 0);
    EXPECT_EQ(ReadAt(sensor, 0x22u).rotation, 10) << "50 ms later, past the wrap";
    const TiltReading second = ReadAt(sensor, 0x54u);
    EXPECT_EQ(second.rotation, 359) << "100 ms later";
    EXPECT_EQ(second.tilt, 0u) << "tilt left out is 0";
    EXPECT_EQ(second.raw0, 2u) << "the number of the read";
}

TEST_F(TiltSensorTest, FailuresAreCountedTheTenthReopensAndTheLastGoodReadingStays) {
    ASSERT_EQ(Devemu({L"sensor", L"fail-open"}).code, 0);
    ASSERT_EQ(Devemu({L"tilt", L"30", L"10"}).code, 0);
    uint64_t since = test::LogCount();
    TiltSensor sensor;
    for (int i = 0; i < 12; ++i) EXPECT_EQ(sensor.ReadTilt().rotation, 0) << "zeros until a read succeeds";
    EXPECT_EQ(Events(since), std::vector<std::string>(12, "sensor open failed kind=1"));

    ASSERT_EQ(Devemu({L"sensor", L"ok"}).code, 0);
    EXPECT_EQ(sensor.ReadTilt().rotation, 30);
    ASSERT_EQ(Devemu({L"sensor", L"fail-read"}).code, 0);
    ASSERT_EQ(Devemu({L"tilt", L"200", L"100"}).code, 0);
    Devemu({L"clock", L"advance", L"100"});
    since = test::LogCount();
    std::vector<int32_t> counts;
    for (int i = 0; i < 11; ++i) {
        // Without a pause: a failed read leaves the throttle alone, so each call tries again.
        EXPECT_EQ(sensor.ReadTilt().rotation, 30) << "call " << i;
        counts.push_back(sensor.FailureCount());
    }
    EXPECT_THAT(counts, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1));
    std::vector<std::string> expected(10, "sensor read failed handle=1");
    expected.insert(expected.end(), {"sensor close handle=1", "sensor open handle=2", "sensor read failed handle=2"});
    EXPECT_EQ(Events(since), expected);

    ASSERT_EQ(Devemu({L"sensor", L"ok"}).code, 0);
    EXPECT_EQ(sensor.ReadTilt().rotation, 200);
    EXPECT_EQ(sensor.FailureCount(), 0);
    EXPECT_EQ(StateValue("sensor-reads"), "2") << "only good reads count";

    ASSERT_EQ(Devemu({L"sensor", L"fail-read"}).code, 0);
    ASSERT_EQ(Devemu({L"reset"}).code, 0);
    for (const char* key : {"rotation", "tilt", "sensor-reads"}) EXPECT_EQ(StateValue(key), "0") << key;
    EXPECT_EQ(StateValue("sensor"), "ok");
}

TEST_F(TiltSensorTest, TurnGoesThroughEachAmountInTurnAtItsRate) {
    ASSERT_EQ(Devemu({L"tilt", L"350"}).code, 0);
    const DWORD start = GetTickCount();
    ASSERT_EQ(Devemu({L"turn", L"90", L"-45"}).code, 0);
    EXPECT_GE(GetTickCount() - start, 700u) << "135 degrees at 180 a second";
    EXPECT_EQ(StateValue("rotation"), "35");
}

TEST_F(TiltSensorTest, BadConsoleArgumentsGiveAUsageLineAndChangeNothing) {
    ASSERT_EQ(Devemu({L"tilt", L"12", L"34"}).code, 0);
    const std::string state = Devemu({L"state"}).out;
    const uint64_t lines = test::LogCount();
    const std::vector<std::vector<std::wstring>> bad = {{L"tilt", L"360"}, {L"tilt", L"1", L"2", L"3"}, {L"turn"},
                                                        {L"turn", L"90", L"--rate", L"0"}, {L"sensor", L"broken"}};
    for (const auto& args : bad) {
        const test::ConsoleResult r = Devemu(args);
        EXPECT_EQ(r.code, 2) << r.err;
        EXPECT_THAT(r.err, testing::HasSubstr("\nusage: devemu " + test::Narrow(args[0]))) << r.err;
    }
    EXPECT_EQ(test::LogCount(), lines) << "a refused command was logged";
    EXPECT_EQ(Devemu({L"state"}).out.substr(state.find("rotation=")), state.substr(state.find("rotation=")));
}

}  // namespace

// The emulated G-sensor and the console commands that hold, turn and break it.
#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "ce/Sensor.h"
#include "gesture/GestureMatcher.h"

namespace {

using test::Devemu;
using testing::HasSubstr;
using testing::StartsWith;

std::string StateValue(const std::string& key) {
    const std::string state = "\n" + Devemu({L"state"}).out;
    const size_t at = state.find("\n" + key + "=");
    if (at == std::string::npos) return "<missing>";
    const size_t value = at + key.size() + 2;
    return state.substr(value, state.find('\n', value) - value);
}

int32_t DeviceRotation() {
    return devemu::Device::Get().Locked([](devemu::DeviceState& s) { return s.sensor.rotation; });
}

class EmulatedSensorTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Devemu({L"reset"}).code, 0); }
};

TEST_F(EmulatedSensorTest, IsBoundWhenTheProgramLoadsAndExportsOrdinalsOnly) {
    HMODULE library = GetModuleHandleW(L"HTCSensorSDK.dll");
    ASSERT_NE(library, nullptr) << "not loaded with the program";
    auto ordinal = [library](WORD n) { return reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(n))); };
    EXPECT_EQ(ordinal(10), reinterpret_cast<void*>(&HTCSensorOpen));
    EXPECT_EQ(ordinal(4), reinterpret_cast<void*>(&HTCSensorGetData));
    EXPECT_EQ(ordinal(3), reinterpret_cast<void*>(&HTCSensorClose));
    EXPECT_EQ(GetProcAddress(library, "HTCSensorOpen"), nullptr) << "exported by name as well";
}

TEST_F(EmulatedSensorTest, AFreshDeviceLiesFaceUpAndFlatWithAHealthySensor) {
    Devemu({L"tilt", L"100", L"200"});
    Devemu({L"sensor", L"fail-read"});
    ASSERT_EQ(Devemu({L"reset"}).code, 0);
    EXPECT_EQ(StateValue("rotation"), "0");
    EXPECT_EQ(StateValue("tilt"), "0");
    EXPECT_EQ(StateValue("sensor"), "ok");
    EXPECT_EQ(StateValue("sensor-reads"), "0");
}

TEST_F(EmulatedSensorTest, ReadsServeTheReadingTheConsoleSet) {
    ASSERT_EQ(Devemu({L"tilt", L"30", L"100"}).code, 0);
    HANDLE sensor = HTCSensorOpen(SENSOR_KIND_TILT);
    ASSERT_NE(sensor, nullptr);
    TiltReading reading{};
    ASSERT_TRUE(HTCSensorGetData(sensor, &reading));
    EXPECT_EQ(reading.rotation, 30);
    EXPECT_EQ(reading.tilt, 100u);
    EXPECT_EQ(reading.raw0, 1u) << "the number of the read";

    ASSERT_EQ(Devemu({L"tilt", L"359"}).code, 0);
    ASSERT_TRUE(HTCSensorGetData(sensor, &reading));
    EXPECT_EQ(reading.rotation, 359);
    EXPECT_EQ(reading.tilt, 0u) << "tilt left out is 0";
    EXPECT_EQ(reading.raw0, 2u);
    HTCSensorClose(sensor);

    EXPECT_EQ(StateValue("rotation"), "359");
    EXPECT_EQ(StateValue("sensor-reads"), "2");
    EXPECT_EQ(HTCSensorOpen(2), nullptr) << "only the tilt sensor opens";
    std::vector<std::string> log = test::LogLines(1);
    ASSERT_EQ(log.size(), 5u);
    EXPECT_THAT(log[0], HasSubstr(" console tilt 30 100"));
    EXPECT_THAT(log[1], HasSubstr(" sensor open handle=1"));
    EXPECT_THAT(log[2], HasSubstr(" console tilt 359"));
    EXPECT_THAT(log[3], HasSubstr(" sensor close handle=1"));
    EXPECT_THAT(log[4], HasSubstr(" sensor open failed kind=2"));
}

TEST_F(EmulatedSensorTest, TheConsoleBreaksOpensOrReadsUntilTheSensorIsOkAgain) {
    ASSERT_EQ(Devemu({L"sensor", L"fail-open"}).code, 0);
    EXPECT_EQ(StateValue("sensor"), "fail-open");
    EXPECT_EQ(HTCSensorOpen(SENSOR_KIND_TILT), nullptr);

    ASSERT_EQ(Devemu({L"sensor", L"fail-read"}).code, 0);
    EXPECT_EQ(StateValue("sensor"), "fail-read");
    HANDLE sensor = HTCSensorOpen(SENSOR_KIND_TILT);
    ASSERT_NE(sensor, nullptr);
    TiltReading reading{};
    EXPECT_FALSE(HTCSensorGetData(sensor, &reading));

    ASSERT_EQ(Devemu({L"sensor", L"ok"}).code, 0);
    EXPECT_EQ(StateValue("sensor"), "ok");
    EXPECT_TRUE(HTCSensorGetData(sensor, &reading));
    EXPECT_EQ(StateValue("sensor-reads"), "1") << "only good reads are counted";
    HTCSensorClose(sensor);

    std::vector<std::string> events;
    for (const std::string& line : test::LogLines(1)) events.push_back(line.substr(line.find(' ') + 1));
    EXPECT_THAT(events, testing::ElementsAre("console sensor fail-open", "sensor open failed kind=1",
                                             "console sensor fail-read", "sensor open handle=1",
                                             "sensor read failed handle=1", "console sensor ok",
                                             "sensor close handle=1"));
}

// A watcher samples the rotation while the console turns the phone: every value in 0..359,
// up across 0 for the first amount, then down for the second, ending exactly where the sum says.
struct RotationWatch {
    std::atomic<bool> done{false};
    std::vector<int32_t> seen;  // each change of the rotation

    static DWORD WINAPI Run(void* self) {
        auto& watch = *static_cast<RotationWatch*>(self);
        for (;;) {
            const bool last = watch.done;  // one more sample after the turn has returned
            const int32_t r = DeviceRotation();
            if (watch.seen.empty() || watch.seen.back() != r) watch.seen.push_back(r);
            if (last) return 0;
            Sleep(2);
        }
    }
};

TEST_F(EmulatedSensorTest, TurnMovesTheRotationSmoothlyThroughEachAmountInTurn) {
    ASSERT_EQ(Devemu({L"tilt", L"350"}).code, 0);
    RotationWatch watch;
    KernelHandle watcher(CreateThread(nullptr, 0, RotationWatch::Run, &watch, 0, nullptr));
    ASSERT_TRUE(watcher.valid());

    const DWORD start = GetTickCount();
    const test::ConsoleResult r = Devemu({L"turn", L"90", L"-45"});  // 135 degrees at 180 per s
    const DWORD elapsed = GetTickCount() - start;
    watch.done = true;
    WaitForSingleObject(watcher.get(), INFINITE);
    const std::vector<int32_t>& seen = watch.seen;

    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(DeviceRotation(), 35);
    EXPECT_GE(elapsed, 700u) << "faster than the rate";
    EXPECT_GE(seen.size(), 5u) << "not turned in small steps";
    int32_t previous = 350, unwrapped = 350, peak = 350;
    bool descending = false;
    for (const int32_t rotation : seen) {
        ASSERT_GE(rotation, 0);
        ASSERT_LE(rotation, 359);
        const int32_t change = AngleChange(previous, rotation);
        previous = rotation;
        if (change == 0) continue;
        if (change < 0) descending = true;
        EXPECT_TRUE(descending ? change < 0 : change > 0) << "turned back and forth at " << rotation;
        unwrapped += change;
        peak = std::max(peak, unwrapped);
    }
    EXPECT_GT(peak, 395) << "never got far past the final 35";
    EXPECT_LE(peak, 440) << "overshot the first amount";
    EXPECT_EQ(unwrapped, 395);
    EXPECT_GE(test::FindLog("console turn 90 -45"), 0);
}

TEST_F(EmulatedSensorTest, TurnTakesTheGivenRateAndATurnOfZeroStaysPut) {
    ASSERT_EQ(Devemu({L"tilt", L"10"}).code, 0);
    const DWORD start = GetTickCount();
    ASSERT_EQ(Devemu({L"turn", L"-20", L"--rate", L"50"}).code, 0);
    EXPECT_GE(GetTickCount() - start, 390u);
    EXPECT_EQ(StateValue("rotation"), "350");
    ASSERT_EQ(Devemu({L"turn", L"0"}).code, 0);
    EXPECT_EQ(StateValue("rotation"), "350");
    EXPECT_GE(test::FindLog("console turn -20 --rate 50"), 0);
}

TEST_F(EmulatedSensorTest, BadArgumentsGiveAUsageLineAndChangeNothing) {
    ASSERT_EQ(Devemu({L"tilt", L"12", L"34"}).code, 0);
    const std::string state = Devemu({L"state"}).out;
    const std::vector<std::vector<std::wstring>> bad = {
        {L"tilt"},
        {L"tilt", L"360"},
        {L"tilt", L"-1"},
        {L"tilt", L"10", L"360"},
        {L"tilt", L"ten"},
        {L"tilt", L"1", L"2", L"3"},
        {L"turn"},
        {L"turn", L"--rate", L"90"},
        {L"turn", L"90", L"--rate"},
        {L"turn", L"90", L"--rate", L"0"},
        {L"turn", L"90", L"--rate", L"fast"},
        {L"turn", L"90", L"x"},
        {L"turn", L"36001"},
        {L"sensor"},
        {L"sensor", L"broken"},
        {L"sensor", L"ok", L"now"},
    };
    const uint64_t lines = test::LogCount();
    for (const auto& args : bad) {
        const test::ConsoleResult r = Devemu(args);
        std::string joined;
        for (const auto& a : args) joined += test::Narrow(a) + " ";
        EXPECT_EQ(r.code, 2) << joined;
        EXPECT_THAT(r.err, StartsWith("devemu: ")) << joined;
        EXPECT_THAT(r.err, HasSubstr("usage: devemu " + test::Narrow(args[0]))) << joined;
    }
    EXPECT_EQ(test::LogCount(), lines) << "a refused command was logged";
    EXPECT_EQ(Devemu({L"state"}).out.substr(state.find("rotation=")),
              state.substr(state.find("rotation=")));
}

}  // namespace

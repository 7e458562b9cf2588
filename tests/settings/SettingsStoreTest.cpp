// The options' registry key: defaults, malformed values, normalisation and the write-back.
#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsWindow.h"

namespace {

using test::ReadSettingsValue;
using test::WriteSettingsDword;
using test::WriteSettingsValue;

std::string Steps(const Gesture& g) {
    std::string s;
    for (int i = 0; i < kGestureEntries && g.steps[i] != 0; ++i) s += std::to_string(g.steps[i]) + " ";
    return s;
}

// Every field by name, so that a mismatch names the field.
std::string Describe(const Settings& s) {
    std::string d;
    auto add = [&d](const char* name, uint32_t value) { d += std::string(name) + "=" + std::to_string(value) + "\n"; };
    add("ResumeBehaviour", s.ResumeBehaviour);
    add("ResumeCallBehaviour", s.ResumeCallBehaviour);
    add("UnlockOnAC", s.UnlockOnAC);
    add("RelockOnBattery", s.RelockOnBattery);
    add("GesturesToggleLock", s.GesturesToggleLock);
    add("GestureLock", s.GestureLock);
    add("DisableGesturesOnAC", s.DisableGesturesOnAC);
    add("DisableGesturesWhenUpright", s.DisableGesturesWhenUpright);
    add("Vibrate", s.Vibrate);
    add("Beep", s.Beep);
    add("VibrateIfDifferent", s.VibrateIfDifferent);
    add("UnlockOnStylus", s.UnlockOnStylus);
    add("RelockOnStylus", s.RelockOnStylus);
    add("TranscriberCompatibility", s.TranscriberCompatibility);
    add("UnlockWhenCallEnds", s.UnlockWhenCallEnds);
    add("UnlockWhenCallConnected", s.UnlockWhenCallConnected);
    add("ShowIcon", s.ShowIcon);
    d += "LockGesture=" + Steps(s.LockGesture) + "\nUnlockGesture=" + Steps(s.UnlockGesture) + "\n";
    return d;
}

// The options of a first start, as the user documentation lists them.
Settings Defaults() {
    Settings s{};
    s.ResumeBehaviour = 2;
    s.ResumeCallBehaviour = 2;
    s.UnlockOnAC = true;
    s.GestureLock = 1;
    s.DisableGesturesOnAC = true;
    s.DisableGesturesWhenUpright = true;
    s.Vibrate = true;
    s.UnlockOnStylus = true;
    s.UnlockWhenCallEnds = true;
    s.UnlockWhenCallConnected = true;
    s.ShowIcon = true;
    s.LockGesture = Gesture{{-90, -90, -90, -45}};
    s.UnlockGesture = Gesture{{90, 90, 90, 45}};
    return s;
}

void WriteStrings(const wchar_t* name, const std::u16string& units) {
    WriteSettingsValue(name, REG_MULTI_SZ, units.data(), static_cast<DWORD>(2 * units.size()));
}

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override { test::DeleteSettingsKey(); }
    void TearDown() override { test::DeleteSettingsKey(); }
};

TEST_F(SettingsStoreTest, FirstStartCreatesTheKeyAndTakesEveryDefaultWithoutWriting) {
    SettingsStore store;
    ASSERT_TRUE(store.IsOpen());
    EXPECT_EQ(Describe(store.Load()), Describe(Defaults()));

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Brackwater\\Varnel", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 99;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(values, 0u);
}

TEST_F(SettingsStoreTest, MalformedOptionValuesFallBackSilently) {
    const DWORD seven = 7, zero = 0;
    const uint64_t wide = 0;
    WriteSettingsValue(L"UnlockOnAC", REG_DWORD, &zero, 4);           // a well-formed 0
    WriteSettingsValue(L"RelockOnBattery", REG_SZ, L"1", 4);          // a string
    WriteSettingsValue(L"GesturesToggleLock", REG_DWORD, &seven, 2);  // too short
    WriteSettingsValue(L"Vibrate", REG_BINARY, &zero, 4);             // not a DWORD
    WriteSettingsValue(L"ShowIcon", REG_DWORD, &wide, 8);             // too long
    WriteSettingsValue(L"Beep", REG_DWORD, &seven, 4);                // any non-zero is on
    WriteSettingsValue(L"ResumeBehaviour", REG_DWORD, &seven, 4);     // numbers as stored
    WriteSettingsValue(L"GestureLock", REG_SZ, L"0", 4);

    Settings expected = Defaults();
    expected.UnlockOnAC = false;
    expected.Beep = true;
    expected.ResumeBehaviour = 7;
    EXPECT_EQ(Describe(SettingsStore().Load()), Describe(expected));
}

TEST_F(SettingsStoreTest, TranscriberModeTurnsPanelLocksIntoFullLocksExceptForCalls) {
    for (DWORD transcriber : {1u, 0u}) {
        WriteSettingsDword(L"TranscriberCompatibility", transcriber);
        WriteSettingsDword(L"ResumeBehaviour", 2);
        WriteSettingsDword(L"ResumeCallBehaviour", 2);
        WriteSettingsDword(L"GestureLock", 2);
        const Settings s = SettingsStore().Load();
        const uint32_t panel = transcriber ? 1 : 2;
        EXPECT_EQ(s.ResumeBehaviour, panel) << "transcriber " << transcriber;
        EXPECT_EQ(s.ResumeCallBehaviour, 2u) << "transcriber " << transcriber;
        EXPECT_EQ(s.GestureLock, panel) << "transcriber " << transcriber;
    }
}

TEST_F(SettingsStoreTest, GestureValuesLoadAsTheirSteps) {
    struct Case {
        std::u16string stored;
        std::string steps;
    };
    const Case cases[] = {
        {std::u16string(u"45\0-90\0" u"180\0\0", 12), "45 -90 180 "},
        {std::u16string(u"90\0x\0" u"45\0\0", 9), "90 "},
        {std::u16string(u"\0", 1), ""},  // empty, not the default
    };
    for (const Case& c : cases) {
        WriteStrings(L"LockGesture", c.stored);
        EXPECT_EQ(Steps(SettingsStore().Load().LockGesture), c.steps);
    }
    test::DeleteSettingsKey();
    EXPECT_EQ(Steps(SettingsStore().Load().UnlockGesture), "90 90 90 45 ");
}

TEST_F(SettingsStoreTest, OversizedOrOddGestureValuesStayInsideTheBuffers) {
    std::u16string many;
    for (int i = 0; i < 200; ++i) many += std::u16string(u"45\0", 3);  // 1200 bytes, 200 strings
    many += u'\0';
    WriteStrings(L"LockGesture", many);
    std::u16string unterminated(400, u'9');
    WriteSettingsValue(L"UnlockGesture", REG_MULTI_SZ, unterminated.data(), 800);
    Settings s = SettingsStore().Load();
    EXPECT_EQ(s.LockGesture.steps[31], 0);
    EXPECT_EQ(s.UnlockGesture.steps[31], 0);
    // The query fails with ERROR_MORE_DATA; whether it left the default text or the first bytes
    // of the value in the buffer, what is parsed stays within both buffers.
    std::string all45;
    for (int i = 0; i < kMaxGestureSteps; ++i) all45 += "45 ";
    EXPECT_THAT(Steps(s.LockGesture), testing::AnyOf("-90 -90 -90 -45 ", all45));
    EXPECT_THAT(Steps(s.UnlockGesture), testing::AnyOf("90 90 90 45 ", ""));

    const DWORD number = 90;
    WriteSettingsValue(L"LockGesture", REG_DWORD, &number, 4);
    s = SettingsStore().Load();
    EXPECT_EQ(s.LockGesture.steps[31], 0);
}

TEST_F(SettingsStoreTest, SaveWritesEveryValueBackInItsStoredForm) {
    Settings s{};
    s.ResumeBehaviour = 0xFFFFFFFF;
    s.ResumeCallBehaviour = 3;
    s.RelockOnBattery = true;
    s.GestureLock = 0;
    s.Beep = true;
    s.TranscriberCompatibility = true;
    s.LockGesture = Gesture{{45, -90, 180}};
    s.UnlockGesture = Gesture{};
    SettingsStore().Save(s);

    struct Expected {
        const wchar_t* name;
        DWORD value;
    };
    const Expected dwords[] = {
        {L"ResumeBehaviour", 0xFFFFFFFF}, {L"ResumeCallBehaviour", 3}, {L"UnlockOnAC", 0},
        {L"RelockOnBattery", 1}, {L"GesturesToggleLock", 0}, {L"GestureLock", 0},
        {L"DisableGesturesOnAC", 0}, {L"DisableGesturesWhenUpright", 0}, {L"Vibrate", 0},
        {L"Beep", 1}, {L"VibrateIfDifferent", 0}, {L"UnlockOnStylus", 0}, {L"RelockOnStylus", 0},
        {L"TranscriberCompatibility", 1}, {L"UnlockWhenCallEnds", 0},
        {L"UnlockWhenCallConnected", 0}, {L"ShowIcon", 0},
    };
    for (const Expected& e : dwords) {
        auto v = ReadSettingsValue(e.name);
        ASSERT_TRUE(v) << "value " << e.value;
        EXPECT_EQ(v->type, static_cast<DWORD>(REG_DWORD));
        ASSERT_EQ(v->data.size(), 4u);
        DWORD stored;
        std::memcpy(&stored, v->data.data(), 4);
        EXPECT_EQ(stored, e.value);
    }
    auto lock = ReadSettingsValue(L"LockGesture");
    ASSERT_TRUE(lock);
    EXPECT_EQ(lock->type, static_cast<DWORD>(REG_MULTI_SZ));
    const std::u16string lockText(u"45\0-90\0" u"180\0\0", 12);
    EXPECT_EQ(lock->data, std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(lockText.data()),
                                               reinterpret_cast<const uint8_t*>(lockText.data()) + 24));
    auto unlock = ReadSettingsValue(L"UnlockGesture");
    ASSERT_TRUE(unlock);
    EXPECT_EQ(unlock->data, std::vector<uint8_t>(2, 0));

    // What Save wrote, Load reads back (the Transcriber rule has nothing to change here).
    EXPECT_EQ(Describe(SettingsStore().Load()), Describe(s));
}

TEST_F(SettingsStoreTest, SaveMakesTheEditedCopyCurrent) {
    SettingsWindow window;
    EXPECT_EQ(Describe(window.current), Describe(Defaults()));
    EXPECT_EQ(Describe(window.edited), Describe(Defaults()));
    window.edited.Vibrate = false;
    window.edited.UnlockGesture = Gesture{{45}};
    EXPECT_TRUE(window.current.Vibrate);
    window.Save();
    EXPECT_FALSE(window.current.Vibrate);
    EXPECT_EQ(Steps(window.current.UnlockGesture), "45 ");
    EXPECT_EQ(test::ReadSettingsDword(L"Vibrate"), 0u);
}

}  // namespace

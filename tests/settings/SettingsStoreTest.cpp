// The options' registry key: defaults, malformed values, normalisation and the write-back.
#include <map>
#include <string>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "settings/SettingsStore.h"

namespace {

using Stored = std::map<std::wstring, std::string>;

// A first start's values as Save writes them: a 4-byte DWORD as its number, a gesture's strings
// each followed by "|" for its U+0000, then the "|" that ends the list.
const Stored kDefaults = {
    {L"ResumeBehaviour", "2"}, {L"ResumeCallBehaviour", "2"}, {L"UnlockOnAC", "1"}, {L"RelockOnBattery", "0"},
    {L"GesturesToggleLock", "0"}, {L"GestureLock", "1"}, {L"DisableGesturesOnAC", "1"},
    {L"DisableGesturesWhenUpright", "1"}, {L"Vibrate", "1"}, {L"Beep", "0"}, {L"VibrateIfDifferent", "0"},
    {L"UnlockOnStylus", "1"}, {L"RelockOnStylus", "0"}, {L"TranscriberCompatibility", "0"},
    {L"UnlockWhenCallEnds", "1"}, {L"UnlockWhenCallConnected", "1"}, {L"ShowIcon", "1"},
    {L"LockGesture", "-90|-90|-90|-45||"}, {L"UnlockGesture", "90|90|90|45||"},
};

// What Load makes of the key, as Save writes it into the emptied key ("": not a DWORD nor text).
Stored LoadedAndSaved() {
    const Settings loaded = SettingsStore().Load();
    test::DeleteSettingsKey();
    SettingsStore().Save(loaded);
    Stored saved;
    for (const auto& [name, unused] : kDefaults) {
        const auto value = test::ReadSettingsValue(name.c_str());
        const auto dword = test::ReadSettingsDword(name.c_str());
        std::string& shown = saved[name] = dword ? std::to_string(*dword) : "";
        for (size_t i = 0; value && value->type == REG_MULTI_SZ && i + 1 < value->data.size(); i += 2) {
            shown += value->data[i + 1] ? '?' : value->data[i] ? static_cast<char>(value->data[i]) : '|';
        }
    }
    return saved;
}

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override { test::DeleteSettingsKey(); }
    void TearDown() override { test::DeleteSettingsKey(); }
};

TEST_F(SettingsStoreTest, EveryValueLoadsAsStoredOrByDefaultAndIsSavedBack) {
    ASSERT_TRUE(SettingsStore().IsOpen()) << "a first start creates the key";
    for (const auto& [name, unused] : kDefaults) EXPECT_FALSE(test::ReadSettingsValue(name.c_str())) << "written";
    EXPECT_EQ(LoadedAndSaved(), kDefaults) << "every default";
    for (const DWORD transcriber : {0u, 1u}) {
        SCOPED_TRACE(transcriber ? "Transcriber mode" : "no Transcriber mode");
        const DWORD seven = 7, zero = 0;
        const uint64_t wide = 0;
        test::WriteSettingsValue(L"UnlockOnAC", REG_DWORD, &zero, 4);           // a well-formed 0
        test::WriteSettingsValue(L"RelockOnBattery", REG_SZ, L"1", 4);          // a string
        test::WriteSettingsValue(L"GesturesToggleLock", REG_DWORD, &seven, 2);  // too short
        test::WriteSettingsValue(L"Vibrate", REG_BINARY, &zero, 4);             // not a DWORD
        test::WriteSettingsValue(L"ShowIcon", REG_DWORD, &wide, 8);             // too long
        test::WriteSettingsValue(L"Beep", REG_DWORD, &seven, 4);                // any non-zero is on
        test::WriteSettingsDword(L"TranscriberCompatibility", transcriber);
        for (const wchar_t* panel : {L"ResumeBehaviour", L"ResumeCallBehaviour", L"GestureLock"}) {
            test::WriteSettingsDword(panel, 2);
        }
        test::WriteSettingsValue(L"LockGesture", REG_MULTI_SZ, u"45\0-90\0" u"180\0\0", 24);
        // No step, which would unlock on every face-up tick: an empty list, or a first entry that
        // reads as 0. Either is read as the default, and so written back.
        if (transcriber) test::WriteSettingsValue(L"UnlockGesture", REG_MULTI_SZ, u"x\0" u"90\0", 12);
        else test::WriteSettingsValue(L"UnlockGesture", REG_MULTI_SZ, u"\0", 2);

        // A panel lock becomes a full one in Transcriber mode; the call behaviour is left to the
        // lock actions.
        const std::string panel = transcriber ? "1" : "2";
        Stored expected = {{L"UnlockOnAC", "0"}, {L"Beep", "1"}, {L"ResumeBehaviour", panel}, {L"GestureLock", panel},
                           {L"TranscriberCompatibility", std::to_string(transcriber)},
                           {L"LockGesture", "45|-90|180||"}};
        expected.merge(Stored(kDefaults));  // the rest as by default
        EXPECT_EQ(LoadedAndSaved(), expected);
    }
}

TEST_F(SettingsStoreTest, OversizedOrUnterminatedGestureValuesStayInsideTheBuffers) {
    std::u16string many;
    for (int i = 0; i < 200; ++i) many += std::u16string(u"45\0", 3);  // 200 strings, then the list's end
    test::WriteSettingsValue(L"LockGesture", REG_MULTI_SZ, (many + u'\0').data(), 1202);
    test::WriteSettingsValue(L"UnlockGesture", REG_MULTI_SZ, std::u16string(400, u'9').data(), 800);  // no end
    // The query fails with ERROR_MORE_DATA; whether it left the default text or the first bytes
    // of the value in the buffer, what is parsed stays within both buffers. A string without its
    // end is no step, so the unlock gesture is the default either way.
    const Stored saved = LoadedAndSaved();
    std::string all45 = "|";
    for (int i = 0; i < kMaxGestureSteps; ++i) all45.insert(0, "45|");
    EXPECT_THAT(saved.at(L"LockGesture"), testing::AnyOf(kDefaults.at(L"LockGesture"), all45));
    EXPECT_EQ(saved.at(L"UnlockGesture"), kDefaults.at(L"UnlockGesture"));
}

}  // namespace

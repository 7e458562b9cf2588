// The program's resources as the phone's loader and shell read them.
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include <gmock/gmock.h>

#include "app/AppGlobals.h"

namespace {

std::vector<uint8_t> Resource(const wchar_t* type, const wchar_t* name, WORD language = 0) {
    HRSRC found = language ? FindResourceExW(AppInstance, type, name, language)
                           : FindResourceW(AppInstance, name, type);
    if (!found) return {};
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(AppInstance, found)));
    return std::vector<uint8_t>(data, data + SizeofResource(AppInstance, found));
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// (size, bits per pixel) of every image of an icon group.
std::set<std::pair<int, int>> IconImages(int group) {
    const std::vector<uint8_t> dir = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(group));
    std::set<std::pair<int, int>> images;
    if (dir.size() < 6) return images;
    WORD count;
    std::memcpy(&count, dir.data() + 4, 2);
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupIconEntry) <= dir.size(); ++i) {
        GroupIconEntry e;
        std::memcpy(&e, dir.data() + 6 + i * sizeof e, sizeof e);
        images.insert({e.width ? e.width : 256, e.bitCount});
    }
    return images;
}

TEST(Resources, IconsHoldTheImagesTheShellAsksFor) {
    EXPECT_EQ(IconImages(IDI_APPLICATION_ICON),
              (std::set<std::pair<int, int>>{{48, 8}, {32, 8}, {24, 8}, {16, 8}, {48, 32}, {32, 32}}));
    EXPECT_EQ(IconImages(IDI_NOTIFICATION_ICON), (std::set<std::pair<int, int>>{{32, 1}}));
    EXPECT_NE(LoadIconW(AppInstance, MAKEINTRESOURCEW(IDI_NOTIFICATION_ICON)), nullptr);
}

TEST(Resources, CtrlQIsTheOnlyAcceleratorAndGivesOk) {
    HACCEL table = LoadAcceleratorsW(AppInstance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    ACCEL entries[4];
    ASSERT_EQ(CopyAcceleratorTableW(table, entries, 4), 1);
    EXPECT_EQ(entries[0].key, 'Q');
    EXPECT_EQ(entries[0].cmd, IDM_OK);
    EXPECT_EQ(entries[0].fVirt & ~0x80, FVIRTKEY | FNOINVERT | FCONTROL);  // 0x80: last entry
    DestroyAcceleratorTable(table);
}

TEST(Resources, HighResolutionMarkIsTheWordOneInUsEnglish) {
    const std::vector<uint8_t> mark = Resource(L"CEUX", L"HI_RES_AWARE", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    EXPECT_EQ(mark, (std::vector<uint8_t>{1, 0}));
}

TEST(Resources, MenuBarHasOkAndCancelButtonsWithTheirStrings) {
    const std::vector<uint8_t> bar = Resource(RT_RCDATA, MAKEINTRESOURCEW(IDR_MENUBAR));
    ASSERT_EQ(bar.size(), 32u);  // menu id, count, then seven words per button
    std::vector<WORD> words(16);
    std::memcpy(words.data(), bar.data(), 32);
    const WORD imageNone = 0xFFFE, enabled = 0x04, autosizeButton = 0x10, noMenu = 0xFFFF;
    EXPECT_EQ(words[1], 2);
    EXPECT_THAT(std::vector<WORD>(words.begin() + 2, words.begin() + 9),
                testing::ElementsAre(imageNone, IDM_OK, enabled, autosizeButton, IDS_OK, 0, noMenu));
    EXPECT_THAT(std::vector<WORD>(words.begin() + 9, words.end()),
                testing::ElementsAre(imageNone, IDM_CANCEL, enabled, autosizeButton, IDS_CANCEL, 0, noMenu));

    wchar_t text[16];
    ASSERT_GT(LoadStringW(AppInstance, IDS_OK, text, 16), 0);
    EXPECT_STREQ(text, L"OK");
    ASSERT_GT(LoadStringW(AppInstance, IDS_CANCEL, text, 16), 0);
    EXPECT_STREQ(text, L"Cancel");
}

}  // namespace

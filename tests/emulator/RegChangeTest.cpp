// The emulated registry change notification, on a key of this test process's own.
#include <string>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "ce/Handle.h"
#include "ce/Registry.h"

namespace {

constexpr DWORD kSignalWait = 10000;  // a busy machine's notification still arrives
constexpr DWORD kQuietWait = 300;     // what must not be reported gets this long to show up

class RegChangeTest : public testing::Test {
protected:
    void SetUp() override {
        path_ = L"Software\\Brackwater\\VarnelTest\\" + std::to_wstring(GetCurrentProcessId());
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        key_.reset(key);
    }
    void TearDown() override {
        key_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
    }
    // Written through a key of its own, as another process would.
    void SetValue(const wchar_t* subkey, const wchar_t* name, DWORD value) {
        HKEY key = nullptr;
        const std::wstring path = subkey ? path_ + L"\\" + subkey : path_;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }

    std::wstring path_;
    RegKey key_;
};

TEST_F(RegChangeTest, EachArmedWatchReportsOneChange) {
    RegChange change(CeFindFirstRegChange(key_.get(), TRUE, REG_NOTIFY_CHANGE_LAST_SET));
    ASSERT_TRUE(change);
    EXPECT_FALSE(test::Signalled(change.get(), 0));
    SetValue(nullptr, L"A", 1);
    EXPECT_TRUE(test::Signalled(change.get(), kSignalWait));
    SetValue(nullptr, L"A", 2);
    EXPECT_FALSE(test::Signalled(change.get(), kQuietWait)) << "reported without being armed again";
    ASSERT_TRUE(CeFindNextRegChange(change.get()));
    SetValue(nullptr, L"A", 3);
    EXPECT_TRUE(test::Signalled(change.get(), kSignalWait));
}

TEST_F(RegChangeTest, TheWatchOutlivesTheCallersKey) {
    RegChange change(CeFindFirstRegChange(key_.get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET));
    ASSERT_TRUE(change);
    key_.reset();
    EXPECT_FALSE(test::Signalled(change.get(), kQuietWait)) << "closing the caller's key was reported";
    SetValue(nullptr, L"B", 1);
    EXPECT_TRUE(test::Signalled(change.get(), kSignalWait));
}

TEST_F(RegChangeTest, TheSubtreeIsWatchedOnlyWhenAsked) {
    RegChange tree(CeFindFirstRegChange(key_.get(), TRUE, REG_NOTIFY_CHANGE_LAST_SET));
    RegChange flat(CeFindFirstRegChange(key_.get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET));
    SetValue(L"Sub", L"C", 1);
    EXPECT_TRUE(test::Signalled(tree.get(), kSignalWait));
    EXPECT_FALSE(test::Signalled(flat.get(), kQuietWait));
}

TEST_F(RegChangeTest, BadArgumentsAndHandlesAreRefused) {
    SetLastError(0);
    EXPECT_EQ(CeFindFirstRegChange(key_.get(), TRUE, REG_NOTIFY_CHANGE_SECURITY), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(CeFindFirstRegChange(key_.get(), TRUE, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeFindFirstRegChange(nullptr, TRUE, REG_NOTIFY_CHANGE_LAST_SET), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CeFindNextRegChange(INVALID_HANDLE_VALUE));
    const HANDLE change = CeFindFirstRegChange(key_.get(), TRUE, REG_NOTIFY_CHANGE_LAST_SET);
    ASSERT_NE(change, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CeFindCloseRegChange(change));
    EXPECT_FALSE(CeFindCloseRegChange(change));
    EXPECT_FALSE(CeFindNextRegChange(change));
}

}  // namespace

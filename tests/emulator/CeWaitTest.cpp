// The wait that the program imports from coredll: CE's handle checks, then the desktop's wait.
#include <vector>

#include <gmock/gmock.h>

#include "ce/Handle.h"

namespace {

TEST(CeWaitTest, RefusesWhatCeRefuses) {
    KernelHandle set(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    struct Case {
        std::vector<HANDLE> handles;
        DWORD count;
        BOOL waitAll;
        DWORD error;
        const char* what;
    };
    std::vector<HANDLE> tooMany(MAXIMUM_WAIT_OBJECTS + 1, set.get());
    const Case cases[] = {
        {{set.get(), INVALID_HANDLE_VALUE}, 2, FALSE, ERROR_INVALID_HANDLE, "INVALID_HANDLE_VALUE"},
        {{INVALID_HANDLE_VALUE}, 1, FALSE, ERROR_INVALID_HANDLE, "only INVALID_HANDLE_VALUE"},
        {{set.get(), nullptr}, 2, FALSE, ERROR_INVALID_HANDLE, "a null handle"},
        {{set.get()}, 0, FALSE, ERROR_INVALID_HANDLE, "no handles"},
        {tooMany, MAXIMUM_WAIT_OBJECTS + 1, FALSE, ERROR_INVALID_HANDLE, "too many handles"},
        {{set.get()}, 1, TRUE, ERROR_INVALID_PARAMETER, "wait for all"},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        // A signalled handle comes first: the desktop's wait would report it at once.
        EXPECT_EQ(WaitForMultipleObjects(c.count, c.handles.data(), c.waitAll, 0), WAIT_FAILED) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
}

TEST(CeWaitTest, OtherwiseWaitsAsTheDesktopDoes) {
    KernelHandle first(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    KernelHandle second(CreateEventW(nullptr, FALSE, TRUE, nullptr));
    KernelHandle third(CreateEventW(nullptr, FALSE, TRUE, nullptr));
    const HANDLE handles[] = {first.get(), second.get(), third.get()};
    EXPECT_EQ(WaitForMultipleObjects(3, handles, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, handles, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, handles, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    std::vector<HANDLE> most(MAXIMUM_WAIT_OBJECTS, first.get());
    most.back() = third.get();
    SetEvent(third.get());
    EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, most.data(), FALSE, 0),
              WAIT_OBJECT_0 + MAXIMUM_WAIT_OBJECTS - 1);
}

}  // namespace

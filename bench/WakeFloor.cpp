// The floor of a wake-up reaction on this platform: a program that does only what any reaction
// to a resume must do. It registers a queue of its own for power transitions, waits on it at the
// lock controller's priority, reads what came and sends the input-lock request for each resume,
// until "wake_floor stop" sets its exit event. reaction_bench times it against Varnel, and its
// start (to the registration) stands for an otherwise empty Win32 program's.
#include <cwchar>

#include <windows.h>

#include "ce/Kernel.h"
#include "ce/MsgQueue.h"
#include "ce/Power.h"

namespace {

constexpr wchar_t kQueueName[] = L"WAKE_FLOOR_QUEUE";
constexpr wchar_t kExitEventName[] = L"wake_floor/exit";
constexpr DWORD kMaxMessage = 534;  // the power monitor's

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
    if (std::wcscmp(commandLine, L"stop") == 0) {
        KernelHandle running(OpenEventW(EVENT_MODIFY_STATE, FALSE, kExitEventName));
        return running && SetEvent(running.get()) ? 0 : 1;
    }
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    KernelHandle exitEvent(CreateEventW(nullptr, FALSE, FALSE, kExitEventName));
    MSGQUEUEOPTIONS options{sizeof options, MSGQUEUE_NOPRECOMMIT, 0, kMaxMessage, TRUE};
    MsgQueueHandle queue(CreateMsgQueue(kQueueName, &options));
    PowerNotifications registration(RequestPowerNotifications(queue.get(), PBT_TRANSITION));
    if (!exitEvent || !queue || !registration) return 1;

    const HANDLE handles[] = {exitEvent.get(), queue.get()};
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        alignas(POWER_BROADCAST) BYTE buffer[kMaxMessage];
        DWORD size = 0, flags = 0;
        while (ReadMsgQueue(queue.get(), buffer, sizeof buffer, &size, 0, &flags)) {
            const auto& message = *reinterpret_cast<const POWER_BROADCAST*>(buffer);
            if (message.Message != PBT_TRANSITION || !(message.Flags & POWER_STATE_ON)) continue;
            InputLockRequest request{0, 1};
            DWORD returned = 0;
            KernelIoControl(IOCTL_INPUT_LOCK, &request, sizeof request, nullptr, 0, &returned);
        }
    }
    return 0;
}

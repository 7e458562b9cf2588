// Shell notifications of the emulated aygshell: recorded in the device's tray, by class
// identifier and notification identifier, with the icon's pixels for the navigation bar.
#include <array>
#include <cstring>

#include "Dc.h"
#include "Device.h"
#include "ce/Handle.h"
#include "ce/Shell.h"
#include "ui/Gdi.h"

namespace {

constexpr int kSide = devemu::kIconSide;
using Pixels = std::array<uint32_t, kSide * kSide>;

// The icon drawn at the bar's size on black and on white. What differs between the two is what
// the icon lets through: that gives its alpha, and on black its colour comes out premultiplied.
Pixels IconPixels(HICON icon) {
    Pixels pixels{};
    if (!icon) return pixels;
    devemu::ScreenDc screen;
    devemu::MemoryDc memory(screen.get());
    BITMAPINFO info = devemu::TopDownDib(kSide, kSide, 32);
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory.get() || !bitmap || !bits) return pixels;
    Selection selected(memory.get(), bitmap.get());
    const RECT all{0, 0, kSide, kSide};
    Pixels onBlack{}, onWhite{};
    for (auto [background, out] : {std::pair{BLACK_BRUSH, &onBlack}, {WHITE_BRUSH, &onWhite}}) {
        FillRect(memory.get(), &all, static_cast<HBRUSH>(GetStockObject(background)));
        DrawIconEx(memory.get(), 0, 0, icon, kSide, kSide, 0, nullptr, DI_NORMAL);
        GdiFlush();
        std::memcpy(out->data(), bits, sizeof(Pixels));
    }
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t through = (onWhite[i] >> 8 & 0xFF) - (onBlack[i] >> 8 & 0xFF);
        pixels[i] = (onBlack[i] & 0xFFFFFF) | (255 - (through > 255 ? 255 : through)) << 24;
    }
    return pixels;
}

devemu::Notification* Find(devemu::DeviceState& s, const CLSID& clsid, DWORD id) {
    for (devemu::Notification& n : s.notifications) {
        if (n.used && n.id == id && IsEqualGUID(n.clsid, clsid)) return &n;
    }
    return nullptr;
}

}  // namespace

extern "C" {

LRESULT WINAPI SHNotificationAdd(SHNOTIFICATIONDATA* data) {
    if (!data || data->cbStruct < sizeof(SHNOTIFICATIONDATA)) return ERROR_INVALID_PARAMETER;
    const Pixels pixels = IconPixels(data->hicon);  // drawn before the device is locked
    devemu::Device& device = devemu::Device::Get();
    const LRESULT result = device.Locked([&](devemu::DeviceState& s) -> LRESULT {
        if (s.shell.refuseAdd) return ERROR_OUTOFMEMORY;
        if (Find(s, data->clsid, data->dwID)) return ERROR_ALREADY_EXISTS;
        for (devemu::Notification& n : s.notifications) {
            if (n.used) continue;
            n = devemu::Notification{true, data->clsid, data->dwID, data->npPriority,
                                     data->csDuration, data->grfFlags,
                                     reinterpret_cast<uint64_t>(data->hicon), {}};
            std::memcpy(n.pixels, pixels.data(), sizeof n.pixels);
            return ERROR_SUCCESS;
        }
        return ERROR_OUTOFMEMORY;  // the tray is full
    });
    if (result == ERROR_SUCCESS) device.Log("icon add id=%lu", data->dwID);
    else device.Log("icon add refused id=%lu error=%lld", data->dwID, static_cast<long long>(result));
    return result;
}

LRESULT WINAPI SHNotificationRemove(const CLSID* clsid, DWORD id) {
    if (!clsid || id == 0) return ERROR_INVALID_PARAMETER;
    devemu::Device& device = devemu::Device::Get();
    const LRESULT result = device.Locked([&](devemu::DeviceState& s) -> LRESULT {
        if (s.shell.refuseRemove) return ERROR_BUSY;
        devemu::Notification* n = Find(s, *clsid, id);
        if (!n) return ERROR_NOT_FOUND;
        *n = devemu::Notification{};
        return ERROR_SUCCESS;
    });
    if (result == ERROR_SUCCESS) device.Log("icon remove id=%lu", id);
    else device.Log("icon remove refused id=%lu error=%lld", id, static_cast<long long>(result));
    return result;
}

}  // extern "C"

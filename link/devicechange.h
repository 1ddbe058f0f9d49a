#ifndef DEVICECHANGE_H
#define DEVICECHANGE_H

#include <cstddef>
#include <cstdint>
#include <string>

// One device-interface event as Windows broadcasts it with WM_DEVICECHANGE. Kept free of Qt and
// of windows.h so that it builds and is tested on every platform.
struct DeviceChange
{
    enum Kind
    {
        None = 0,
        Arrival = 1,
        Removal = 2,
    };
    int kind = None;
    std::u16string name;
};

namespace devicechange
{
constexpr std::uintptr_t kDeviceArrival = 0x8000;
constexpr std::uintptr_t kDeviceRemoveComplete = 0x8004;
constexpr std::uint32_t kDevTypDeviceInterface = 5;
// DEV_BROADCAST_DEVICEINTERFACE_W: size, device type, reserved (3 x 4 bytes), class GUID (16),
// then the NUL-terminated UTF-16 name.
constexpr std::size_t kNameOffset = 28;
} // namespace devicechange

// The event that wParam and the broadcast header (lParam of WM_DEVICECHANGE) carry: an interface
// arrival or removal with its name, or None for every other message and device type. The name is
// read no further than the size the header states.
DeviceChange parseDeviceChange(std::uintptr_t wParam, const void *broadcast);

#endif // DEVICECHANGE_H

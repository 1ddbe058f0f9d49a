#include "link/winnotify.h"

#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <dbt.h>

#include <cstddef>

namespace
{
// GUID_DEVINTERFACE_USB_DEVICE and GUID_DEVINTERFACE_DISK, registered in this order.
const GUID kInterfaceClasses[2] = {
    {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}},
    {0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}},
};
// Registrations are never released; each class is registered once so that one event is not
// delivered several times after several arrivals.
HDEVNOTIFY registrations[2] = {nullptr, nullptr};
} // namespace

namespace winnotify
{
int registerDeviceInterfaces(void *windowHandle)
{
    int failures = 0;
    for (int n = 0; n < 2; ++n) {
        if (registrations[n])
            continue;
        DEV_BROADCAST_DEVICEINTERFACE_W filter;
        ZeroMemory(&filter, sizeof filter);
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_reserved = 0;
        filter.dbcc_classguid = kInterfaceClasses[n];
        filter.dbcc_name[0] = 0;
        registrations[n] = RegisterDeviceNotificationW(static_cast<HANDLE>(windowHandle), &filter,
                                                       DEVICE_NOTIFY_WINDOW_HANDLE);
        if (!registrations[n])
            ++failures;
    }
    return failures;
}

DeviceChange readMessage(const void *msg)
{
    const MSG *message = static_cast<const MSG *>(msg);
    if (!message || message->message != WM_DEVICECHANGE)
        return DeviceChange();
    static_assert(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) == devicechange::kNameOffset,
                  "interface name offset differs from the broadcast layout");
    return parseDeviceChange(static_cast<std::uintptr_t>(message->wParam),
                             reinterpret_cast<const void *>(message->lParam));
}
} // namespace winnotify

#endif // _WIN32

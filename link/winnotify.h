#ifndef WINNOTIFY_H
#define WINNOTIFY_H

#include "link/devicechange.h"

// The Windows side of hot-plug: registration for device-interface broadcasts and the reading of
// WM_DEVICECHANGE. Free of Qt; built only on Windows.
#ifdef _WIN32
namespace winnotify
{
// Registers the window for USB device and disk interface broadcasts, each class once over the
// life of the process. Returns how many registrations failed.
int registerDeviceInterfaces(void *windowHandle);
// The device-interface event of a native MSG, or None for any other message.
DeviceChange readMessage(const void *msg);
} // namespace winnotify
#endif

#endif // WINNOTIFY_H

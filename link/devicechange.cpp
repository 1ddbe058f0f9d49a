#include "link/devicechange.h"

#include <cstring>

DeviceChange parseDeviceChange(std::uintptr_t wParam, const void *broadcast)
{
    DeviceChange change;
    if (!broadcast)
        return change;
    if (wParam != devicechange::kDeviceArrival && wParam != devicechange::kDeviceRemoveComplete)
        return change;
    const auto *bytes = static_cast<const unsigned char *>(broadcast);
    std::uint32_t size = 0;
    std::uint32_t deviceType = 0;
    std::memcpy(&size, bytes, sizeof size);
    std::memcpy(&deviceType, bytes + 4, sizeof deviceType);
    if (deviceType != devicechange::kDevTypDeviceInterface || size < devicechange::kNameOffset)
        return change;
    const std::size_t maxChars = (size - devicechange::kNameOffset) / 2;
    for (std::size_t n = 0; n < maxChars; ++n) {
        char16_t c = 0;
        std::memcpy(&c, bytes + devicechange::kNameOffset + 2 * n, sizeof c);
        if (c == 0)
            break;
        change.name.push_back(c);
    }
    change.kind = wParam == devicechange::kDeviceArrival ? DeviceChange::Arrival
                                                         : DeviceChange::Removal;
    return change;
}

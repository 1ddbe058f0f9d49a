// hidapi's C interface over the simulated board, so that touchcore runs unchanged without hardware.
#include "sim/simboard.h"

#include <hidapi/hidapi.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <mutex>
#include <vector>

struct hid_device_
{
    SimBoard::Handle *handle = nullptr;
};

namespace
{
constexpr unsigned short kVendorId = 0x0483;
constexpr unsigned short kProductId = 0x5850;
constexpr char kPath[] = "sim:debugger";
constexpr wchar_t kSerial[] = L"SIM0001";
constexpr wchar_t kManufacturer[] = L"Simulated";
constexpr wchar_t kProduct[] = L"Touch debugger board";

std::mutex devicesMutex;
std::vector<std::unique_ptr<hid_device_>> devices;

hid_device *wrap(SimBoard::Handle *handle)
{
    if (!handle)
        return nullptr;
    std::lock_guard<std::mutex> lock(devicesMutex);
    devices.push_back(std::make_unique<hid_device_>());
    devices.back()->handle = handle;
    return devices.back().get();
}

wchar_t *copyOf(const wchar_t *text)
{
    const std::size_t n = std::wcslen(text) + 1;
    auto *copy = static_cast<wchar_t *>(std::malloc(n * sizeof(wchar_t)));
    if (copy)
        std::wmemcpy(copy, text, n);
    return copy;
}

hid_device_info *newInfo()
{
    auto *info = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
    if (!info)
        return nullptr;
    info->path = static_cast<char *>(std::malloc(sizeof(kPath)));
    if (info->path)
        std::memcpy(info->path, kPath, sizeof(kPath));
    info->vendor_id = kVendorId;
    info->product_id = kProductId;
    info->serial_number = copyOf(kSerial);
    info->release_number = 0x0100;
    info->manufacturer_string = copyOf(kManufacturer);
    info->product_string = copyOf(kProduct);
    info->interface_number = 0;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

int copyString(const wchar_t *text, wchar_t *out, std::size_t maxlen)
{
    if (!out || maxlen == 0)
        return -1;
    std::wcsncpy(out, text, maxlen);
    out[maxlen - 1] = L'\0';
    return 0;
}

bool attached(hid_device *dev) { return dev && SimBoard::isPlugged(); }
} // namespace

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void) { return 0; }

int HID_API_EXPORT HID_API_CALL hid_exit(void) { return 0; }

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id)
{
    if (!SimBoard::isPlugged())
        return nullptr;
    if ((vendor_id && vendor_id != kVendorId) || (product_id && product_id != kProductId))
        return nullptr;
    return newInfo();
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info *devs)
{
    while (devs) {
        hid_device_info *next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open(unsigned short vendor_id,
                                                 unsigned short product_id,
                                                 const wchar_t *serial_number)
{
    if (vendor_id != kVendorId || product_id != kProductId)
        return nullptr;
    if (serial_number && std::wcscmp(serial_number, kSerial) != 0)
        return nullptr;
    return wrap(SimBoard::open());
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open_path(const char *path)
{
    if (!path || std::strcmp(path, kPath) != 0)
        return nullptr;
    return wrap(SimBoard::open());
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device *dev, const unsigned char *data, size_t length)
{
    return dev ? SimBoard::write(dev->handle, data, length) : -1;
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device *dev, unsigned char *data,
                                                 size_t length, int milliseconds)
{
    return dev ? SimBoard::read(dev->handle, data, length, milliseconds) : -1;
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device *dev, unsigned char *data, size_t length)
{
    if (!dev)
        return -1;
    return SimBoard::read(dev->handle, data, length, SimBoard::isNonblocking(dev->handle) ? 0 : -1);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device *dev, int nonblock)
{
    return dev ? SimBoard::setNonblocking(dev->handle, nonblock != 0) : -1;
}

// The board has no feature or on-request input reports.
int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device *, const unsigned char *, size_t)
{
    return -1;
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device *, unsigned char *, size_t)
{
    return -1;
}

int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device *, unsigned char *, size_t)
{
    return -1;
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device *dev)
{
    if (dev)
        SimBoard::close(dev->handle);
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return attached(dev) ? copyString(kManufacturer, string, maxlen) : -1;
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return attached(dev) ? copyString(kProduct, string, maxlen) : -1;
}

int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device *dev, wchar_t *string,
                                                     size_t maxlen)
{
    return attached(dev) ? copyString(kSerial, string, maxlen) : -1;
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_get_device_info(hid_device *dev)
{
    // Owned by the library, like hidapi's own per-device copy.
    static hid_device_info *info = newInfo();
    return attached(dev) ? info : nullptr;
}

int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device *, int, wchar_t *, size_t) { return -1; }

HID_API_EXPORT const wchar_t *HID_API_CALL hid_error(hid_device *)
{
    if (!SimBoard::isPlugged())
        return L"Device not connected";
    return L"Success";
}

HID_API_EXPORT const struct hid_api_version *HID_API_CALL hid_version(void)
{
    static const hid_api_version version = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR,
                                            HID_API_VERSION_PATCH};
    return &version;
}

HID_API_EXPORT const char *HID_API_CALL hid_version_str(void) { return HID_API_VERSION_STR; }

} // extern "C"

#include "link/devicenotifier.h"

#include "link/winnotify.h"

#ifndef _WIN32
#include <QSocketNotifier>

#include <libudev.h>
#endif

namespace
{
const QString kUsbDeviceClass = QStringLiteral("{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
} // namespace

DeviceNotifier::DeviceNotifier(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("deviceNotifier"));
}

DeviceNotifier::~DeviceNotifier()
{
#ifndef _WIN32
    delete socketNotifier;
    if (monitor)
        udev_monitor_unref(monitor);
    if (udevContext)
        udev_unref(udevContext);
#endif
}

int DeviceNotifier::registerNotifications(quintptr nativeWindow)
{
#ifdef _WIN32
    return winnotify::registerDeviceInterfaces(reinterpret_cast<void *>(nativeWindow));
#else
    Q_UNUSED(nativeWindow)
    if (socketNotifier)
        return 0;
    udevContext = udev_new();
    if (udevContext)
        monitor = udev_monitor_new_from_netlink(udevContext, "udev");
    const bool listening =
        monitor && udev_monitor_filter_add_match_subsystem_devtype(monitor, "usb", "usb_device") >= 0
        && udev_monitor_enable_receiving(monitor) >= 0;
    if (!listening) {
        if (monitor)
            udev_monitor_unref(monitor);
        if (udevContext)
            udev_unref(udevContext);
        monitor = nullptr;
        udevContext = nullptr;
        return 1;
    }
    socketNotifier = new QSocketNotifier(udev_monitor_get_fd(monitor), QSocketNotifier::Read);
    connect(socketNotifier, &QSocketNotifier::activated, this, &DeviceNotifier::readUdevEvent);
    return 0;
#endif
}

QString DeviceNotifier::interfaceNameFromProduct(const QString &product, const QString &serial)
{
    const QStringList parts = product.split(QLatin1Char('/'));
    if (parts.size() < 2)
        return QString();
    bool vendorOk = false;
    bool productOk = false;
    const uint vendor = parts.at(0).toUInt(&vendorOk, 16);
    const uint productId = parts.at(1).toUInt(&productOk, 16);
    if (!vendorOk || !productOk || vendor > 0xFFFF || productId > 0xFFFF)
        return QString();
    const auto hex4 = [](uint value) {
        return QString::number(value, 16).rightJustified(4, QLatin1Char('0')).toUpper();
    };
    return QStringLiteral("\\\\?\\USB#VID_%1&PID_%2#%3#%4")
        .arg(hex4(vendor), hex4(productId), serial.isEmpty() ? QStringLiteral("0") : serial,
             kUsbDeviceClass);
}

void DeviceNotifier::deliverDeviceChange(QString name, int kind)
{
    emit deviceChanged(name, kind);
}

void DeviceNotifier::handleUdevEvent(const QString &action, const QString &devpath,
                                     const QString &product, const QString &serial)
{
    QString name = interfaceNameFromProduct(product, serial);
    if (action == QLatin1String("add")) {
        if (name.isEmpty())
            return;
        namesByDevpath.insert(devpath, name);
        emit deviceChanged(name, 1);
    } else if (action == QLatin1String("remove")) {
        // The serial is only known from the arrival, so the remembered name wins.
        const QString remembered = namesByDevpath.take(devpath);
        if (!remembered.isEmpty())
            name = remembered;
        if (!name.isEmpty())
            emit deviceChanged(name, 2);
    }
}

void DeviceNotifier::readUdevEvent()
{
#ifndef _WIN32
    udev_device *device = udev_monitor_receive_device(monitor);
    if (!device)
        return;
    const QString action = QString::fromUtf8(udev_device_get_action(device));
    const char *serial = action == QLatin1String("add")
                             ? udev_device_get_sysattr_value(device, "serial")
                             : nullptr;
    handleUdevEvent(action, QString::fromUtf8(udev_device_get_devpath(device)),
                    QString::fromUtf8(udev_device_get_property_value(device, "PRODUCT")),
                    QString::fromUtf8(serial));
    udev_device_unref(device);
#endif
}

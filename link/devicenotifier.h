#ifndef DEVICENOTIFIER_H
#define DEVICENOTIFIER_H

#include <QHash>
#include <QObject>
#include <QString>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Tells the GUI thread when a device interface arrives or leaves, named the way Windows names it
// (\\?\USB#VID_xxxx&PID_yyyy#serial#{class guid}). On Windows it registers the window for the
// broadcasts, whose WM_DEVICECHANGE the window's native event hook hands to the link; on Linux a
// udev monitor on the event loop emits the same events itself.
class DeviceNotifier : public QObject
{
    Q_OBJECT

public:
    explicit DeviceNotifier(QObject *parent = nullptr);
    ~DeviceNotifier() override;

    // Registers for USB device (and on Windows disk) interface events; repeated calls keep the
    // first registration. Returns how many registrations failed.
    int registerNotifications(quintptr nativeWindow);

    // The Linux form of an interface name, from a udev action and the PRODUCT value
    // ("483/5850/100"); empty when the value does not name vendor and product.
    static QString interfaceNameFromProduct(const QString &product, const QString &serial);
    // Emits the interface event of one udev event of a USB device ("add" or "remove"), if any.
    // A removal may come without PRODUCT; the name remembered from the arrival is used then.
    void handleUdevEvent(const QString &action, const QString &devpath, const QString &product,
                         const QString &serial);

signals:
    // kind 1: arrival, 2: removal.
    void deviceChanged(QString name, int kind);

public slots:
    // Entry for events that come from elsewhere (the Windows message hook, the simulated board).
    void deliverDeviceChange(QString name, int kind);

private:
    void readUdevEvent();

    udev *udevContext = nullptr;
    udev_monitor *monitor = nullptr;
    QSocketNotifier *socketNotifier = nullptr;
    // Interface names of the devices seen arriving, by devpath, for removals that lack PRODUCT.
    QHash<QString, QString> namesByDevpath;
};

#endif // DEVICENOTIFIER_H

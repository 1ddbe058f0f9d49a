#ifndef QUEUEDSPY_H
#define QUEUEDSPY_H

#include <QList>
#include <QObject>
#include <QVariant>

// Like QSignalSpy for a signal emitted on a worker thread: the arguments are recorded on the
// test's thread through a queued connection, so the test reads them without a data race.
class QueuedSpy : public QObject, public QList<QVariantList>
{
public:
    template <typename Sender, typename... Args>
    QueuedSpy(const Sender *sender, void (Sender::*signal)(Args...))
    {
        connect(
            sender, signal, this,
            [this](Args... args) { append(QVariantList{QVariant::fromValue(args)...}); },
            Qt::QueuedConnection);
    }
};

#endif // QUEUEDSPY_H

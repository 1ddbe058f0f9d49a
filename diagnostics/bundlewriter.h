#ifndef BUNDLEWRITER_H
#define BUNDLEWRITER_H

#include "diagnostics/diagnosticsbundle.h"
#include "link/syncedthread.h"

#include <QString>

// Writes a bundle on a thread of its own, so that compressing a large recording does not hold
// the window. Its outcome is read after wait(), once finished() has come.
class BundleWriter : public SyncedThread
{
    Q_OBJECT

public:
    BundleWriter(const DiagnosticsBundle &bundle, const QString &path, QObject *parent = nullptr);

    QString path() const { return target; }
    // After wait().
    bool succeeded() const { return ok; }
    QString error() const { return failure; }

protected:
    void run() override;

private:
    const DiagnosticsBundle bundle;
    const QString target;
    bool ok = false;
    QString failure;
};

#endif // BUNDLEWRITER_H

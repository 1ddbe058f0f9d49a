#include "diagnostics/bundlewriter.h"

BundleWriter::BundleWriter(const DiagnosticsBundle &bundle, const QString &path, QObject *parent)
    : SyncedThread(parent), bundle(bundle), target(path)
{
}

void BundleWriter::run()
{
    const EndOfRun end(this);
    ok = bundle.write(target, &failure);
}

#include "diagnostics/toolinfo.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <QSysInfo>

#include <zip.h>

QString toolinfo::text()
{
    const QStringList lines = {
        QStringLiteral("Touch tuner %1 (%2)")
            .arg(QStringLiteral(TOUCHTUNER_VERSION),
                 QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
        QStringLiteral("Qt: built with %1, running on %2")
            .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion())),
        QStringLiteral("libzip: %1").arg(QString::fromLatin1(zip_libzip_version())),
        QStringLiteral("Operating system: %1; %2 %3; %4 (%5)")
            .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
                 QSysInfo::currentCpuArchitecture(), QSysInfo::buildAbi()),
    };
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "production/batchreport.h"
#include "production/productionline.h"
#include "production/productionpage.h"
#include "tuning/samplingstarter.h"

#include <QSettings>

// The production line test and the batch figures: their page, the project's keys they test and
// the firmware generated from a batch.

void MainWindow::setUpProduction()
{
    production = std::make_unique<ProductionPage>(*samplingStarter, boardPacing,
                                                  ui->mainStackedWidget, this);
    production->addMenuEntry(ui->verticalLayout_2, ui->vandreliumBtn, ui->vandreliumBtn);
    production->projectName = [this] { return settingsPage->projectName(); };
    production->projectFolder = [this] { return settingsPage->projectPath(); };
    production->channels = [this] {
        QVector<TuningReport::Channel> keys;
        for (int channel = 0; channel < chip::kChannelCount; ++channel) {
            if (pinMap->channelInUse(channel) != 1)
                continue;
            TuningReport::Channel key;
            key.channel = channel;
            key.keyNumber = pinMap->keyNumber(channel);
            key.samples = tuning->samples().at(channel);
            key.means = tuning->results().tableMeans(channel);
            key.settings = tuning->keySettings().at(channel);
            keys << key;
        }
        return keys;
    };
    // What the last board still sent after its Stop is not the next board's.
    production->line().boardRun().drainInput = [this] { debuggerLink->drainInput(); };
    production->line().boardBusy = [this] {
        return !tuningRun.halted() || tuning->replay().isActive();
    };
    projectFile->addSection(
        {[this](QSettings &ini) { production->save(ini); },
         [this](const QSettings &ini) {
             QStringList invalid;
             production->load(ini, &invalid);
             if (!invalid.isEmpty())
                 ui->plainTextEdit->appendPlainText(
                     tr("工程文件中的量产限值无效，已用默认值：%1").arg(invalid.join(tr("、"))));
         }});
    connect(production.get(), &ProductionPage::generateRequested, this, [this] {
        AppProject::Source source;
        source.meansOf = [this](int channel) { return production->batchMeans(channel); };
        // The tuned project's concerns hold for a firmware from the batch as well.
        source.concerns = [this] { return tuning->concerns() + production->batchConcerns(); };
        source.writeReport = [this](const QString &path) {
            QString error;
            return production->writeReport(path, &error);
        };
        source.reportFileName = BatchReport::appFileName();
        appProject->generate(source);
    });
}

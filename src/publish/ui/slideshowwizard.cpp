#include "slideshowwizard.h"

#include "pickpage.h"
#include "slideshowpages.h"
#include "webalbumwizard.h"

#include "core/appsettings.h"
#include "core/messageids.h"
#include "platform/host.h"
#include "publish/workingfolder.h"

#include <QWizard>

namespace glimmerix
{

void runSlideShowWizard(const CAlbumDoc &document, const AppSettings &settings, QWidget *parent,
    const std::function<void(int topic)> &openHelp)
{
    if (!productWizardAllowed(document))
        return;
    QString error;
    const QString workingFolder = makeWorkingFolder(&error);
    if (workingFolder.isEmpty()) {
        host().showMessage(Message::kProductProblems, { error });
        return;
    }
    QWizard wizard(parent);
    wizard.setObjectName(QStringLiteral("slideShowWizard"));
    wizard.setWizardStyle(QWizard::ClassicStyle);
    wizard.setOption(QWizard::HaveHelpButton, true);
    wizard.setOption(QWizard::NoBackButtonOnStartPage, true);
    auto *pick = new CWebPage1(PickingMode::SlideShow, workingFolder, document);
    pick->setProperty("helpTopic", pick->helpTopic());
    // The package's files live in the picker's working folder, so the package dies first.
    SlideShowPackage package(pick->picker());
    auto *sound = new CSlideShow2(pick->picker(), package, settings.folders().audioFolder());
    wizard.addPage(pick);
    wizard.addPage(sound);
    wizard.addPage(new CSlideShow3(
        pick->picker(), package, *sound, settings.folders().slideShowFolder(), makeCdDelivery()));
    QObject::connect(&wizard, &QWizard::helpRequested, &wizard, [&wizard, &openHelp] {
        if (openHelp && wizard.currentPage())
            openHelp(wizard.currentPage()->property("helpTopic").toInt());
    });
    wizard.exec();
    if (parent) {
        parent->window()->raise();
        parent->window()->activateWindow();
    }
}

} // namespace glimmerix

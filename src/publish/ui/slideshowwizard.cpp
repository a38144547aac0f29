#include "slideshowwizard.h"

#include "pickpage.h"
#include "productwizard.h"
#include "slideshowpages.h"
#include "webalbumwizard.h"

#include "core/appsettings.h"

#include <QWizard>

namespace glimmerix
{

void runSlideShowWizard(const CAlbumDoc &document, const AppSettings &settings, QWidget *parent,
    const std::function<void(int topic)> &openHelp)
{
    if (!productWizardAllowed(document))
        return;
    const QString workingFolder = makeWizardWorkingFolder();
    if (workingFolder.isEmpty())
        return;
    QWizard wizard(parent);
    wizard.setObjectName(QStringLiteral("slideShowWizard"));
    auto *pick = new CWebPage1(PickingMode::SlideShow, workingFolder, document);
    pick->setProperty("helpTopic", pick->helpTopic());
    // The package's files live in the picker's working folder, so the package dies first.
    SlideShowPackage package(pick->picker());
    auto *sound = new CSlideShow2(pick->picker(), package, settings.folders().audioFolder());
    wizard.addPage(pick);
    wizard.addPage(sound);
    wizard.addPage(new CSlideShow3(
        pick->picker(), package, *sound, settings.folders().slideShowFolder(), makeCdDelivery()));
    runProductWizard(wizard, parent, openHelp);
}

} // namespace glimmerix

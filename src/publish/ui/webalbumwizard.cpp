#include "webalbumwizard.h"

#include "pickpage.h"
#include "productwizard.h"
#include "webalbumpages.h"

#include "core/messageids.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "publish/webalbumgenerator.h"

#include <QWizard>

namespace glimmerix
{

bool productWizardAllowed(const CAlbumDoc &document)
{
    if (!document.isUntitled())
        return true;
    host().showMessage(Message::kNoProductForUntitled);
    return false;
}

void runWebAlbumWizard(const CAlbumDoc &document, const AppSettings &settings, QWidget *parent,
    const std::function<void(int topic)> &openHelp)
{
    if (!productWizardAllowed(document))
        return;
    const QString workingFolder = makeWizardWorkingFolder();
    if (workingFolder.isEmpty())
        return;
    WebAlbumOptions options;
    options.title = loadString(Message::kDefaultPageTitle);
    const WebAlbumSetup setup = defaultWebAlbumSetup(options, settings);

    QWizard wizard(parent);
    wizard.setObjectName(QStringLiteral("webAlbumWizard"));
    wizard.setWindowTitle(loadString(Message::kWebAlbumCaption));
    auto *pick = new CWebPage1(PickingMode::WebAlbum, workingFolder, document);
    pick->setProperty("helpTopic", pick->helpTopic());
    wizard.addPage(pick);
    wizard.addPage(new CWebPage2(options));
    wizard.addPage(new CWebPage3(options, setup.fieldLabels));
    wizard.addPage(new CWebPage4(pick->picker(), options, settings, makeCdDelivery()));
    runProductWizard(wizard, parent, openHelp);
}

} // namespace glimmerix

#include "webalbumwizard.h"

#include "pickpage.h"
#include "webalbumpages.h"

#include "core/messageids.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "publish/webalbumgenerator.h"
#include "publish/workingfolder.h"

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
    QString error;
    const QString workingFolder = makeWorkingFolder(&error);
    if (workingFolder.isEmpty()) {
        host().showMessage(Message::kProductProblems, { error });
        return;
    }
    WebAlbumOptions options;
    options.title = loadString(Message::kDefaultPageTitle);
    const WebAlbumSetup setup = defaultWebAlbumSetup(options, settings);

    QWizard wizard(parent);
    wizard.setObjectName(QStringLiteral("webAlbumWizard"));
    wizard.setWindowTitle(loadString(Message::kWebAlbumCaption));
    wizard.setWizardStyle(QWizard::ClassicStyle);
    wizard.setOption(QWizard::HaveHelpButton, true);
    wizard.setOption(QWizard::NoBackButtonOnStartPage, true);
    auto *pick = new CWebPage1(PickingMode::WebAlbum, workingFolder, document);
    pick->setProperty("helpTopic", pick->helpTopic());
    wizard.addPage(pick);
    wizard.addPage(new CWebPage2(options));
    wizard.addPage(new CWebPage3(options, setup.fieldLabels));
    wizard.addPage(new CWebPage4(pick->picker(), options, settings, makeCdDelivery()));
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

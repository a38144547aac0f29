#include "postcardwizard.h"

#include "postcardpages.h"
#include "productwizard.h"

#include "core/appsettings.h"
#include "core/messageids.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "publish/postcardmaker.h"
#include "publish/workingfolder.h"

#include <QFileInfo>
#include <QWizard>

namespace glimmerix
{

void runPostcardWizard(const QString &clip, const AppSettings &settings, QWidget *parent,
    const std::function<void(int topic)> &openHelp)
{
    PostcardWizardState state;
    state.cdDrive = settings.cdDrive();
    state.cdTemplateFolder = settings.cdTemplateFolder();
    state.templateFolders = postcardTemplateFolders(settings.folders(), state.cdTemplateFolder);
    const QString backgroundPath = findCardBackground(state.templateFolders);
    if (backgroundPath.isEmpty()) {
        host().showMessage(Message::kNoCardBackground);
        return;
    }
    QString error;
    state.background = loadCardBackground(backgroundPath, &error);
    if (state.background.isNull()) {
        host().showMessage(
            Message::kProductProblems, { backgroundPath + QStringLiteral(": ") + error });
        return;
    }
    state.backgroundBytes = QFileInfo(backgroundPath).size();
    state.workingFolder = makeWizardWorkingFolder();
    if (state.workingFolder.isEmpty())
        return;
    state.clipPath = clip;
    {
        QWizard wizard(parent);
        wizard.setObjectName(QStringLiteral("postcardWizard"));
        wizard.addPage(new CPostCard1(state));
        auto *text = new CPostCardText(state, settings.systemLanguage(),
            cardLanguageOf(loadString(Message::kInterfaceLanguageName)));
        wizard.addPage(text);
        wizard.addPage(new CPostCard2(state, *text));
        wizard.addPage(new CPostCard3(state, *text, makeCdDelivery()));
        runProductWizard(wizard, parent, openHelp);
    }
    removeWorkingFolder(state.workingFolder);
}

} // namespace glimmerix

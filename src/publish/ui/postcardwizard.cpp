#include "postcardwizard.h"

#include "postcardpages.h"

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

void runPostcardWizard(
    const QString &clip, QWidget *parent, const std::function<void(int topic)> &openHelp)
{
    PostcardWizardState state;
    state.cdDrive = appSettings().cdDrive();
    state.cdTemplateFolder = appSettings().cdTemplateFolder();
    state.templateFolders
        = postcardTemplateFolders(appSettings().folders(), state.cdTemplateFolder);
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
    state.workingFolder = makeWorkingFolder(&error);
    if (state.workingFolder.isEmpty()) {
        host().showMessage(Message::kProductProblems, { error });
        return;
    }
    state.clipPath = clip;
    {
        QWizard wizard(parent);
        wizard.setObjectName(QStringLiteral("postcardWizard"));
        wizard.setWizardStyle(QWizard::ClassicStyle);
        wizard.setOption(QWizard::HaveHelpButton, true);
        wizard.setOption(QWizard::NoBackButtonOnStartPage, true);
        wizard.addPage(new CPostCard1(state));
        auto *text = new CPostCardText(state, appSettings().systemLanguage(),
            cardLanguageOf(loadString(Message::kInterfaceLanguageName)));
        wizard.addPage(text);
        wizard.addPage(new CPostCard2(state, *text));
        wizard.addPage(new CPostCard3(state, *text, makeCdDelivery()));
        QObject::connect(&wizard, &QWizard::helpRequested, &wizard, [&wizard, &openHelp] {
            const QVariant topic
                = wizard.currentPage() ? wizard.currentPage()->property("helpTopic") : QVariant();
            if (openHelp && topic.isValid())
                openHelp(topic.toInt());
        });
        wizard.exec();
    }
    removeWorkingFolder(state.workingFolder);
    if (parent) {
        parent->window()->raise();
        parent->window()->activateWindow();
    }
}

} // namespace glimmerix

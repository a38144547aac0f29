#include "productwizard.h"

#include "core/messageids.h"
#include "platform/host.h"
#include "publish/workingfolder.h"

#include <QVariant>
#include <QWizard>

namespace glimmerix
{

QString makeWizardWorkingFolder()
{
    QString error;
    const QString folder = makeWorkingFolder(&error);
    if (folder.isEmpty())
        host().showMessage(Message::kProductProblems, { error });
    return folder;
}

void runProductWizard(
    QWizard &wizard, QWidget *parent, const std::function<void(int topic)> &openHelp)
{
    wizard.setWizardStyle(QWizard::ClassicStyle);
    wizard.setOption(QWizard::HaveHelpButton, true);
    wizard.setOption(QWizard::NoBackButtonOnStartPage, true);
    QObject::connect(&wizard, &QWizard::helpRequested, &wizard, [&wizard, &openHelp] {
        const QVariant topic
            = wizard.currentPage() ? wizard.currentPage()->property("helpTopic") : QVariant();
        if (openHelp && topic.isValid())
            openHelp(topic.toInt());
    });
    wizard.exec();
    if (parent) {
        parent->window()->raise();
        parent->window()->activateWindow();
    }
}

} // namespace glimmerix

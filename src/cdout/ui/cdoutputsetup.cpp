#include "cdoutputsetup.h"

#include "disctargetdialog.h"

#include "cdout/cdoutput.h"
#include "cdout/disccomponent.h"
#include "cdout/winoncdjob.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace glimmerix
{

void installCdOutput(SettingsStore &settings, QWidget *mainWindow)
{
    registerDiscComponent();
    installDiscTargetDialog();
    const QPointer<QWidget> main(mainWindow);
    setCdDeliveryFactory([&settings, main]() -> std::unique_ptr<CdDelivery> {
        const OwnerWindow raiseMain = [main] {
            if (main) {
                main->raise();
                main->activateWindow();
            }
        };
        const OwnerWindow raiseActive = [] {
            if (QWidget *active = QApplication::activeWindow())
                active->raise();
        };
        return std::make_unique<CdOutput>(settings, standardCdPlaces(raiseMain, raiseActive));
    });
}

void finishCdOutput()
{
    setCdDeliveryFactory({});
    winoncd::clearStaging();
}

} // namespace glimmerix

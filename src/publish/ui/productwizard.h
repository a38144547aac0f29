#pragma once

#include <QString>

#include <functional>

class QWidget;
class QWizard;

namespace glimmerix
{

// A fresh private working folder for a product wizard; empty when none can be made, after
// message 59120 with the cause.
QString makeWizardWorkingFolder();

// Runs `wizard` modally as every product wizard runs: classic style, no Back on the first page,
// and a Help button that opens the current page's "helpTopic" through `openHelp`. Afterwards
// brings `parent`'s window to the front.
void runProductWizard(
    QWizard &wizard, QWidget *parent, const std::function<void(int topic)> &openHelp);

} // namespace glimmerix

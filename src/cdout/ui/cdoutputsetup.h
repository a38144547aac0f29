#pragma once

class QWidget;

namespace glimmerix
{

class SettingsStore;

// Makes CD output available to the product wizards of the program: our disc component, its
// target dialog, and a CdOutput over `settings` for every wizard that asks (makeCdDelivery).
// `mainWindow` is brought to the front after CD calls that the jobs say so.
void installCdOutput(SettingsStore &settings, QWidget *mainWindow);
// What the main window does when it closes: the staging tree of the project-file application
// is removed unless that application still reads it.
void finishCdOutput();

} // namespace glimmerix

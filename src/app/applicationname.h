#pragma once

class QString;

namespace glimmerix
{

// Names the program ("Glimmerix", with `version`) for Qt. No display name is set: the window
// system would add it to every window title, and the main window's title already starts with the
// product name.
void nameApplication(const QString &version);

} // namespace glimmerix

#pragma once

#include <QString>

#include <functional>

namespace glimmerix
{

// Help topics: each menu command maps to a topic number; each topic is an HTML page
// help/<topic>.html in the resource folder, and help/index.html is the contents.

// The topic of command `command`, or 0 when it has none (help then opens the contents).
int helpTopicForCommand(int command);
// The page of `topic`; the contents page for topic 0 or a topic without a page.
QString helpPagePath(int topic);
// Opens the page of `topic` in the desktop's browser (through xdg-open). When there is no browser
// (xdg-open is missing or reports that it could not open the page) the help viewer set with
// setHelpViewer() shows the page instead. False when the page does not exist.
bool openHelpTopic(int topic);
// The program's own help viewer, called with a page path; nullptr shows nothing.
void setHelpViewer(std::function<void(const QString &page)> viewer);

} // namespace glimmerix

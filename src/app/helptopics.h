#pragma once

#include <QString>

// Help topics: each menu command maps to a topic number; each topic is an HTML page
// help/<topic>.html in the resource folder, and help/index.html is the contents.

// The topic of command `command`, or 0 when it has none (help then opens the contents).
int helpTopicForCommand(int command);
// The page of `topic`; the contents page for topic 0 or a topic without a page.
QString helpPagePath(int topic);
// Opens the page of `topic` in the desktop's browser. False when no page or browser was found.
bool openHelpTopic(int topic);

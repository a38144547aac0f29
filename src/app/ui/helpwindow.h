#pragma once

class QString;

namespace glimmerix
{

// Shows help page `page` (an HTML file of the help folder) in the program's own help window, a
// text browser that follows the pages' links. One window serves every request; it comes to the
// front with the new page.
void showHelpWindow(const QString &page);

} // namespace glimmerix

#pragma once

#include "core/commandset.h"
#include "core/settingssections.h"

#include <functional>

class QWidget;

namespace glimmerix
{

class CAlbumDoc;

// The menu commands of the online photo service: Download (32845) adds the downloaded pictures
// to the album with their texts; Upload (32844) sends the selected pictures (all when none is
// selected). `service` gives the current service settings each time a command runs.
CommandSet onlineCommandSet(CAlbumDoc &document, QWidget *frame,
    std::function<OnlineService()> service, std::function<QString()> photosFolder);

} // namespace glimmerix

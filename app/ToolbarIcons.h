// The toolbar's images and the program's icon, drawn rather than shipped as files.
#pragma once

#include <QIcon>

namespace velkor {

class ToolbarIcons {
  public:
    // The image for a toolbar name of the command table; an empty icon for an unknown name.
    static QIcon icon(const char* name);
    static QIcon appIcon();
};

}  // namespace velkor

// Something a command can be offered to: the shown view, the document, the main
// window, the application, in that order.
#pragma once

namespace velkor {

class CommandTarget {
  public:
    virtual ~CommandTarget() = default;
    // True when the command was carried out here; the search then ends.
    virtual bool onCommand(int id) = 0;
};

}  // namespace velkor

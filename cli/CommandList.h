// The commands a parser declares, each with the body that runs it once the words are read.
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace CLI {
class App;
}

namespace velkor {

class CommandList {
  public:
    using Body = std::function<int()>;

    void add(const CLI::App* command, Body body);
    // Runs the body of the command the parse chose, going down to the deepest chosen one
    // (plot map, not plot); 2 when none was chosen, which the parser never lets happen.
    int run(const CLI::App& parsed) const;

  private:
    std::vector<std::pair<const CLI::App*, Body>> commands_;
};

}  // namespace velkor

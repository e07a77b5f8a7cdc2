// A family of the tool's commands: it declares their words with the parser, each with the
// body that runs it, and the bodies print on the tool's streams.
#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

namespace velkor {

class CommandList;

class CommandFamily {
  public:
    CommandFamily(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    virtual ~CommandFamily() = default;
    // The bodies declared hold this family.
    CommandFamily(const CommandFamily&) = delete;
    CommandFamily& operator=(const CommandFamily&) = delete;

    // Declares the family's commands under parent (the tool, or survey), each with its
    // body in commands.
    virtual void declare(CLI::App& parent, CommandList& commands) = 0;

  protected:
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace velkor

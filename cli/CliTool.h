// velkor2tr-cli: the program's commands without windows. Each command family declares its
// words with the parser; the tool reads them and runs the command chosen.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace velkor {

class PictureWriter;

class CliTool {
  public:
    static constexpr int kOk = 0;
    static constexpr int kFailed = 1;
    static constexpr int kUsage = 2;

    // pictures writes the plots; without one, plot is refused.
    CliTool(std::ostream& out, std::ostream& err, PictureWriter* pictures = nullptr);
    // The words after the program's name: 0, 1 with the message last on stderr, or 2 for
    // a usage error.
    int run(const std::vector<std::string>& args);

  private:
    // A command before survey, args[0] one the tool declares.
    int runCommand(const std::vector<std::string>& args);
    // Reads args with tool, whose commands are declared: nothing when the chosen command is
    // to run, else the status the run ends with after the command's help, or the tool's
    // usage on a usage error.
    std::optional<int> parse(CLI::App& tool, const std::vector<std::string>& args);

    std::ostream& out_;
    std::ostream& err_;
    PictureWriter* pictures_;
};

}  // namespace velkor

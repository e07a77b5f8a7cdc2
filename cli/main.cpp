// Entry point of velkor2tr-cli.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliTool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return velkor::CliTool(std::cout, std::cerr).run(args);
}

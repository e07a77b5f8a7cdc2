// Entry point of velkor2tr-cli.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#ifdef VELKOR_CLI_PICTURES
#include "views/PngPictureWriter.h"
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
#ifdef VELKOR_CLI_PICTURES
    velkor::PngPictureWriter pictures;
    return velkor::CliTool(std::cout, std::cerr, &pictures).run(args);
#else
    return velkor::CliTool(std::cout, std::cerr).run(args);
#endif
}

// The survey commands of velkor2tr-cli read and run.
#include "cli/SurveyCommand.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/CommandList.h"
#include "cli/SurveyBuildCommands.h"
#include "cli/SurveyEdit.h"
#include "cli/SurveyFlagCommands.h"
#include "cli/SurveyLevelCommand.h"
#include "cli/SurveyOutputCommands.h"
#include "cli/SurveyPictureCommands.h"
#include "cli/SurveyTransformCommands.h"

namespace velkor {

SurveyCommand::SurveyCommand(std::ostream& out, std::ostream& err, PictureWriter* pictures)
    : out_(out), err_(err), pictures_(pictures) {}

int SurveyCommand::run(const std::vector<std::string>& args) {
    CLI::App app(
        "Build a survey of many days, place and correct its readings, and write them "
        "for GIS and gridding software.",
        "velkor2tr-cli survey");
    app.require_subcommand(1, 1);
    // The families in the order their commands are listed.
    CommandList commands;
    SurveyEdit edit(out_, err_);
    SurveyBuildCommands build(edit, out_, err_);
    build.declare(app, commands);
    SurveyOutputCommands output(edit, out_, err_);
    output.declare(app, commands);
    SurveyTransformCommands transforms(edit, out_, err_);
    transforms.declare(app, commands);
    SurveyPictureCommands pictures(edit, out_, err_, pictures_);
    pictures.declare(app, commands);
    SurveyFlagCommands flags(edit, out_, err_);
    flags.declare(app, commands);
    SurveyLevelCommand level(edit, out_, err_);
    level.declare(app, commands);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out_ << (app.get_subcommands().empty() ? app.help()
                                               : app.get_subcommands()[0]->help(app.get_name()));
        return 0;
    } catch (const CLI::ParseError& e) {
        return usageError(err_, e.what());
    }
    return commands.run(app);
}

int SurveyCommand::usageError(std::ostream& err, const std::string& text) {
    err << "velkor2tr-cli survey: " << text << "\n"
        << "Run \"velkor2tr-cli survey --help\" or \"velkor2tr-cli survey COMMAND --help\" "
           "for the commands and their options.\n";
    return 2;
}

}  // namespace velkor

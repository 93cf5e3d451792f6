// qtkcalc: the command-line host of the rule library.
#include <CLI/CLI.hpp>

#include <iostream>

#include <unistd.h>

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Tools/qtkcalc/CalcCommand.h"
#include "Tools/qtkcalc/CheckCommand.h"
#include "Tools/qtkcalc/TakeoffCommand.h"

#ifndef QTK_VERSION
#define QTK_VERSION "0.0.0"
#endif

namespace {

int ListRules()
{
    for (const auto& name : GStrategyList().Names())
        std::cout << name << '\n';
    std::cerr << GStrategyList().Count() << " rules registered\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    CLI::App app{"qtkcalc: quantity take-off with the calculation-rule library"};
    app.set_version_flag("--version", std::string("qtkcalc ") + QTK_VERSION);
    app.require_subcommand(1);

    auto* rules = app.add_subcommand("rules", "List the registered rule names");
    std::string checkModel;
    auto* check = AddCheckCommand(app, checkModel);
    TCalcCommandOptions calcOptions;
    auto* calc = AddCalcCommand(app, calcOptions);
    TTakeoffCommandOptions takeoffOptions;
    auto* takeoff = AddTakeoffCommand(app, takeoffOptions);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Words that name no command are reported as such, not as a missing command.
        if (app.get_subcommands().empty() && !app.remaining().empty())
            return app.exit(CLI::ExtrasError(app.remaining()));
        return app.exit(e);
    }

    try {
        if (rules->parsed())
            return ListRules();
        if (check->parsed())
            return RunCheckCommand(checkModel, std::cout, std::cerr);
        if (calc->parsed())
            return RunCalcCommand(calcOptions, std::cout, std::cerr);
        if (takeoff->parsed())
            return RunTakeoffCommand(takeoffOptions, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
    } catch (const std::exception& e) {
        std::cerr << "qtkcalc: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

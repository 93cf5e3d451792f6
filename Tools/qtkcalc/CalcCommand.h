// qtkcalc calc MODEL --rule NAME --subject ID [--object ID] [--rules FILE] [--expr] [--details]:
// runs one rule on one element (or element pair) of a model and prints the
// quantity, with its calculation expression and deduction details on request.
// A rule-table file (as for the take-off) gives the rules their settings.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace CLI {
class App;
}

struct TCalcCommandOptions {
    std::string modelPath;
    std::string rule;
    int subject = 0;
    std::optional<int> object;
    std::string rulesPath;
    bool expr = false;
    bool details = false;
};

// Adds the "calc" subcommand; its arguments are written to `options`.
CLI::App* AddCalcCommand(CLI::App& app, TCalcCommandOptions& options);
// Runs the rule and prints the result to `out` (0), or the error to `err` (1).
int RunCalcCommand(const TCalcCommandOptions& options, std::ostream& out, std::ostream& err);

// qtkcalc takeoff MODEL --rules TABLE [--floor F]... [--format table|csv|json]
// [-j N] [--details]: the bill of quantities of a building under a regional
// rule table.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

struct TTakeoffCommandOptions {
    std::string modelPath;
    std::string rulesPath;
    std::vector<std::string> floors;
    std::string format = "table";
    int threads = 0;  // 0: the cores
    bool details = false;
};

CLI::App* AddTakeoffCommand(CLI::App& app, TTakeoffCommandOptions& options);
// Prints the bill to `out`; messages, progress and the summary to `err`.
// 0: the bill is complete; 1: the model or rule table cannot be used; 2: the
// bill is printed but some quantities failed or used an unregistered rule.
int RunTakeoffCommand(const TTakeoffCommandOptions& options, std::ostream& out, std::ostream& err, bool showProgress);

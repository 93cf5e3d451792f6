// qtkcalc check MODEL: loads a building model and prints a summary of it, or
// the error that stops it.
#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

// Adds the "check" subcommand; its model path is written to `modelPath`.
CLI::App* AddCheckCommand(CLI::App& app, std::string& modelPath);
// Loads the model and prints the summary to `out` (0), or the error with its
// location to `err` (1).
int RunCheckCommand(const std::string& modelPath, std::ostream& out, std::ostream& err);

#include "Tools/qtkcalc/TakeoffCommand.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <ostream>
#include <thread>

#include "Host/ElementModel/QTKElementModel.h"
#include "Host/QTKCommon/QTKHostMessage.h"
#include "Tools/qtkcalc/QTKTakeoff.h"

CLI::App* AddTakeoffCommand(CLI::App& app, TTakeoffCommandOptions& options)
{
    auto* takeoff = app.add_subcommand("takeoff", "The bill of quantities of a building under a rule table");
    takeoff->add_option("MODEL", options.modelPath, "The model file (JSON)")->required();
    takeoff->add_option("--rules", options.rulesPath, "The rule-set file (JSON tables)")->required();
    takeoff->add_option("--floor", options.floors, "Bill only this floor (name or id; repeatable)");
    takeoff->add_option("--format", options.format, "table, csv or json")
        ->check(CLI::IsMember({"table", "csv", "json"}));
    takeoff->add_option("-j,--threads", options.threads, "Threads (default: the cores)")->check(CLI::NonNegativeNumber);
    takeoff->add_flag("--details", options.details, "Each deduction and addition with its element and rule");
    return takeoff;
}

namespace {

using TClock = std::chrono::steady_clock;

double SecondsSince(TClock::time_point start)
{
    return std::chrono::duration<double>(TClock::now() - start).count();
}

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

}  // namespace

int RunTakeoffCommand(const TTakeoffCommandOptions& options, std::ostream& out, std::ostream& err, bool showProgress)
{
    const TClock::time_point start = TClock::now();
    TQTKTakeoffResult result;
    std::mutex errLock;
    try {
        const Ref<TQTKElementModel> model = TQTKElementModel::LoadFromFile(options.modelPath);
        AttachRuleSet(*model, options.rulesPath);
        TQTKTakeoffOptions takeoff;
        takeoff.floors = options.floors;
        takeoff.threads =
            options.threads > 0 ? options.threads : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
        takeoff.details = options.details;
        // Messages rules send to the host (once per rule id, say) go to stderr.
        takeoff.messages = [&](std::string_view message) {
            std::lock_guard guard(errLock);
            err << "qtkcalc takeoff: " << message << '\n';
        };
        TClock::time_point shown{};
        if (showProgress)
            takeoff.progress = [&](int done, int total) {
                std::lock_guard guard(errLock);
                const TClock::time_point now = TClock::now();
                if (done != total && now - shown < std::chrono::milliseconds(100))
                    return;
                shown = now;
                err << "\rtakeoff: " << done << '/' << total << " elements (" << (total ? done * 100 / total : 100)
                    << "%) " << Seconds(SecondsSince(start)) << std::flush;
            };
        result = RunTakeoff(*model, takeoff);
        if (showProgress)
            err << '\n';
    } catch (const std::exception& error) {
        err << "qtkcalc takeoff: " << error.what() << '\n';
        return 1;
    }

    const TQTKBillFormat format = options.format == "csv"    ? TQTKBillFormat::Csv
                                  : options.format == "json" ? TQTKBillFormat::Json
                                                             : TQTKBillFormat::Table;
    WriteBill(result, format, options.details, out);
    for (const std::string& name : result.missingSettings)
        err << "qtkcalc takeoff: warning: the rule set has no settings table \"" << name
            << "\"; the rules used their defaults\n";
    for (const std::string& name : result.unregistered)
        err << "qtkcalc takeoff: rule \"" << name << "\" is not registered; the neutral rule answers 0\n";
    for (const std::string& failure : result.failures)
        err << "qtkcalc takeoff: failed: " << failure << '\n';
    int elements = static_cast<int>(result.elements.size());
    err << "takeoff: " << elements << " elements, " << result.quantityCount << " quantities, " << result.failedCount
        << " failed, " << Seconds(SecondsSince(start)) << '\n';
    return result.failedCount > 0 || !result.unregistered.empty() ? 2 : 0;
}

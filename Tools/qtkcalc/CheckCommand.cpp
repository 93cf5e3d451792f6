#include "Tools/qtkcalc/CheckCommand.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iomanip>
#include <map>
#include <ostream>
#include <set>

#include "Host/ElementModel/QTKElementModel.h"
#include "Host/Runtime/SysUtils.h"
#include "Tools/qtkcalc/TextColumns.h"

CLI::App* AddCheckCommand(CLI::App& app, std::string& modelPath)
{
    auto* check = app.add_subcommand("check", "Load a building model and print a summary of it");
    check->add_option("MODEL", modelPath, "The model file (JSON)")->required();
    return check;
}

namespace {

std::string FloorLabel(const TQTKElementModel& model, int floor)
{
    if (floor == 0)
        return "no floor";
    const IRDXTable* floors = model.GetRDXModel()->FindTable("Floor");
    const IRDXRecord* record = floors ? floors->GetRecordByID(floor) : nullptr;
    if (record && floors->FindField("Name") && !record->IsNull("Name"))
        return record->GetAsString("Name");
    return "floor " + std::to_string(floor);
}

void PrintSummary(const std::string& path, const TQTKElementModel& model, std::ostream& out)
{
    std::map<int, std::map<int, int>> counts;  // type -> floor -> count
    std::set<int> floors;
    for (int i = 0; i < model.GetElementCount(); ++i) {
        const IQTKElementDrawObj* e = model.GetElement(i);
        ++counts[e->GetElementTypeID()][e->GetFloorID()];
        floors.insert(e->GetFloorID());
    }
    out << "model " << path << ": " << model.GetElementCount() << " elements on " << floors.size() << " floors\n";
    // A storey's column is as wide as its name (in terminal cells) and two
    // more, at least 10, so that long names stay apart.
    std::map<int, int> widths;
    for (int floor : floors)
        widths[floor] = std::max(10, DisplayWidth(FloorLabel(model, floor)) + 2);
    out << std::left << std::setw(6) << "type" << std::setw(26) << "element";
    for (int floor : floors)
        out << PadLeft(FloorLabel(model, floor), widths[floor]);
    out << std::right << std::setw(8) << "total" << '\n';
    for (const auto& [type, byFloor] : counts) {
        out << std::left << std::setw(6) << type << std::setw(26) << GetElementTypeName(type) << std::right;
        int total = 0;
        for (int floor : floors) {
            auto it = byFloor.find(floor);
            const int n = it == byFloor.end() ? 0 : it->second;
            out << std::setw(widths[floor]) << n;
            total += n;
        }
        out << std::setw(8) << total << '\n';
    }
    const TVRMBox3d box = model.GetTotalBox();
    if (box.IsValid())
        out << "box (" << FloatToStr(box.min.x) << ", " << FloatToStr(box.min.y) << ", " << FloatToStr(box.min.z)
            << ") - (" << FloatToStr(box.max.x) << ", " << FloatToStr(box.max.y) << ", " << FloatToStr(box.max.z)
            << ") mm\n";
}

}  // namespace

int RunCheckCommand(const std::string& modelPath, std::ostream& out, std::ostream& err)
{
    try {
        const Ref<TQTKElementModel> model = TQTKElementModel::LoadFromFile(modelPath);
        PrintSummary(modelPath, *model, out);
        return 0;
    } catch (const EQTKModelError& error) {
        err << "qtkcalc check: " << modelPath << ": " << error.what() << '\n';
        for (const std::string& message : error.Following())
            err << "qtkcalc check: " << modelPath << ": " << message << '\n';
        return 1;
    } catch (const std::exception& error) {
        err << "qtkcalc check: " << modelPath << ": " << error.what() << '\n';
        return 1;
    }
}

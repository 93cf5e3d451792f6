#include <gtest/gtest.h>

#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"

#include "Calculator/Common/QTKFloatList.h"

namespace {

std::string Num(double v)
{
    std::string text = std::to_string(v);
    return text;
}

constexpr const char* CFloors =
    R"([{"ID": 1, "Name": "F1", "StartFloorNo": 1, "StructuralElevation": 0.0, "Height": 3.0, "RegionID": 1,
         "FirstFloorFlag": true},
        {"ID": 2, "Name": "F0", "StartFloorNo": 0, "StructuralElevation": 0.0, "Height": 3.0, "RegionID": 1,
         "FirstFloorFlag": false},
        {"ID": 3, "Name": "F2", "StartFloorNo": 2, "StructuralElevation": 3.0, "Height": 3.6, "RegionID": 1,
         "FirstFloorFlag": false}])";

}  // namespace

std::string OverHighSettingsTable(const std::string& table, const TOverHighSettings& s)
{
    std::string fields = R"({"name": "ID", "type": "integer"}, {"name": "OverHighCriticalHeight", "type": "float"},
        {"name": "OverHighPartitionHeight", "type": "float"}, {"name": "OverHighPartitionMethod", "type": "integer"},
        {"name": "OverHighRoundMethod", "type": "integer"}, {"name": "OverHighTopElevCalcMethod", "type": "integer"})";
    std::string row = R"("ID": 1, "OverHighCriticalHeight": )" + Num(s.critical) + R"(, "OverHighPartitionHeight": )" +
                      Num(s.partition) + R"(, "OverHighPartitionMethod": )" + std::to_string(s.method) +
                      R"(, "OverHighRoundMethod": )" + std::to_string(s.round) + R"(, "OverHighTopElevCalcMethod": )" +
                      std::to_string(s.top);
    if (s.startField) {
        fields += R"(, {"name": "OverHighStartCalcHeight", "type": "float"})";
        row += R"(, "OverHighStartCalcHeight": )" + (s.start ? Num(*s.start) : std::string("null"));
    }
    return R"({"name": ")" + table + R"(", "fields": [)" + fields + R"(], "rows": [{)" + row + "}]}";
}

std::string LineElement(int id, int type, int floor, double x0, double y0, double x1, double y1, double width,
                        double bottom, double top, const std::string& extraProps)
{
    const std::string props = R"("Thickness": )" + Num(width) + R"(, "SectionWidth": )" + Num(width) +
                              R"(, "SectionHeight": )" + Num(top - bottom) + R"(, "StartPtBottomElev": )" +
                              Num(bottom) + R"(, "EndPtBottomElev": )" + Num(bottom) + R"(, "StartPtTopElev": )" +
                              Num(top) + R"(, "EndPtTopElev": )" + Num(top) + R"(, "BottomElev": )" + Num(bottom) +
                              R"(, "TopElev": )" + Num(top) + extraProps;
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) + R"(, "floor": )" +
           std::to_string(floor) + R"(, "props": {)" + props + R"(}, "shape": {"kind": "line", "start": [)" + Num(x0) +
           ", " + Num(y0) + R"(], "end": [)" + Num(x1) + ", " + Num(y1) + R"(], "width": )" + Num(width) +
           R"(, "bottom": )" + Num(bottom) + R"(, "top": )" + Num(top) + "}}";
}

std::string PointElement(int id, int type, int floor, double x0, double y0, double x1, double y1, double bottom,
                         double top, const std::string& extraProps)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) + R"(, "floor": )" +
           std::to_string(floor) + R"(, "props": {"BottomElev": )" + Num(bottom) + R"(, "TopElev": )" + Num(top) +
           extraProps + R"(}, "shape": {"kind": "point", "insertPt": [)" + Num((x0 + x1) / 2) + ", " +
           Num((y0 + y1) / 2) + R"(], "size": [)" + Num(x1 - x0) + ", " + Num(y1 - y0) + R"(], "bottom": )" +
           Num(bottom) + R"(, "top": )" + Num(top) + "}}";
}

std::string SlabElement(int id, int floor, double x0, double y0, double x1, double y1, double top, double thickness)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 19, "floor": )" + std::to_string(floor) +
           R"(, "props": {"Thickness": )" + Num(thickness) + R"(, "TopElev": )" + Num(top) +
           R"(}, "shape": {"kind": "face", "outline": [[)" + Num(x0) + ", " + Num(y0) + "], [" + Num(x1) + ", " +
           Num(y0) + "], [" + Num(x1) + ", " + Num(y1) + "], [" + Num(x0) + ", " + Num(y1) +
           R"(]], "elevation": {"kind": "level", "elev": )" + Num(top) + R"(}, "thickness": )" + Num(thickness) + "}}";
}

TOverHighSettings WallStart36()
{
    TOverHighSettings s;
    s.start = 3.6;
    s.top = 1;  // the higher end top
    return s;
}

namespace {

std::string InsulatingLayer(int id, double y, double top)
{
    return R"({"id": )" + std::to_string(id) +
           R"(, "type": 86, "floor": 1, "parent": 1, "props": {"Thickness": 100, )" +
           R"("EDOPID": 1, "StartPtTopElev": )" + Num(top) + R"(, "EndPtTopElev": )" + Num(top) +
           R"(, "StartPtBottomElev": 0, "EndPtBottomElev": 0}, "shape": {"kind": "line", "start": [0, )" + Num(y) +
           R"(], "end": [6000, )" + Num(y) + R"(], "width": 100, "axisOffset": 50, "startBottom": 0, "startTop": )" +
           Num(top) + R"(, "endBottom": 0, "endTop": )" + Num(top) + "}}";
}

}  // namespace

std::string TwoLayerInsulatingWall(double top)
{
    return R"({"id": 1, "type": 1, "floor": 1, "props": {"Thickness": 200, "InnerOuterFlag": 0},
               "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "axisOffset": 100,
                         "startBottom": 0, "startTop": )" +
           Num(top) + R"(, "endBottom": 0, "endTop": )" + Num(top) + "}}, " + InsulatingLayer(2, 50, top) + ", " +
           InsulatingLayer(3, -50, top);
}

std::string InsulatingWallOpening(double width, double height)
{
    return R"({"id": 10, "type": 7, "floor": 1, "parent": 1, "props": {"OpeningWidth": )" + Num(width) +
           R"(, "OpeningHeight": )" + Num(height) +
           R"(, "BottomElev": 4000, "AboveFloorHeight": 4000}, "shape": {"kind": "opening", "at": 2000}})";
}

std::unique_ptr<TTestBuilding> WallCasesBuilding(const std::string& file, const TOverHighSettings& s)
{
    std::ifstream in(std::filesystem::path(QTK_WALL_CASES_DIR) / file);
    std::stringstream text;
    text << in.rdbuf();
    std::string json = text.str();
    const std::string empty = R"({"name": "NormCalcRule", "tables": []})";
    json.replace(json.find(empty), empty.size(),
                 R"({"name": "NormCalcRule", "tables": [)" + OverHighSettingsTable("QTKWallCalcSettings", s) + "]}");
    return TTestBuilding::FromText(json);
}

void TOverHighTest::Load(const std::string& elements, const std::string& tables, bool detailMode,
                         const std::string& moreDatabases)
{
    building_.reset();
    const std::string text =
        R"({"databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [)" + tables + "]}" +
        (moreDatabases.empty() ? "" : ", " + moreDatabases) +
        R"(], "project": {"Name": "P", "GroundElev": -0.45}, "floors": )" + std::string(CFloors) +
        R"(, "elements": [)" + elements + "]}";
    building_ = TTestBuilding::FromText(text);
    TQTKCalculationScopeOptions options;
    options.session.regions = {{1, false, 0.0}};
    options.session.detailMode = detailMode;
    building_->Activate(std::move(options));
}

double TOverHighTest::Run(const char* rule, int subject, int object) const
{
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    EXPECT_TRUE(strategy) << rule;
    return strategy->Calculate(Record(subject), object ? Record(object) : RecordRef(), Business(), Rules());
}

std::vector<double> Values(const TFloatList* list)
{
    std::vector<double> values;
    for (int i = 0; list && i < list->Count(); ++i)
        values.push_back(list->Get(i));
    return values;
}

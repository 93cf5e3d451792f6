// Small buildings for the over-height builder tests: floor 1 at 0 (3 m,
// storey 1, not a foundation floor), floor 2 the foundation floor at 0,
// floor 3 at 3.0 m (3.6 m high, storey 2); the settings tables of the
// element kinds with the six over-height keys as each case gives them. No
// bottom-method settings, so B is the element's floor elevation.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "tests/Support/TestBuilding.h"

struct TOverHighSettings {
    double critical = 3.6;        // m
    double partition = 1.0;       // m; 0 allowed
    std::optional<double> start;  // m; nullopt: null
    bool startField = true;       // the table has the start field
    int method = 0;
    int round = 0;
    int top = 0;
};

// One settings table of that name with the keys.
std::string OverHighSettingsTable(const std::string& table, const TOverHighSettings& s);

// Elements (model file JSON).
std::string LineElement(int id, int type, int floor, double x0, double y0, double x1, double y1, double width,
                        double bottom, double top, const std::string& extraProps = "");
std::string PointElement(int id, int type, int floor, double x0, double y0, double x1, double y1, double bottom,
                         double top, const std::string& extraProps = "");
std::string SlabElement(int id, int floor, double x0, double y0, double x1, double y1, double top, double thickness);

// Method 0 from a start height of 3.6 m, the top by the element's higher end
// (wall top method 1): one piece of weight 1 from 3600 up on storey 1.
TOverHighSettings WallStart36();
// Insulating wall 1, 200 thick on its axis (0,0)-(6000,0), 0 to Top, of two
// 100 mm layers 2 (y 0..100) and 3 (y -100..0).
std::string TwoLayerInsulatingWall(double top = 4800);
// An opening (type 7, id 10) of Width x Height in insulating wall 1, 2000
// along it, from 4000 up.
std::string InsulatingWallOpening(double width, double height);

// A building of the wall rule cases (File in their folder) whose rule tables
// are the wall settings S (not yet activated).
std::unique_ptr<TTestBuilding> WallCasesBuilding(const std::string& file, const TOverHighSettings& s);

class TOverHighTest : public ::testing::Test {
protected:
    // Tables: settings tables (comma-separated JSON), elements likewise;
    // MoreDatabases: databases after the rule set (comma-separated JSON).
    void Load(const std::string& elements, const std::string& tables, bool detailMode = false,
              const std::string& moreDatabases = "");
    void TearDown() override { building_.reset(); }

    RecordRef Record(int id) const { return RecordRef(building_->Record(id)); }
    IQTKElementDrawObj* DrawObj(int id) const { return building_->DrawObj(id); }
    Ref<IQTKCalculatorEDO> Edo(int id) const { return GetCalcEDO(building_->Record(id), true); }
    TableSourceRef Rules() const { return building_->RuleSet(); }
    TableSourceRef Business() const { return building_->Business(); }
    // Runs the rule by name on the subject and the object (none when 0).
    double Run(const char* rule, int subject, int object = 0) const;

    std::unique_ptr<TTestBuilding> building_;
};

// The values of a list.
std::vector<double> Values(const class TFloatList* list);

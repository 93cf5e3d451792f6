#include "tests/Calculator/CalcFrame/ColumnTestModel.h"

#include <sstream>

#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/RDX/RDXIntf.h"

std::string WallJson(int id, double x0, double y0, double x1, double y1, double width, double bottom, double top,
                     const std::string& extraProps)
{
    std::ostringstream text;
    text << R"({"id": )" << id << R"(, "type": 0, "floor": 1, "props": {"Thickness": )" << width
         << R"(, "BottomElev": )" << bottom << R"(, "TopElev": )" << top << extraProps
         << R"(}, "shape": {"kind": "line", "start": [)" << x0 << ", " << y0 << "], \"end\": [" << x1 << ", " << y1
         << "], \"width\": " << width << ", \"bottom\": " << bottom << ", \"top\": " << top << "}}";
    return text.str();
}

std::string PointJson(int id, int type, double cx, double cy, double sx, double sy, double bottom, double top,
                      const std::string& extraProps, const std::string& extra)
{
    std::ostringstream text;
    text << R"({"id": )" << id << R"(, "type": )" << type << R"(, "floor": 1, "props": {"BottomElev": )" << bottom
         << R"(, "TopElev": )" << top << extraProps << R"(}, "shape": {"kind": "point", "insertPt": [)" << cx << ", "
         << cy << "], \"size\": [" << sx << ", " << sy << "], \"bottom\": " << bottom << ", \"top\": " << top << "}"
         << extra << "}";
    return text.str();
}

void TColumnModelTest::Load(const std::vector<std::string>& elements, const std::string& ruleRows,
                            const std::string& materialRows)
{
    std::string list;
    for (const std::string& e : elements)
        list += (list.empty() ? "" : ", ") + e;
    const std::string text =
        R"({"floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}],
        "databases": [{"name": "NormCalcRule", "tables": [
          {"name": "InternalQtyCalcRule", "fields": [{"name": "InternalQtyID", "type": "integer"},
            {"name": "CalcRuleID", "type": "integer"}], "rows": [)" +
        ruleRows + R"(]},
          {"name": "Material", "fields": [{"name": "ElementTypeID", "type": "integer"},
            {"name": "Description", "type": "text"}, {"name": "HasIndenting", "type": "integer"},
            {"name": "Type", "type": "integer"}], "rows": [)" +
        materialRows + R"(]}]}], "elements": [)" + list + "]}";
    building_ = TTestBuilding::FromText(text);
    TQTKCalculationScopeOptions options;
    options.session.materialTable = TableRef(building_->RuleSet()->GetDatabase()->GetTable("Material"));
    building_->Activate(std::move(options));
    // Walls get line-base objects before any element looks for its neighbours.
    for (int i = 0; i < building_->Business()->GetDatabase()->GetTable("ElementDrawObj")->GetRowCount(); ++i) {
        IRDXRecord* record = building_->Business()->GetDatabase()->GetTable("ElementDrawObj")->GetRow(i);
        IQTKElementDrawObj* drawObj = DrawObj(record->GetID());
        if (drawObj->GetElementTypeID() != 0)
            continue;
        Ref<TTestColumnWallEDO> edo(new TTestColumnWallEDO(drawObj));
        edo->SetPrepareState(CQTKEdoPrepared);
        drawObj->SetCalcEDO(static_cast<IQTKCalculatorEDO*>(edo.get()));
        attached_.push_back(drawObj);
    }
}

void TColumnModelTest::TearDown()
{
    for (IQTKElementDrawObj* drawObj : attached_)
        drawObj->SetCalcEDO(nullptr);
    attached_.clear();
    building_.reset();
}

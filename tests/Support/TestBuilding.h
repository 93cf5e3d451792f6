// Small buildings for tests: a model file of tests/fixtures, the "elements" of
// a model file given as text, or elements added in a few lines of C++. While
// active, the building is the model of one calculation scope (its business
// data and its rule set); it frees its element objects before itself.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/ElementModel/QTKElementModel.h"
#include "Host/QTKCommon/QTKCalculationScope.h"
#include "Host/RDX/RDXTable.h"

using TTestProps = std::vector<std::pair<std::string, TRDXValue>>;

class TTestBuilding {
public:
    // An empty building to fill in code: the business tables "ElementDrawObj"
    // and "Floor" with an "ID" field each.
    TTestBuilding();
    // A model file; a relative path is taken under the fixtures folder
    // (QTK_TEST_FIXTURES, else tests/fixtures).
    static std::unique_ptr<TTestBuilding> FromFile(const std::filesystem::path& file);
    // A whole model file's text (file names in it relative to baseDir).
    static std::unique_ptr<TTestBuilding> FromText(std::string_view text, const std::filesystem::path& baseDir = {});
    // The "elements" array of a model file, on one storey (ID 1, "F1", at 0, 3 m high).
    static std::unique_ptr<TTestBuilding> FromElements(std::string_view elementsJson);
    // Ends the scope, frees the element objects, then the building.
    ~TTestBuilding();
    TTestBuilding(const TTestBuilding&) = delete;
    TTestBuilding& operator=(const TTestBuilding&) = delete;

    static std::filesystem::path FixturesDir();

    // Building in code (a building made in code only). A line element (wall
    // 0, beam 15 ...) along (x0,y0)-(x1,y1), centred on its axis.
    TQTKElementDrawObj* AddLine(int id, int typeId, double x0, double y0, double x1, double y1, double width,
                                double bottom, double top, TTestProps props = {});
    // A rectangular face element (slab, floor face ...) from (x0,y0) to (x1,y1), top at Elev.
    TQTKElementDrawObj* AddFace(int id, int typeId, double x0, double y0, double x1, double y1, double elev,
                                double thickness, TTestProps props = {});
    // A rectangular point element (column, door ...) from (x0,y0) to (x1,y1).
    TQTKElementDrawObj* AddPoint(int id, int typeId, double x0, double y0, double x1, double y1, double bottom,
                                 double top, TTestProps props = {});
    void SetParent(TQTKElementDrawObj* child, TQTKElementDrawObj* parent);
    // The next element added is made by Maker (a test's own host element).
    using TDrawObjMaker = std::function<Ref<TQTKElementDrawObj>(TQTKElementDrawObjData)>;
    void SetNextDrawObjMaker(TDrawObjMaker maker) { nextMaker_ = std::move(maker); }
    void AddFloor(int id);
    // A record whose host object is not an element draw object.
    IRDXRecord* AddForeignRecord(int id);

    // The element record and draw object of an id; nil when there is none.
    IRDXRecord* Record(int id) const;
    IQTKElementDrawObj* DrawObj(int id) const;
    // The model read from a file or text; nil for a building made in code.
    TQTKElementModel* Model() const { return model_.get(); }
    TableSourceRef Business() const;
    // The model's rule set: its first database after "Business" (nil without one).
    TableSourceRef RuleSet() const;

    // Makes the building the active one: its box service and a calculation
    // scope over its business data and rule set (unless the options name
    // others). Activating again ends the scope before (freeing the element
    // objects); objects a test attached before the first activation stay.
    TQTKCalculationScope& Activate(TQTKCalculationScopeOptions options);
    TQTKCalculationScope& Activate(bool detailMode = false);
    // Ends the scope and frees the element objects.
    void Deactivate();

private:
    TTestBuilding(Ref<TQTKElementModel> model);
    TQTKElementDrawObj* Add(int id, int typeId, TTestProps props, Ref<IQTKShape> shape);
    void FreeElementObjects();

    Ref<TQTKElementModel> model_;
    Ref<TRDXDatabase> business_;
    TRDXTable* elements_ = nullptr;
    TRDXTable* floors_ = nullptr;
    std::vector<Ref<TQTKElementDrawObj>> drawObjs_;
    TDrawObjMaker nextMaker_;
    std::unique_ptr<TQTKCalculationScope> scope_;
};

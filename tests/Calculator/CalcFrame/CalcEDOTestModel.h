// A small building model made in code for the element-object tests: element
// records in the business table "ElementDrawObj", their draw objects and
// shapes, floors, and the box service over them.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/RDX/RDXTable.h"

using TTestProps = std::vector<std::pair<std::string, TRDXValue>>;

class TTestModel {
public:
    TTestModel();
    // Frees the element objects, then the model.
    ~TTestModel();

    // A line element (wall 0, beam 15 ...) along (x0,y0)-(x1,y1), centred on its axis.
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
    IRDXRecord* Record(int id) const;

    // Builds the box service and starts a calculation session on the model.
    void Activate(bool detailMode = false);

private:
    TQTKElementDrawObj* Add(int id, int typeId, TTestProps props, Ref<IQTKShape> shape);

    Ref<TRDXDatabase> business_;
    TRDXTable* elements_ = nullptr;
    TRDXTable* floors_ = nullptr;
    std::vector<Ref<TQTKElementDrawObj>> drawObjs_;
    TDrawObjMaker nextMaker_;
};

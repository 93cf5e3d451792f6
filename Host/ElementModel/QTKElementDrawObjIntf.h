// The host element behind an element record: its property values, shape,
// parent and children, box, solids, parametric information and the
// calculation element object attached to it.
//
// A loaded model is read-only apart from the attached calculation element
// object, so every read below may run on several threads at once.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/RDX/RDXIntf.h"

class TVRMPolyhedron3d;

// Property values of an element by property name (names compare without
// regard to ASCII case). A property may be absent, present without a value
// (null) or present with a value; the numeric reads give their default for
// the first two.
class IPropValues : public virtual IInterface {
public:
    virtual bool HasProp(std::string_view name) const = 0;
    // Present and null.
    virtual bool IsPropNull(std::string_view name) const = 0;
    // Absent or null: the default. A text that is not a number: the default.
    // An integer read of a fractional value rounds half away from zero.
    virtual double GetFloat(std::string_view name, double defaultValue = 0.0) const = 0;
    virtual int GetInteger(std::string_view name, int defaultValue = 0) const = 0;
    // Numbers are given as text in the number format of the host.
    virtual std::string GetPropString(std::string_view name, std::string_view defaultValue = {}) const = 0;
    virtual int GetPropCount() const = 0;
    virtual std::string GetPropName(int index) const = 0;
};

// Thread-safe reads of a property with a default (nil values: the default).
double EdoPropValueFloat(const IPropValues* values, std::string_view name, double defaultValue = 0.0);
int EdoPropValueInteger(const IPropValues* values, std::string_view name, int defaultValue = 0);

// Parametric information of a parametric element: the shape id of its
// parametric polygon ("ParamPolyID" of the table "ParamPolyParam") and its
// parameter values by parameter code.
class TParamPolyInfo {
public:
    TParamPolyInfo() = default;
    TParamPolyInfo(int paramPolyID, std::vector<std::pair<std::string, double>> params)
        : paramPolyID_(paramPolyID), params_(std::move(params))
    {
    }
    int ParamPolyID() const noexcept { return paramPolyID_; }
    // Codes compare without regard to ASCII case.
    bool HasProp(std::string_view code) const;
    // The value of a parameter; 0 when absent.
    double AsDouble(std::string_view code) const;
    const std::vector<std::pair<std::string, double>>& Params() const noexcept { return params_; }

private:
    int paramPolyID_ = 0;
    std::vector<std::pair<std::string, double>> params_;
};

// A parametric section kept as text in a property (the "SectionInfo" of a
// foundation unit whose "SectionTypeID" is 3): "<kind>;<code>=<value>;...",
// the section kind (an integer: 2 is a cup, the socket of a precast column)
// first, then the parameter values by code, for example "2;A=1200;H=600".
struct TQTKParamPolySection {
    int kind = -1;
    std::vector<std::pair<std::string, double>> params;
};
// The property's value as parametric polygon text; "" when absent or null.
std::string VariantToParamPolyString(const IPropValues* values, std::string_view name);
// False (Section unchanged) for a text that is not such a description.
bool StringToParamPoly(std::string_view text, TQTKParamPolySection& section);

// Optional interfaces that some draw objects offer (test with a cast).

// One haunch record of a beam: the two sizes of its start and end haunches
// (both 0: no haunch at that end), the haunch's length, height and added
// width, and the top elevations of the start and end haunch.
class IQTKBeamHaunchInfo : public virtual IInterface {
public:
    virtual double GetStartHaunchA() const = 0;
    virtual double GetStartHaunchB() const = 0;
    virtual double GetEndHaunchA() const = 0;
    virtual double GetEndHaunchB() const = 0;
    virtual double GetHaunchLength() const = 0;
    virtual double GetHaunchHeight() const = 0;
    virtual double GetHaunchWidth() const = 0;
    virtual double GetStartHaunchTop() const = 0;
    virtual double GetEndHaunchTop() const = 0;
};

class IQTKBeamHaunchInfoList : public virtual IInterface {
public:
    virtual int GetCount() const = 0;
    virtual IQTKBeamHaunchInfo* GetItem(int index) const = 0;
};

// A beam's haunches; the list may be nil.
class IQTKBeamHaunchInfoOwner : public virtual IInterface {
public:
    virtual IQTKBeamHaunchInfoList* GetHaunchInfos() const = 0;
};

// The definitions of an element's properties as the property-table engine
// keeps them. A draw object that knows them offers this interface (the loaded
// model's elements do not).
class IQTKPropDefinitions : public virtual IInterface {
public:
    // The "VisibleFlag" expression (over the element's record) of the
    // definition of the property; "" when the element has no property record
    // of that name or its definition has no such expression.
    virtual std::string GetVisibleFlagExpr(std::string_view name) const = 0;
};

// The frame object of an opening: whether the frame has been placed in the
// opening. A draw object that has one offers it through IQTKOpeningFrameOwner
// (the loaded model's openings have none).
class IQTKOpeningFrame : public virtual IInterface {
public:
    virtual bool IsSet() const = 0;
};

class IQTKOpeningFrameOwner : public virtual IInterface {
public:
    // Nil when the opening has no frame object.
    virtual IQTKOpeningFrame* GetOpeningFrame() const = 0;
};

// An element whose section polygon the host knows (column caps and the like).
class IQTKSectionPolygonSource : public virtual IInterface {
public:
    // A new polygon set the caller owns.
    virtual std::unique_ptr<TVRMMultiPolygon2d> GetSectionPolygon() const = 0;
};

class IQTKElementDrawObj : public virtual IInterface {
public:
    // The element's record in the business table "ElementDrawObj".
    virtual IRDXRecord* GetRecord() const = 0;
    IRDXRecord* GetElementRecord() const { return GetRecord(); }
    // The owning element (host wall of an opening, host of a finish,
    // composite of a unit, raft of a sump); nil when none.
    virtual IRDXRecord* GetParentRecord() const = 0;
    virtual IQTKElementDrawObj* GetParentDrawObj() const = 0;
    // Children in model order.
    virtual int GetChildCount() const = 0;
    virtual IQTKElementDrawObj* GetChild(int index) const = 0;
    // Composite owner of a unit element; nil when none.
    virtual IQTKElementDrawObj* GetOwnerObject() const = 0;

    virtual int GetElementTypeID() const = 0;
    virtual int GetFloorID() const = 0;
    // Unique key of the element: its record id.
    virtual int GetIndexKey() const = 0;
    virtual IPropValues* GetPropValues() const = 0;
    // Line, face, point or roof-face shape; test the kind by casting.
    virtual IQTKShape* GetShape() const = 0;
    // Axis-aligned box of the element.
    virtual TVRMBox3d GetBox() const = 0;

    // The calculation element object attached by the rule library; nil until
    // set. Safe to call from several threads.
    virtual Ref<IInterface> GetCalcEDO() const = 0;
    virtual void SetCalcEDO(IInterface* edo) = 0;

    // A new closed solid of the element in its own shape; the caller owns it.
    // `full` asks for the complete solid (a flight with its steps); `extension`
    // lengthens an opening's solid across its host wall on each side. Never
    // nil: a solid without faces when the shape gives none.
    virtual std::unique_ptr<TVRMPolyhedron3d> BuildPolyhedron(bool full = true, IInterface* context = nullptr,
                                                              double extension = 0.0, int flags = 0) const = 0;
    // Part solids (brick moulds and the like); new solids the caller owns.
    virtual bool HasSubSolids() const = 0;
    virtual std::vector<std::unique_ptr<TVRMPolyhedron3d>> GetSubSolids(bool full = true) const = 0;

    // Host relation tests against another element's record. AcceptsRelated:
    // the host itself links the two (parent and child, composite owner and
    // unit), so they are related without a geometric test. IsRelated: the
    // record is another element of the model that may be related (the flag
    // is kept for the callers' signature).
    virtual bool AcceptsRelated(const IRDXRecord* record) const = 0;
    virtual bool IsRelated(const IRDXRecord* record, int flag = 1) const = 0;

    virtual bool IsParametric() const = 0;
    // A new copy of the parametric information, which the caller owns; nil
    // for an element that is not parametric.
    virtual std::unique_ptr<TParamPolyInfo> GetPolyInfo() const = 0;
    // Parametric sub-elements (children) with that sub-id, in child order.
    virtual std::vector<IQTKElementDrawObj*> FindSubEDOByID(int subID) const = 0;
};

// The line shape of an element; nil without an element or for another shape.
inline const IQTKLineShape* GetDrawObjLineShape(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
}

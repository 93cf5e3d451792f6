// The host's element draw objects and property values. Built by the model
// reader (or by tests), linked to their records, then only read; the attached
// calculation element object is the one thing set during calculations.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/RDX/RDXIntf.h"
#include "Host/RDX/RDXNameIndex.h"
#include "Host/Runtime/VRMThreadSyncUtils.h"

class TQTKPropValues final : public TInterfacedObject, public IPropValues {
public:
    TQTKPropValues() = default;
    explicit TQTKPropValues(std::vector<std::pair<std::string, TRDXValue>> values);

    bool HasProp(std::string_view name) const override { return Find(name) != nullptr; }
    bool IsPropNull(std::string_view name) const override;
    double GetFloat(std::string_view name, double defaultValue = 0.0) const override;
    int GetInteger(std::string_view name, int defaultValue = 0) const override;
    std::string GetPropString(std::string_view name, std::string_view defaultValue = {}) const override;
    int GetPropCount() const override { return static_cast<int>(values_.size()); }
    std::string GetPropName(int index) const override;

    // Nil when absent.
    const TRDXValue* Find(std::string_view name) const;
    const std::vector<std::pair<std::string, TRDXValue>>& Values() const noexcept { return values_; }

private:
    auto PropName() const
    {
        return [this](int i) -> std::string_view { return values_[static_cast<size_t>(i)].first; };
    }

    std::vector<std::pair<std::string, TRDXValue>> values_;
    TRDXNameIndex index_;  // built with the values, then only read
};

// A solid given in the model file: vertices and faces (vertex index loops,
// counter-clockwise seen from outside).
struct TQTKSolidData {
    std::vector<TVRMPoint3d> vertices;
    std::vector<std::vector<int>> faces;
};

struct TQTKBeamHaunchData {
    double startA = 0, startB = 0, endA = 0, endB = 0;
    double length = 0, height = 0, width = 0;
    double startTop = 0, endTop = 0;
};

class TQTKBeamHaunchInfo final : public TInterfacedObject, public IQTKBeamHaunchInfo {
public:
    explicit TQTKBeamHaunchInfo(const TQTKBeamHaunchData& data) : d_(data) {}
    double GetStartHaunchA() const override { return d_.startA; }
    double GetStartHaunchB() const override { return d_.startB; }
    double GetEndHaunchA() const override { return d_.endA; }
    double GetEndHaunchB() const override { return d_.endB; }
    double GetHaunchLength() const override { return d_.length; }
    double GetHaunchHeight() const override { return d_.height; }
    double GetHaunchWidth() const override { return d_.width; }
    double GetStartHaunchTop() const override { return d_.startTop; }
    double GetEndHaunchTop() const override { return d_.endTop; }

private:
    TQTKBeamHaunchData d_;
};

class TQTKBeamHaunchInfoList final : public TInterfacedObject, public IQTKBeamHaunchInfoList {
public:
    explicit TQTKBeamHaunchInfoList(const std::vector<TQTKBeamHaunchData>& items);
    int GetCount() const override { return static_cast<int>(items_.size()); }
    IQTKBeamHaunchInfo* GetItem(int index) const override;

private:
    std::vector<Ref<TQTKBeamHaunchInfo>> items_;
};

struct TQTKElementDrawObjData {
    int typeID = 0;
    int floorID = 0;
    Ref<TQTKPropValues> props;
    Ref<IQTKShape> shape;
    std::optional<TQTKSolidData> solid;  // explicit solid in place of the shape's
    std::vector<TQTKSolidData> subSolids;
    std::optional<TParamPolyInfo> polyInfo;  // parametric elements
    int subID = 0;                           // id of a parametric sub-element
    // Beams that offer haunch information (the list may be nil).
    bool offersHaunches = false;
    Ref<IQTKBeamHaunchInfoList> haunches;
    // Elements that offer a section polygon.
    std::optional<TVRMMultiPolygon2d> sectionPolygon;
};

class TQTKElementDrawObj : public TInterfacedObject, public IQTKElementDrawObj {
public:
    explicit TQTKElementDrawObj(TQTKElementDrawObjData data);
    ~TQTKElementDrawObj() override;

    IRDXRecord* GetRecord() const override { return record_; }
    IRDXRecord* GetParentRecord() const override { return parent_ ? parent_->GetRecord() : nullptr; }
    IQTKElementDrawObj* GetParentDrawObj() const override { return parent_; }
    int GetChildCount() const override { return static_cast<int>(children_.size()); }
    IQTKElementDrawObj* GetChild(int index) const override;
    IQTKElementDrawObj* GetOwnerObject() const override { return owner_; }
    int GetElementTypeID() const override { return data_.typeID; }
    int GetFloorID() const override { return data_.floorID; }
    int GetIndexKey() const override { return record_ ? record_->GetID() : 0; }
    IPropValues* GetPropValues() const override { return data_.props.get(); }
    IQTKShape* GetShape() const override { return data_.shape.get(); }
    TVRMBox3d GetBox() const override { return box_; }
    Ref<IInterface> GetCalcEDO() const override;
    void SetCalcEDO(IInterface* edo) override;
    std::unique_ptr<TVRMPolyhedron3d> BuildPolyhedron(bool full = true, IInterface* context = nullptr,
                                                      double extension = 0.0, int flags = 0) const override;
    bool HasSubSolids() const override { return !data_.subSolids.empty(); }
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> GetSubSolids(bool full = true) const override;
    bool AcceptsRelated(const IRDXRecord* record) const override;
    bool IsRelated(const IRDXRecord* record, int flag = 1) const override;
    bool IsParametric() const override { return data_.polyInfo.has_value(); }
    std::unique_ptr<TParamPolyInfo> GetPolyInfo() const override;
    std::vector<IQTKElementDrawObj*> FindSubEDOByID(int subID) const override;

    // Set up by the model reader; the record, parent and owner are not
    // counted (the model keeps them alive).
    void SetRecord(IRDXRecord* record) noexcept { record_ = record; }
    void SetParent(TQTKElementDrawObj* parent);
    void SetOwner(TQTKElementDrawObj* owner) noexcept { owner_ = owner; }
    // Computes the box from the shape or the explicit solid.
    void UpdateBox();
    const TQTKElementDrawObjData& Data() const noexcept { return data_; }
    int GetSubID() const noexcept { return data_.subID; }

private:
    TQTKElementDrawObjData data_;
    IRDXRecord* record_ = nullptr;
    TQTKElementDrawObj* parent_ = nullptr;
    TQTKElementDrawObj* owner_ = nullptr;
    std::vector<TQTKElementDrawObj*> children_;
    TVRMBox3d box_;
    TVRMGuardedRef<IInterface> calcEDO_;
};

// A draw object that offers the optional interfaces its data ask for.
Ref<TQTKElementDrawObj> CreateElementDrawObj(TQTKElementDrawObjData data);

// The solid of a solid description: one face per loop; an empty solid when
// a face has fewer than three vertices or an index out of range.
std::unique_ptr<TVRMPolyhedron3d> BuildSolidFromData(const TQTKSolidData& data);

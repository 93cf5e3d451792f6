// Deduction details: the record of what a calculation counted and what each
// neighbour took away, shown in the host's reports. A detail carries the
// element record, the quantity it belongs to (code and description), the
// measured geometry (copies), the amount as text in m, m2 or m3, a flag byte,
// an addition mark and whether it is the original quantity.
//
// The container of the calling thread is GetDeductDetailContainer()
// (QTKCalculatorCommonData.h); the calculators add to it only in detail mode.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Host/RDX/RDXIntf.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

class TVRMPolyhedron3d;
class TVRMPolyhedronShell3d;
class TVRMPolyhedronLines3d;

// Amount texts: FloatToStr(FRound(v x 1e-3 / 1e-6 / 1e-9, 4, 1e-12)).
std::string MMToM(double mm);
std::string MM2ToM2(double mm2);
std::string MM3ToM3(double mm3);

// Text of a model-unit value in a quantity's unit: "m", "m2", "m3" (also
// "m²", "m³", "米", "平方米", "立方米", any letter case) convert from mm, mm2,
// mm3; any other unit prints the value rounded to 4 decimals.
using TQTKUnitFunction = std::string (*)(double);
TQTKUnitFunction GetUnitFunctioin(std::string_view unit);
// The quantity record's "Unit" field chooses the conversion (nil record or no field: plain value).
std::string UnitChange(const IRDXRecord* qtyRecord, double value);

// An element object whose solid a detail corrects (record and a solid copy).
class TQTKCorrectiveEDO {
public:
    TQTKCorrectiveEDO(RecordRef record, std::unique_ptr<TVRMPolyhedron3d> solid);
    ~TQTKCorrectiveEDO();
    const RecordRef& GetRecord() const noexcept { return record_; }
    const TVRMPolyhedron3d* GetSolid() const noexcept { return solid_.get(); }

private:
    RecordRef record_;
    std::unique_ptr<TVRMPolyhedron3d> solid_;
};

class TQTKDeductDetail {
public:
    // qtyCode and qtyDesc: the quantity the detail belongs to (CurrentQtyOf gives the record's current one).
    TQTKDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc, std::string expr);
    virtual ~TQTKDeductDetail();

    const RecordRef& GetRecord() const noexcept { return record_; }
    const std::string& GetQtyCode() const noexcept { return qtyCode_; }
    const std::string& GetQtyDesc() const noexcept { return qtyDesc_; }
    const std::string& GetDedcutExpr() const noexcept { return expr_; }
    void SetDedcutExpr(std::string expr) { expr_ = std::move(expr); }
    bool GetIsOriginalQty() const noexcept { return isOriginalQty_; }
    void SetIsOriginalQty(bool value) noexcept { isOriginalQty_ = value; }
    bool GetIsAddition() const noexcept { return isAddition_; }
    void SetIsAddition(bool value) noexcept { isAddition_ = value; }
    uint8_t GetFlag() const noexcept { return flag_; }
    void SetFlag(uint8_t value) noexcept { flag_ = value; }

    // Takes ownership.
    void AddCorrecticeEDO(std::unique_ptr<TQTKCorrectiveEDO> edo);
    int GetCorrectiveEDOCount() const noexcept { return static_cast<int>(correctives_.size()); }
    const TQTKCorrectiveEDO* GetCorrectiveEDO(int index) const;

private:
    RecordRef record_;
    std::string qtyCode_, qtyDesc_, expr_;
    bool isOriginalQty_ = false;
    bool isAddition_ = false;
    uint8_t flag_ = 0;
    std::vector<std::unique_ptr<TQTKCorrectiveEDO>> correctives_;
};

// Code and description of the record's current quantity (per-record data); empty for a nil record.
struct TQTKCurrentQty {
    std::string code, desc;
};
TQTKCurrentQty CurrentQtyOf(const IRDXRecord* record);

// A solid and the solid that was deducted from it (nil for an original quantity).
class TQTKSolidDeductDetail : public TQTKDeductDetail {
public:
    TQTKSolidDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc,
                          std::unique_ptr<TVRMPolyhedron3d> solid, std::unique_ptr<TVRMPolyhedron3d> deducted,
                          std::string expr);
    ~TQTKSolidDeductDetail() override;
    const TVRMPolyhedron3d* GetSolid() const noexcept { return solid_.get(); }
    const TVRMPolyhedron3d* GetDeductSolid() const noexcept { return deducted_.get(); }

private:
    std::unique_ptr<TVRMPolyhedron3d> solid_, deducted_;
};

// A shell (the measured or removed faces) and the solid that took them (may be nil).
class TQTKShellDeductDetail : public TQTKDeductDetail {
public:
    TQTKShellDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc,
                          std::unique_ptr<TVRMPolyhedronShell3d> shell, std::unique_ptr<TVRMPolyhedron3d> solid,
                          std::string expr);
    ~TQTKShellDeductDetail() override;
    const TVRMPolyhedronShell3d* GetShell() const noexcept { return shell_.get(); }
    const TVRMPolyhedron3d* GetSolid() const noexcept { return solid_.get(); }

private:
    std::unique_ptr<TVRMPolyhedronShell3d> shell_;
    std::unique_ptr<TVRMPolyhedron3d> solid_;
};

// A plan area: the polygon measured and the polygon that deducted it (may be empty).
class TQTKPoly2dDeductDetail : public TQTKDeductDetail {
public:
    TQTKPoly2dDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc, TVRMMultiPolygon2d polygon,
                           TVRMMultiPolygon2d deducted, std::string expr);
    const TVRMMultiPolygon2d& GetPolygon() const noexcept { return polygon_; }
    const TVRMMultiPolygon2d& GetDeductPolygon() const noexcept { return deducted_; }

private:
    TVRMMultiPolygon2d polygon_, deducted_;
};

// Plan lengths: the measured segments and the outline of the element they belong to.
class TQTKLine2dDeductDetail : public TQTKDeductDetail {
public:
    TQTKLine2dDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc, TVRMSeg2dList segments,
                           TVRMMultiPolygon2d outline, std::string expr);
    const TVRMSeg2dList& GetSegments() const noexcept { return segments_; }
    const TVRMMultiPolygon2d& GetOutline() const noexcept { return outline_; }
    // The length the text shows, as a number (mm; 0 unless set).
    double GetLength() const noexcept { return length_; }
    void SetLength(double length) noexcept { length_ = length; }

private:
    TVRMSeg2dList segments_;
    TVRMMultiPolygon2d outline_;
    double length_ = 0.0;
};

// Lengths in space: the measured 3D lines.
class TQTKLine3dDeductDetail : public TQTKDeductDetail {
public:
    TQTKLine3dDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc,
                           std::unique_ptr<TVRMPolyhedronLines3d> lines, std::string expr);
    ~TQTKLine3dDeductDetail() override;
    const TVRMPolyhedronLines3d* GetLines() const noexcept { return lines_.get(); }

private:
    std::unique_ptr<TVRMPolyhedronLines3d> lines_;
};

// The details of one calculation, in the order they were written. Used by one
// thread at a time (each calculating thread has its own current container).
class TQTKDeductDetailContainer {
public:
    TQTKDeductDetailContainer();
    ~TQTKDeductDetailContainer();
    // Takes ownership; a nil detail is ignored.
    void Add(std::unique_ptr<TQTKDeductDetail> detail);
    void Delete(int index);
    void Clear() noexcept;
    // Moves every detail of another container to the end of this one.
    void Append(TQTKDeductDetailContainer& other);
    int GetCount() const noexcept { return static_cast<int>(items_.size()); }
    TQTKDeductDetail* GetItems(int index) const;
    // The last detail; nil when empty.
    TQTKDeductDetail* GetLast() const noexcept { return items_.empty() ? nullptr : items_.back().get(); }

private:
    std::vector<std::unique_ptr<TQTKDeductDetail>> items_;
};

// Adds the detail to the calling thread's container when detail mode is on and
// a container is current; otherwise drops it. True when added.
bool AddDeductDetail(std::unique_ptr<TQTKDeductDetail> detail);
// Whether calculators record details now (detail mode on and a container current).
bool IsDetailRecording();

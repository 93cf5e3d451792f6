// The building model: its errors, element type names and the model's
// accessors. The reader is QTKElementModelReader.cpp.
#include "Host/ElementModel/QTKElementModel.h"

#include <map>

#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/FastCast.h"

namespace {

std::string ElementLabel(int element)
{
    return element > 0 ? "element " + std::to_string(element) : "model";
}

}  // namespace

EQTKModelError::EQTKModelError(int element, std::string field, const std::string& reason)
    : std::runtime_error(ElementLabel(element) + (field.empty() ? "" : ", field \"" + field + "\"") + ": " + reason),
      element_(element),
      field_(std::move(field))
{
}

EQTKModelError::EQTKModelError(const std::string& message) : std::runtime_error(message) {}

// ---------------------------------------------------------------------------
// Element types.

namespace {

const std::map<int, const char*>& ElementTypeNames()
{
    static const std::map<int, const char*> names = {
        {0, "wall"},
        {1, "insulating wall"},
        {3, "pier"},
        {4, "door"},
        {5, "window"},
        {6, "door-window"},
        {7, "wall opening"},
        {8, "ribbon window"},
        {9, "ribbon opening"},
        {10, "balcony"},
        {11, "dormer window"},
        {12, "lintel"},
        {13, "alcove"},
        {14, "slab hole"},
        {15, "beam"},
        {17, "beam"},
        {18, "tie beam"},
        {19, "slab"},
        {20, "slab"},
        {21, "slab"},
        {24, "slab hole"},
        {25, "column"},
        {26, "tie column"},
        {27, "column cap"},
        {28, "column base"},
        {29, "stair"},
        {30, "flight"},
        {31, "flight"},
        {32, "room"},
        {33, "floor finish"},
        {34, "ceiling finish"},
        {35, "hung ceiling"},
        {36, "wall-face finish"},
        {37, "dado"},
        {38, "skirting"},
        {39, "isolated-column finish"},
        {40, "excavated earth"},
        {41, "ditch earth"},
        {42, "pit earth"},
        {43, "excavated backfill"},
        {44, "ditch backfill"},
        {45, "pit backfill"},
        {46, "room backfill"},
        {47, "foundation beam"},
        {48, "raft foundation"},
        {51, "strip foundation"},
        {52, "isolated foundation"},
        {53, "pile cap"},
        {54, "pile"},
        {55, "bedding"},
        {56, "sump"},
        {58, "floor area"},
        {59, "courtyard"},
        {60, "site levelling"},
        {61, "apron"},
        {62, "foot step"},
        {63, "post-cast strip"},
        {64, "eave"},
        {65, "eave and canopy"},
        {66, "swing window"},
        {67, "roof"},
        {68, "insulating layer"},
        {69, "parapet"},
        {70, "coping"},
        {71, "custom point element"},
        {72, "custom line element"},
        {73, "custom face element"},
        {80, "trench"},
        {81, "strip foundation unit"},
        {82, "isolated foundation unit"},
        {83, "pile cap unit"},
        {84, "trench unit"},
        {86, "insulating wall unit"},
        {87, "earthwork backfill unit"},
        {88, "earthwork backfill unit"},
        {89, "earthwork backfill unit"},
    };
    return names;
}

}  // namespace

bool IsKnownElementTypeID(int typeID) noexcept
{
    return typeID >= 0 && typeID <= CQTKMaxElementTypeID;
}

std::string GetElementTypeName(int typeID)
{
    const auto& names = ElementTypeNames();
    auto it = names.find(typeID);
    return it != names.end() ? it->second : "type " + std::to_string(typeID);
}

// ---------------------------------------------------------------------------
// Model.

TQTKElementModel::~TQTKElementModel()
{
    ClearCalcEDOs();
}

IQTKElementDrawObj* TQTKElementModel::GetElement(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetElementCount());
    return elements_[static_cast<size_t>(index)].get();
}

IQTKElementDrawObj* TQTKElementModel::FindElement(int id) const
{
    const IRDXRecord* record = elementTable_ ? elementTable_->GetRecordByID(id) : nullptr;
    return record ? FastCast<IQTKElementDrawObj>(record->GetObject()) : nullptr;
}

TVRMBox3d TQTKElementModel::GetTotalBox() const
{
    TVRMBox3d total;
    for (const auto& e : elements_)
        total.Extend(e->GetBox());
    return total;
}

void TQTKElementModel::Activate() const
{
    GetQTKModelRuntimeOptions().SetBoxService(boxService_.get());
    GetQTKModelRuntimeOptions().SetParamPolyParamTable(rdx_ ? rdx_->FindTable("ParamPolyParam") : nullptr);
}

void TQTKElementModel::ClearCalcEDOs() const
{
    for (const auto& e : elements_)
        e->SetCalcEDO(nullptr);
}

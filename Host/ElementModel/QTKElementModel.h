// A building model read from a model file (docs/model-format.md): the
// property tables (project info, floors, element records, settings and rule
// tables), the element draw objects behind the element records, and the box
// service over them.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/RDX/RDXTable.h"

// A bad model file. Names where: the element (its id; 0 when the fault is
// not in an element or the element has no usable id) and the field path
// inside it ("shape.outline[0]"), or a table, row and field for the tables
// part. Faults in the shapes and solids of further elements, found in the
// same reading, follow as messages of their own (at most 10 in all).
class EQTKModelError : public std::runtime_error {
public:
    EQTKModelError(int element, std::string field, const std::string& reason);
    // A fault outside the elements (file, JSON syntax, tables, floors).
    explicit EQTKModelError(const std::string& message);
    int Element() const noexcept { return element_; }
    const std::string& Field() const noexcept { return field_; }
    const std::vector<std::string>& Following() const noexcept { return following_; }
    void AddFollowing(std::string message) { following_.push_back(std::move(message)); }

private:
    int element_ = 0;
    std::string field_;
    std::vector<std::string> following_;
};

// Host element type ids run from 0 to 89.
inline constexpr int CQTKMaxElementTypeID = 89;
bool IsKnownElementTypeID(int typeID) noexcept;
// English name of an element type ("wall", "beam"), or "type N" for ids
// without a kind of their own.
std::string GetElementTypeName(int typeID);

class TQTKElementDrawObj;

class TQTKElementModel final : public TInterfacedObject {
public:
    // Reads a model file; files it names are read relative to it. Raises
    // EQTKModelError.
    static Ref<TQTKElementModel> LoadFromFile(const std::filesystem::path& file);
    // Reads a model from its text; named files relative to baseDir.
    static Ref<TQTKElementModel> LoadFromText(std::string_view text, const std::filesystem::path& baseDir);
    ~TQTKElementModel() override;

    TRDXModel* GetRDXModel() const noexcept { return rdx_.get(); }
    // The "Business" database (project info, floors, element records).
    TRDXDatabase* GetBusiness() const noexcept { return business_; }
    // The table "ElementDrawObj".
    TRDXTable* GetElementTable() const noexcept { return elementTable_; }

    int GetElementCount() const noexcept { return static_cast<int>(elements_.size()); }
    // Elements in file order.
    IQTKElementDrawObj* GetElement(int index) const;
    // By record id; nil when absent.
    IQTKElementDrawObj* FindElement(int id) const;
    IQTKBoxService* GetBoxService() const noexcept { return boxService_.get(); }
    // Box over every element; an invalid box when there is none.
    TVRMBox3d GetTotalBox() const;
    // Makes this model's box service and its "ParamPolyParam" table (nil when
    // it has none) the ones of GetQTKModelRuntimeOptions.
    void Activate() const;
    // Detaches every calculation element object (they may refer back to the
    // records); the destructor does it too.
    void ClearCalcEDOs() const;

private:
    TQTKElementModel() = default;
    friend class TQTKElementModelReader;

    Ref<TRDXModel> rdx_;
    TRDXDatabase* business_ = nullptr;
    TRDXTable* elementTable_ = nullptr;
    std::vector<Ref<TQTKElementDrawObj>> elements_;
    Ref<TQTKBoxService> boxService_;
};

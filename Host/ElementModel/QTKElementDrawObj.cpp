#include "Host/ElementModel/QTKElementDrawObj.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "Host/Runtime/Assert.h"
#include "Host/Runtime/FastCast.h"
#include "Host/Runtime/NameList.h"
#include "Host/Runtime/SysUtils.h"

// ---------------------------------------------------------------------------
// Property values.

namespace {

// A number from a property value; false for null and for a text that is not
// a number.
bool ValueAsNumber(const TRDXValue& value, double& number)
{
    if (const auto* i = std::get_if<std::int64_t>(&value))
        number = static_cast<double>(*i);
    else if (const auto* d = std::get_if<double>(&value))
        number = *d;
    else if (const auto* b = std::get_if<bool>(&value))
        number = *b ? 1.0 : 0.0;
    else if (const auto* s = std::get_if<std::string>(&value)) {
        const char* first = s->data();
        const char* last = first + s->size();
        while (first < last && *first == ' ')
            ++first;
        const auto [end, ec] = std::from_chars(first, last, number);
        return ec == std::errc() && end == last;
    } else
        return false;
    return true;
}

}  // namespace

TQTKPropValues::TQTKPropValues(std::vector<std::pair<std::string, TRDXValue>> values) : values_(std::move(values))
{
    index_.Build(GetPropCount(), PropName());
}

const TRDXValue* TQTKPropValues::Find(std::string_view name) const
{
    const int i = index_.Find(name, PropName());
    return i < 0 ? nullptr : &values_[static_cast<size_t>(i)].second;
}

bool TQTKPropValues::IsPropNull(std::string_view name) const
{
    const TRDXValue* value = Find(name);
    return value && std::holds_alternative<std::monostate>(*value);
}

double TQTKPropValues::GetFloat(std::string_view name, double defaultValue) const
{
    const TRDXValue* value = Find(name);
    double number = 0.0;
    return value && ValueAsNumber(*value, number) ? number : defaultValue;
}

int TQTKPropValues::GetInteger(std::string_view name, int defaultValue) const
{
    const TRDXValue* value = Find(name);
    double number = 0.0;
    if (!value || !ValueAsNumber(*value, number) || !std::isfinite(number) || std::abs(number) > 2147483647.0)
        return defaultValue;
    return static_cast<int>(std::round(number));  // halves away from zero
}

std::string TQTKPropValues::GetPropString(std::string_view name, std::string_view defaultValue) const
{
    const TRDXValue* value = Find(name);
    if (!value || std::holds_alternative<std::monostate>(*value))
        return std::string(defaultValue);
    if (const auto* s = std::get_if<std::string>(value))
        return *s;
    if (const auto* b = std::get_if<bool>(value))
        return *b ? "True" : "False";
    if (const auto* i = std::get_if<std::int64_t>(value))
        return std::to_string(*i);
    return FloatToStr(std::get<double>(*value));
}

std::string TQTKPropValues::GetPropName(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetPropCount());
    return values_[static_cast<size_t>(index)].first;
}

double EdoPropValueFloat(const IPropValues* values, std::string_view name, double defaultValue)
{
    return values ? values->GetFloat(name, defaultValue) : defaultValue;
}

int EdoPropValueInteger(const IPropValues* values, std::string_view name, int defaultValue)
{
    return values ? values->GetInteger(name, defaultValue) : defaultValue;
}

// ---------------------------------------------------------------------------
// Parametric information.

std::string VariantToParamPolyString(const IPropValues* values, std::string_view name)
{
    if (!values || !values->HasProp(name) || values->IsPropNull(name))
        return {};
    return values->GetPropString(name);
}

namespace {

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

template <class T>
bool ParseNumber(std::string_view text, T& value)
{
    text = TrimBlanks(text);
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

}  // namespace

bool StringToParamPoly(std::string_view text, TQTKParamPolySection& section)
{
    TQTKParamPolySection parsed;
    size_t pos = 0;
    bool first = true;
    while (pos <= text.size()) {
        const size_t next = std::min(text.find(';', pos), text.size());
        const std::string_view item = TrimBlanks(text.substr(pos, next - pos));
        pos = next + 1;
        if (first) {
            if (!ParseNumber(item, parsed.kind))
                return false;
            first = false;
            continue;
        }
        if (item.empty())
            continue;
        const size_t equals = item.find('=');
        double value = 0.0;
        if (equals == std::string_view::npos || TrimBlanks(item.substr(0, equals)).empty() ||
            !ParseNumber(item.substr(equals + 1), value))
            return false;
        parsed.params.emplace_back(std::string(TrimBlanks(item.substr(0, equals))), value);
    }
    section = std::move(parsed);
    return true;
}

bool TParamPolyInfo::HasProp(std::string_view code) const
{
    for (const auto& param : params_)
        if (SameText(param.first, code))
            return true;
    return false;
}

double TParamPolyInfo::AsDouble(std::string_view code) const
{
    for (const auto& param : params_)
        if (SameText(param.first, code))
            return param.second;
    return 0.0;
}

// ---------------------------------------------------------------------------
// Optional interfaces.

TQTKBeamHaunchInfoList::TQTKBeamHaunchInfoList(const std::vector<TQTKBeamHaunchData>& items)
{
    for (const auto& item : items)
        items_.push_back(MakeRef<TQTKBeamHaunchInfo>(item));
}

IQTKBeamHaunchInfo* TQTKBeamHaunchInfoList::GetItem(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetCount());
    return items_[static_cast<size_t>(index)].get();
}

namespace {

class TQTKBeamDrawObj final : public TQTKElementDrawObj, public IQTKBeamHaunchInfoOwner {
public:
    using TQTKElementDrawObj::TQTKElementDrawObj;
    IQTKBeamHaunchInfoList* GetHaunchInfos() const override { return Data().haunches.get(); }
};

class TQTKSectionSourceDrawObj final : public TQTKElementDrawObj, public IQTKSectionPolygonSource {
public:
    using TQTKElementDrawObj::TQTKElementDrawObj;
    std::unique_ptr<TVRMMultiPolygon2d> GetSectionPolygon() const override { return Data().sectionPolygon->Clone(); }
};

}  // namespace

Ref<TQTKElementDrawObj> CreateElementDrawObj(TQTKElementDrawObjData data)
{
    QTK_ASSERT(!(data.offersHaunches && data.sectionPolygon));
    if (data.offersHaunches)
        return Ref<TQTKElementDrawObj>(new TQTKBeamDrawObj(std::move(data)));
    if (data.sectionPolygon)
        return Ref<TQTKElementDrawObj>(new TQTKSectionSourceDrawObj(std::move(data)));
    return MakeRef<TQTKElementDrawObj>(std::move(data));
}

// ---------------------------------------------------------------------------
// Draw object.

TQTKElementDrawObj::TQTKElementDrawObj(TQTKElementDrawObjData data) : data_(std::move(data))
{
    if (!data_.props)
        data_.props = MakeRef<TQTKPropValues>();
}

TQTKElementDrawObj::~TQTKElementDrawObj() = default;

IQTKElementDrawObj* TQTKElementDrawObj::GetChild(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetChildCount());
    return children_[static_cast<size_t>(index)];
}

void TQTKElementDrawObj::SetParent(TQTKElementDrawObj* parent)
{
    parent_ = parent;
    if (parent)
        parent->children_.push_back(this);
}

Ref<IInterface> TQTKElementDrawObj::GetCalcEDO() const
{
    return calcEDO_.Get();
}

void TQTKElementDrawObj::SetCalcEDO(IInterface* edo)
{
    calcEDO_.Set(Ref<IInterface>(edo));
}

namespace {

const IQTKElementDrawObj* OtherElement(const IQTKElementDrawObj* self, const IRDXRecord* record)
{
    const auto* other = record ? FastCast<const IQTKElementDrawObj>(record->GetObject()) : nullptr;
    return other == self ? nullptr : other;
}

}  // namespace

bool TQTKElementDrawObj::AcceptsRelated(const IRDXRecord* record) const
{
    const IQTKElementDrawObj* other = OtherElement(this, record);
    return other && (other == parent_ || other == owner_ || other->GetParentDrawObj() == this ||
                     other->GetOwnerObject() == this);
}

bool TQTKElementDrawObj::IsRelated(const IRDXRecord* record, int /*flag*/) const
{
    return OtherElement(this, record) != nullptr;
}

std::unique_ptr<TParamPolyInfo> TQTKElementDrawObj::GetPolyInfo() const
{
    return data_.polyInfo ? std::make_unique<TParamPolyInfo>(*data_.polyInfo) : nullptr;
}

std::vector<IQTKElementDrawObj*> TQTKElementDrawObj::FindSubEDOByID(int subID) const
{
    std::vector<IQTKElementDrawObj*> found;
    for (TQTKElementDrawObj* child : children_)
        if (child->data_.subID == subID)
            found.push_back(child);
    return found;
}

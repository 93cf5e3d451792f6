#include "Host/ElementModel/QTKBoxService.h"

#include "Host/Runtime/FastCast.h"
#include "Host/Runtime/VRMThreadSyncUtils.h"

#include <algorithm>
#include <cfloat>

#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {

using TPoint = bg::model::point<double, 3, bg::cs::cartesian>;
using TBox = bg::model::box<TPoint>;
using TItem = std::pair<TBox, int>;

// Open bounds (+-2147483647, infinities) stay finite for the index.
double Clamp(double v)
{
    return std::clamp(v, -DBL_MAX / 4, DBL_MAX / 4);
}

TBox ToBox(const TVRMBox3d& b, double grow)
{
    return TBox(TPoint(Clamp(b.min.x - grow), Clamp(b.min.y - grow), Clamp(b.min.z - grow)),
                TPoint(Clamp(b.max.x + grow), Clamp(b.max.y + grow), Clamp(b.max.z + grow)));
}

}  // namespace

struct TQTKBoxService::TImpl {
    bgi::rtree<TItem, bgi::rstar<16>> tree;
};

TQTKBoxService::TQTKBoxService(std::span<const std::pair<int, TVRMBox3d>> items) : impl_(std::make_unique<TImpl>())
{
    std::vector<TItem> values;
    values.reserve(items.size());
    for (const auto& [id, box] : items)
        if (box.IsValid())
            values.emplace_back(ToBox(box, 0.0), id);
    impl_->tree = bgi::rtree<TItem, bgi::rstar<16>>(values);  // bulk loading (packing)
}

TQTKBoxService::~TQTKBoxService() = default;

std::vector<int> TQTKBoxService::Query(const TVRMBox3d& box, int /*flag*/) const
{
    std::vector<int> ids;
    if (!box.IsValid())
        return ids;
    // Growing the query by the tolerance makes touching within it count;
    // the index's own test is closed.
    std::vector<TItem> hits;
    impl_->tree.query(bgi::intersects(ToBox(box, CVRMEpsilon)), std::back_inserter(hits));
    ids.reserve(hits.size());
    for (const auto& hit : hits)
        ids.push_back(hit.second);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

int TQTKBoxService::GetCount() const
{
    return static_cast<int>(impl_->tree.size());
}

bool IsBox3dIntersectant(const TVRMBox3d& a, const TVRMBox3d& b, int /*flag*/)
{
    return a.Meets(b, CVRMEpsilon);
}

IQTKBoxService* TQTKModelRuntimeOptions::GetBoxService() const
{
    return boxService_.Get().get();  // borrowed: the options keep their reference
}

void TQTKModelRuntimeOptions::SetBoxService(IQTKBoxService* service)
{
    boxService_.Set(Ref<IQTKBoxService>(service));
}

TableRef TQTKModelRuntimeOptions::GetParamPolyParamTable() const
{
    return paramPolyParamTable_.Get();
}

void TQTKModelRuntimeOptions::SetParamPolyParamTable(IRDXTable* table)
{
    paramPolyParamTable_.Set(TableRef(table));
}

TQTKModelRuntimeOptions& GetQTKModelRuntimeOptions()
{
    static TQTKModelRuntimeOptions options;
    return options;
}

std::vector<IQTKElementDrawObj*> TQTKBoxServiceOp::GetBoxIntersectEDOs(const IRDXTable* ownerTable,
                                                                       const TVRMBox3d& box, std::span<const int> types)
{
    std::vector<IQTKElementDrawObj*> found;
    const IQTKBoxService* service = GetQTKModelRuntimeOptions().GetBoxService();
    if (!ownerTable || !service)
        return found;
    for (int id : service->Query(box, 1)) {
        const IRDXRecord* record = ownerTable->GetRecordByID(id);
        auto* drawObj = record ? FastCast<IQTKElementDrawObj>(record->GetObject()) : nullptr;
        if (!drawObj)
            continue;
        if (types.empty() || std::find(types.begin(), types.end(), drawObj->GetElementTypeID()) != types.end())
            found.push_back(drawObj);
    }
    return found;
}

#include <algorithm>

#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"

namespace {
const TQTKConnectedEnd& FreeEnd()
{
    static const TQTKConnectedEnd free;
    return free;
}
}  // namespace

void TQTKConnectedEdoIDInfo::SetEntry(int key, TQTKConnectedEnd start, TQTKConnectedEnd end)
{
    for (TQTKConnectedEnd* e : {&start, &end}) {
        std::sort(e->ids.begin(), e->ids.end());
        e->ids.erase(std::unique(e->ids.begin(), e->ids.end()), e->ids.end());
    }
    entries_[key] = {std::move(start), std::move(end)};
}

const TQTKConnectedEnd& TQTKConnectedEdoIDInfo::GetStart(int key) const
{
    const auto it = entries_.find(key);
    return it == entries_.end() ? FreeEnd() : it->second.first;
}

const TQTKConnectedEnd& TQTKConnectedEdoIDInfo::GetEnd(int key) const
{
    const auto it = entries_.find(key);
    return it == entries_.end() ? FreeEnd() : it->second.second;
}

bool TQTKConnectedEdoIDInfo::IsConnectedAtStart(int key, int id) const
{
    const std::vector<int>& ids = GetStart(key).ids;
    return std::binary_search(ids.begin(), ids.end(), id);
}

bool TQTKConnectedEdoIDInfo::IsConnectedAtEnd(int key, int id) const
{
    const std::vector<int>& ids = GetEnd(key).ids;
    return std::binary_search(ids.begin(), ids.end(), id);
}

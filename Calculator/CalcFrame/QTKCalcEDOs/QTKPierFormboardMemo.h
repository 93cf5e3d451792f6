// What each pier added to an element's side-face shell (the formwork pier
// rules ask before adding a pier's faces again), kept by the pier's record id
// until the element's calculation cache is freed. Thread-safe.
#pragma once

#include <map>
#include <mutex>

#include "Host/RDX/RDXIntf.h"

class TQTKPierFormboardMemo {
public:
    bool Find(IRDXRecord* pier, double& area) const
    {
        std::lock_guard guard(lock_);
        const auto kept = areas_.find(pier->GetID());
        if (kept == areas_.end())
            return false;
        area = kept->second;
        return true;
    }
    // The first area kept for a pier stays.
    void Keep(IRDXRecord* pier, double area)
    {
        std::lock_guard guard(lock_);
        areas_.emplace(pier->GetID(), area);
    }
    void Clear()
    {
        std::lock_guard guard(lock_);
        areas_.clear();
    }

private:
    mutable std::mutex lock_;
    std::map<int, double> areas_;
};

// The thread-safe reads and locks that calculations on several threads use:
// property-table reads and views, polygon subtraction and the per-record
// creation lock. One unit to include; the work is done by the layers below.
#pragma once

#include <memory>

#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/VRMThreadSyncUtils.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

// New set a minus b (safe from several threads at once).
inline std::unique_ptr<TVRMMultiPolygon2d> SyncSubPolygon(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b)
{
    return TVRMIntersectFunc2d::SyncSubPolygon(a, b);
}

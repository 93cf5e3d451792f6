// The spatial box query over the elements of a model and the runtime options
// through which the rule library reaches it.
//
// Boxes are closed: two boxes meet when on every axis each one's minimum is
// at most the other's maximum plus CVRMEpsilon (touching counts). Bounds of
// +-2147483647 or +-infinity are open. Results are record ids in ascending
// order without repeats; an element whose box meets the query is included
// even when the query was made from that element's own box.
#pragma once

#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/VRMThreadSyncUtils.h"

class IQTKBoxService : public virtual IInterface {
public:
    // Ids of the elements whose boxes meet the box. The flag is kept for the
    // callers' signature; every value queries closed boxes.
    virtual std::vector<int> Query(const TVRMBox3d& box, int flag = 1) const = 0;
    virtual int GetCount() const = 0;
};

// A box service over a fixed list of (id, box) items; built once, then read
// from any number of threads.
class TQTKBoxService final : public TInterfacedObject, public IQTKBoxService {
public:
    explicit TQTKBoxService(std::span<const std::pair<int, TVRMBox3d>> items);
    ~TQTKBoxService() override;

    std::vector<int> Query(const TVRMBox3d& box, int flag = 1) const override;
    int GetCount() const override;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

// Closed boxes meet (touching within CVRMEpsilon counts); open bounds allowed.
bool IsBox3dIntersectant(const TVRMBox3d& a, const TVRMBox3d& b, int flag = 1);

// Process-wide options of the loaded model.
class TQTKModelRuntimeOptions {
public:
    // Nil when no model is active.
    IQTKBoxService* GetBoxService() const;
    void SetBoxService(IQTKBoxService* service);
    // The parameter table of parametric elements ("ParamPolyParam": a row per
    // parameter of a parametric shape, with "ParamPolyID", "ParamCode",
    // "ParamName" and "Unit"); nil when the active model has none.
    TableRef GetParamPolyParamTable() const;
    void SetParamPolyParamTable(IRDXTable* table);

private:
    TVRMGuardedRef<IQTKBoxService> boxService_;
    TVRMGuardedRef<IRDXTable> paramPolyParamTable_;
};

TQTKModelRuntimeOptions& GetQTKModelRuntimeOptions();

class TQTKBoxServiceOp {
public:
    // Draw objects of the table's records whose boxes meet the box and whose
    // element type is one of `types` (all types when empty), in ascending
    // record id. Uses the active box service; ids the table does not hold are
    // skipped.
    static std::vector<IQTKElementDrawObj*> GetBoxIntersectEDOs(const IRDXTable* ownerTable, const TVRMBox3d& box,
                                                                std::span<const int> types);
};

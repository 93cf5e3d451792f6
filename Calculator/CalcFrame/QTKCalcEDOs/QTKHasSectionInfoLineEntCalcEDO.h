// Line elements described by a cross-section swept along the line (beams,
// parapets, copings, custom line elements, eave lines): the slope length
// factor, joins only when the element is at least as long as it is wide and
// not an arch open at one end, the section swept along the extended middle
// line, and the element grown by a distance for finishes and formwork.
#pragma once

#include <mutex>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKLineEntBaseCalcEDO.h"
#include "Calculator/Common/QTKRelationPolyhedronList.h"

class TQTKHasSectionInfoLineEntCalcEDO : public TQTKLineEntBaseCalcEDO,
                                         public virtual IQTKHasSectionInfoWithLengthRateCalcEDO,
                                         public virtual IQTKExtendableCalcEdo {
public:
    using TQTKLineEntBaseCalcEDO::TQTKLineEntBaseCalcEDO;

    // Also forgets the kept extended solids.
    void Prepare(IRDXRecord* record) override;
    bool IsMidlineConnectable() override;
    // 1 / cos of the slope between "StartPtTopElev" and "EndPtTopElev" over the middle line; 1.0 when level.
    double GetLengthRate() override { return lengthRate_.load(); }

    // The element grown by Distance, kept in the extended-solid cache: one
    // solid for Distance 0 (the prism between the attach-wall-face lines for
    // a rectangular section) and one for the last other distance; asking
    // again with the same Source, Mode and Distance gives the kept solid, any
    // other request builds a new one in place of the old.
    Ref<IQTKPolyhedron3dIntf> GetExtendedPolyhedron(IRDXRecord* source, bool mode, double distance) override;
    void ReleaseExtendItem(const TQTKExtendPolyhedronItem* item) override;

protected:
    ~TQTKHasSectionInfoLineEntCalcEDO() override;
    std::unique_ptr<TVRMPolyhedron3d> BuildSolid() override;
    // A new extended solid; Parallel: Source's middle line runs parallel to this one.
    virtual std::unique_ptr<TVRMPolyhedron3d> BuildExtendedPolyhedron(IRDXRecord* source, bool mode, bool parallel,
                                                                      double distance);

private:
    struct TExtendKey {
        Ref<IInterface> source;
        bool mode = false;
        double distance = 0.0;
    };
    std::atomic<double> lengthRate_{1.0};
    std::atomic<int> midlineConnectable_{-1};  // -1 not yet read, else 0 / 1 (the drawn shape decides)
    std::mutex extendLock_;                    // guards the keys; never held while building
    TQTKCacheSlot extendItem_, zeroExtendItem_;
    TExtendKey extendKey_, zeroExtendKey_;
};

// The over-height builder of beams (types 15, 17 and ring beams 18): settings
// of "QTKBeamCalcSettings", the beam's bottom elevation analysis, its formwork
// shell and solid cut into pieces. The value list reads the cut elevations
// from the highest down, then the beam's higher end top.
//
// Top elevation by "OverHighTopElevCalcMethod": 0 the higher end top, 1 the
// higher end bottom, 2 the mean end top, 3 the mean end bottom, 4 the top
// under the slabs on it by means, 5 by maxima, 6 as 4 for a beam whose
// "Type2" is 1, else as 3. An unknown partition method means layers.
#pragma once

#include "Calculator/Strategies/Common/OverHigh/QTKOverHighCalcBuilder.h"

class TQTkBeamOverHighCalcBuilder : public TQTKOverHighCalcBuilder {
public:
    TQTkBeamOverHighCalcBuilder(const RecordRef& subject, const TableSourceRef& business,
                                const TableSourceRef& ruleContext);

    // As the base; an over-height beam also gets its (empty) value list.
    bool IsOverHigh() override;
    // Nil when the beam has no formwork shell. In detail mode the shell is
    // first filled with the faces the rule table bills.
    std::unique_ptr<TVRMOverhighShellCalc3d> BuildFormboardCalc();
    // Over the drawn solid when the beam is measured along its axis, else its solid.
    std::unique_ptr<TVRMOverhighSolidCalc3d> BuildVolumeCalc();
    void FillFormboardShellForDetail();

protected:
    double CalcBottomElev() override;
    double CalcTopElev(int method) override;
    double GetValueListTop() override;

private:
    IQTKBeamCalcEDO* beam_ = nullptr;
};

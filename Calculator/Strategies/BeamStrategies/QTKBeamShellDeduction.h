// The family of rules that take a neighbour's solid off one of a beam's
// shells (bottom, side faces, finish, formwork below a raft) and return the
// area removed (mm²): the neighbour takes the beam faces lying on its surface
// too (both superposition kinds) when it goes first, otherwise only the faces
// it touches from the front. Each member says which shell, whether the
// neighbour deducts at all and which of the two goes first.
#pragma once

#include <memory>

#include "Calculator/Common/QTKCalcStrategy.h"

class TQTKShellCalc3d;
class TVRMPolyhedron3d;

class TQTKBeamShellDeduction : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Takes the neighbour off the shell by the hooks; the area removed.
    double Deduct(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef& ruleContext) const;
    // The shell the family consumes; none by default (nothing is deducted).
    virtual TQTKShellCalc3d* Shell(IRDXRecord* beam, const TableSourceRef& ruleContext) const;
    // Whether the neighbour deducts at all; always by default.
    virtual bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const;
    // Whether the neighbour goes first (both kinds); by default it does.
    virtual bool IsObjectFirst(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef& ruleContext) const;
    // The solid taken off: the neighbour's own by default.
    virtual std::shared_ptr<const TVRMPolyhedron3d> DeductedSolid(IRDXRecord* object) const;
    // The record the removed area is booked on: the neighbour's by default.
    virtual IRDXRecord* DeductedRecord(IRDXRecord* object) const;
};

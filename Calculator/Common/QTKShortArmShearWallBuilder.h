// Short-limb shear wall recognition: a shear wall whose kind is left to the
// program (0) is grouped with the shear walls of its storey that touch it
// directly or through others, each wall's limb is measured (its axis plus
// how far the joined walls reach beyond its ends), and the whole group gets
// one kind from the largest ratio of limb length to thickness.
//
// Kinds: 0 automatic; 1 largest ratio below 5, several walls; 2 ratio 5 to 8;
// 3 above 8; 4 below 5 and alone (or a property value other than 0-3);
// 5 not a candidate (the project has no short-limb shear walls, or the wall
// is no shear wall).
#pragma once

#include <cstdint>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

class TQTKShortArmShearWallBuilder {
public:
    // Elements: the table of the element records ("ElementDrawObj"); nil: the session's.
    explicit TQTKShortArmShearWallBuilder(IRDXTable* elements);

    // A shear wall: its properties have a "Type" of 0.
    static bool IsShearWall(const IQTKElementDrawObj* drawObj);
    // The kind a wall starts with: 5 without the project's short-limb flag or
    // for a wall that is no shear wall; else "ShortArmShearWall" when 0-3, else 4.
    static std::uint8_t GetCreationKind(const IQTKElementDrawObj* drawObj);

    // Decides the kind of a wall whose kind is automatic, with its group.
    // Nothing for an element that is no wall; always True.
    bool Recognize(IRDXRecord* record);
    // Clears List and fills it with Record and the shear walls of its floor
    // that touch it directly or through others. A nil List is an assertion failure.
    void CollectGroup(IRDXRecord* record, TRecordList* list);
    // The wall's axis length plus how far the walls of the group joined to it
    // reach beyond its two ends.
    double GetLimbLength(IRDXRecord* wall, const TRecordList& group);
    // Gives every automatic wall of the group the group's kind.
    void Classify(const TRecordList& group);

private:
    IRDXTable* elements_;
};

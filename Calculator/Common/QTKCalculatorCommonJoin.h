// Where two line elements meet: which one runs through (join priority, by
// element family, material, level and dictionary values), the chain of line
// elements of one kind connected at an end, and which one gives way where
// they overlap (junction precedence), with the subtractions that follow
// from it.
//
// Compare routines take two element objects A and B and return -1, 0 or 1: a
// positive result means A takes priority over B. Cut-by tests read "A is cut
// by B": True means A gives way and B's solid is taken off A.
#pragma once

#include <functional>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"

class TQTKSolidCalc3d;
class TQTKShellCalc3d;

// ---------------------------------------------------------------------------
// Join priority

// By A's element type: walls (0, 1) against walls, beams (15, 17, 18, 47)
// against beams, ditch earth (41), ditch backfill (44), strip foundations
// (51), beddings (55), parapets (69) and copings (70) against their own kind;
// 0 for any other pair. A ribbon segment takes priority over any other kind.
int CompareLineEdoPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// Type (an insulating wall over a wall), partition walls, material rank,
// "InnerOuterFlag", then the dictionary level of "Type" (two walls): the first
// that differs gives the sign.
int CompareWallJoinPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// Material rank, kind, the three dictionary levels (same type), section height.
int CompareBeamEdoPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// The beam order of the rules: material rank, the three dictionary levels,
// section height; 1 when all agree.
int CompareBeamJoinPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
int CompareBeamMaterialPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// sign(B's level - A's level) of the beams' "Type", "Type1", "Type2"
// dictionary levels (0 unless both are beams).
int CompareBeamTypeValue(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
int CompareBeamType1Value(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
int CompareBeamType2Value(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// sign(B's level - A's level) of the walls' "Type" dictionary levels.
int CompareWallTypeValue(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// Positive when A's section is higher.
int CompareBeamSectionHeight(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// sign(type B - type A), a foundation beam (47) counting as 0.
int CompareBeamKindForJoin(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// sign(A's "StartPtBottomElev" - B's) (ditch earth, ditch backfill).
int CompareStartBottomElev(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// Material rank, then the lower of the two bottom elevations wins.
int CompareBeddingPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// By the composite material ranks when either element's units share one
// material; 0 otherwise.
int CompareStripFDPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
int CompareParapetPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
int CompareCopingPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
int CompareCustomLinePriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// 1 when A is the segment being laid out again, else -1 when B is, else 0.
int CompareRibbonOpeningPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// Finish lines: a partition wall ("Type" 254) gives way to any other element.
int ComparePartitionWallPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// Material rank of the two draw objects (host material cache).
int CompareEdoDrawObjMaterialRank(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// The lowest material rank of a composite element's units (2147483647
// without units) and whether every unit has the same rank.
void GetCompositeMaterialRank(IRDXRecord* record, int& rank, bool& allSame);
void GetCompositeMaterialRank(const IQTKElementDrawObj* drawObj, int& rank, bool& allSame);

// Gives the candidate records of an element for a connected search.
using TQTKLineCandidateFunc =
    std::function<void(IQTKCalculatorEDO* edo, const TQTKElementTypeSet& types, TRecordList& candidates)>;
// The line elements of the given types connected to the element at its start
// (atStart) or end, through every element met end to end: each once, never
// the element itself, only those overlapping it in elevation. The element is
// related to each of them, and its composite units to theirs. Candidates come
// from Candidates when given, else from each element's related list.
TQTKLineEdoInfoArray GetOverlappingLineEdoInfos(IQTKCalculatorEDO* edo, const TQTKElementTypeSet& types, bool atStart,
                                                const TQTKLineCandidateFunc& candidates = {});

// ---------------------------------------------------------------------------
// Junction precedence

// By the junction kind of A and B: -1 A gives way, 1 B gives way, 0 undecided
// (parallel overlap of equal widths: the greater index key gives way).
int CompareLineInfoByJunction(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b);
// The same for element objects; 0 unless both are line elements.
int CompareLineEdosByJunction(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// Bottom and top elevations at the junction point (-1, 0, 1): the lower
// bottom (ditch earth: the higher) and the higher top take precedence.
int CompareJunctionBottomLevel(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b, const TVRMPoint2d& point);
int CompareJunctionTopLevel(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b, const TVRMPoint2d& point);

// A gives way to B: join priority, bottom level, top level, junction kind,
// then how they are connected (A butting onto B gives way), and a tie rule
// (parallel: the higher record id; else by haunches). With AxisFlag, an
// element measured along its axis gives way only where the two cross.
bool IsLineEdoCutBy(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b, bool axisFlag);
bool IsLineEntCutBy(IRDXRecord* a, IRDXRecord* b, bool axisFlag);
// Of two insulating walls, A gives way to B (IsLineEntCutBy with AxisFlag);
// where two of equal width cross and nothing decides (neither gives way), the
// one of the higher record id does, so that the layers they share are taken
// off once.
bool IsInsulatingWallCutBy(IRDXRecord* a, IRDXRecord* b);
// For finishes: material rank, levels and junction kind; EndFlag tells that
// the two meet end to end (or undecided).
bool IsLineEntCutByForFinish(IRDXRecord* a, IRDXRecord* b, bool& endFlag);
// Subtracts B's solid (its original solid when nil) from A's calculator when
// A gives way; returns the volume removed.
double SubtractCutterFromSolidCalc(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b, TQTKSolidCalc3d& calc,
                                   const TVRMPolyhedron3d* solid = nullptr);
// Always subtracts B's solid from A's shell: flush faces go too when A gives
// way. Returns the area removed.
double SubtractCutterFromShellCalc(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b, TQTKShellCalc3d& calc,
                                   const TVRMPolyhedron3d* solid = nullptr);
// The middle line's length less what the related elements of its own type
// that it gives way to cover of it.
double GetLineEntNetLength(IRDXRecord* record);
// Beams (15-18): the one of the higher type gives way; any beam to a lintel.
bool IsBeamCutByType(IRDXRecord* a, IRDXRecord* b);
// A is a secondary beam of B: material, "Type1", "Type2", section height and
// width, then the junction kind.
bool IsSubBeam(IRDXRecord* a, IRDXRecord* b);
// Formwork of brick moulds: which of two foundation elements gives way.
bool IsBrickMoldCutBy(IRDXRecord* a, IRDXRecord* b);

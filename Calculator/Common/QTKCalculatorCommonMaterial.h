// What an element is made of and which of two touching elements takes
// precedence: concrete tests by material text and by the host material
// table, material levels (a lower level takes precedence), formwork priority
// from the project settings, and the concrete-grade order of column bases,
// column caps and piles.
//
// Comparisons return -1, 0 or 1 unless said otherwise; a cut-by test that is
// True means the subject gives way and the object's solid is taken off it.
#pragma once

#include <string>
#include <string_view>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

class IQTKElementDrawObj;
class TQTKMaterialHelper;

// Not concrete: "加气砼块" or "加气混凝土" (whole text, any case), a text
// containing "砌块", or one containing neither "混凝土" nor "砼".
bool IsConcreteMaterialText(std::string_view text);
bool ContainsSolidBrick(std::string_view text);

// The effective material text: the given text, except for a wall-face
// finish or dado (types 36, 37) with an empty text, which take their own
// "Material" property (the host's matched material is not offered here: "").
std::string GetElementMaterialText(const IQTKElementDrawObj* drawObj, std::string_view text);
// The material text of a finish: its own "Material" ("" without one: the
// host's matched material is not offered here).
std::string GetFinishMaterial(const IQTKElementDrawObj* drawObj);
std::string GetFinishMaterial(IRDXRecord* record);

// The host material table's first row of the element's type whose
// "Description" equals Text (ignoring case); nil without a table or a row.
const IRDXRecord* FindMaterialRow(const IQTKElementDrawObj* drawObj, std::string_view text);
// Level of the element's material in the host material table ("Level" of
// the first row of its element type whose "Description" equals the text);
// 2147483647 without "Material", without a table or without a row.
int GetMaterialLevel(const IQTKElementDrawObj* drawObj);
// "Type" of that row; -1 without a table, a row, the field or a value.
int GetMaterialTableType(const IQTKElementDrawObj* drawObj);
// Cast in place: material table type 0, or (unknown to the table) a text with
// "混凝土" / "砼" and neither "砌块" nor "预制"; without "Material": slab types
// 19, 21 and post-cast strips (63).
bool IsCastConcreteElement(const IQTKElementDrawObj* drawObj);
// Concrete by its material text; without "Material": types 19, 20, 21, 63.
bool IsConcreteElement(const IQTKElementDrawObj* drawObj);

// Material level cached per element record in the helper (computed once).
int GetMaterialRank(TQTKMaterialHelper& cache, const IQTKElementDrawObj* drawObj);
// sign(rank B - rank A) over the host material cache: -1 when B ranks lower
// (B takes precedence). 0 when either is nil.
int CompareMaterialRank(const IQTKElementDrawObj* a, const IQTKElementDrawObj* b);
// The same for element objects, through their own material level.
int CompareEdoMaterialRank(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
// A foundation unit's rank; without a material level: 20 for slabs 19, 21 and
// post-cast strips, 10 for type 20, else 2147483647.
int GetUnitMaterialRank(IQTKCalculatorEDO* edo);

// Formwork priority of subject A against object B: negative when B's formwork
// takes precedence (B earlier in the "FormboardPriority" list of
// "QTKOtherCalcSetting", A's type absent from it, B concrete by text only, or
// B a slab hole); 0 for equal types. A missing settings table or list reads
// as an empty list.
int CompareFormboardPriority(IRDXRecord* a, IRDXRecord* b, const TableSourceRef& ruleContext);

// sign(A."ConcGradeID" - B."ConcGradeID").
int CompareConcGrade(IRDXRecord* a, IRDXRecord* b);
// The subject gives way to the object: True when the object is of another
// kind; for two of the kind the lower grade gives way, and at equal grades the
// higher record id.
bool IsColumnBaseCutBy(IRDXRecord* subject, IRDXRecord* object);
bool IsColumnCapCutBy(IRDXRecord* subject, IRDXRecord* object);
bool IsPileCutBy(IRDXRecord* subject, IRDXRecord* object);

// -1 when A is a partition wall (a wall whose "Type" is 254) and B a wall of
// another kind; 0 otherwise.
int ComparePartitionWall(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);

// ---------------------------------------------------------------------------
// Wall material pairs. A wall's material text and its material-only mode come
// from its wall object; the mode of a pair is the first wall's.

// A join priority of two element objects: positive when A runs through B.
using TQTKEdoCompareFunc = int (*)(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);

// Two walls that join without priority in material-only mode: mode 1 both of
// concrete, mode 2 each of concrete or of solid brick. False in any other
// mode or when either record has no wall object.
bool IsWallPairSameKind(IRDXRecord* a, IRDXRecord* b);
// The join priority that walls in material-only mode give the line
// calculators: 2 for two walls of the same kind (as above), otherwise the
// element-family join priority, which the caller passes as Otherwise.
int CompareWallMaterialPair(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b, TQTKEdoCompareFunc otherwise);
// Concrete wall A is overlaid by fill wall B: A is concrete by its text, B is
// an overlaying fill wall (state 2) and A lists B among its overlaying fill walls.
bool IsConcreteWallLinked(IRDXRecord* a, IRDXRecord* b);
// The wall lists the id among the fill walls that overlay it; False for a
// record without a wall object.
bool WallLinksId(int id, IRDXRecord* wall);

// Small queries on host records that rules of every family ask again and
// again: the floor an element stands on, floor and project elevations, wall
// and beam kinds, type-dictionary levels, a column's net elevation range, and
// the value of an identifier in a match expression. None keeps state.
//
// Elevations are mm; floor and project values stored in metres are
// multiplied by 1000 where they are read.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

class IQTKElementDrawObj;
class IPropValues;
class IQTKLineShape;
class IQTKLineEdoInfo;
class TPXEValue;

// "No level" / "no rank".
inline constexpr int CQTKNoLevel = 2147483647;

// ---------------------------------------------------------------------------
// Settings and tables

// The settings source a routine reads: the given context, else the host's
// calculation settings.
TableSourceRef ResolveRuleContext(const TableSourceRef& ruleContext);
// Row 0 of a named settings table of the context; nil when the context, the
// table or its first row is missing.
IRDXRecord* GetSettingRow(const TableSourceRef& ruleContext, std::string_view tableName);
// The settings tables rules asked for in this calculation session and the
// rule set lacked (their defaults were used), each once, in the order asked.
std::vector<std::string> GetMissingSettingTables();
// A table of the database, else of the other databases of its model in their
// order; nil when none holds it.
IRDXTable* FindTableNear(const IRDXDatabase* database, std::string_view tableName);
// Safe field reads: the default when the record is nil or the field is
// missing or null.
bool FieldValueBoolean(const IRDXRecord* record, std::string_view field, bool defaultValue);

// The row a foreign-key field refers to; nil also when the record's table
// lacks the field.
IRDXRecord* FindMasterRecord(const IRDXRecord* record, std::string_view field);

// A line element's elevations at its ends: the record's "StartPtBottomElev",
// "StartPtTopElev", "EndPtBottomElev" and "EndPtTopElev", each taken from the
// element's line shape where the record leaves it null.
struct TQTKLineEndElevs {
    double startBottom = 0.0, startTop = 0.0, endBottom = 0.0, endTop = 0.0;
};
TQTKLineEndElevs GetLineEndElevs(IRDXRecord* record);

// The property values of the element behind a record (nil without one), and
// one property read as a number (the default when absent or null).
const IPropValues* GetRecordPropValues(IRDXRecord* record);
double GetRecordPropFloat(IRDXRecord* record, std::string_view name, double defaultValue = 0.0);

// The element type id of a record: its draw object's, else the "ElementTypeID"
// of its master "ElementID", else its own "ElementTypeID"; -1 when none.
int GetRecordElementTypeID(IRDXRecord* record);
// The element a record belongs to ("EDOPID"); nil when its table has no such
// field or it names none.
IRDXRecord* GetOwnerRecord(const IRDXRecord* record);

// ---------------------------------------------------------------------------
// Floors and project

// The floor record of an element (master "FloorID"); nil when none.
IRDXRecord* GetRecordFloor(const IRDXRecord* record);
bool IsOnFirstFloor(const IRDXRecord* record);
// "StartFloorNo" 0 is the foundation floor, negative numbers are basements.
bool IsFoundationFloorRecord(const IRDXRecord* floor);
bool IsOnFoundationFloor(const IRDXRecord* record);
bool IsOnBasementFloor(const IRDXRecord* record);
// The first floor, in table order, of the floor's region; nil when none.
IRDXRecord* FindFirstFloorOfRegion(const IRDXRecord* floor);
// The region's basement floor with the lowest structural elevation; nil when none.
IRDXRecord* FindLowestBasementFloor(const IRDXRecord* floor);
// Whether the floor is the first row of its region in the floor table.
bool IsFirstFloorOfRegion(const IRDXRecord* floor);
// The region flag of the element's floor; True for an element without floor.
bool GetRegionFlag(const IRDXRecord* record);
// "StructuralElevation" of the element's floor, mm (0 without floor). The
// flag of the second form is accepted for its callers and changes nothing.
double GetFloorStructuralElev(const IRDXRecord* record);
double GetFloorStructuralElev(const IRDXRecord* record, bool flag);
// "GroundElev" of the project table "ProjInfo", mm: the table of the record's
// database (model), or of the rule context, else of the business data.
double GetProjectGroundElev(const IRDXRecord* record);
double GetProjectGroundElev(const TableSourceRef& ruleContext);
// Setting "BeamFormboardAngle" of "QTKBeamCalcSettings", degrees as stored.
double GetBeamFormboardAngle(const TableSourceRef& ruleContext);

// ---------------------------------------------------------------------------
// Element kinds

// A wall (type 0) whose "Type" is 255 (virtual) / 254 (partition).
bool IsVirtualWallRecord(IRDXRecord* record);
bool IsPartitionWallRecord(IRDXRecord* record);
// "IsFloorSlab" is 0; an element without the property is not a non-floor slab.
bool IsNonFloorSlabRecord(IRDXRecord* record);
// "Type2" present, not null and 0.
bool IsSingleBeamRecord(IRDXRecord* record);
// "InnerOuterFlag" 0 is inner; an element without the flag counts as inner.
bool IsInnerDrawObj(const IQTKElementDrawObj* drawObj);
bool IsOuterDrawObj(const IQTKElementDrawObj* drawObj);
// As above for a record; an insulating wall unit (type 86) answers for its wall.
bool IsInnerWallRecord(IRDXRecord* record);
bool IsOuterWallRecord(IRDXRecord* record);
// "Level" of the type dictionary "TypeDict" row of (element type, the value of
// "Type" / "Type1" / "Type2" for Index 0 / 1 / 2, Index); CQTKNoLevel when the
// dictionary, the property or the row is missing or Index is another value.
int GetTypeLevel(const IQTKElementDrawObj* drawObj, int index);
int GetEdoTypeLevel(IQTKCalculatorEDO* edo, int index);

// ---------------------------------------------------------------------------
// Shapes

// The line shape of a record (an insulating wall unit: its parent's); nil when none.
IQTKLineShape* GetRecordLineShape(IRDXRecord* record);
// The axis lines of two line elements are parallel (0.002); False without line shapes.
bool IsLineEntsParallel(IRDXRecord* a, IRDXRecord* b);
// Junction kind of two line elements (the host line calculator's code).
int IntersectLineEdoShapes(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b);
// A column's point-shape elevations, the top lowered to the bottom of a
// related column cap above its bottom and the bottom raised to the top of a
// related column base below its top.
void GetColumnNetElevRange(IQTKCalculatorEDO* edo, double& top, double& bottom);
// The parametric sub-elements with that id of the element behind the record.
std::vector<IQTKElementDrawObj*> GetParamSubDrawObjs(IRDXRecord* record, int subId);
bool IsIntegerInArray(int value, std::span<const int> items);

// ---------------------------------------------------------------------------
// Match expressions

// The value of an identifier of a match expression for a record: "Material",
// "Type" from the element object, "ShortArmShearWall" from the wall object
// (an element without one answers as for any other name), any other name from
// the element's property (an insulating wall unit falls back on its wall's),
// typed by the property's field; a null integer is -1 for a beam, 0 otherwise.
// Without such a property, the record's own field of that name as an integer
// (null when the table lacks it).
void GetMatchFieldValue(IRDXRecord* record, std::string_view name, TPXEValue& value);
// The same for an expression evaluated many times: the record's draw object
// is given, and the slot keeps the field kind of the name for the table it
// was read from.
struct TQTKMatchFieldSlot {
    const IRDXTable* table = nullptr;
    int kind = 0;
};
void GetMatchFieldValue(IRDXRecord* record, const IQTKElementDrawObj* drawObj, std::string_view name, TPXEValue& value,
                        TQTKMatchFieldSlot& slot);

// ---------------------------------------------------------------------------
// Internal quantities and deduction details

struct TQTKInternalQtyEntry;

// The host's internal quantities of an element type and name (with the
// session's bill-rule flag), in the order stored.
std::vector<TQTKInternalQtyEntry> FindInternalQty(int elementTypeId, std::string_view name);
// The element's first internal quantity of the name times Factor; 0 when it
// has none. The element is the business record of that id.
double GetInternalQtyByName(int recordId, std::string_view name, double factor);

// Edits of the last deduction detail, made only in detail mode and only when
// the calling thread's container's last detail belongs to the record:
// its flag byte; its text replaced by Format(Value); its text read as a
// number and scaled (4 decimals; a text that is no number stays).
void SetLastDeductDetailFlag(const IRDXRecord* record, std::uint8_t flag);
void ReplaceLastDeductExpr(const IRDXRecord* record, std::string (*format)(double), double value);
void ScaleLastDeductExpr(const IRDXRecord* record, double factor);

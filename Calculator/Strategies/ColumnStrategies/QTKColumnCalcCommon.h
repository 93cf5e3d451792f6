// Routines about columns and the walls they stand in: the toothing
// (indenting) of a tie column's concrete into the masonry walls beside it,
// the wall solids widened around a column, and how many faces of a wall an
// element meets. Results are new objects owned by the caller. Millimetres.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "Host/RDX/RDXIntf.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"

class IQTKColumnCalculatorEDO;
class IQTKElementDrawObj;
class IQTKPolyhedron3dIntf;
class IQTKTieColumnCalculatorEDO;
class TVRMMultiPolygon2d;
class TVRMPolyhedron3d;

// Pieces of a column's outline edges inside a wall, one place per edge; an
// empty place is an edge without a piece (or a piece already taken).
using TQTKWallPieces = std::vector<std::optional<TVRMCustomLine2d>>;

// The column's insertion point moved to the closest point of the wall's axis
// line; False (Point unchanged) when the wall has none.
bool GetClosestPointOnWall(IRDXRecord* wall, IRDXRecord* column, TVRMPoint2d& point);
// The wall's band prism along its middle line, widened by Factor times its
// "Thickness" on each side (by Distance on each side), its elevations from
// "StartPtBottomElev" .. "EndPtTopElev" (else its line shape's). An empty
// solid when the wall has no middle line.
std::unique_ptr<TVRMPolyhedron3d> BuildWallWidenedSolid(IRDXRecord* wall, double factor);
std::unique_ptr<TVRMPolyhedron3d> BuildWallWidenedSolidByDistance(IRDXRecord* wall, double distance);
// Whether a wall's material keeps a tie column from indenting into it. Without
// "Material": True for slabs 19, 21 and post-cast strips (63). Without a
// material table row: False. A row whose "HasIndenting" is present and not 1:
// False (such walls are indentable; the stored material tables rely on it).
// Then by the row's "Type": 0 True; -1 True when the text names concrete
// ("混凝土", "砼") and neither "砌块" nor "预制"; any other False.
bool IsConcreteForIndenting(const IQTKElementDrawObj* drawObj);
// A wall, strip foundation unit or insulating wall unit (types 0, 81, 86)
// that is not concrete for indenting.
bool IsIndentableWall(IRDXRecord* record);
// The two lines meet in at least one point.
bool LinesMeet(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b);
// How many of the wall's two faces (its centre line moved by half its
// thickness either way) meet the element's outline: 0, 1 or 2.
int CountSideLinesMeetingLine(IRDXRecord* element, IRDXRecord* wall);
// The part of a column edge inside the wall's plan (between the first two
// crossings with its outline) when it runs across the wall: straight edge and
// axis more than 45 and less than 135 degrees apart; with an arc, unless the
// piece runs along the wall within 45 degrees at both its ends. Appends one
// place to Pieces (empty without a piece).
void ProjectEdgeOnWallLine(TQTKWallPieces& pieces, const TVRMCustomLine2d& wallAxis, const TVRMCustomLine2d& edge,
                           const TVRMMultiPolygon2d& wallOutline);
// ProjectEdgeOnWallLine over every edge of the column's outline, in order.
void CollectWallPiecesOppositeColumn(IRDXRecord* column, IRDXRecord* wall, TQTKWallPieces& pieces);
// Adds Piece to a chain. Mode 0: starts an empty chain (assertion) with the
// piece; 1: continues at End when the piece starts there; -1: goes before the
// chain's first point when the piece ends there. On success the piece is
// taken (its place emptied), End follows the chain's end, and True.
bool AppendPieceToPolyline(TVRMLines2d& polyline, std::optional<TVRMCustomLine2d>& piece, TVRMPoint2d& endPoint,
                           int mode);
// The band of width W beside a chain of pieces: a closed chain gives two rings
// (the chain reversed, and the chain moved by W); a two-point chain a
// quadrilateral closed by lines parallel to the wall axis; a longer chain a
// ring closed the same way. Appended to Polygons.
void BuildClosedIndentPolygons(TVRMMultiPolygon2d& polygons, TVRMLines2d chain, double w);
void BuildTwoPointIndentPolygon(TVRMMultiPolygon2d& polygons, TVRMLines2d chain, const TVRMCustomLine2d& wallAxis,
                                double w);
void BuildMultiPointIndentPolygon(TVRMMultiPolygon2d& polygons, TVRMLines2d chain, const TVRMCustomLine2d& wallAxis,
                                  double w);
// The crossing X of A and B (both extended): [V, X] with Flag, else [X]; arc
// data of A's part between V and X and of B go with the vertices. Two
// straight lines that do not cross, or lie on each other, are an assertion
// failure; an arc that meets nothing gives [V, B's start] (Flag) or [B's end].
TVRMLines2d IntersectWithEndRay(const TVRMPoint2d& v, const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, bool flag);
// The prism (Bottom, Height) of the bands beside the joined pieces, clipped to
// the wall's solid; nil without a band. The pieces taken are emptied.
std::unique_ptr<TVRMPolyhedron3d> BuildIndentPrism(TQTKWallPieces& pieces, IRDXRecord* wall, double w, double height,
                                                   double bottom);
// The toothing of the column into the wall: BuildIndentPrism over the pieces of
// the column's outline in the wall; nil when there are none.
std::unique_ptr<TVRMPolyhedron3d> BuildIndentingSolid(IRDXRecord* column, IRDXRecord* wall, double height,
                                                      double bottom, double w);

// ---------------------------------------------------------------------------
// For the column rules.

// The column object of a record (a tie column's too); an element of another
// kind raises EIntfCastError.
Ref<IQTKColumnCalculatorEDO> GetColumnEdo(IRDXRecord* column);
Ref<IQTKTieColumnCalculatorEDO> GetTieColumnEdo(IRDXRecord* column);
// The element's own solid, held while the holder lives; nil when it has none.
Ref<IQTKPolyhedron3dIntf> GetOriginalSolidHolder(IRDXRecord* record);

// The toothing of a tie column at Factor of its length: its volume and its
// side area. The column object keeps one calculator of each, made with the
// factor first asked, so the amounts are read without that factor and scaled
// by the one asked for here: a full-length rule after a half-length one
// still gets the full toothing. The toothing is built when it is missing.
double GetIndentingVolume(IQTKTieColumnCalculatorEDO& column, double factor);
double GetIndentingSideArea(IQTKTieColumnCalculatorEDO& column, double factor);
// An amount a calculator of factor CalcFactor gave, at Factor instead (0 for
// a calculator of factor 0).
double RescaleByFactor(double amount, double calcFactor, double factor);

// The rows of internal quantity Id in the rule table "InternalQtyCalcRule" of
// the rule context (else of the calculation settings), in table order, read
// through the thread-safe record list; nil without the table.
ViewRef GetInternalQtyRuleRows(const TableSourceRef& ruleContext, int internalQtyId);

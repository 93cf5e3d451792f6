// Measures that opening and finish rules share: on which side of an opening
// a finish lies and how deep the opening's frame sits behind the finish's
// wall face. Lengths are mm.
#pragma once

#include "Host/RDX/RDXIntf.h"

// Whether the finish lies on the left of the opening: for a ribbon opening or
// ribbon window (types 8, 9) the finish line starts left of the opening's
// line; for any other opening the finish lies left of its host wall's line.
bool IsFinishOnOpeningLeft(IRDXRecord* finish, IRDXRecord* opening);
// Distance from the face of the finish's host wall to the opening's frame:
// half the wall's thickness less half the "FrameThickness", moved by the
// "FrameOffset" toward the finish's side (ribbon openings: by the offset less
// 30, the other way); never negative.
double GetOpeningFrameDepth(IRDXRecord* finish, IRDXRecord* opening);

// Fill walls: a wall the model marks as filling ("IsFillWall" not 0, a
// Boolean or a number) may be laid inside another wall, and is then measured
// once, with the wall it lies in.
#pragma once

class IQTKElementDrawObj;

// The element is marked as a fill wall.
bool GetIsFillWall(const IQTKElementDrawObj* wall);
// The fill wall's solid and the wall's share a volume (more than the length
// tolerance cubed). The two trailing arguments are kept for the callers'
// signature and have no effect.
bool IsActuallyOverlay(const IQTKElementDrawObj* fillWall, const IQTKElementDrawObj* wall, int flag1 = 0,
                       int flag2 = 0);

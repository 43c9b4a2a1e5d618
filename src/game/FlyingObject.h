#pragma once

#include <cstdint>

// Position, velocity and age of one star or one bad guy. Stars are linked into the star
// list through Next; bad guys use Hit, Frame and State.
struct FlyingObject {
    int32_t X = 0;   // a star's centre; a bad guy's left edge
    int32_t Y = 0;   // a star's centre; a bad guy's top edge
    int32_t Age = 0; // ticks since the last reset, up to 6001
    int32_t DX = 0;  // pixels per tick
    int32_t DY = 0;
    bool Gone = false;  // found outside the field
    bool Hit = false;   // a bad guy that was shot and explodes
    bool Frame = false; // which of a bad guy's two frames comes next
    FlyingObject *Next = nullptr;
    int32_t State = 0; // a bad guy's explosion step or countdown outside the field
};

#pragma once

#include "gk/Mixer.h"

#include <cstdint>
#include <vector>

// What the mixer gives for the next `frames` frames, interleaved stereo. The buffer starts out
// holding a marker value, so a sample the mixer failed to write shows.
inline std::vector<int16_t> render(gk::Mixer &mixer, int frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2, 12345);
    mixer.render(out.data(), frames);
    return out;
}

#pragma once

// The game's sounds: the game never names a sound; it raises an event, and TMainForm::DoSoundEvent
// looks the sound up in the one table below.

#include "components/GameSoundNames.h"

#include <optional>

namespace game {

// The sound an event plays; none for a number past the last event. This is the one place
// where events and sounds meet.
std::optional<sound::Index> SoundOf(SoundEvent event);

} // namespace game

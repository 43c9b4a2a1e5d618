#pragma once

// The names of the game's sounds: the thirteen sounds of its library, which every window plays
// from, and the events of the game, which decide which of them the main window plays. Every
// window that plays a sound names it from here; which sound an event plays is decided in
// game/GameSounds.h.

#include <cstdint>

namespace game {

// The sounds of the game's library by their index in it, named as the library names them.
// The windows play them through a TGKAudio of their own: `Audio->Sound(game::sound::Woohoo)`.
namespace sound {
enum Index : int {
    Stop = 0,      // alternating alarm tones
    Backward = 1,  // a whoosh that swells up
    Bigboom = 2,   // an explosion
    Cackle = 3,    // a villain's laughter
    Exclam = 4,    // two rising beeps
    Laser = 5,     // a laser shot
    Newmail = 6,   // three bell strikes
    RobotzA = 7,   // a robot voice that names the game
    RobotzW = 8,   // a robot voice that welcomes the player
    Screech = 9,   // a creature's screech
    Signatur = 10, // the game's signature tune
    Allfolk = 11,  // a farewell
    Woohoo = 12,   // a cheer
};
inline constexpr int Count = 13;
} // namespace sound

// The events of the game that play a sound, with the numbers that are part of the game's
// design. Numbers past the last event are valid and play nothing.
enum class SoundEvent : uint8_t {
    Welcome = 0,        // a new game; the help window when the program starts
    Allfolk = 1,        // raised by nothing; named after its sound
    RobotzA = 2,        // raised by nothing; named after its sound
    Signatur = 3,       // raised by nothing; named after its sound
    BadGuyShot = 4,     // a shot hit a bad guy
    Laser = 5,          // every shot
    LowEnergy = 6,      // the energy drops into the low band from above it
    CriticalEnergy = 7, // the energy drops into the critical band from above it
    Escape = 8,         // a bad guy left the field unshot
    NewBadGuy = 9,      // flight tick 100, and each bad guy that joins
    GameLost = 10,      // the energy fell below 0
    GameOver = 11,      // "Game Over!" has formed
    Woohoo = 12,        // raised by nothing; named after its sound
};

} // namespace game

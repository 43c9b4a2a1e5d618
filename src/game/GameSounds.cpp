// The main window's sounds: the game's events, played through the window's sound device while
// the player has sounds switched on. The game's own events come through its view.

#include "game/GameSounds.h"

#include "game/MainU.h"
#include "gk/GKSnd.h"

namespace game {

std::optional<sound::Index> SoundOf(SoundEvent event) {
    switch (event) {
    case SoundEvent::Welcome:
        return sound::RobotzW;
    case SoundEvent::Allfolk:
        return sound::Allfolk;
    case SoundEvent::RobotzA:
        return sound::RobotzA;
    case SoundEvent::Signatur:
        return sound::Signatur;
    case SoundEvent::BadGuyShot:
        return sound::Screech;
    case SoundEvent::Laser:
        return sound::Laser;
    case SoundEvent::LowEnergy:
        return sound::Exclam;
    case SoundEvent::CriticalEnergy:
        return sound::Stop;
    case SoundEvent::Escape:
        return sound::Backward;
    case SoundEvent::NewBadGuy:
        return sound::Newmail;
    case SoundEvent::GameLost:
        return sound::Bigboom;
    case SoundEvent::GameOver:
        return sound::Cackle;
    case SoundEvent::Woohoo:
        return sound::Woohoo;
    }
    return std::nullopt;
}

} // namespace game

void TMainForm::DoSoundEvent(game::SoundEvent event) {
    if (!SoundsOn())
        return;
    const std::optional<game::sound::Index> sound = game::SoundOf(event);
    if (!sound)
        return;
    emit soundEventRaised(static_cast<quint8>(event));
    PlaySound(*sound);
}

void TMainForm::sound(game::SoundEvent event) {
    DoSoundEvent(event);
}

void TMainForm::PlaySound(int index) {
    Audio->Sound(index).Replay();
}

void TMainForm::StopAllSounds() {
    for (int index = 0; index < game::sound::Count; ++index)
        Audio->Sound(index).Stop();
}

#pragma once

// What a window is given of the rest of the program when it is made, instead of reaching into
// another window for it: the game's sound library and the player's sound switch, the star
// count of the preferences, the online detector, the link opener, the program's folder, and the
// two things a dialog may ask of the main window (a sound event, the end of the program).
//
// The program makes one, in game/Forms.cpp, and fills it in as the windows that own these
// things are made; every window holds it by reference, so what is filled in later (the link
// opener belongs to the about box, made after the main window) reaches the windows made before.
// The switch and the count are read at the moment they are needed, never copied.

#include "components/GameSoundNames.h"
#include "components/OnlineIP.h"
#include "platform/ConfigFolder.h"

#include <QString>

#include <functional>

class TGKSoundLib;
class TGoToWeb;

struct Services {
    TGKSoundLib *soundLibrary = nullptr; // the game's thirteen sounds, which every window plays
    std::function<bool()> soundSwitch;   // "Play Sounds" of the preferences
    std::function<int()> starCount;      // "Number of Stars" of the preferences
    TOnlineIP *onlineDetector = nullptr; // whether the machine is online, as the game watches it
    TGoToWeb *linkOpener = nullptr;      // the browser and the mail program
    std::function<QString()> programDir; // the program's folder, with a trailing separator
    std::function<void(game::SoundEvent)> soundEvent; // raised through the main window
    std::function<void()> endProgram;                 // closes the main window

    // The sound switch; off where there is none (a window made alone, in a test).
    bool soundsOn() const { return soundSwitch && soundSwitch(); }
    // Whether the online detector finds the machine online; offline without one.
    bool online() const { return onlineDetector && onlineDetector->Online(); }
    // The program's folder as the main window noted it; the platform's without one.
    QString programFolder() const { return programDir ? programDir() : platform::ProgramFolder(); }
    void raise(game::SoundEvent event) const {
        if (soundEvent)
            soundEvent(event);
    }
    void closeProgram() const {
        if (endProgram)
            endProgram();
    }

    // Nothing at all: for a window made on its own.
    static const Services &none() {
        static const Services nothing;
        return nothing;
    }
};

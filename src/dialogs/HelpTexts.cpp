#include "dialogs/HelpTexts.h"

#include "components/Maker.h"

#include <QStringList>

// The texts keep the voice they were written in, slips of spelling included, and the blank
// at the end of a line that goes on in the next. Newer paragraphs are one line each, for the
// memo to wrap.

namespace help {

namespace {

QString lines(const QStringList &text) {
    return text.join(u'\n');
}

} // namespace

QString ProgramInfo() {
    return lines({
        " Program Info",
        "-============-",
        "Author : Umbrel Prowlet - 03/11/99",
        "Email : " + maker::EMail(),
        "Web : " + maker::HomePage(),
        "",
        "Hello. Thankyou for downloading Gorbulax v1.0 Feel free to email me with any ",
        "comments,suggestions or bug reports.",
        "",
        "You can join the Umbrel Prowlet Mailing List for email notification of when we release "
        "upgrades for ",
        "our software or release new software, this is not a periodical newsletter.",
        "- for more information go to  " + maker::MailingListPage(),
        "",
        "",
        " How many lines of code went into making this program?",
        "-============================================-",
        "Lots - 13 998 !!",
    });
}

QString Story() {
    return lines({
        " Story",
        "-=====-",
        "The whole point in this game is it doens't need a story line, but for those of you who "
        "really want one, here ",
        "is it :",
        "",
        "Your spaceship is running out of energy. You are a long way from home, your reserves are "
        "almost gone and no help is coming. You could sit tight and wait for a slow death, but "
        "that's not your style.",
        "",
        "So you fly straight into the Gorbulax Sector, home of the Gorbulax: energy parasites that "
        "latch onto any ship they find and drain it of its last drop of energy. They have already "
        "sensed yours, and they are on their way.",
        "",
        "Luckily your ship's laser leeches energy from whatever it hits. Every Gorbulax you shoot "
        "tops up your tanks, and every one that gets past you helps itself to some of yours. "
        "Shoot them down and live on their stolen ",
        "energy. After all it's you or them...",
    });
}

QString GamePlay() {
    return lines({
        " GamePlay",
        "-========-",
        "Gorbulax is best played with the maximum playing area.",
        "",
        "Playing Gorbulax is incredibly simple. You just try and shoot any Gorbulax that fly "
        "accross ",
        "your screen.",
        "You can shoot a Gorbulax by targetting it with your mouse and then clicking the left "
        "mouse "
        "button.",
        "You can pause the game at any time by clicking your right mouse button.",
        "",
        "You get 10 points of energy every time you hit a Gorbulax",
        "and",
        "You lose 10 points every time a Gorbulax flies past you.",
        "",
        "When you get to 0 it's Game Over - try and last as long as you can.",
    });
}

QString Options() {
    return lines({
        " Options",
        "-=======-",
        "There are two options :",
        "",
        "Play Sounds : ",
        "",
        // Sound goes out through whatever the desktop plays sound with, and a machine without
        // a sound device simply plays silently: there is nothing for the player to install.
        "If this box is checked Gorbulax will play sounds. They play through your desktop's sound "
        "system, ",
        "and if your computer has no sound device the game just plays silently.",
        "",
        "Number of Stars : ",
        "",
        "This option lets you specify the number of stars Gorbulax will create in the start field. "
        "The defualt ",
        "value is 100. If the game runs slow on your machine you can decrease this value.",
        "We recommend that you do not set the number of stars to less than 70.",
        "Similarily if you increase the number of stars then the game will run slower, so only "
        "increase the number if ",
        "you computer is powerful enough to animate all the stars and do everything else it's got "
        "to do within 1 ",
        "millisecond.",
    });
}

QString DisclaimerAndLegalities() {
    return lines({
        " Disclaimer",
        "-==========-",
        "Gorbulax is given to you as it is, without any warranty. We have played it a lot and "
        "fixed every bug we found, but we can't promise that it has none left, that it runs on "
        "every computer or that it is fit for any purpose other than having fun. You use it at "
        "your own risk, and we can't be held responsible for any loss or damage that comes from "
        "using it.",
        "",
        "Gorbulax only writes files of its own: its settings and its high score table. It sends "
        "nothing over the internet by itself; it only starts your web browser or mail program "
        "when you click one of its links.",
        "",
        "",
        " Legalities",
        "-==========-",
        "Gorbulax is free. You may play it as much as you like, copy it and give it to your "
        "friends, as long as you pass it on whole and unchanged and don't charge anything for it.",
        "You may not sell it, put it in anything that is sold, or pass it off as your own work.",
    });
}

} // namespace help

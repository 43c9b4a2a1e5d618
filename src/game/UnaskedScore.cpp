// A finished game's score between the loss and the name dialog: the results still count up, or
// wait their two and a half seconds. A close of any kind then (the window's close, Ctrl+Q,
// E&xit, a logout or a signal) enters a score that makes the table as the dialog would have,
// under the name its box would offer; the name remembered for the next run stays as it was.

#include "game/MainU.h"
#include "scores/ScoreBoardU.h"
#include "scores/ScoreFile.h"
#include "scores/getNameU.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/StateReport.h"
#include "toolkit/Timer.h"

#include <utility>

void TMainForm::keepUnaskedScore() {
    if (!std::exchange(ScoreUnasked, false))
        return;
    // The dialog's turn will not come: the closing program enters the score itself.
    Timer2->setEnabled(false);
    TScoreBoard *const board = windows_.scoreBoard;
    if (!board || !windows_.getName)
        return;
    // The results may not have counted up to the score yet; the game knows it all the same.
    const int score = game_.results().points.total();
    if (board->GetHighScorePosition(score) == 0)
        return;
    const QString name = scores::CutToField(windows_.getName->PlayerName->text());
    toolkit::guarded([&] {
        if (board->AddHighScore(score, name))
            toolkit::reportState("score kept");
    });
}

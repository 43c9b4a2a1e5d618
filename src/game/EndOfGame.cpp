// The end of a game: the field stops, a red bar slides down to the middle, "Game" and "Over!"
// come together, a results box fades in and counts the score up. Two and a half seconds
// later a score good enough for the table is entered with the player's name, and the player
// may start another game.
//
// The animations keep the step counts they were designed with (500 steps a pixel for the
// bar, 2000 steps a blank for the words, 1000 steps a shade for the fade, 501 steps a
// count-up), paced by time and shown a frame at a time. Each stops where it is when the
// window closes meanwhile: closing releases the stars and bad guys, and a closing program
// has no use for the rest of the show.

#include "components/OnlineIP.h"
#include "game/Colors.h"
#include "game/GameRules.h"
#include "game/MainU.h"
#include "gk/Utils.h"
#include "scores/ScoreBoardU.h"
#include "scores/getNameU.h"
#include "toolkit/Image.h"
#include "toolkit/Pacing.h"
#include "toolkit/StateReport.h"
#include "toolkit/SystemColors.h"
#include "toolkit/Timer.h"

#include <chrono>
#include <utility>

using namespace std::chrono_literals;

namespace {

// At the designed field height the whole sequence, from the losing escape to the final score,
// takes about six seconds: the bar 1 s, the words 1.5 s, a beat on "Game Over!", the fade
// 0.8 s and four count-ups of 0.6 s.
constexpr int StepsPerPixel = 500;
using std::chrono::nanoseconds;
constexpr nanoseconds BarStep = nanoseconds{1s} / (113 * StepsPerPixel);
constexpr int Blanks = 100;
constexpr int StepsPerBlank = 2000;
constexpr nanoseconds WordsStep = nanoseconds{1500ms} / (Blanks * StepsPerBlank);
constexpr std::chrono::microseconds GameOverBeat = 500ms;
constexpr int Shades = 100;
constexpr int StepsPerShade = 1000;
constexpr nanoseconds FadeStep = nanoseconds{800ms} / (Shades * StepsPerShade);
constexpr nanoseconds CountStep = nanoseconds{600ms} / (game::CountUpSteps + 1);

void centreIn(QWidget *control, QSize outer, bool vertically) {
    control->move(outer.width() / 2 - control->width() / 2,
                  vertically ? outer.height() / 2 - control->height() / 2 : control->y());
}

} // namespace

// The game has lost, hidden its bad guys and erased its stars; the window shows the rest.
void TMainForm::EndGame() {
    CloseButton->setEnabled(true);
    LaserImage->hide();
    Panel7->setColor(toolkit::buttonFace());
    Timer1->setEnabled(false);
    ScoreUnasked = true;
    DoLoseAnimation();
}

void TMainForm::DoLoseAnimation() {
    New1->setEnabled(false);
    using Step = void (TMainForm::*)();
    for (const Step step : {&TMainForm::AnimateLabel, &TMainForm::AnimateLabel2}) {
        if (WindowClosed)
            return;
        (this->*step)();
    }
    DoSoundEvent(game::SoundEvent::GameOver);
    for (const Step step : {&TMainForm::FadeResults, &TMainForm::DoScoreAddup}) {
        if (WindowClosed)
            return;
        (this->*step)();
    }
}

void TMainForm::AnimateLabel() {
    LoseLabel->resize(MainBox->width(), LoseLabel->height());
    centreIn(LoseLabel, MainBox->size(), false);
    // Blanks in an underlined font: a red bar. Non-breaking, or the line's end would drop them.
    LoseLabel->setText(QString(22, QChar::Nbsp));
    LoseLabel->show();
    LoseLabel->move(LoseLabel->x(), -LoseLabel->height());
    const long target = long(BackPanel->height() / 2) * StepsPerPixel;
    toolkit::FramePacer pacer(BarStep);
    for (long v = LoseLabel->y(); v <= target && !WindowClosed; ++v) {
        LoseLabel->move(LoseLabel->x(), int(v / StepsPerPixel));
        pacer.step();
    }
}

void TMainForm::AnimateLabel2() {
    const QString pad(Blanks, ' ');
    LoseLabel2->move(LoseLabel2->x(), LoseLabel->y());
    LoseLabel2->resize(MainBox->width(), LoseLabel2->height());
    centreIn(LoseLabel2, MainBox->size(), false);
    LoseLabel2->setText("Game" + pad + "Over!");
    LoseLabel2->show();
    QString s = LoseLabel2->text();
    toolkit::FramePacer pacer(WordsStep);
    for (long k = 0; k <= long(Blanks) * StepsPerBlank; ++k) {
        if (k % StepsPerBlank == 0) {
            game::CloseUpSpace(s);
            LoseLabel2->setText(s);
        }
        pacer.step();
        if (WindowClosed)
            return;
    }
    LoseLabel2->hide();
    LoseLabel->setText("Game Over!");
    toolkit::reportState("game over");
}

void TMainForm::FadeResults() {
    for (toolkit::Panel *caption :
         {RS_Hits, RS2_Hits, RS_Acc, RS2_Acc, RS_Dist, RS2_Dist, RS2_FinalScore})
        caption->setCaption(QString());
    centreIn(StartAnother, MainBox->size(), true);
    StartAnotherButton->hide();
    ResultsPanel->hide();
    StartAnother->setBevelOuter(toolkit::Panel::Bevel::None);
    StartAnother->setBevelInner(toolkit::Panel::Bevel::None);
    StartAnother->setColor(Qt::black);
    // A beat with "Game Over!" alone on the field before the results come up.
    toolkit::Pacer(GameOverBeat).step();
    if (WindowClosed)
        return;

    StartAnother->show();
    LoseLabel->hide();
    const int32_t face = game::colors::toColorRef(toolkit::buttonFace());
    toolkit::FramePacer pacer(FadeStep);
    int shown = -1;
    for (long v = long(Shades) * StepsPerShade; v >= 0 && !WindowClosed; --v) {
        const int shade = int(v / StepsPerShade);
        if (shade != shown) {
            StartAnother->setColor(game::colors::fromColorRef(gk::DarkenColor(face, shade)));
            shown = shade;
        }
        pacer.step();
    }
    StartAnother->setBevelOuter(toolkit::Panel::Bevel::Raised);
    StartAnother->setBevelInner(toolkit::Panel::Bevel::Raised);
    StartAnotherButton->show();
    ResultsPanel->hide();
}

void TMainForm::CountUp(toolkit::Panel *Panel, int Value) {
    toolkit::FramePacer pacer(CountStep);
    for (int i = 0; i <= game::CountUpSteps; ++i) {
        Panel->setCaption(QString::number(game::CountUpValue(Value, i)));
        pacer.step();
        if (WindowClosed)
            return;
    }
    Panel->setCaption(QString::number(Value));
}

void TMainForm::DoScoreAddup() {
    StartAnotherButton->setEnabled(false);
    ResultsPanel->show();
    toolkit::processPendingMessages();
    const game::Results &results = game_.results();
    RS_Hits->setCaption(QString::asprintf("Kills : %d", results.kills));
    RS_Acc->setCaption(QStringLiteral("Accuracy : %1%").arg(results.accuracy));
    RS_Dist->setCaption(QString::asprintf("Distance : %d", game::LightYears(results.travelled)));
    // What each earns: the score's three parts.
    const game::ScoreParts &points = results.points;
    const std::pair<toolkit::Panel *, int> counts[] = {
        {RS2_Hits, points.kills}, {RS2_Acc, points.accuracy}, {RS2_Dist, points.distance}};
    for (const auto &[panel, value] : counts) {
        CountUp(panel, value);
        toolkit::processPendingMessages();
        if (WindowClosed)
            return;
    }
    CountUp(RS2_FinalScore, points.total());
    toolkit::processPendingMessages();
    if (!WindowClosed)
        Timer2->setEnabled(true);
    toolkit::reportState("results shown");
}

void TMainForm::Timer2Timer() {
    Timer2->setEnabled(false);
    ScoreUnasked = false;
    const int finalScore = game_.results().points.total();
    TScoreBoard *const board = windows_.scoreBoard;
    const int rank = board ? board->GetHighScorePosition(finalScore) : 0;
    if (rank != 0 && windows_.getName) {
        toolkit::reportState("name asked");
        const QString name = windows_.getName->ShowBox(finalScore, rank);
        board->AddHighScore(finalScore, name);
        if (!WindowClosed)
            board->exec();
    }
    New1->setEnabled(true);
    StartAnotherButton->setEnabled(true);
    IPOnline1->SetEnabled(true);
    toolkit::reportState("ready for another game");
}

void TMainForm::StartAnother2Click() {
    StartAnother->hide();
    NewGame();
    StartGame();
}

#pragma once

#include "components/Services.h"
#include "game/FlyingObject.h"
#include "game/Game.h"
#include "game/GameSounds.h"
#include "game/GameView.h"
#include "ui_MainU.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <cstdint>

class TAboutBox;
class TGetNameDlg;
class TGKAudio;
class THelpForm;
class TOptionsDlg;
class TScoreBoard;
class TGKSoundLib;
class TOnlineIP;
class TSaveForm;
namespace toolkit {
class ImageList;
class Panel;
class Timer;
} // namespace toolkit

// The windows the main window opens, as the program makes them (each still none before then).
struct GameWindows {
    TAboutBox *about = nullptr;
    TOptionsDlg *options = nullptr;
    TScoreBoard *scoreBoard = nullptr;
    TGetNameDlg *getName = nullptr;
    THelpForm *help = nullptr;
};

// The main window: the play field with its star field, the status lines, the energy meter,
// the turret, and the game that runs in it on the tick of Timer1. The game decides; the window
// asks it for a tick or a shot, draws what the game's view verbs say (game/GameView.h) and
// acts on its answer. Its members are grouped by the file that holds their bodies, and each
// group names that file.
class TMainForm : public QMainWindow, private Ui::TMainForm, public game::GameView {
    Q_OBJECT

public:
    // MainU.cpp.
    // It is given the program's services and the other windows, both filled in as the program
    // makes the windows after it.
    explicit TMainForm(const Services &services = Services::none(),
                       const GameWindows &windows = noWindows(), QWidget *parent = nullptr);
    ~TMainForm() override;

    // Components without a window of their own, made by createComponents in MainU.cpp.
    toolkit::Timer *Timer1 = nullptr; // the game's tick
    toolkit::Timer *Timer2 = nullptr; // the pause after a game's results
    toolkit::ImageList *IM_BadGuy0 = nullptr;
    toolkit::ImageList *IM_BadGuy1 = nullptr;
    toolkit::ImageList *IM_BadGuy2 = nullptr;
    toolkit::ImageList *IM_BadGuy3 = nullptr;
    toolkit::ImageList *ExplodeList = nullptr;
    TGKAudio *Audio = nullptr;      // this window's sound device
    TSaveForm *SaveForm1 = nullptr; // the window's placement

    // The game the window shows.
    TGame &game() { return game_; }
    const TGame &game() const { return game_; }
    // The designer's widgets, for a look at what the player sees.
    const Ui::TMainForm &widgets() const { return *this; }

    // What the window owns for the whole program (given to the other windows as services):
    // the sounds' library, the program's folder, with a trailing separator, and the online
    // detector.
    TGKSoundLib *soundLibrary() const { return SoundLib; }
    const QString &programDir() const { return ProgramDir; }
    TOnlineIP *onlineDetector() const { return IPOnline1; }

    // The bad guys' images, kept by BadGuys.cpp: bad guy i of the game is drawn by image i.
    QList<toolkit::Image *> BadGuyImages;

    // MainU.cpp.
    // The preferences, read from the preferences dialog at the moment the game needs them: the
    // star count (the designed 100 while the box holds no count) and the sound switch.
    int StarCount() const;
    bool SoundsOn() const;

    // The window's handlers, the game's loop and its pause: MainU.cpp.
    void FormCreate();
    void FormClose();
    void NewGame();
    void StartGame();
    void Go();
    void UpDateCaptions();
    void Pause();
    void ShowPausePanel();
    void HidePausePanel();
    bool pauseBusy() const { return PauseBusy; }
    void PausePanelMouseDown(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                             int x, int y);
    void Exit1Click();
    void ViewHighScores1Click();
    void SetOptions1Click();
    void Help2Click();
    void Checkforupgrade1Click();
    void UmbrelProwletWebsite1Click(); // the banner's click too
    void InfoaboutMailinglist1Click();
    void About1Click();

    // The window and the desktop around it: Desktop.cpp.
    // The game is in flight: past the star building, not paused, not ending.
    bool Flying() const;
    // The game runs: building its star field or in flight, not paused, not ending.
    bool Running() const;
    // The player has left the window for another program's (and not come back yet).
    bool Away = false;
    // P and the Pause key: pause a running game, or resume a paused one as a click on the
    // pause panel does.
    void PauseKey();
    // F11: full screen and back.
    void ToggleFullScreen();
    // Closes the window as a window manager's close would, without the farewell: what a
    // logout or a signal to end asks for.
    void CloseWithoutFarewell();
    bool FarewellSkipped = false;

    // The arrangement of the window as its size changes: Layout.cpp.
    void FormResize();

    // The game's view: the stars (StarField.cpp), the bad guys' images (BadGuys.cpp), the
    // sounds (GameSounds.cpp).
    void drawStar(const FlyingObject &star) override;
    void eraseStar(const FlyingObject &star) override;
    void addBadGuy(int i) override;
    void showExplosion(int i, int frame, bool blankFirst) override;
    void showFlying(int i, int frame) override;
    void placeBadGuy(int i, const FlyingObject &o) override;
    void hideBadGuy(int i) override;
    void sound(game::SoundEvent event) override;

    // The list of bad guy i's two frames: BadGuys.cpp.
    toolkit::ImageList *BadGuyImageList(int i) const;

    // Aiming and firing: Firing.cpp.
    void MainBoxMouseMove(QObject *sender, Qt::KeyboardModifiers shift, int x, int y);
    void BadGuyMouseMove(QObject *sender, Qt::KeyboardModifiers shift, int x, int y);
    void MainBoxMouseDown(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                          int x, int y);
    void BadGuyMouseDown(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                         int x, int y);
    // A shot at a point of the field: a miss.
    void FireLaser(int x, int y);
    void DrawLaserLine(int x, int y);

    // Sounds: the game raises events, and which sound each plays is decided in one place,
    // GameSounds.cpp.
    void DoSoundEvent(game::SoundEvent event);
    void PlaySound(int index);
    void StopAllSounds();

    // The end of a game and its results (EndOfGame.cpp): the game lost, the window shows it.
    void EndGame();
    void DoLoseAnimation();
    void AnimateLabel();
    void AnimateLabel2();
    void FadeResults();
    void DoScoreAddup();
    void CountUp(toolkit::Panel *Panel, int Value);
    void Timer2Timer();
    void StartAnother2Click();
    // Set once the window has closed; a sequence running then stops where it is.
    bool WindowClosed = false;
    // From the loss until the name dialog would ask: a close then keeps a score that makes
    // the table (UnaskedScore.cpp).
    bool ScoreUnasked = false;
    void keepUnaskedScore();

    // The release of the stars and the bad guys, with their images: StarField.cpp.
    void ReleaseObjects();

signals:
    // Raised for every sound event the game raises while sounds are on.
    void soundEventRaised(quint8 event);

protected:
    // MainU.cpp.
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Desktop.cpp.
    void changeEvent(QEvent *event) override;

private:
    // MainU.cpp.
    void createComponents();
    void loadArtwork();
    void loadSounds();
    void connectHandlers();
    void setMeterColor(const QColor &color);
    void setEnergyLabel(const QString &text, const QColor &color);
    // The status lines in their order: the distance and level, the energy, the shots.
    void showDistance();
    void showEnergy();
    void showLoss();
    void showShots();
    void resumeSteps();
    void pauseIfRunning();

    // Desktop.cpp.
    void connectDesktop();
    void pauseWhenLeft();
    void pauseIfAway();
    void showTurret();

    // StarField.cpp.
    void drawStarShape(const FlyingObject &o, const QColor &color);

    // Firing.cpp: what the window shows of a shot the game took, in its order: the laser's
    // sound and its beam; for a hit the captions and the hit's sound; then the beam held for a
    // moment, with the window's messages flowing, and wiped.
    void showShot(const game::Shot &shot, int x, int y);
    void holdBeam(int x, int y);

    // MainU.cpp.
    void fadePausePanel(bool in);
    // The field the game plays on is the play field's size at the moment.
    TGame &gameOnField();

    static const GameWindows &noWindows() {
        static const GameWindows none;
        return none;
    }

    const Services &services_;
    const GameWindows &windows_;
    TGame game_;
    TGKSoundLib *SoundLib = nullptr; // the game's sounds, which every window plays from
    TOnlineIP *IPOnline1 = nullptr;  // whether the machine is online, watched only while paused
    QString ProgramDir;              // the program's folder, with a trailing separator
    bool PauseBusy = false;          // a pause or resume fade is running
    bool placed_ = false;
};

// The application's main window, set as the program creates it.
extern TMainForm *MainForm;

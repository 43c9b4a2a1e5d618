#include "game/MainU.h"

#include "components/OnlineIP.h"
#include "components/SaveForm.h"
#include "components/Storage.h"
#include "dialogs/About.h"
#include "dialogs/HelpU.h"
#include "dialogs/OptionsU.h"
#include "game/Colors.h"
#include "game/GameRules.h"
#include "gk/Error.h"
#include "gk/GKSnd.h"
#include "gk/Utils.h"
#include "platform/ConfigFolder.h"
#include "scores/ScoreBoardU.h"
#include "toolkit/DesignProperties.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/ImageList.h"
#include "toolkit/Loading.h"
#include "toolkit/Mouse.h"
#include "toolkit/Pacing.h"
#include "toolkit/Placement.h"
#include "toolkit/StateReport.h"
#include "toolkit/SystemColors.h"
#include "toolkit/Timer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>

#include <chrono>
#include <cmath>
#include <utility>

TMainForm *MainForm = nullptr;

using namespace game::colors;

namespace {

// The pause panel fades in 51 shades; about half a second each way.
constexpr std::chrono::microseconds PauseFadeStep{10'000};

} // namespace

TMainForm::TMainForm(const Services &services, const GameWindows &windows, QWidget *parent)
    : QMainWindow(parent), services_(services), windows_(windows),
      game_([this] { return StarCount(); }) {
    setupUi(this);
    toolkit::applyDesign(this);
    createComponents();
    connectHandlers();
    // The designed client area below the menu bar is 612 × 406.
    resize(ClientArea->width(), ClientArea->height() + MainMenu1->sizeHint().height());
    connectDesktop();
    StartButton->setFocus();
    toolkit::guarded([this] { toolkit::notifyLoaded(this); });
    toolkit::guarded([this] { FormCreate(); });
}

TMainForm::~TMainForm() {
    ReleaseObjects();
}

TGame &TMainForm::gameOnField() {
    game_.setField(MainBox->size());
    return game_;
}

void TMainForm::createComponents() {
    Timer1 = new toolkit::Timer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setEnabled(false);
    Timer1->setInterval(1);
    Timer1->onTimer = [this] { Go(); };

    Timer2 = new toolkit::Timer(this);
    Timer2->setObjectName("Timer2");
    Timer2->setEnabled(false);
    Timer2->setInterval(2500);
    Timer2->onTimer = [this] { Timer2Timer(); };

    const auto imageList = [this](const char *name, int width, int height) {
        auto *list = new toolkit::ImageList(width, height, this);
        list->setObjectName(name);
        return list;
    };
    IM_BadGuy0 = imageList("IM_BadGuy0", 50, 50);
    IM_BadGuy1 = imageList("IM_BadGuy1", 50, 50);
    IM_BadGuy2 = imageList("IM_BadGuy2", 50, 50);
    IM_BadGuy3 = imageList("IM_BadGuy3", 50, 50);
    ExplodeList = imageList("ExplodeList", 55, 48);
    loadArtwork();

    SoundLib = new TGKSoundLib(this);
    SoundLib->setObjectName("SoundLib");
    toolkit::guarded([this] { loadSounds(); });
    Audio = new TGKAudio(this);
    Audio->setObjectName("Audio");
    Audio->SetSoundLibrary(SoundLib);

    SaveForm1 = new TSaveForm(this);
    SaveForm1->setObjectName("SaveForm1");
    ApplyGameStorage(SaveForm1->Options());

    IPOnline1 = new TOnlineIP(this);
    IPOnline1->setObjectName("IPOnline1");
    IPOnline1->SetEnabled(false);
    IPOnline1->SetDispatchInterval(1000);
    IPOnline1->SetOnline(false);
    IPOnline1->SetIP(QStringLiteral("127.0.0.1"));
}

void TMainForm::loadArtwork() {
    BannerImage->setPicture(QImage(":/pictures/banner.png"));
    IM_BadGuy0->addStrip(QImage(":/pictures/badguy0.png"));
    IM_BadGuy1->addStrip(QImage(":/pictures/badguy1.png"));
    IM_BadGuy2->addStrip(QImage(":/pictures/badguy2.png"));
    IM_BadGuy3->addStrip(QImage(":/pictures/badguy3.png"));
    ExplodeList->addStrip(QImage(":/pictures/explode.png"));
}

// The game's thirteen sounds travel inside the program, as the window's own library.
void TMainForm::loadSounds() {
    QFile block(":/sounds/gorbulax.sdl");
    if (!block.open(QIODevice::ReadOnly))
        throw gk::Error("The game's sounds are missing from the program");
    SoundLib->Sounds().ReadData(block);
}

void TMainForm::connectHandlers() {
    using toolkit::handler;
    ClientArea->onResize = handler([this] { FormResize(); });
    connect(StartButton, &QPushButton::clicked, this, handler([this] { StartGame(); }));
    connect(CloseButton, &QPushButton::clicked, this, handler([this] { close(); }));
    connect(New1, &QAction::triggered, this, handler([this] { NewGame(); }));
    connect(Exit1, &QAction::triggered, this, handler([this] { Exit1Click(); }));
    connect(SetOptions1, &QAction::triggered, this, handler([this] { SetOptions1Click(); }));
    connect(ViewHighScores1, &QAction::triggered, this,
            handler([this] { ViewHighScores1Click(); }));
    connect(StartAnotherButton, &QPushButton::clicked, this,
            handler([this] { StartAnother2Click(); }));
    connect(Help2, &QAction::triggered, this, handler([this] { Help2Click(); }));

    const auto mouseMove = [this](QObject *sender, Qt::KeyboardModifiers shift, int x, int y) {
        MainBoxMouseMove(sender, shift, x, y);
    };
    toolkit::onMouseMove(MainBox, mouseMove);
    toolkit::onMouseMove(PausePanel, mouseMove);
    toolkit::onMouseMove(StartButton, [this](QObject *sender, Qt::KeyboardModifiers shift, int x,
                                             int y) { BadGuyMouseMove(sender, shift, x, y); });
    toolkit::onMouseDown(MainBox, [this](QObject *sender, Qt::MouseButton button,
                                         Qt::KeyboardModifiers shift, int x,
                                         int y) { MainBoxMouseDown(sender, button, shift, x, y); });
    toolkit::onMouseDown(
        PausePanel, [this](QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                           int x, int y) { PausePanelMouseDown(sender, button, shift, x, y); });
    connect(Checkforupgrade1, &QAction::triggered, this,
            handler([this] { Checkforupgrade1Click(); }));
    connect(UmbrelProwletWebsite1, &QAction::triggered, this,
            handler([this] { UmbrelProwletWebsite1Click(); }));
    connect(InfoaboutMailinglist1, &QAction::triggered, this,
            handler([this] { InfoaboutMailinglist1Click(); }));
    connect(About1, &QAction::triggered, this, handler([this] { About1Click(); }));
    toolkit::onClick(BannerImage, [this](QObject *) { UmbrelProwletWebsite1Click(); });
}

int TMainForm::StarCount() const {
    return services_.starCount ? services_.starCount() : TOptionsDlg::DesignedStars;
}

bool TMainForm::SoundsOn() const {
    return services_.soundsOn();
}

void TMainForm::FormCreate() {
    PauseBusy = false;
    ProgramDir = platform::ProgramFolder();
    BackPanel->setColor(Black);
    const QPoint designedPlace = pos();
    SaveForm1->Restore();
    // A window that came back to its last place is not centred when it is first shown.
    placed_ = pos() != designedPlace ||
              (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));

    // The turret's picture starts as plain button face.
    LaserImage->clearPicture();
    toolkit::Canvas &turret = LaserImage->canvas();
    turret.setBrushColor(toolkit::buttonFace());
    turret.floodFill(1, 1, White, toolkit::FillStyle::Surface);

    BadGuyImages.reserve(6);
    game_.stop();
    game_.abandon();
}

void TMainForm::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    toolkit::centreOnScreen(this);
}

void TMainForm::closeEvent(QCloseEvent *event) {
    // Whatever fails while closing is reported, and the window closes all the same.
    toolkit::guarded([this] { FormClose(); });
    event->accept();
}

void TMainForm::FormClose() {
    const bool closedBefore = std::exchange(WindowClosed, true);
    Timer1->setEnabled(false);
    // First: a settings file that cannot be written must not cost a score.
    keepUnaskedScore();
    SaveForm1->Save();
    ReleaseObjects();
    // The farewell, once; the updater, once started, has the screen to itself.
    TAboutBox *const about = windows_.about;
    if (about && !about->UpdaterStarted && !closedBefore && !FarewellSkipped)
        about->ShowOnExit();
}

void TMainForm::Exit1Click() {
    close();
}

// Every menu item that opens a window first pauses a running game; it stays paused after.
void TMainForm::pauseIfRunning() {
    if (!game_.stopped())
        Pause();
}

void TMainForm::ViewHighScores1Click() {
    pauseIfRunning();
    if (windows_.scoreBoard)
        windows_.scoreBoard->exec();
}

void TMainForm::SetOptions1Click() {
    pauseIfRunning();
    if (windows_.options)
        windows_.options->exec();
}

void TMainForm::Help2Click() {
    pauseIfRunning();
    if (windows_.help)
        windows_.help->exec();
}

void TMainForm::Checkforupgrade1Click() {
    pauseIfRunning();
    if (windows_.about)
        windows_.about->CheckUpgrade(Checkforupgrade1);
}

void TMainForm::UmbrelProwletWebsite1Click() {
    pauseIfRunning();
    if (windows_.about)
        windows_.about->StaticText4Click();
}

void TMainForm::InfoaboutMailinglist1Click() {
    pauseIfRunning();
    if (windows_.about)
        windows_.about->StaticText5Click();
}

void TMainForm::About1Click() {
    pauseIfRunning();
    if (windows_.about)
        windows_.about->ShowAbout();
}

void TMainForm::StartGame() {
    StartButton->hide();
    CloseButton->setEnabled(false);
    // The aim at the field's centre, the game in progress and running, the random numbers
    // seeded, the spare star rolled, the star making ahead, the starting energy.
    gameOnField().start();
    IPOnline1->SetEnabled(false);
    Timer1->setEnabled(true);
    showTurret();
    pauseIfAway();
}

// One tick of Timer1: the game runs it, and the window shows what followed.
void TMainForm::Go() {
    switch (gameOnField().tick(*this)) {
    case game::Tick::FlightBegins:
        return;
    case game::Tick::StarAdded:
    case game::Tick::Flown:
        UpDateCaptions();
        return;
    case game::Tick::Lost:
        // The game is over, and the whole end of it runs before the shots' line is drawn.
        showDistance();
        showLoss();
        EndGame();
        showShots();
        return;
    }
}

void TMainForm::setMeterColor(const QColor &color) {
    Gauge1->setBarColor(color);
    toolkit::setTextColor(EnergLabel, color);
}

void TMainForm::setEnergyLabel(const QString &text, const QColor &color) {
    EnergLabel->setText(text);
    setMeterColor(color);
}

// The status lines and the energy meter, as the game's last update left them.
void TMainForm::UpDateCaptions() {
    showDistance();
    showEnergy();
    showShots();
}

void TMainForm::showDistance() {
    DistLabel->setText(QString::asprintf("Distance travelled  : %d Light Years     Level : %d",
                                         game::LightYears(game_.counters().travelled),
                                         game_.level()));
}

void TMainForm::showEnergy() {
    const int energy = game_.counters().energy;
    ScoreLab->setText(QString::number(energy));
    Gauge1->setProgress(game::GaugeProgressOf(energy));
    switch (game_.meter()) {
    case game::MeterChange::Flash: {
        // While critical, every update flips the meter between red and maroon.
        const QColor bar = Gauge1->barColor();
        setEnergyLabel("Critical", bar == Maroon || bar == Green ? Red : Maroon);
        break;
    }
    case game::MeterChange::Low:
        setEnergyLabel("Low", Maroon);
        break;
    case game::MeterChange::OK:
        setEnergyLabel("OK", Green);
        break;
    case game::MeterChange::Keep:
        break;
    }
}

void TMainForm::showLoss() {
    ScoreLab->clear();
    EnergLabel->clear();
    Gauge1->setProgress(0);
}

void TMainForm::showShots() {
    const TGame::Counters &counters = game_.counters();
    StatsLabel->setText(QString::asprintf("Shots Fired : %d    Hits : %d    Accuracy : %d%s",
                                          counters.shotsFired, counters.hits, game_.accuracy(),
                                          "%"));
}

void TMainForm::Pause() {
    PauseBusy = true;
    if (!game_.stopped()) {
        Timer1->setEnabled(false);
        IPOnline1->SetEnabled(true);
        CloseButton->setEnabled(true);
        PausePanel->show();
        ShowPausePanel();
        game_.stop();
        toolkit::reportState("paused");
    } else {
        resumeSteps();
    }
    PauseBusy = false;
}

// The resume half of Pause, which NewGame also runs from any stopped state.
void TMainForm::resumeSteps() {
    IPOnline1->SetEnabled(false);
    CloseButton->setEnabled(false);
    HidePausePanel();
    PausePanel->hide();
    Timer1->setEnabled(true);
    game_.run();
}

void TMainForm::ShowPausePanel() {
    StopAllSounds();
    fadePausePanel(true);
    PausePanel->setCaption("Paused! Click to resume game");
}

void TMainForm::HidePausePanel() {
    fadePausePanel(false);
}

// The panel brightens from black to button face in 51 shades as the pause comes in, and
// darkens back as it goes.
void TMainForm::fadePausePanel(bool in) {
    PausePanel->setCaption(QString());
    const int32_t face = toColorRef(toolkit::buttonFace());
    toolkit::Pacer pacer(PauseFadeStep);
    for (int step = 0; step <= 50; ++step) {
        const int n = in ? 50 - step : step;
        PausePanel->setColor(fromColorRef(gk::DarkenColor(face, 2 * n)));
        pacer.step();
    }
}

void TMainForm::PausePanelMouseDown(QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    if (!PauseBusy)
        Pause();
}

void TMainForm::NewGame() {
    if (game_.stopped()) {
        PauseBusy = true;
        resumeSteps();
        PauseBusy = false;
    }
    game_.stop();
    Timer1->setEnabled(false);
    ResultsPanel->hide();
    // The results box of a finished game would cover the start button.
    StartAnother->hide();
    CloseButton->setEnabled(true);
    LoseLabel->clear();
    LoseLabel2->clear();
    DoSoundEvent(game::SoundEvent::Welcome);

    toolkit::Canvas &field = MainBox->canvas();
    field.setBrushColor(Black);
    field.floodFill(1, 1, Blue, toolkit::FillStyle::Border);

    StartButton->show();
    LoseLabel->hide();
    LaserImage->show();
    Panel7->setColor(Black);
    game_.clearCounters();
    UpDateCaptions();
    DistLabel->clear();
    StatsLabel->clear();
    EnergLabel->clear();
    ScoreLab->clear();
    ReleaseObjects();
    game_.abandon();
}

#include "dialogs/About.h"

#include "components/Maker.h"
#include "components/Storage.h"
#include "dialogs/browsedlg.h"
#include "gk/GKSnd.h"
#include "platform/Files.h"
#include "platform/Shell.h"
#include "toolkit/DesignProperties.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Loading.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Mouse.h"
#include "toolkit/Placement.h"
#include "toolkit/Timer.h"

#include <QCoreApplication>
#include <QShowEvent>

TAboutBox *AboutBox = nullptr;

namespace {

// The updater's path is kept in capitals, as its platform of origin kept paths; only a to z
// change, so a name in another alphabet is stored as it is.
QString AsciiUpper(QString text) {
    for (QChar &c : text)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    return text;
}

} // namespace

TAboutBox::TAboutBox(const Services &services, QWidget *parent)
    : QDialog(parent), services_(services) {
    setupUi(this);
    // A dialog's border and title, without the title bar's buttons: Close is the way out.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    toolkit::applyDesign(this);
    setFixedSize(size());
    createComponents();
    connectHandlers();
    toolkit::guarded([this] { toolkit::notifyLoaded(this); });
    toolkit::guarded([this] { FormCreate(); });
}

void TAboutBox::createComponents() {
    ProgramIcon->setPicture(QImage(":/pictures/starburst.png"));
    StaticText3->setText(maker::EMail());
    StaticText4->setText(maker::HomePage());
    // Static texts and labels take the size of their text.
    for (QLabel *text : {ProductName, VersionLabel, StaticText2, StaticText5, Comments, StaticText3,
                         StaticText1, StaticText4})
        text->adjustSize();

    Timer1 = new toolkit::Timer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setEnabled(false);
    Timer1->setInterval(100);
    Timer1->onTimer = [this] { Timer1Timer(); };

    Timer2 = new toolkit::Timer(this);
    Timer2->setObjectName("Timer2");
    Timer2->setEnabled(false);
    Timer2->setInterval(2000);
    Timer2->onTimer = [this] { Timer2Timer(); };

    GoToWeb = new TGoToWeb(this);
    GoToWeb->setObjectName("GoToWeb");
    GoToWeb->Url = maker::HomePage();
    GoToWeb->EMail = maker::EMail();
    GoToWeb->EMailSubject = QStringLiteral("Gorbulax");
    GoToWeb->BrowserState = TGoToWeb::gwMaximized;

    AboutAudio = new TGKAudio(this);
    AboutAudio->setObjectName("AboutAudio");
    AboutAudio->SetSoundLibrary(services_.soundLibrary);

    // The updater's own key, where the maker's other programs find it too.
    ApplyStorage(SaveEdit1->Options(), QStringLiteral("\\Software\\Brakmoor\\Patchwell"),
                 QStringLiteral("Program Path"));
}

void TAboutBox::connectHandlers() {
    using toolkit::handler;
    connect(OKButton, &QPushButton::clicked, this, handler([this] { OKButtonClick(); }));
    connect(BitBtn1, &QPushButton::clicked, this, handler([this] { CheckUpgrade(BitBtn1); }));
    toolkit::onClick(StaticText3, [this](QObject *) { StaticText3Click(); });
    toolkit::onClick(StaticText4, [this](QObject *) { StaticText4Click(); });
    toolkit::onClick(StaticText5, [this](QObject *) { StaticText5Click(); });
    // Enter and Esc are Close, while it may be used.
    toolkit::useDialogKeys(this, OKButton, OKButton);
    // A box closed before its sound came plays nothing afterwards.
    connect(this, &QDialog::finished, this, [this] {
        Timer1->setEnabled(false);
        Timer2->setEnabled(false);
    });
}

void TAboutBox::FormCreate() {
    UpdaterStarted = false;
    SaveEdit1->Restore();
}

void TAboutBox::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    toolkit::centreOnScreen(this);
    // Until Close may be used, Enter reaches no other button (the upgrade check).
    if (!OKButton->isEnabled())
        setFocus();
}

void TAboutBox::ShowAbout() {
    ExitMode = false;
    OKButton->setEnabled(true);
    OKButton->setFocus();
    Timer1->setEnabled(true);
    exec();
}

void TAboutBox::ShowOnExit() {
    ExitMode = true;
    OKButton->setEnabled(false);
    Timer1->setEnabled(true);
    exec();
}

void TAboutBox::Timer1Timer() {
    Timer1->setEnabled(false);
    if (ExitMode) {
        playSound(game::sound::Allfolk);
        Timer2->setEnabled(true);
    } else {
        playSound(game::sound::RobotzA);
        OKButton->setEnabled(true);
    }
}

void TAboutBox::Timer2Timer() {
    Timer2->setEnabled(false);
    OKButton->setEnabled(true);
    OKButton->setFocus();
}

void TAboutBox::OKButtonClick() {
    accept();
    if (ExitMode)
        QCoreApplication::quit();
}

void TAboutBox::playSound(int index) {
    if (services_.soundsOn())
        AboutAudio->Sound(index).Play();
}

void TAboutBox::goTo(const QString &address) {
    GoToWeb->Url = address;
    if (!GoToWeb->GoToUrl())
        toolkit::ShowErrorMessage(maker::NoConnectionMessage());
}

void TAboutBox::StaticText3Click() {
    playSound(game::sound::Signatur);
    GoToWeb->EMail = maker::EMail();
    if (!GoToWeb->SendEMail())
        toolkit::ShowErrorMessage(QStringLiteral("Sorry I can't send email for some reason."));
}

void TAboutBox::StaticText4Click() {
    // Offline, the browser is not even tried.
    if (services_.online())
        goTo(maker::HomePage());
    else
        toolkit::ShowErrorMessage(maker::NoConnectionMessage());
}

void TAboutBox::StaticText5Click() {
    goTo(maker::MailingListPage());
}

void TAboutBox::CheckUpgrade(QObject *) {
    using toolkit::Answer;
    if (!services_.online() &&
        toolkit::AskGameQuestion(QStringLiteral("To check for upgrades you need to be online.\n"
                                                "Gorbulax detects you are offline.\n\n"
                                                "Are you actually online anyway?"),
                                 Answer::No) == Answer::No)
        return;
    const QString stored = SaveEdit1->text();
    if (!stored.isEmpty() && platform::Files::FileExists(stored)) {
        RunUpdater();
        return;
    }
    const Answer installed = toolkit::AskGameQuestion(
        QStringLiteral("To check for upgrades and download them from the Internet\n"
                       "you have to have the Umbrel Prowlet Updater plug-in installed.\n\n"
                       "Gorbulax cannot find the updater.\n\n"
                       "Have you installed the updater on your system?"),
        Answer::Yes);
    if (installed == Answer::Yes && FindUpdater())
        RunUpdater();
    else
        AskToDownload();
}

bool TAboutBox::FindUpdater() {
    // Found means confirmed this time: a dialog closed by its title bar keeps what an earlier
    // showing found, which may be gone by now.
    if (!browseDialog_)
        return false;
    browseDialog_->UpdaterFound = false;
    browseDialog_->exec();
    const bool found = browseDialog_->UpdaterFound;
    // Kept also after a cancel: then it is the folder last looked at, which the next check
    // does not take for the updater.
    SaveEdit1->setText(AsciiUpper(browseDialog_->UpdaterPath));
    SaveEdit1->Save();
    return found;
}

void TAboutBox::AskToDownload() {
    if (toolkit::AskGameQuestion(QStringLiteral("Do you wish to download the Updater plug-in now?"),
                                 toolkit::Answer::Yes) == toolkit::Answer::Yes)
        goTo(maker::UpdaterPage());
}

void TAboutBox::RunUpdater() {
    // The folder goes last and unquoted: the updater takes the rest of its command line as it.
    const QString parameters = QStringLiteral("Gorbulax version.dll ") + services_.programFolder();
    // Whether it started is not asked: the program closes for the updater either way.
    LaunchProgram(SaveEdit1->text(), parameters, QString(), platform::Shell::SW_SHOW);
    UpdaterStarted = true;
    services_.closeProgram();
}

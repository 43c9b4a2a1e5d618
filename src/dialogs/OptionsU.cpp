#include "dialogs/OptionsU.h"

#include "components/Storage.h"
#include "gk/GKSnd.h"
#include "gk/Utils.h"
#include "toolkit/DesignProperties.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Loading.h"
#include "toolkit/Mouse.h"

TOptionsDlg *OptionsDlg = nullptr;

namespace {

// A count the game can take: digits only, and small enough for a 32-bit integer.
bool IsStarCount(const QString &text) {
    if (!gk::IsAllDigits(text))
        return false;
    bool fits = false;
    text.toInt(&fits);
    return fits;
}
} // namespace

TOptionsDlg::TOptionsDlg(const Services &services, QWidget *parent)
    : QDialog(parent), services_(services) {
    setupUi(this);
    toolkit::applyDesign(this);
    setFixedSize(size());
    createComponents();
    // Esc is the Cancel button; the title bar's close button neither saves nor restores.
    toolkit::useDialogKeys(this, BitBtn1, BitBtn2);

    using toolkit::handler;
    connect(BitBtn1, &QPushButton::clicked, this, handler([this] { BitBtn1Click(); }));
    connect(BitBtn2, &QPushButton::clicked, this, handler([this] { BitBtn2Click(); }));
    // The box's click handler runs on every change of its state, the user's or a restore's.
    connect(SoundCheck, &QCheckBox::toggled, this, handler([this] { SoundCheckClick(); }));
    toolkit::onClick(Image1, [this](QObject *) { Image1Click(); });

    toolkit::guarded([this] { toolkit::notifyLoaded(this); });
    toolkit::guarded([this] { FormCreate(); });
}

void TOptionsDlg::createComponents() {
    Image1->setPicture(QImage(":/pictures/speaker.png"));
    Image2->setPicture(QImage(":/pictures/starburst.png"));
    OptionsAudio = new TGKAudio(this);
    OptionsAudio->setObjectName("OptionsAudio");
    OptionsAudio->SetSoundLibrary(services_.soundLibrary);
    showDesignedStars();
    ApplyGameStorage(StarEdit->Options());
    ApplyGameStorage(SoundCheck->Options());
}

void TOptionsDlg::FormCreate() {
    restorePreferences();
}

void TOptionsDlg::restorePreferences() {
    SoundCheck->Restore();
    StarEdit->Restore();
    // Where nothing is stored yet, a rejected entry may have left the box empty.
    if (!IsStarCount(StarEdit->text()))
        showDesignedStars();
}

void TOptionsDlg::showDesignedStars() {
    StarEdit->setText(QString::number(DesignedStars));
}

void TOptionsDlg::BitBtn1Click() {
    if (!IsStarCount(StarEdit->text())) {
        StarEdit->clear();
        StarEdit->setFocus();
        return;
    }
    SoundCheck->Save();
    StarEdit->Save();
    accept();
}

void TOptionsDlg::BitBtn2Click() {
    restorePreferences();
    reject();
}

void TOptionsDlg::Image1Click() {
    if (SoundCheck->isChecked())
        OptionsAudio->Sound(game::sound::Woohoo).Replay();
}

void TOptionsDlg::SoundCheckClick() {
    if (SoundCheck->isChecked())
        Image1Click();
}

int TOptionsDlg::StarCount() const {
    const QString text = StarEdit->text();
    return IsStarCount(text) ? text.toInt() : DesignedStars;
}

#include "scores/getNameU.h"

#include "components/Storage.h"
#include "gk/GKSnd.h"
#include "platform/Locale.h"
#include "scores/ScoreFile.h"
#include "toolkit/DesignProperties.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Loading.h"

#include <QDate>

TGetNameDlg *GetNameDlg = nullptr;

TGetNameDlg::TGetNameDlg(const Services &services, QWidget *parent)
    : QDialog(parent), services_(services) {
    setupUi(this);
    toolkit::applyDesign(this);
    setFixedSize(size());
    createComponents();
    connect(BitBtn1, &QPushButton::clicked, this, toolkit::handler([this] { BitBtn1Click(); }));
    // No cancel button: the box asks for a name, and Esc does not pass it by.
    toolkit::useDialogKeys(this, BitBtn1, nullptr);
    toolkit::guarded([this] { toolkit::notifyLoaded(this); });
    toolkit::guarded([this] { FormCreate(); });
}

void TGetNameDlg::createComponents() {
    GetNameAudio = new TGKAudio(this);
    GetNameAudio->setObjectName("GetNameAudio");
    GetNameAudio->SetSoundLibrary(services_.soundLibrary);
    ApplyStorage(PlayerName->Options(), QStringLiteral("\\VazorazudGorbulax"),
                 QStringLiteral("Settings"));
}

void TGetNameDlg::FormCreate() {
    PlayerName->Restore();
}

QString TGetNameDlg::ShowBox(int32_t Score, int Position) {
    // Static texts take the size of their text.
    LAB_HighPos->setText(QString::asprintf("New High Score position : %d", Position));
    LAB_Score->setText(QString::asprintf("Score : %d", Score));
    LAB_Date->setText(QStringLiteral("Date : %1").arg(platform::ShortDate(QDate::currentDate())));
    for (QLabel *label : {LAB_HighPos, LAB_Score, LAB_Date})
        label->adjustSize();
    if (services_.soundsOn())
        toolkit::guarded([this] { GetNameAudio->Sound(game::sound::Woohoo).Play(); });
    exec();
    return scores::CutToField(PlayerName->text());
}

void TGetNameDlg::BitBtn1Click() {
    // A name that cannot be stored is still entered in the table.
    toolkit::guarded([this] { PlayerName->Save(); });
    accept();
}

#include "dialogs/HelpU.h"

#include "dialogs/HelpTexts.h"
#include "gk/GKSnd.h"
#include "toolkit/DesignProperties.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Loading.h"
#include "toolkit/Mouse.h"

#include <QListWidgetItem>
#include <QPlainTextEdit>

THelpForm *HelpForm = nullptr;

namespace {
constexpr int ItemHeight = 13; // of a line in the topic list
constexpr int ProgramInfoLine = 3;
} // namespace

THelpForm::THelpForm(const Services &services, QWidget *parent)
    : QDialog(parent), services_(services) {
    setupUi(this);
    toolkit::applyDesign(this);
    createComponents();
    // One button, which both Enter and Esc press: the help is only ever closed.
    toolkit::useDialogKeys(this, BitBtn1, BitBtn1);

    using toolkit::handler;
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    // The selection moves by mouse and by the arrow keys alike.
    connect(ListBox1, &QListWidget::currentRowChanged, this, handler([this] { ListBox1Click(); }));
    toolkit::onClick(Image1, [this](QObject *) { Image1Click(); });
    toolkit::onClick(Image2, [this](QObject *) { Image1Click(); });

    toolkit::guarded([this] { toolkit::notifyLoaded(this); });
    toolkit::guarded([this] { FormCreate(); });
}

void THelpForm::createComponents() {
    Image1->setPicture(QImage(":/pictures/helppair.png"));
    Image2->setPicture(QImage(":/pictures/helpray.png"));
    for (int line = 0; line < ListBox1->count(); ++line) {
        QListWidgetItem *item = ListBox1->item(line);
        item->setSizeHint(
            QSize(ListBox1->fontMetrics().horizontalAdvance(item->text()), ItemHeight));
    }
    TXT_ProgInfo->setPlainText(help::ProgramInfo());
    TXT_Story->setPlainText(help::Story());
    TXT_GamePlay->setPlainText(help::GamePlay());
    TXT_Options->setPlainText(help::Options());
    TXT_DiscLegal->setPlainText(help::DisclaimerAndLegalities());

    HelpAudio = new TGKAudio(this);
    HelpAudio->setObjectName("HelpAudio");
    HelpAudio->SetSoundLibrary(services_.soundLibrary);
}

void THelpForm::FormCreate() {
    currentMemo_ = TXT_ProgInfo;
    currentMemo_->show();
    currentMemo_->raise();
    // The list marks the topic shown, so the arrow keys go on from there.
    ListBox1->setCurrentRow(ProgramInfoLine);
    // The help window is the last window the program makes: this is the sound it starts with.
    services_.raise(game::SoundEvent::Welcome);
}

QPlainTextEdit *THelpForm::TopicMemo(int line) const {
    switch (line) {
    case 3:
        return TXT_ProgInfo;
    case 4:
        return TXT_Story;
    case 5:
        return TXT_GamePlay;
    case 6:
        return TXT_Options;
    case 7: // "Disclaimer" and "Legalities" share a text
    case 8:
        return TXT_DiscLegal;
    default: // "Help Topics", its underline, the empty line, or no line at all
        return nullptr;
    }
}

void THelpForm::ListBox1Click() {
    if (QPlainTextEdit *memo = TopicMemo(ListBox1->currentRow()))
        SwitchTo(memo);
}

void THelpForm::SwitchTo(QPlainTextEdit *memo) {
    if (memo == currentMemo_)
        return;
    if (services_.soundsOn())
        HelpAudio->Sound(game::sound::Backward).Play();
    currentMemo_->hide();
    currentMemo_ = memo;
    currentMemo_->show();
    currentMemo_->raise();
}

void THelpForm::Image1Click() {
    if (services_.soundsOn())
        HelpAudio->Sound(game::sound::Screech).Replay();
}

void THelpForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    ListBox1->setFocus();
}

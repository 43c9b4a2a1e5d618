#pragma once

#include "components/Services.h"
#include "ui_HelpU.h"

#include <QDialog>

class QPlainTextEdit;
class TGKAudio;

// The program's help: a list of topics on the left and the text of the chosen one on the
// right, one read-only memo per topic. The window keeps the topic it shows, and the list's
// selection, from one opening to the next.
class THelpForm : public QDialog, public Ui::THelpForm {
    Q_OBJECT

public:
    explicit THelpForm(const Services &services = Services::none(), QWidget *parent = nullptr);

    TGKAudio *HelpAudio = nullptr; // plays from the main window's sounds

    void FormCreate();
    void ListBox1Click();
    void Image1Click(); // both pictures
    // Shows `memo` in place of the one shown now, with a short sound; the memo already shown
    // changes nothing and plays nothing.
    void SwitchTo(QPlainTextEdit *memo);

    // The memo shown now.
    QPlainTextEdit *CurrentMemo() const { return currentMemo_; }
    // The memo that line `line` of the topic list leads to; none for the header lines.
    QPlainTextEdit *TopicMemo(int line) const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createComponents();

    const Services &services_;
    QPlainTextEdit *currentMemo_ = nullptr;
};

// The application's help window, set as the program creates it.
extern THelpForm *HelpForm;

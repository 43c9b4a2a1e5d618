#pragma once

#include "components/Services.h"
#include "ui_OptionsU.h"

#include <QDialog>

class TGKAudio;

// The preferences: whether the game plays sounds, and how many stars its field has. The
// dialog keeps no copy of either: the game reads the two controls when it needs them.
class TOptionsDlg : public QDialog, public Ui::TOptionsDlg {
    Q_OBJECT

public:
    explicit TOptionsDlg(const Services &services = Services::none(), QWidget *parent = nullptr);

    // The number of stars as designed: what the box shows before anything is stored.
    static constexpr int DesignedStars = 100;

    TGKAudio *OptionsAudio = nullptr; // plays the sample from the main window's sounds

    void FormCreate();
    void BitBtn1Click(); // OK
    void BitBtn2Click(); // Cancel
    void Image1Click();
    void SoundCheckClick();

    // The star count as the game takes it: the box's number, or the designed count when the box
    // holds no number a count can be (which OK and Cancel never leave behind).
    int StarCount() const;

private:
    void createComponents();
    // Both preferences as stored, and the designed count where the box holds no count.
    void restorePreferences();
    void showDesignedStars();

    const Services &services_;
};

// The application's preferences dialog, set as the program creates it.
extern TOptionsDlg *OptionsDlg;

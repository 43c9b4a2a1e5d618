#pragma once

#include "components/Services.h"
#include "ui_getNameU.h"

#include <QDialog>
#include <QString>

#include <cstdint>

class TGKAudio;

// Congratulates a player whose score makes the high score table and asks for a name. The
// name box remembers the name last confirmed with OK, from one run to the next.
class TGetNameDlg : public QDialog, public Ui::TGetNameDlg {
    Q_OBJECT

public:
    explicit TGetNameDlg(const Services &services = Services::none(), QWidget *parent = nullptr);

    TGKAudio *GetNameAudio = nullptr; // plays from the main window's sounds

    // Shows the dialog modally for a score at a table position, and returns the name the box
    // holds when it closes, however it was closed, cut to 255 characters.
    QString ShowBox(int32_t Score, int Position);
    void BitBtn1Click(); // OK: the name is kept for the next run
    void FormCreate();

private:
    void createComponents();

    const Services &services_;
};

// The application's new high score dialog, set as the program creates it.
extern TGetNameDlg *GetNameDlg;

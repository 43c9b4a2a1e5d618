#pragma once

#include <QDialog>
#include <QPushButton>

namespace toolkit {

// The keys of every dialog of the program. Enter presses the button that has the keyboard
// focus, and the default button when the focus is on anything else (an edit box, a check
// box, a list); Esc presses the cancel button wherever the focus is, unless the focused widget
// uses Esc itself (to close a list it has open). A dialog without a cancel button, one that may
// not be left yet, ignores Esc; one whose cancel button is disabled, too.
//
// Call it once the dialog's buttons exist: every push button of the dialog takes Enter while
// it has the focus (and shows itself as the default meanwhile), `defaultButton` (null for
// none) takes it otherwise. Each press is the button's own click, so it runs the button's
// handler exactly as a mouse click does. The title bar's close button is left to the dialog.
void useDialogKeys(QDialog *dialog, QPushButton *defaultButton, QPushButton *cancelButton);

} // namespace toolkit

#pragma once

// The application's windows, created in their order and kept in their globals for the
// whole run: the main window first, then each window that joins it. A window may close the
// main window while it is created (the high score window does when there is no score
// table); then the rest are not created and CreateForms returns false: the program ends.
bool CreateForms();
void DestroyForms();

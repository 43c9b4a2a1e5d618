#pragma once

// The application's windows, created in their order and kept in their globals for the
// whole run: the main window first, then each window that joins it.
void CreateForms();
void DestroyForms();

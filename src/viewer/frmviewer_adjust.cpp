// Opening the adjustment dialogs from the main window.

#include "viewer/frmviewer.h"

void frmviewer::Command8_Click() {}
void frmviewer::Command14_Click() {}
void frmviewer::Command16_Click() {}

// Private to the Qt backend and its tests: the window that shows a live dialog.
#pragma once

class CDialog;
class QDialog;
class QWidget;

// The top-level widget of a dialog shown by RunQtDialogModal or
// ShowQtDialogModeless; nullptr when it has none. Its controls' widgets are its
// children, each named after its control id ("1001").
QDialog* QtDialogWindow(const CDialog& dialog);

// The window a new dialog or message box belongs to: the running modal dialog, else
// the active window, else the main frame when it is shown; nullptr when none.
QWidget* QtDialogParent();

// Private to the Qt backend and its tests: the window that shows a live dialog.
#pragma once

class CDialog;
class QDialog;

// The top-level widget of a dialog shown by RunQtDialogModal or
// ShowQtDialogModeless; nullptr when it has none. Its controls' widgets are its
// children, each named after its control id ("1001").
QDialog* QtDialogWindow(const CDialog& dialog);

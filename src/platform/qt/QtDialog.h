// Dialogs on Qt widgets: the widgets are built from a CDialog's control states,
// laid out automatically by group boxes (label and field pairs, buttons in a row),
// and kept in step with the states both ways.
#pragma once

#include <cstdint>

class CDialog;

struct DialogLook {
    uint32_t background = 0x00C0C0C0; // 0x00BBGGRR
    uint32_t text = 0;
};

// Runs an initialised dialog modally; returns its end code.
int RunQtDialogModal(CDialog& dialog, const DialogLook& look);
// Shows an initialised dialog modeless; false when the widgets could not be made.
bool ShowQtDialogModeless(CDialog& dialog, const DialogLook& look);
// Brings the widgets in line with the control states (after changes made outside handlers).
void SyncQtDialog(CDialog& dialog);
// Closes and deletes the widgets of a modeless dialog.
void DestroyQtDialog(CDialog& dialog);

#pragma once
// The system's colour and font dialogs, as the settings window uses them.
#include <cstdint>

namespace FMain {

// The colour dialog, owned by the prompt window, with no colour preselected and 16 black custom
// colours every time. The chosen colour as 0x00BBGGRR, or -1 when cancelled or failed.
int32_t PickColor();

// The font dialog, without an owner, seeded from the prompt window's font; sizes 8 to 72 points
// and existing faces only. On OK the face goes into the settings window's font-name list and the
// chosen point size into its size list; everything else chosen in the dialog is dropped.
void PickFont();

} // namespace FMain

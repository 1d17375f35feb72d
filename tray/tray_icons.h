// The five tray icons (Moon, tide, month, day, weekday) and every call to the shell's tray
// interface.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "presentation/tooltips.h"
#include "presentation/tray_logic.h"

// Callback message of all five icons, laid out as the icon's protocol says (DecodeTrayCallback).
constexpr UINT WM_APP_TRAY = 32769;

// The record sizes that tell the shell which protocol an icon speaks: the short first layout (plain
// mouse messages, a tooltip of 64 UTF-16 units) and the layout that ends before the item GUID, the
// smallest that carries every field the program sets for the new protocol (a tooltip of 128 units,
// state and state mask, the version). On 32-bit Windows they are 152 and 936 bytes; on 64-bit
// Windows 168 and 952, since the handles are pointer-sized. No GUID is set: icons are known by
// window and id.
constexpr DWORD kOldTrayRecordSize = NOTIFYICONDATAW_V1_SIZE;
constexpr DWORD kNewTrayRecordSize = NOTIFYICONDATAW_V2_SIZE;

// The tooltip room of the two layouts in UTF-16 units, the terminating zero included.
constexpr size_t kOldTrayTipUnits = 64;
constexpr size_t kNewTrayTipUnits = 128;

// One tray icon.
struct TrayIconSlot {
    const char* settingsKey;  // key in section "Settings" of the settings file
    int32_t enabled;          // 1 while the icon is switched on
    HBITMAP maskBitmap;       // mask of the current picture; owned by the slot
    HBITMAP colorBitmap;      // colour bitmap of the current picture; released once the icon exists
    NOTIFYICONDATAW notify;   // cbSize and uVersion say which protocol the shell was told
    char tip[kTooltipSize];   // the tooltip as composed, Shift_JIS; notify.szTip shows it
};

// Gives `slot` the Shift_JIS tooltip `text`: kept as it is in slot.tip and converted into the tray
// record, cut at a whole character to the room of the record's layout (64 or 128 UTF-16 units,
// the zero included).
void SetSlotTooltip(TrayIconSlot& slot, const char* text);

// The program's five slots, indexed by TrayIconIndex. Keys and default switches are set at start:
// Moon, day and weekday on.
TrayIconSlot* TraySlots();

// Set at start-up (before the settings are read) on Windows versions whose tray lists new icons on
// the left: every walk over the slots then runs 4, 3, 2, 1, 0 so that the icons appear as 0..4.
extern int32_t reverseTrayOrder;

// Fills the tray record of every slot for `window`: short record size, slot index as id, message,
// icon and tip flags, callback WM_APP_TRAY, empty tooltip. Keys, switches and pictures are kept.
void PrepareSlots(HWND window);

// Number of slots switched on (0..5).
int CountEnabledIcons();

// Slot index at position 0..4 of the display order.
int SlotAtDisplayPosition(int position);

// Adds every enabled icon in display order in one burst at raised priority, then asks the shell
// for protocol version 4, or else 3, icon by icon; an icon for which both fail stays in the first
// protocol with the short record.
void AddAllIcons();

// The protocol version each slot speaks (TrayIconCount of them into `versions`): 0 for a slot
// with the short record.
void TrayProtocols(uint32_t* versions);

// Pushes picture and tooltip of every enabled icon; icons in the new protocol are also unhidden.
void ModifyAllIcons();

// Removes every enabled icon from the tray; `enabled` is left as it is.
void DeleteAllIcons();

// Removes the one icon of `index` from the tray.
void DeleteIcon(int index);

// At exit: destroys every slot's icon and mask bitmap, where present.
void ReleaseSlots();

#include "tray/tray_icons.h"

#include "presentation/shift_jis.h"
#include "ui/win32_text.h"

namespace {

constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

TrayIconSlot slots[TrayIconCount] = {
    {   "MoonIcon", 1, nullptr, nullptr, {}, ""},
    {   "TideIcon", 0, nullptr, nullptr, {}, ""},
    {  "MonthIcon", 0, nullptr, nullptr, {}, ""},
    {    "DayIcon", 1, nullptr, nullptr, {}, ""},
    {"WeekDayIcon", 1, nullptr, nullptr, {}, ""},
};

// Version 4 hides the plain tooltip unless the record asks for it.
UINT TrayFlagsOf(const NOTIFYICONDATAW& n) {
    return n.uVersion >= kTrayProtocol4 ? kTrayFlags | NIF_SHOWTIP : kTrayFlags;
}

// Asks the shell for protocol `version` for the icon of `n`, which must have the new layout.
bool AskProtocol(NOTIFYICONDATAW& n, UINT version) {
    n.uVersion = version;
    return Shell_NotifyIconW(NIM_SETVERSION, &n) != FALSE;
}

// The slot's tooltip into its record, for the layout the record has now: an icon still in the old
// protocol has only the short field, and the shell reads no further.
void FillRecordTip(TrayIconSlot& slot) {
    const size_t room =
        slot.notify.cbSize == kOldTrayRecordSize ? kOldTrayTipUnits : kNewTrayTipUnits;
    CopyWideText(slot.notify.szTip, room, WideFromShiftJis(slot.tip));
}

}  // namespace

int32_t reverseTrayOrder = 0;

TrayIconSlot* TraySlots() {
    return slots;
}

void PrepareSlots(HWND window) {
    for (int i = 0; i < TrayIconCount; ++i) {
        NOTIFYICONDATAW& n = slots[i].notify;
        n.cbSize = kOldTrayRecordSize;
        n.hWnd = window;
        n.uID = static_cast<UINT>(i);
        n.uFlags = kTrayFlags;
        n.uCallbackMessage = WM_APP_TRAY;
        n.szTip[0] = L'\0';
        slots[i].tip[0] = '\0';
    }
}

void SetSlotTooltip(TrayIconSlot& slot, const char* text) {
    slot.tip[0] = '\0';
    AppendShiftJisText(slot.tip, sizeof slot.tip, text);
    FillRecordTip(slot);
}

int CountEnabledIcons() {
    int count = 0;
    for (const TrayIconSlot& slot : slots) {
        if (slot.enabled) {
            ++count;
        }
    }
    return count;
}

int SlotAtDisplayPosition(int position) {
    return reverseTrayOrder ? TrayIconCount - 1 - position : position;
}

void AddAllIcons() {
    // The shell places icons in the order they arrive; raising the priority keeps other programs'
    // icons from landing between ours while the burst is under way.
    HANDLE process = GetCurrentProcess();
    DWORD previousClass = GetPriorityClass(process);
    if (previousClass != 0) {
        SetPriorityClass(process, HIGH_PRIORITY_CLASS);
    }
    Sleep(0);
    for (int p = 0; p < TrayIconCount; ++p) {
        TrayIconSlot& slot = slots[SlotAtDisplayPosition(p)];
        if (slot.enabled) {
            Shell_NotifyIconW(NIM_ADD, &slot.notify);
        }
    }
    if (previousClass != 0) {
        SetPriorityClass(process, previousClass);
    }
    for (int p = 0; p < TrayIconCount; ++p) {
        TrayIconSlot& slot = slots[SlotAtDisplayPosition(p)];
        if (!slot.enabled) {
            continue;
        }
        // The shell forgets an icon's version with the icon, so every addition asks again:
        // version 4 first, whose callback also says where the click was; then version 3.
        NOTIFYICONDATAW& n = slot.notify;
        n.cbSize = kNewTrayRecordSize;
        if (!AskProtocol(n, kTrayProtocol4) && !AskProtocol(n, kTrayProtocol3)) {
            n.uVersion = kTrayFirstProtocol;
            n.cbSize = kOldTrayRecordSize;
            n.uFlags = kTrayFlags;
            FillRecordTip(slot);
            continue;
        }
        FillRecordTip(slot);
        // A shell that speaks the new protocol may keep an icon hidden from an earlier run.
        n.dwState = 0;
        n.dwStateMask = NIS_HIDDEN;
        n.uFlags = NIF_STATE | (TrayFlagsOf(n) & NIF_SHOWTIP);
        Shell_NotifyIconW(NIM_MODIFY, &n);
        n.uFlags = TrayFlagsOf(n);
    }
}

void TrayProtocols(uint32_t* versions) {
    for (int i = 0; i < TrayIconCount; ++i) {
        versions[i] = slots[i].notify.cbSize == kOldTrayRecordSize ? kTrayFirstProtocol
                                                                   : slots[i].notify.uVersion;
    }
}

void ModifyAllIcons() {
    for (int p = 0; p < TrayIconCount; ++p) {
        TrayIconSlot& slot = slots[SlotAtDisplayPosition(p)];
        if (!slot.enabled) {
            continue;
        }
        NOTIFYICONDATAW& n = slot.notify;
        if (n.cbSize == kOldTrayRecordSize) {
            Shell_NotifyIconW(NIM_MODIFY, &n);
            continue;
        }
        n.dwState = 0;
        n.dwStateMask = NIS_HIDDEN;
        n.uFlags |= NIF_STATE;
        Shell_NotifyIconW(NIM_MODIFY, &n);
        n.uFlags &= ~static_cast<UINT>(NIF_STATE);
    }
}

void DeleteAllIcons() {
    for (int p = 0; p < TrayIconCount; ++p) {
        TrayIconSlot& slot = slots[SlotAtDisplayPosition(p)];
        if (slot.enabled) {
            Shell_NotifyIconW(NIM_DELETE, &slot.notify);
        }
    }
}

void DeleteIcon(int index) {
    if (index >= 0 && index < TrayIconCount) {
        Shell_NotifyIconW(NIM_DELETE, &slots[index].notify);
    }
}

void ReleaseSlots() {
    for (TrayIconSlot& slot : slots) {
        if (slot.notify.hIcon) {
            DestroyIcon(slot.notify.hIcon);
            slot.notify.hIcon = nullptr;
        }
        if (slot.maskBitmap) {
            DeleteObject(slot.maskBitmap);
            slot.maskBitmap = nullptr;
        }
    }
}

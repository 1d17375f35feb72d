#include "tray/app.h"

#include <commctrl.h>
#include <shellapi.h>

#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "resources/resource.h"
#include "presentation/texts.h"
#include "tray/clock.h"
#include "tray/notice_tray.h"
#include "tray/program.h"
#include "tray/settings.h"
#include "ui/splash.h"
#include "tray/startup_entry.h"
#include "tray/icon_images.h"
#include "tray/system_eras.h"
#include "tray/status.h"
#include "presentation/tray_logic.h"
#include "tray/tray_icons.h"
#include "ui/calendar_drawing.h"
#include "ui/dialogs.h"
#include "ui/moon_info_dialog.h"
#include "ui/notice_dialog.h"
#include "ui/place_dialog.h"
#include "ui/ui_clock.h"
#include "ui/ui_place.h"
#include "ui/win32_text.h"

namespace {

constexpr UINT_PTR kMinuteTimerId = 1;

HWND mainWindow = nullptr;
UINT taskbarCreatedMsg = 0;
UINT_PTR minuteTimer = 0;
HMENU popupMenu = nullptr;
HMENU popupSubMenu = nullptr;
// Numbers the menus as they are loaded, so that a release message names the menu it belongs to.
uint32_t popupMenuNumber = 0;
bool menuTracking = false;

int SystemMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return ShowShiftJisMessageBox(owner, text, caption, type);
}

UINT_PTR SystemSetTimer(HWND window, UINT_PTR id, UINT milliseconds) {
    return SetTimer(window, id, milliseconds, nullptr);
}

uint64_t SystemMilliseconds() {
    return GetTickCount64();
}

void SystemPause() {
    Sleep(0);
}

BOOL SystemTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

AppPlatformCalls appCalls = SystemAppCalls();

void ShowAlreadyRunning() {
    const std::string text = LoadShiftJisString(GetInstance(), IDS_ALREADYRUNNING);
    appCalls.messageBox(nullptr, text.c_str(), GetAppTitle(), MB_ICONEXCLAMATION | MB_OK);
}

void ReleasePopupMenu() {
    if (popupMenu) {
        DestroyMenu(popupMenu);  // takes its submenu with it
    }
    popupMenu = nullptr;
    popupSubMenu = nullptr;
}

void OnMenuDone(WPARAM menuNumber) {
    if (ReleasesPopupMenu(menuTracking, static_cast<uint32_t>(menuNumber), popupMenuNumber)) {
        ReleasePopupMenu();
    }
}

void TrackTrayMenu(HWND window, const TrayCallback& callback) {
    // The menu's own loop dispatches tray events too; a second menu request from there must not
    // pull the menu away under it.
    if (menuTracking) {
        return;
    }
    // Opened from the keyboard, the menu belongs at the icon, which only version 4 tells.
    POINT cursor = {callback.anchorX, callback.anchorY};
    if (!callback.hasAnchor) {
        GetCursorPos(&cursor);
    }
    // A tray event queued ahead of the release message of the last menu must not leak it.
    ReleasePopupMenu();
    popupMenu = LoadMenuW(GetInstance(), MAKEINTRESOURCEW(IDR_RIGHTMENU));
    popupSubMenu = popupMenu ? GetSubMenu(popupMenu, 0) : nullptr;
    ++popupMenuNumber;
    if (popupSubMenu) {
        // Without becoming the foreground window first, the menu would not close when the user
        // clicks elsewhere.
        SetForegroundWindow(window);
        menuTracking = true;
        appCalls.trackPopupMenu(popupSubMenu, TPM_RIGHTBUTTON, cursor.x, cursor.y, window);
        menuTracking = false;
    }
    PostMessageW(window, WM_APP_MENUDONE, popupMenuNumber, 0);
}

void UpdateCheckMarks(HMENU menu) {
    CheckMenuItem(menu, IDM_STARTUP,
                  MF_BYCOMMAND | (StartsWithWindows() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, IDM_SHOWNOTES, MF_BYCOMMAND | (ShowNotes() ? MF_CHECKED : MF_UNCHECKED));
    const TrayIconSlot* slots = TraySlots();
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        const int index = ToggleIndexOfCommand(id);
        if (index >= 0) {
            CheckMenuItem(menu, id,
                          MF_BYCOMMAND | (slots[index].enabled ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

void Activate(HWND window, int index) {
    switch (ActivateTargetOfIcon(index)) {
        case OpenMoonInfo:
            OpenMoonInfoDialog(window);
            break;
        case OpenCalendar:
            OpenMoonCalendarDialog(window);
            break;
        case OpenNothing:
            break;
    }
}

void OnTrayEvent(HWND window, WPARAM wParam, LPARAM lParam) {
    uint32_t versions[TrayIconCount];
    TrayProtocols(versions);
    const TrayCallback callback =
        DecodeTrayCallback(wParam, static_cast<uint64_t>(lParam), versions);
    if (callback.icon < 0) {
        return;
    }
    NOTIFYICONDATAW& notify = TraySlots()[callback.icon].notify;
    switch (DecideTrayEvent(callback.event, versions[callback.icon] == kTrayFirstProtocol)) {
        case ShowPopupMenu:
            TrackTrayMenu(window, callback);
            if (callback.event == WM_CONTEXTMENU) {
                Shell_NotifyIconW(NIM_SETFOCUS, &notify);
            }
            break;
        case RefreshStatus:
            if (ComputeStatus(false, false)) {
                ModifyAllIcons();
            }
            break;
        case ActivateIcon:
            Activate(window, callback.icon);
            break;
        case ShowNoticeDay:
            OpenNoticeDay(window);
            break;
        case IgnoreEvent:
            break;
    }
}

void OnCommand(HWND window, UINT id) {
    const int toggle = ToggleIndexOfCommand(id);
    if (toggle >= 0) {
        ToggleIcon(toggle);
        return;
    }
    switch (id) {
        case IDM_MOONINFO:
            OpenMoonInfoDialog(window);
            break;
        case IDM_CALENDAR:
            OpenMoonCalendarDialog(window);
            break;
        case IDM_HOLIDAYS:
            OpenCustomHolidayListDialog(window);
            break;
        case IDM_PLACE:
            OpenPlaceDialog(window);
            break;
        case IDM_NOTICE:
            OpenNoticeDialog(window);
            break;
        case IDM_STARTUP:
            ToggleStartWithWindows(window);
            break;
        case IDM_SHOWNOTES:
            ToggleNotes();
            break;
        case IDM_EXIT:
            PostMessageW(window, WM_CLOSE, 0, 0);
            break;
        default:
            break;
    }
}

void FinishStartup(HWND window) {
    taskbarCreatedMsg = RegisterWindowMessageW(L"TaskbarCreated");
    // At the first start the splash also says where Windows 11 puts the new icons, once.
    ShowSplash(GetInstance(), window, IsFirstStart());
    ArmMinuteTimer(window);
    CheckDailyNotice();
}

void OnDestroy(HWND window) {
    if (minuteTimer) {
        KillTimer(window, minuteTimer);
        minuteTimer = 0;
    }
    DeleteAllIcons();
    PostQuitMessage(0);
}

// A new system scale changes the small-icon size the tray asks for: the pictures are built
// again at the new size and pushed to the tray.
void FollowIconSize() {
    if (TrayIconSizeChanged()) {
        ComputeStatus(true, true);
        ModifyAllIcons();
    }
}

void OnTaskbarCreated() {
    ComputeStatus(true, true);
    AddAllIcons();
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_NOCTURO));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassW(&windowClass) != 0;
}

}  // namespace

HWND GetMainWindow() {
    return mainWindow;
}

AppPlatformCalls& AppCalls() {
    return appCalls;
}

AppPlatformCalls SystemAppCalls() {
    return AppPlatformCalls{SystemMessageBox, SystemSetTimer, SystemMilliseconds, SystemPause,
                            SystemTrackPopupMenu};
}

HMENU CurrentPopupMenu() {
    return popupMenu;
}

bool CloseRunningInstance(HWND running, HANDLE instanceMutex, DWORD limitMilliseconds) {
    const uint64_t deadline = appCalls.milliseconds() + limitMilliseconds;
    uint64_t askAt = appCalls.milliseconds();
    bool windowGone = false;
    bool mutexOwned = instanceMutex == nullptr;
    for (;;) {
        windowGone = windowGone || FindWindowW(kMainWindowClass, nullptr) == nullptr;
        // Asked again every second while its window stays: a request can go unnoticed (Wine,
        // under load, has left a posted message asleep in the queue behind a burst of mouse
        // input until the next message came), and a window that is gone takes none.
        if (running && !windowGone && appCalls.milliseconds() >= askAt) {
            PostMessageW(running, WM_CLOSE, 0, 0);
            askAt = appCalls.milliseconds() + kCloseAskAgainMilliseconds;
        }
        if (windowGone && !mutexOwned) {
            // An instance that ended without releasing the mutex leaves it abandoned: ours now.
            const DWORD wait = WaitForSingleObject(instanceMutex, 0);
            mutexOwned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        }
        if (windowGone && mutexOwned) {
            return true;
        }
        if (appCalls.milliseconds() >= deadline) {
            return false;
        }
        appCalls.pause();
    }
}

void ArmMinuteTimer(HWND window) {
    SYSTEMTIME local;
    ReadLocalClock(&local);
    if (minuteTimer) {
        KillTimer(window, minuteTimer);
        minuteTimer = 0;
    }
    minuteTimer = appCalls.setTimer(window, kMinuteTimerId,
                                    MinuteTimerInterval(local.wSecond, local.wMilliseconds));
}

void RefreshOnTick(HWND window) {
    ComputeStatus(false, false);
    ModifyAllIcons();
    RefreshMoonInfoDialog();
    RefreshMoonCalendarDialog(false);
    ArmMinuteTimer(window);
    // A tick, a clock change or a zone change may have reached the chosen time or a new day.
    CheckDailyNotice();
    CheckEclipseWarning();
}

void FullRefresh() {
    InvalidateHolidayCache();
    if (ComputeStatus(true, true)) {
        ModifyAllIcons();
    }
    RefreshMoonInfoDialog();
    RefreshMoonCalendarDialog(true);
}

void ToggleNotes() {
    SetShowNotes(!ShowNotes());
    SetCalendarNotesShown(ShowNotes());
    FullRefresh();
}

void ToggleIcon(int index) {
    if (index < 0 || index >= TrayIconCount) {
        return;
    }
    TrayIconSlot& slot = TraySlots()[index];
    switch (DecideToggle(slot.enabled != 0, CountEnabledIcons())) {
        case SwitchOn:
            // Removing and re-adding them all puts the new icon in its place among the others.
            DeleteAllIcons();
            WriteIconSetting(slot.settingsKey, true);
            slot.enabled = 1;
            ComputeStatus(true, true);
            AddAllIcons();
            break;
        case SwitchOff:
            slot.enabled = 0;
            WriteIconSetting(slot.settingsKey, false);
            DeleteIcon(index);
            break;
        case KeepOn:
            break;
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            PostMessageW(window, WM_APP_STARTUP, 0, 0);
            return 0;
        case WM_DESTROY:
            OnDestroy(window);
            return 0;
        case WM_TIMER:
        case WM_TIMECHANGE:
            RefreshOnTick(window);
            return 0;
        case WM_SETTINGCHANGE:  // the same message as WM_WININICHANGE
            FollowIconSize();
            RefreshOnTick(window);
            return 0;
        case WM_DISPLAYCHANGE:
            FollowIconSize();
            return 0;
        case WM_COMMAND:
            OnCommand(window, LOWORD(wParam));
            return 0;
        case WM_INITMENUPOPUP:
            UpdateCheckMarks(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_POWERBROADCAST:
            if (wParam == PBT_APMRESUMESUSPEND) {
                FullRefresh();
                CheckDailyNotice();
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_APP_STARTUP:
            FinishStartup(window);
            return 0;
        case WM_APP_TRAY:
            OnTrayEvent(window, wParam, lParam);
            return 0;
        case WM_APP_MENUDONE:
            OnMenuDone(wParam);
            return 0;
        default:
            // Explorer broadcasts this registered message when the taskbar was (re)created.
            if (taskbarCreatedMsg != 0 && message == taskbarCreatedMsg) {
                OnTaskbarCreated();
                return 0;
            }
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

namespace {

// Owns the instance mutex for the caller when no other process does. The mutex is created even
// when another instance owns it, so that "-v" can wait for it.
bool AcquireInstanceMutex(HANDLE* mutex) {
    *mutex = CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    if (*mutex == nullptr) {
        return true;  // without the service, the window search alone decides
    }
    const DWORD wait = WaitForSingleObject(*mutex, 0);
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

void ReleaseInstanceMutex(HANDLE mutex, bool owned) {
    if (mutex != nullptr) {
        if (owned) {
            ReleaseMutex(mutex);
        }
        CloseHandle(mutex);
    }
}

// Everything after the decision to run: the main window, the icons and the message loop.
int RunProgram(HINSTANCE instance) {
    if (!RegisterMainClass(instance)) {
        return 0;
    }
    mainWindow =
        CreateWindowExW(WS_EX_TOOLWINDOW, kMainWindowClass, WideFromShiftJis(GetAppTitle()).c_str(),
                        WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!mainWindow) {
        UnregisterClassW(kMainWindowClass, instance);
        return 0;
    }
    LoadSettings();
    SetCalendarNotesShown(ShowNotes());
    SetFilesPlace(GetFilesFolder());
    RepointStartupEntry();
    SetCustomHolidayPath(GetDataPath());
    SetWindowServices(WindowServices{instance, ReadShowAge, WriteShowAge, FullRefresh,
                                     ReadWeekStart, WriteWeekStart, ReadShowEra, WriteShowEra});
    LoadSystemEras();
    SetUiPlace(ReadPlaceSetting());
    SetPlaceServices(PlaceServices{WritePlaceSetting, FullRefresh});
    SetNoticeServices(NoticeServices{ReadNoticeSettings, WriteNoticeSettings, ShowTodaysNotice});
    // The windows read the program's clock, so that "today" is the same moment everywhere.
    SetUiClock(UiClock{ReadUtcClock, ReadLocalClock});
    PrepareSlots(mainWindow);
    ComputeStatus(true, true);
    AddAllIcons();

    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    mainWindow = nullptr;
    ReleaseSlots();
    UnregisterClassW(kMainWindowClass, instance);
    return static_cast<int>(msg.wParam);
}

}  // namespace

int RunApplication(HINSTANCE instance, const char* arguments) {
    InitCommonControls();
    SetInstance(instance);
    HANDLE mutex = nullptr;
    bool owned = AcquireInstanceMutex(&mutex);
    HWND running = FindWindowW(kMainWindowClass, nullptr);
    int code = 0;
    switch (DecideStart(ParseStartOption(arguments), running != nullptr || !owned)) {
        case ShowRunningMessage:
            ShowAlreadyRunning();
            break;
        case EndQuietly:
            break;
        case CloseRunningThenEnd:
            CloseRunningInstance(running, nullptr, kCloseWaitMilliseconds);
            break;
        case CloseRunningThenStart:
            owned = CloseRunningInstance(running, owned ? nullptr : mutex, kCloseWaitMilliseconds);
            if (owned) {
                code = RunProgram(instance);
            } else {
                ShowAlreadyRunning();
            }
            break;
        case StartProgram:
            code = RunProgram(instance);
            break;
    }
    ReleaseInstanceMutex(mutex, owned);
    return code;
}

#include "presentation/tray_logic.h"

#include "presentation/texts.h"

#include <cmath>

#include "resources/resource.h"

namespace {

// Window messages and shell events of the tray callback, by their Win32 numbers.
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLeftButtonUp = 0x0202;
constexpr uint32_t kRightButtonUp = 0x0205;
constexpr uint32_t kContextMenu = 0x007B;
constexpr uint32_t kShellSelect = 0x0400;
constexpr uint32_t kShellKeySelect = 0x0401;
constexpr uint32_t kBalloonUserClick = 0x0405;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool EqualsIgnoringCase(const char* text, const char* lowerOption) {
    for (; *lowerOption; ++text, ++lowerOption) {
        char c = *text;
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != *lowerOption) {
            return false;
        }
    }
    return *text == '\0';
}

}  // namespace

uint32_t MinuteTimerInterval(uint16_t second, uint16_t millisecond) {
    int32_t interval = 60500 - (static_cast<int32_t>(second) * 1000 + millisecond);
    if (interval > 60000) {
        interval -= 60000;
    }
    // A leap second must not arm a zero or negative timer.
    if (interval < 1) {
        interval = 1;
    }
    return static_cast<uint32_t>(interval);
}

bool PassesStatusGate(bool iconForce, JulianCenturies T, double lastCenturies) {
    return iconForce || !(std::fabs(T - lastCenturies) <= kStatusGateCenturies);
}

const char* ArgumentsOfCommandLine(const char* commandLine) {
    if (commandLine == nullptr) {
        return "";
    }
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') {
            ++p;
        }
        if (*p == '"') {
            ++p;
        }
    } else {
        while (*p != '\0' && !IsBlank(*p)) {
            ++p;
        }
    }
    while (IsBlank(*p)) {
        ++p;
    }
    return p;
}

StartOption ParseStartOption(const char* arguments) {
    if (arguments == nullptr) {
        return StartNormally;
    }
    if (EqualsIgnoringCase(arguments, "-r")) {
        return CloseRunning;
    }
    if (EqualsIgnoringCase(arguments, "-v")) {
        return RestartRunning;
    }
    return StartNormally;
}

int ToggleIndexOfCommand(uint32_t commandId) {
    if (commandId >= IDM_TOGGLEMOON && commandId <= IDM_TOGGLEWEEKDAY) {
        return static_cast<int>(commandId - IDM_TOGGLEMOON);
    }
    return -1;
}

ToggleAction DecideToggle(bool enabled, int enabledCount) {
    if (!enabled) {
        return SwitchOn;
    }
    return enabledCount >= 2 ? SwitchOff : KeepOn;
}

TrayEventAction DecideTrayEvent(uint32_t event, bool oldProtocol) {
    switch (event) {
        case kContextMenu:
            return ShowPopupMenu;
        case kMouseMove:
            return RefreshStatus;
        case kShellSelect:
        case kShellKeySelect:
            return ActivateIcon;
        case kLeftButtonUp:
            return oldProtocol ? ActivateIcon : IgnoreEvent;
        case kRightButtonUp:
            return oldProtocol ? ShowPopupMenu : IgnoreEvent;
        case kBalloonUserClick:
            return ShowNoticeDay;
        default:
            return IgnoreEvent;
    }
}

TrayCallback DecodeTrayCallback(uint64_t wParam, uint64_t lParam, const uint32_t* versions) {
    const uint64_t idInLParam = (lParam >> 16) & 0xFFFF;
    if (idInLParam < TrayIconCount && versions[idInLParam] >= kTrayProtocol4) {
        return {static_cast<int32_t>(idInLParam), static_cast<uint32_t>(lParam & 0xFFFF), true,
                static_cast<int16_t>(wParam & 0xFFFF),
                static_cast<int16_t>((wParam >> 16) & 0xFFFF)};
    }
    if (wParam < TrayIconCount && versions[wParam] < kTrayProtocol4) {
        return {static_cast<int32_t>(wParam), static_cast<uint32_t>(lParam & 0xFFFFFFFF), false, 0,
                0};
    }
    return {-1, 0, false, 0, 0};
}

ActivateTarget ActivateTargetOfIcon(int index) {
    switch (index) {
        case MoonIconSlot:
            return OpenMoonInfo;
        case MonthIconSlot:
        case DayIconSlot:
        case WeekdayIconSlot:
            return OpenCalendar;
        default:
            return OpenNothing;
    }
}

StartAction DecideStart(StartOption option, bool instanceRunning) {
    switch (option) {
        case CloseRunning:
            return instanceRunning ? CloseRunningThenEnd : EndQuietly;
        case RestartRunning:
            return instanceRunning ? CloseRunningThenStart : StartProgram;
        default:
            return instanceRunning ? ShowRunningMessage : StartProgram;
    }
}

bool ReleasesPopupMenu(bool tracking, uint32_t messageMenu, uint32_t loadedMenu) {
    return !tracking && messageMenu == loadedMenu;
}

const char* GetAppTitle() {
    return "Nocturo";
}

#include "tray/status_logic.h"

#include <cmath>

namespace {

constexpr int32_t kMoonPictureCount = 28;
constexpr int32_t kTidePictureCount = 5;

// Window messages and shell events of the tray callback, by their Win32 numbers.
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLeftButtonUp = 0x0202;
constexpr uint32_t kRightButtonUp = 0x0205;
constexpr uint32_t kContextMenu = 0x007B;
constexpr uint32_t kShellSelect = 0x0400;
constexpr uint32_t kShellKeySelect = 0x0401;

constexpr uint32_t kFirstToggleCommand = 40003;
constexpr int kToggleCount = 5;

int32_t Wrap(int32_t value, int32_t count) {
    int32_t r = value % count;
    return r < 0 ? r + count : r;
}

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

int32_t MoonPictureIndex(double phaseAngle) {
    // The negated test also rejects NaN, so the conversion below is always defined.
    if (!(phaseAngle >= 0 && phaseAngle < 360)) {
        return 0;
    }
    // 0.07777777777777778 is the stored 7/90: 28 pictures over 360 degrees.
    return static_cast<int32_t>(phaseAngle * 0.07777777777777778 + 0.5) % kMoonPictureCount;
}

int32_t TidePictureIndex(int32_t tide) {
    return Wrap(tide, kTidePictureCount);
}

int32_t MonthPictureCell(uint16_t month) {
    return Wrap(static_cast<int32_t>(month) - 1, 12);
}

int32_t DayPictureCell(uint16_t day) {
    return Wrap(static_cast<int32_t>(day) - 1, 31);
}

int32_t WeekdayPictureCell(uint16_t weekday) {
    return Wrap(weekday, 7);
}

uint32_t DayStrokeColor(int32_t dayKind, uint16_t weekday) {
    if (dayKind == 0 || dayKind == 1 || weekday == 0) {
        return kStrokeRed;
    }
    if (weekday == 6) {
        return kStrokeBlue;
    }
    return kStrokeBlack;
}

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
    if (commandId >= kFirstToggleCommand && commandId < kFirstToggleCommand + kToggleCount) {
        return static_cast<int>(commandId - kFirstToggleCommand);
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
        default:
            return IgnoreEvent;
    }
}

ActivateTarget ActivateTargetOfIcon(int index) {
    switch (index) {
        case 0:
            return OpenMoonInfo;
        case 2:
        case 3:
        case 4:
            return OpenCalendar;
        default:
            return OpenNothing;
    }
}

// Looks at a running nocturo.exe from the outside, the way a user sees it: its window of class
// "NOCTU", its icons in the notification area, the message box of a second start, the splash, the
// windows its menu and icons open. The
// end-to-end check (tools/e2e.sh) and the README pictures (tools/screenshots.sh) run it under Wine
// beside the program; every command polls until what it waits for is there or its time is up,
// prints what it saw and exits 0 (seen) or 1 (not seen).
//
// The icons are asked of the shell itself: NIM_MODIFY with no flags changes nothing and succeeds
// exactly when the shell holds an icon of that window and id. This needs no knowledge of how the
// tray draws them, and works the same on Wine's taskbar, its standalone tray and Windows.
#include <windows.h>
#include <shellapi.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const char kMainClass[] = "NOCTU";
const char kAppTitle[] = "Nocturo";
const UINT kSlotCount = 5;
const UINT kAlreadyRunningId = 102;
const DWORD kPollMs = 100;

// True when the shell's notification area holds the icon `id` of `window`.
bool ShellHoldsIcon(HWND window, UINT id) {
    NOTIFYICONDATAA probe;
    memset(&probe, 0, sizeof probe);
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = id;
    probe.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// The ids 0..4 of the icons of `window` that the shell holds, as a text of digits ("034"); "-"
// when there is none.
void HeldIcons(HWND window, char* out) {
    char* p = out;
    for (UINT id = 0; id < kSlotCount; ++id) {
        if (ShellHoldsIcon(window, id)) {
            *p++ = static_cast<char>('0' + id);
        }
    }
    if (p == out) {
        *p++ = '-';
    }
    *p = '\0';
}

// Milliseconds left until `deadline` (a GetTickCount value); 0 once it has passed.
DWORD Remaining(DWORD deadline) {
    DWORD now = GetTickCount();
    return static_cast<LONG>(deadline - now) > 0 ? deadline - now : 0;
}

DWORD DeadlineAfter(const char* seconds) {
    return GetTickCount() + static_cast<DWORD>(atoi(seconds)) * 1000;
}

// tray EXPECTED SECONDS: waits for the main window and for exactly the icons EXPECTED (digits
// 0-4 in any order, "-" for none, "*" for at least one). Prints the window handle and the icons
// held.
int WaitForTray(const char* expected, const char* seconds) {
    bool any = strcmp(expected, "*") == 0;
    char want[kSlotCount + 2] = "";
    char* w = want;
    for (UINT id = 0; id < kSlotCount; ++id) {
        if (strchr(expected, static_cast<char>('0' + id)) != nullptr) {
            *w++ = static_cast<char>('0' + id);
        }
    }
    if (w == want) {
        *w++ = '-';
    }
    *w = '\0';
    DWORD deadline = DeadlineAfter(seconds);
    HWND window = nullptr;
    char held[kSlotCount + 2] = "-";
    for (;;) {
        window = FindWindowA(kMainClass, nullptr);
        if (window != nullptr) {
            HeldIcons(window, held);
            if (any ? strcmp(held, "-") != 0 : strcmp(held, want) == 0) {
                printf("window %p icons %s\n", static_cast<void*>(window), held);
                return 0;
            }
        }
        if (Remaining(deadline) == 0) {
            break;
        }
        Sleep(kPollMs);
    }
    fprintf(stderr, "probe: %s; icons held %s, expected %s\n",
            window != nullptr ? "main window found" : "no main window", held, any ? "*" : want);
    return 1;
}

struct DialogParts {
    int buttons;
    int icons;
    int okButtons;
    char text[512];
};

BOOL CALLBACK CollectDialogPart(HWND child, LPARAM context) {
    DialogParts* parts = reinterpret_cast<DialogParts*>(context);
    char cls[64] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Button") == 0) {
        parts->buttons++;
        if (GetDlgCtrlID(child) == IDOK) {
            parts->okButtons++;
        }
    } else if (lstrcmpiA(cls, "Static") == 0) {
        LONG style = GetWindowLongA(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) {
            parts->icons++;
        } else if (parts->text[0] == '\0') {
            GetWindowTextA(child, parts->text, sizeof parts->text);
        }
    }
    return TRUE;
}

// Prints a Shift_JIS text as hexadecimal bytes, which survive any terminal.
void PrintBytes(const char* label, const char* text) {
    fprintf(stderr, "%s:", label);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        fprintf(stderr, " %02x", *p);
    }
    fprintf(stderr, "\n");
}

BOOL CALLBACK TakeMessageBox(HWND window, LPARAM context) {
    char cls[16] = "";
    char title[32] = "";
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, title, sizeof title);
    if (strcmp(cls, "#32770") == 0 && strcmp(title, kAppTitle) == 0 &&
        GetWindow(window, GW_OWNER) == nullptr &&
        (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
        *reinterpret_cast<HWND*>(context) = window;
        return FALSE;
    }
    return TRUE;
}

// The message box of a second start: a dialog without owner and with the caption "Nocturo". The
// splash is a dialog too, but owned by the main window and without a caption.
HWND FindMessageBox() {
    HWND box = nullptr;
    EnumWindows(TakeMessageBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

// message PROGRAM SECONDS: waits for the message box of a second start (caption "Nocturo") and
// checks it: its text is string 102 of PROGRAM, it has an icon and one button, OK. Then presses OK.
int CheckSecondStartMessage(const char* program, const char* seconds) {
    char expected[128] = "";
    HMODULE resources = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (resources != nullptr) {
        LoadStringA(resources, kAlreadyRunningId, expected, sizeof expected);
        FreeLibrary(resources);
    }
    if (expected[0] == '\0') {
        fprintf(stderr, "probe: string %u not found in %s\n", kAlreadyRunningId, program);
    }

    DWORD deadline = DeadlineAfter(seconds);
    HWND box = nullptr;
    while ((box = FindMessageBox()) == nullptr && Remaining(deadline) > 0) {
        Sleep(kPollMs);
    }
    if (box == nullptr) {
        fprintf(stderr, "probe: no message box with the caption %s\n", kAppTitle);
        return 1;
    }
    // The box may still be laying out its controls when it is first found: the buttons it does
    // not use are hidden only then, so the parts are read again until they hold or time is up.
    DialogParts parts;
    bool ok = false;
    do {
        memset(&parts, 0, sizeof parts);
        EnumChildWindows(box, CollectDialogPart, reinterpret_cast<LPARAM>(&parts));
        ok = expected[0] != '\0' && strcmp(parts.text, expected) == 0 && parts.buttons == 1 &&
             parts.okButtons == 1 && parts.icons == 1;
        if (ok) {
            break;
        }
        Sleep(kPollMs);
    } while (Remaining(deadline) > 0);
    if (!ok) {
        PrintBytes("probe: message text", parts.text);
        PrintBytes("probe: string 102  ", expected);
        fprintf(stderr, "probe: %d button(s), %d OK, %d icon(s)\n", parts.buttons, parts.okButtons,
                parts.icons);
    } else {
        printf("message box %p: string %u, OK button, icon\n", static_cast<void*>(box),
               kAlreadyRunningId);
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return ok ? 0 : 1;
}

// gone WINDOW SECONDS: waits until the main window WINDOW (the handle that `tray` printed) no
// longer exists and the shell holds no icon of it. Another instance's window may stand (after
// "-v", the new one).
int WaitUntilGone(const char* handle, const char* seconds) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(handle, nullptr, 16)));
    DWORD deadline = DeadlineAfter(seconds);
    char held[kSlotCount + 2] = "-";
    bool running = true;
    for (;;) {
        running = IsWindow(window) != FALSE;
        HeldIcons(window, held);
        if (!running && strcmp(held, "-") == 0) {
            printf("no main window, no icons\n");
            return 0;
        }
        if (Remaining(deadline) == 0) {
            break;
        }
        Sleep(kPollMs);
    }
    fprintf(stderr, "probe: %s; icons held %s\n",
            running ? "main window still there" : "no main window", held);
    return 1;
}

// taskbar SECONDS: waits for the taskbar of the virtual desktop and prints its rectangle in
// desktop pixels as "x y width height".
int WaitForTaskbar(const char* seconds) {
    DWORD deadline = DeadlineAfter(seconds);
    HWND bar = nullptr;
    for (;;) {
        bar = FindWindowA("Shell_TrayWnd", nullptr);
        if (bar != nullptr && IsWindowVisible(bar)) {
            RECT r;
            GetWindowRect(bar, &r);
            printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
            return 0;
        }
        if (Remaining(deadline) == 0) {
            break;
        }
        Sleep(kPollMs);
    }
    fprintf(stderr, "probe: no visible taskbar\n");
    return 1;
}

// Writes the screen rectangle `r` to `path` as a 24-bit BMP file. False when it cannot.
bool SaveScreenRect(const RECT& r, const char* path) {
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, previous);

    BITMAPINFOHEADER info;
    memset(&info, 0, sizeof info);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    DWORD size = stride * static_cast<DWORD>(height);
    unsigned char* pixels = static_cast<unsigned char*>(malloc(size));
    bool ok = pixels != nullptr &&
              GetDIBits(memory, picture, 0, height, pixels, reinterpret_cast<BITMAPINFO*>(&info),
                        DIB_RGB_COLORS) == height;
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    FILE* file = ok ? fopen(path, "wb") : nullptr;
    if (file != nullptr) {
        BITMAPFILEHEADER header;
        memset(&header, 0, sizeof header);
        header.bfType = 0x4d42;  // "BM"
        header.bfOffBits = sizeof header + sizeof info;
        header.bfSize = header.bfOffBits + size;
        ok = fwrite(&header, sizeof header, 1, file) == 1 &&
             fwrite(&info, sizeof info, 1, file) == 1 && fwrite(pixels, size, 1, file) == 1;
        ok = fclose(file) == 0 && ok;
    } else {
        ok = false;
    }
    free(pixels);
    return ok;
}

struct SplashSearch {
    HWND owner;
    HWND splash;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM context) {
    SplashSearch* search = reinterpret_cast<SplashSearch*>(context);
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && GetWindow(window, GW_OWNER) == search->owner &&
        IsWindowVisible(window)) {
        search->splash = window;
        return FALSE;
    }
    return TRUE;
}

// splash FILE SECONDS: waits for the splash (the visible dialog owned by the main window, shown
// for one second after start), lets it paint and saves it with a margin of 16 pixels as a BMP.
int CaptureSplash(const char* path, const char* seconds) {
    DWORD deadline = DeadlineAfter(seconds);
    SplashSearch search = {nullptr, nullptr};
    do {
        search.owner = FindWindowA(kMainClass, nullptr);
        if (search.owner != nullptr) {
            EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
        }
        if (search.splash != nullptr) {
            break;
        }
        Sleep(10);
    } while (Remaining(deadline) > 0);
    if (search.splash == nullptr) {
        fprintf(stderr, "probe: no splash window\n");
        return 1;
    }
    Sleep(250);
    RECT r;
    GetWindowRect(search.splash, &r);
    printf("splash %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    InflateRect(&r, 16, 16);
    if (!SaveScreenRect(r, path)) {
        fprintf(stderr, "probe: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

// tooltip SECONDS: waits for a visible tooltip and prints its rectangle as "x y width height".
int WaitForTooltip(const char* seconds) {
    DWORD deadline = DeadlineAfter(seconds);
    for (;;) {
        HWND tip = nullptr;
        while ((tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr)) != nullptr) {
            RECT r;
            if (IsWindowVisible(tip) && GetWindowRect(tip, &r) && r.right > r.left) {
                printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
                return 0;
            }
        }
        if (Remaining(deadline) == 0) {
            break;
        }
        Sleep(kPollMs);
    }
    fprintf(stderr, "probe: no visible tooltip\n");
    return 1;
}

struct OwnedWindowSearch {
    HWND owner;
    const char* caption;
    HWND found;
    int count;
};

BOOL CALLBACK CountOwnedDialogs(HWND window, LPARAM context) {
    OwnedWindowSearch* search = reinterpret_cast<OwnedWindowSearch*>(context);
    char cls[16] = "";
    char title[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, title, sizeof title);
    if (strcmp(cls, "#32770") == 0 && strcmp(title, search->caption) == 0 &&
        GetWindow(window, GW_OWNER) == search->owner && IsWindowVisible(window)) {
        search->found = window;
        search->count++;
    }
    return TRUE;
}

// The visible dialogs captioned `caption` that `owner` owns: how many, and one of them.
OwnedWindowSearch FindOwnedWindows(HWND owner, const char* caption) {
    OwnedWindowSearch search = {owner, caption, nullptr, 0};
    EnumWindows(CountOwnedDialogs, reinterpret_cast<LPARAM>(&search));
    return search;
}

// A left click of the mouse at screen point `value` ("X,Y"), as the user's hand makes it: the
// shell's tray sees it and tells the icon's owner in the protocol the owner asked for.
bool ClickAt(const char* value) {
    int x = 0;
    int y = 0;
    if (sscanf(value, "%d,%d", &x, &y) != 2 || !SetCursorPos(x, y)) {
        return false;
    }
    // A hand rests on the icon before it presses, and holds the button for a moment: the tray
    // sees the pointer arrive first, and the press and the release as two events.
    Sleep(300);
    INPUT press = {};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    if (SendInput(1, &press, sizeof press) != 1) {
        return false;
    }
    Sleep(50);
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(1, &press, sizeof press) == 1;
}

// Asks the main window to open a window the way the user does: kind "command" posts the menu
// command `value` (WM_COMMAND), kind "click" clicks at the screen point `value` (ClickAt).
bool AskMainWindow(HWND main, const char* kind, const char* value) {
    if (strcmp(kind, "command") == 0) {
        const unsigned long n = strtoul(value, nullptr, 10);
        return PostMessageA(main, WM_COMMAND, MAKEWPARAM(n, 0), 0) != FALSE;
    }
    if (strcmp(kind, "click") == 0) {
        return ClickAt(value);
    }
    return false;
}

// open command|click VALUE CAPTION CONTROL SECONDS: asks the running program to open a window (see
// AskMainWindow), waits for the visible dialog captioned CAPTION that its main window owns, checks
// that its control CONTROL has a text and that asking again opens no second window, then closes it
// with OK and waits until it is gone. Prints the window and the control's text (as bytes).
int OpenWindow(const char* kind, const char* value, const char* caption, const char* control,
               const char* seconds) {
    DWORD deadline = DeadlineAfter(seconds);
    HWND main = FindWindowA(kMainClass, nullptr);
    if (main == nullptr || !AskMainWindow(main, kind, value)) {
        fprintf(stderr, "probe: no main window to ask (%s %s)\n", kind, value);
        return 1;
    }
    OwnedWindowSearch search = {};
    while ((search = FindOwnedWindows(main, caption)).found == nullptr && Remaining(deadline) > 0) {
        Sleep(kPollMs);
    }
    if (search.found == nullptr) {
        fprintf(stderr, "probe: no window \"%s\" owned by the main window\n", caption);
        return 1;
    }
    HWND window = search.found;
    char text[128] = "";
    const int controlId = atoi(control);
    do {
        GetDlgItemTextA(window, controlId, text, sizeof text);
        if (text[0] != '\0') {
            break;
        }
        Sleep(kPollMs);
    } while (Remaining(deadline) > 0);

    AskMainWindow(main, kind, value);
    Sleep(500);
    const int count = FindOwnedWindows(main, caption).count;

    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    while (IsWindow(window) && Remaining(deadline) > 0) {
        Sleep(kPollMs);
    }
    const bool closed = !IsWindow(window);
    printf("window %p \"%s\", %d open after asking twice, control %d:", static_cast<void*>(window),
           caption, count, controlId);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        printf(" %02x", *p);
    }
    printf("%s\n", closed ? ", closed" : ", still open");
    return text[0] != '\0' && count == 1 && closed ? 0 : 1;
}

// hold SECONDS: stays on the desktop for that long. Wine closes a virtual desktop, taskbar and all,
// as soon as no program is left on it; this keeps the one desktop up for a whole check.
int HoldDesktop(const char* seconds) {
    HWND window = CreateWindowExA(0, "Static", "nocturo probe", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, nullptr, nullptr);
    DWORD deadline = DeadlineAfter(seconds);
    while (Remaining(deadline) > 0) {
        Sleep(kPollMs);
    }
    DestroyWindow(window);
    return 0;
}

BOOL CALLBACK CountInstance(HWND window, LPARAM count) {
    char cls[16];
    if (GetClassNameA(window, cls, sizeof cls) > 0 && strcmp(cls, kMainClass) == 0) {
        ++*reinterpret_cast<int*>(count);
    }
    return TRUE;
}

// After `seconds`, the number of top-level windows of the class "NOCTU": exit 0 for exactly one.
int CountInstances(const char* seconds) {
    Sleep(static_cast<DWORD>(atoi(seconds)) * 1000);
    int count = 0;
    EnumWindows(CountInstance, reinterpret_cast<LPARAM>(&count));
    printf("instances %d\n", count);
    return count == 1 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "instances") == 0) {
        return CountInstances(argv[2]);
    }
    if (argc == 4 && strcmp(argv[1], "tray") == 0) {
        return WaitForTray(argv[2], argv[3]);
    }
    if (argc == 4 && strcmp(argv[1], "message") == 0) {
        return CheckSecondStartMessage(argv[2], argv[3]);
    }
    if (argc == 4 && strcmp(argv[1], "gone") == 0) {
        return WaitUntilGone(argv[2], argv[3]);
    }
    if (argc == 3 && strcmp(argv[1], "taskbar") == 0) {
        return WaitForTaskbar(argv[2]);
    }
    if (argc == 4 && strcmp(argv[1], "splash") == 0) {
        return CaptureSplash(argv[2], argv[3]);
    }
    if (argc == 3 && strcmp(argv[1], "tooltip") == 0) {
        return WaitForTooltip(argv[2]);
    }
    if (argc == 7 && strcmp(argv[1], "open") == 0) {
        return OpenWindow(argv[2], argv[3], argv[4], argv[5], argv[6]);
    }
    if (argc == 3 && strcmp(argv[1], "hold") == 0) {
        return HoldDesktop(argv[2]);
    }
    fprintf(stderr,
            "usage: probe tray ICONS SECONDS | message PROGRAM SECONDS | gone WINDOW SECONDS |"
            " taskbar SECONDS | splash FILE SECONDS | tooltip SECONDS | hold SECONDS |"
            " instances SECONDS | open command|click VALUE CAPTION CONTROL SECONDS\n");
    return 2;
}

#include "ui/splash.h"

#include "resources/resource.h"
#include "ui/moon_strip.h"
#include "ui/win32_text.h"

namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kShowMilliseconds = 1000;
// Long enough to read the hint's four lines.
constexpr UINT kHintMilliseconds = 8000;
constexpr int kHintMargin = 8;
constexpr wchar_t kHintFace[] = L"ＭＳ ゴシック";

SplashState splash = {};

HINSTANCE InstanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

// Grows or shrinks the window from its top-left corner, which the centring of the template's size
// placed, so that its client area is width x height pixels whatever the frame around it.
void FitClientArea(HWND window, int width, int height) {
    RECT frame;
    RECT client;
    if (!GetWindowRect(window, &frame) || !GetClientRect(window, &client)) {
        return;
    }
    const int frameWidth = (frame.right - frame.left) - (client.right - client.left);
    const int frameHeight = (frame.bottom - frame.top) - (client.bottom - client.top);
    SetWindowPos(window, nullptr, 0, 0, frameWidth + width, frameHeight + height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT CreateHintFont(HWND window) {
    return CreateFontW(-MulDiv(12, WindowDpi(window), 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FF_MODERN | DEFAULT_PITCH, kHintFace);
}

// The hint's box under the picture, as large as its lines in the hint font.
RECT MeasureHint(HWND window, const std::wstring& hint) {
    RECT box = {0, 0, 0, 0};
    HDC dc = GetDC(window);
    if (dc == nullptr) {
        return box;
    }
    HFONT font = CreateHintFont(window);
    HGDIOBJ previous = SelectObject(dc, font);
    DrawTextW(dc, hint.c_str(), static_cast<int>(hint.size()), &box, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(window, dc);
    OffsetRect(&box, kHintMargin, splash.height + kHintMargin);
    return box;
}

void OpenSplash(HWND window, bool firstStart) {
    CreateBitmapPalette(window, splash.palette);
    splash.bitmap = static_cast<HBITMAP>(LoadImageW(
        InstanceOf(window), MAKEINTRESOURCEW(IDB_SPLASH), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info;
    if (splash.bitmap != nullptr && GetObjectW(splash.bitmap, sizeof info, &info) == sizeof info) {
        splash.width = info.bmWidth;
        splash.height = info.bmHeight;
        FitClientArea(window, splash.width, splash.height);
    } else {
        // Without its picture the splash keeps the template's size and closes on time all the same.
        splash.width = 0;
        splash.height = 0;
    }
    splash.hint.clear();
    splash.hintBox = {0, 0, 0, 0};
    if (firstStart) {
        splash.hint =
            WideFromShiftJis(LoadShiftJisString(InstanceOf(window), IDS_TRAYHINT).c_str());
    }
    if (!splash.hint.empty()) {
        splash.hintBox = MeasureHint(window, splash.hint);
        const int width = splash.hintBox.right + kHintMargin;
        FitClientArea(window, width > splash.width ? width : splash.width,
                      splash.hintBox.bottom + kHintMargin);
        // Centred again: the template's centring placed the smaller window.
        RECT placed;
        if (GetWindowRect(window, &placed)) {
            const int x = (GetSystemMetrics(SM_CXSCREEN) - (placed.right - placed.left)) / 2;
            const int y = (GetSystemMetrics(SM_CYSCREEN) - (placed.bottom - placed.top)) / 2;
            SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    SetTimer(window, kCloseTimer, splash.hint.empty() ? kShowMilliseconds : kHintMilliseconds,
             nullptr);
}

// The picture's left edge: centred when the hint made the window wider than the picture.
int PictureLeft(HWND window) {
    RECT client;
    if (splash.hint.empty() || !GetClientRect(window, &client) || client.right <= splash.width) {
        return 0;
    }
    return (client.right - splash.width) / 2;
}

void PaintHint(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    // The whole window's ground but the picture, which PaintSplash centres above the lines.
    const int left = PictureLeft(window);
    const RECT bands[] = {
        {                  0,             0,         left, splash.height},
        {left + splash.width,             0, client.right, splash.height},
        {                  0, splash.height, client.right, client.bottom},
    };
    for (const RECT& band : bands) {
        FillRect(dc, &band, GetSysColorBrush(COLOR_WINDOW));
    }
    HFONT font = CreateHintFont(window);
    HGDIOBJ previous = SelectObject(dc, font);
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT box = splash.hintBox;
    DrawTextW(dc, splash.hint.c_str(), static_cast<int>(splash.hint.size()), &box, DT_NOPREFIX);
    SetTextColor(dc, colour);
    SetBkMode(dc, mode);
    SelectObject(dc, previous);
    DeleteObject(font);
}

void PaintSplash(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPalettePaint(window, paint, splash.palette);
    if (dc != nullptr && splash.bitmap != nullptr) {
        HDC memoryDc = CreateCompatibleDC(dc);
        if (memoryDc != nullptr) {
            HGDIOBJ replaced = SelectObject(memoryDc, splash.bitmap);
            BitBlt(dc, PictureLeft(window), 0, splash.width, splash.height, memoryDc, 0, 0,
                   SRCCOPY);
            SelectObject(memoryDc, replaced);
            DeleteDC(memoryDc);
        }
    }
    if (dc != nullptr && !splash.hint.empty()) {
        PaintHint(window, dc);
    }
    EndPalettePaint(window, paint, splash.palette);
}

// Moved to a monitor of another scale: the suggested place, the client area kept to the picture,
// which is drawn pixel for pixel at every dpi.
void OnDpiChanged(HWND window, LPARAM lParam) {
    const RECT* r = reinterpret_cast<const RECT*>(lParam);
    if (r == nullptr) {
        return;
    }
    SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (splash.bitmap != nullptr && splash.hint.empty()) {
        FitClientArea(window, splash.width, splash.height);
    }
    InvalidateRect(window, nullptr, FALSE);
}

void CloseSplash(HWND window) {
    DeletePalette(splash.palette);
    if (splash.bitmap != nullptr) {
        DeleteObject(splash.bitmap);
        splash.bitmap = nullptr;
    }
    KillTimer(window, kCloseTimer);
    splash.hint.clear();
}

}  // namespace

SplashState& GetSplashState() {
    return splash;
}

void ShowSplash(HINSTANCE module, HWND owner, bool firstStart) {
    DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_SPLASH), owner, SplashDialogProc,
                    firstStart ? 1 : 0);
}

INT_PTR CALLBACK SplashDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OpenSplash(window, lParam != 0);
            return 1;
        case WM_PAINT:
            PaintSplash(window);
            return 1;
        case WM_DPICHANGED:
            OnDpiChanged(window, lParam);
            return 1;
        case WM_TIMER:
        case WM_LBUTTONDOWN:
        case WM_CLOSE:
            EndDialog(window, 1);
            return 1;
        case WM_QUERYNEWPALETTE:
            // A dialog procedure's own return value only says "handled" for this message.
            SetWindowLongPtrW(window, DWLP_MSGRESULT, OnQueryNewPalette(window, splash.palette));
            return 1;
        case WM_PALETTECHANGED:
            OnPaletteChanged(window, reinterpret_cast<HWND>(wParam), splash.palette);
            return 1;
        case WM_DESTROY:
            CloseSplash(window);
            return 0;
        default:
            return 0;
    }
}

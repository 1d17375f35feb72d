#include "ui/splash.h"

#include "resources/resource.h"

namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kShowMilliseconds = 1000;

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

void OpenSplash(HWND window) {
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
    SetTimer(window, kCloseTimer, kShowMilliseconds, nullptr);
}

void PaintSplash(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPalettePaint(window, paint, splash.palette);
    if (dc != nullptr && splash.bitmap != nullptr) {
        HDC memoryDc = CreateCompatibleDC(dc);
        if (memoryDc != nullptr) {
            HGDIOBJ replaced = SelectObject(memoryDc, splash.bitmap);
            BitBlt(dc, 0, 0, splash.width, splash.height, memoryDc, 0, 0, SRCCOPY);
            SelectObject(memoryDc, replaced);
            DeleteDC(memoryDc);
        }
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
    if (splash.bitmap != nullptr) {
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
}

}  // namespace

SplashState& GetSplashState() {
    return splash;
}

void ShowSplash(HINSTANCE module, HWND owner) {
    DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_SPLASH), owner, SplashDialogProc, 0);
}

INT_PTR CALLBACK SplashDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OpenSplash(window);
            return 1;
        case WM_PAINT:
            PaintSplash(window);
            return 1;
        case WM_DPICHANGED:
            OnDpiChanged(window, lParam);
            return 1;
        case WM_TIMER:
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

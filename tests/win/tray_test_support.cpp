#include "tests/win/tray_test_support.h"

#include <shellapi.h>

#include <gtest/gtest.h>

HWND CreateHiddenTestWindow() {
    static ATOM windowClass = 0;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!windowClass) {
        WNDCLASSA c = {};
        c.lpfnWndProc = DefWindowProcA;
        c.hInstance = instance;
        c.lpszClassName = "NoctuTestWindow";
        windowClass = RegisterClassA(&c);
    }
    return CreateWindowExA(WS_EX_TOOLWINDOW, "NoctuTestWindow", "test", WS_OVERLAPPEDWINDOW, 0, 0,
                           100, 100, nullptr, nullptr, instance, nullptr);
}

Pixels ReadBitmap(HBITMAP bitmap) {
    Pixels p;
    BITMAP info;
    if (!bitmap || GetObjectA(bitmap, sizeof info, &info) == 0) {
        return p;
    }
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> data(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC dc = GetDC(nullptr);
    int rows = GetDIBits(dc, bitmap, 0, info.bmHeight, data.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != info.bmHeight) {
        return p;
    }
    for (uint32_t& v : data) {
        v &= 0x00FFFFFF;
    }
    p.width = info.bmWidth;
    p.height = info.bmHeight;
    p.rgb = std::move(data);
    return p;
}

Pixels ReadBitmapResource(int resource) {
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    Pixels p = ReadBitmap(bitmap);
    if (bitmap) {
        DeleteObject(bitmap);
    }
    return p;
}

IconPixels ReadIcon(HICON icon) {
    IconPixels result;
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) {
        return result;
    }
    result.color = ReadBitmap(info.hbmColor);
    result.mask = ReadBitmap(info.hbmMask);
    if (info.hbmColor) {
        DeleteObject(info.hbmColor);
    }
    if (info.hbmMask) {
        DeleteObject(info.hbmMask);
    }
    return result;
}

bool ShellHasIcon(HWND window, UINT id) {
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = id;
    probe.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

namespace {

// Keeps one icon of its own in the tray for the whole run: under Wine, removing the last icon of
// the tray costs two seconds while the tray window goes away, and most tests end by doing so.
class TrayKeeper : public testing::Environment {
  public:
    void SetUp() override {
        window_ = CreateHiddenTestWindow();
        notify_.cbSize = NOTIFYICONDATAA_V1_SIZE;
        notify_.hWnd = window_;
        notify_.uID = 99;
        notify_.uFlags = NIF_ICON;
        notify_.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
        Shell_NotifyIconA(NIM_ADD, &notify_);
    }
    void TearDown() override {
        Shell_NotifyIconA(NIM_DELETE, &notify_);
        DestroyWindow(window_);
    }

  private:
    HWND window_ = nullptr;
    NOTIFYICONDATAA notify_ = {};
};

testing::Environment* const trayKeeper = testing::AddGlobalTestEnvironment(new TrayKeeper);

}  // namespace

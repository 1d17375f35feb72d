#include "tests/win/tray_test_support.h"

#include <shellapi.h>

#include <cstdio>

HWND CreateHiddenTestWindow(WNDPROC procedure) {
    // One class per procedure, none named like the program's own (which would pass for a running
    // instance).
    char name[32];
    std::snprintf(name, sizeof name, "NoctuTest%p", reinterpret_cast<void*>(procedure));
    WNDCLASSA c = {};
    c.lpfnWndProc = procedure ? procedure : DefWindowProcA;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = name;
    RegisterClassA(&c);  // fails harmlessly once the class exists
    return CreateWindowExA(WS_EX_TOOLWINDOW, name, "Nocturo", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                           nullptr, nullptr, c.hInstance, nullptr);
}

Pixels ReadBitmap(HBITMAP bitmap) {
    Pixels p;
    BITMAP info;
    if (!bitmap || GetObjectA(bitmap, sizeof info, &info) == 0) {
        return p;
    }
    BITMAPINFO bi = {};  // 32 bits a pixel, rows top-down
    bi.bmiHeader = {
        sizeof bi.bmiHeader, info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> data(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, bitmap, 0, info.bmHeight, data.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows == info.bmHeight) {
        for (uint32_t& v : data) {
            v &= 0x00FFFFFF;
        }
        p = {info.bmWidth, info.bmHeight, std::move(data)};
    }
    return p;
}

Pixels ReadBitmapResource(int resource) {
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    Pixels p = ReadBitmap(bitmap);
    DeleteObject(bitmap);
    return p;
}

IconPixels ReadIcon(HICON icon) {
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) {
        return {};
    }
    IconPixels result = {ReadBitmap(info.hbmColor), ReadBitmap(info.hbmMask)};
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return result;
}

bool ShellHasIcon(HWND window, UINT id) {
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

void SendTrayEvent(HWND window, UINT id, UINT event) {
    SendMessageW(window, WM_APP_TRAY, MAKEWPARAM(40, 700), MAKELPARAM(event, id));
}

void TraySlotsTest::SetUp() {
    window = CreateHiddenTestWindow(procedure);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < TrayIconCount; ++i) {
        savedEnabled[i] = TraySlots()[i].enabled;
    }
    PrepareSlots(window);
}

void TraySlotsTest::TearDown() {
    for (int i = 0; i < TrayIconCount; ++i) {
        Shell_NotifyIconW(NIM_DELETE, &TraySlots()[i].notify);
        TraySlots()[i].enabled = savedEnabled[i];
    }
    ReleaseSlots();
    if (window) {
        DestroyWindow(window);
    }
}

void TraySlotsTest::SwitchOn(const char* pattern) {
    for (int i = 0; i < TrayIconCount; ++i) {
        TraySlots()[i].enabled = pattern[i] == '1';
    }
}

std::string TraySlotsTest::Switches() const {
    std::string s;
    for (int i = 0; i < TrayIconCount; ++i) {
        s += TraySlots()[i].enabled ? '1' : '0';
    }
    return s;
}

std::string TraySlotsTest::InTray() const {
    std::string s;
    for (int i = 0; i < TrayIconCount; ++i) {
        s += ShellHasIcon(window, i) ? '1' : '0';
    }
    return s;
}

namespace {

// Keeps one icon of its own in the tray for the whole run: under Wine, removing the last icon of
// the tray costs two seconds while the tray window goes away, and most tests end by doing so.
class TrayKeeper : public testing::Environment {
  public:
    void SetUp() override {
        notify_.cbSize = NOTIFYICONDATAA_V1_SIZE;
        notify_.hWnd = CreateHiddenTestWindow();
        notify_.uID = 99;
        notify_.uFlags = NIF_ICON;
        notify_.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
        Shell_NotifyIconA(NIM_ADD, &notify_);
    }
    void TearDown() override {
        Shell_NotifyIconA(NIM_DELETE, &notify_);
        DestroyWindow(notify_.hWnd);
    }

  private:
    NOTIFYICONDATAA notify_ = {};
};

testing::Environment* const trayKeeper = testing::AddGlobalTestEnvironment(new TrayKeeper);

}  // namespace

#include "ui/day_detail_dialog.h"

#include "resources/resource.h"
#include "ui/dialogs.h"

namespace {

// The text's box in the dialog's font: as wide and tall as its longest line and its lines.
SIZE MeasureText(HWND control, const std::wstring& text) {
    SIZE size = {0, 0};
    HDC dc = GetDC(control);
    if (dc == nullptr) {
        return size;
    }
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT box = {0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CALCRECT | DT_NOPREFIX | DT_LEFT | DT_EXPANDTABS);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    size.cx = box.right - box.left;
    size.cy = box.bottom - box.top;
    return size;
}

RECT ChildRect(HWND window, HWND child) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Keeps the template's margins: the text at its place, OK below it at the right, the window around
// both; never narrower than the template, so that the caption stays readable.
void FitToText(HWND window, const std::wstring& text) {
    HWND label = GetDlgItem(window, IDC_DAYDETAIL);
    HWND ok = GetDlgItem(window, IDOK);
    RECT client;
    RECT frame;
    if (label == nullptr || ok == nullptr || !GetClientRect(window, &client) ||
        !GetWindowRect(window, &frame)) {
        return;
    }
    const SIZE needed = MeasureText(label, text);
    const RECT textAt = ChildRect(window, label);
    const RECT okAt = ChildRect(window, ok);
    const int margin = textAt.left;
    const int gap = okAt.top - textAt.bottom;
    const int okWidth = okAt.right - okAt.left;
    const int okHeight = okAt.bottom - okAt.top;
    int width = margin + needed.cx + margin;
    if (width < client.right) {
        width = client.right;
    }
    const int textWidth = width - 2 * margin;
    const int okTop = textAt.top + needed.cy + gap;
    const int height = okTop + okHeight + margin;
    MoveWindow(label, margin, textAt.top, textWidth, needed.cy, FALSE);
    MoveWindow(ok, width - margin - okWidth, okTop, okWidth, okHeight, FALSE);
    const int frameX = (frame.right - frame.left) - client.right;
    const int frameY = (frame.bottom - frame.top) - client.bottom;
    SetWindowPos(window, nullptr, 0, 0, width + frameX, height + frameY,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Centred again over the owner, as the template's DS_CENTER placed the smaller window.
    RECT placed;
    RECT owner;
    HWND parent = GetWindow(window, GW_OWNER);
    if (parent != nullptr && GetWindowRect(window, &placed) && GetWindowRect(parent, &owner)) {
        const int x = owner.left + ((owner.right - owner.left) - (placed.right - placed.left)) / 2;
        const int y = owner.top + ((owner.bottom - owner.top) - (placed.bottom - placed.top)) / 2;
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void OpenDetail(HWND window, const std::wstring* text) {
    if (text == nullptr) {
        return;
    }
    SetDlgItemTextW(window, IDC_DAYDETAIL, text->c_str());
    FitToText(window, *text);
}

}  // namespace

void OpenDayDetailDialog(HWND owner, const std::wstring& text) {
    DialogBoxParamW(GetWindowServices().module, MAKEINTRESOURCEW(IDD_DAYDETAIL), owner,
                    DayDetailDialogProc, reinterpret_cast<LPARAM>(&text));
}

INT_PTR CALLBACK DayDetailDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OpenDetail(window, reinterpret_cast<const std::wstring*>(lParam));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(window, LOWORD(wParam));
            }
            return TRUE;
        case WM_CLOSE:
            EndDialog(window, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

#include "ui/dialog_lists.h"

#include "resources/resource.h"
#include "presentation/dialog_init.h"
#include "ui/win32_text.h"

namespace {

void AddListString(void* context, uint16_t controlId, bool isComboBox, const char* text) {
    const std::wstring wide = WideFromShiftJis(text);
    SendDlgItemMessageW(static_cast<HWND>(context), controlId,
                        isComboBox ? CB_ADDSTRING : LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace

void FillDialogLists(HWND dialog, int resourceNumber) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    HRSRC found =
        FindResourceW(instance, MAKEINTRESOURCEW(resourceNumber), MAKEINTRESOURCEW(RT_DLGINIT));
    if (found == nullptr) {
        return;
    }
    HGLOBAL loaded = LoadResource(instance, found);
    if (loaded == nullptr) {
        return;
    }
    const void* data = LockResource(loaded);
    const DWORD size = SizeofResource(instance, found);
    if (data != nullptr) {
        WalkDialogInit(static_cast<const uint8_t*>(data), size, AddListString, dialog);
    }
    FreeResource(loaded);
}

#include "ui/dialog_lists.h"

#include "resources/resource.h"
#include "presentation/dialog_init.h"

namespace {

void AddListString(void* context, uint16_t controlId, bool isComboBox, const char* text) {
    SendDlgItemMessageA(static_cast<HWND>(context), controlId,
                        isComboBox ? CB_ADDSTRING : LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(text));
}

}  // namespace

void FillDialogLists(HWND dialog, int resourceNumber) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    HRSRC found =
        FindResourceA(instance, MAKEINTRESOURCEA(resourceNumber), MAKEINTRESOURCEA(RT_DLGINIT));
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

#include "ui/message_boxes.h"

#include "presentation/texts.h"
#include "ui/dialogs.h"
#include "ui/win32_text.h"

namespace {

MessageBoxHooks gHooks = {ShowShiftJisMessageBox};

}  // namespace

MessageBoxHooks& GetMessageBoxHooks() {
    return gHooks;
}

void ShowWarning(HWND owner, int stringId) {
    const std::string text =
        LoadShiftJisString(GetWindowServices().module, static_cast<UINT>(stringId));
    auto show = gHooks.show ? gHooks.show : ShowShiftJisMessageBox;
    show(owner, text.c_str(), GetAppTitle(), MB_OK | MB_ICONWARNING);
}

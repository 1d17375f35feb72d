#include "ui/message_boxes.h"

#include "presentation/texts.h"
#include "ui/dialogs.h"

namespace {

MessageBoxHooks gHooks = {MessageBoxA};

}  // namespace

MessageBoxHooks& GetMessageBoxHooks() {
    return gHooks;
}

void ShowWarning(HWND owner, int stringId) {
    char text[512] = "";
    LoadStringA(GetWindowServices().module, static_cast<UINT>(stringId), text, sizeof text);
    auto show = gHooks.show ? gHooks.show : MessageBoxA;
    show(owner, text, GetAppTitle(), MB_OK | MB_ICONWARNING);
}

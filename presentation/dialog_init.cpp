#include "presentation/dialog_init.h"

#include <cstring>

namespace {

constexpr size_t kHeaderSize = 8;

uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

DialogInitWalk WalkDialogInit(const uint8_t* data, size_t size, DialogInitSink sink,
                              void* context) {
    DialogInitWalk walk = {DialogInitEnd::Damaged, 0};
    if (data == nullptr) {
        return walk;
    }
    // Each pass consumes at least one header, so the loop ends within size / 8 + 1 passes.
    size_t offset = 0;
    for (;;) {
        size_t left = size - offset;
        if (left < 2) {
            walk.end = DialogInitEnd::Damaged;
            return walk;
        }
        const uint16_t controlId = ReadU16(data + offset);
        if (controlId == 0) {
            walk.end = DialogInitEnd::EndMarker;
            return walk;
        }
        if (left < kHeaderSize) {
            walk.end = DialogInitEnd::Damaged;
            return walk;
        }
        const uint16_t code = ReadU16(data + offset + 2);
        if (code != kDialogInitListBox && code != kDialogInitComboBox) {
            walk.end = DialogInitEnd::UnknownCode;
            return walk;
        }
        const uint32_t length = ReadU32(data + offset + 4);
        const uint8_t* text = data + offset + kHeaderSize;
        // The control copies up to the first zero: a string without one inside its stored length
        // would make it read beyond the resource.
        if (length > left - kHeaderSize || std::memchr(text, 0, length) == nullptr) {
            walk.end = DialogInitEnd::Damaged;
            return walk;
        }
        if (sink != nullptr) {
            sink(context, controlId, code == kDialogInitComboBox,
                 reinterpret_cast<const char*>(text));
        }
        ++walk.added;
        offset += kHeaderSize + length;
    }
}

#include "presentation/shift_jis.h"

#include <cstring>

bool IsShiftJisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool AppendShiftJisText(char* dest, size_t size, const char* text) {
    if (size == 0) {
        return text[0] == '\0';
    }
    size_t length = strnlen(dest, size - 1);
    size_t i = 0;
    while (text[i] != '\0') {
        const size_t width =
            IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0' ? 2 : 1;
        if (length + width > size - 1) {
            dest[length] = '\0';
            return false;
        }
        std::memcpy(dest + length, text + i, width);
        length += width;
        i += width;
    }
    dest[length] = '\0';
    return true;
}

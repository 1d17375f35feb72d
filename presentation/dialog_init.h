// The list data stored beside a dialog (resource type 240): a sequence of records, each naming a
// list box or combo box of the dialog and a string to append to it, walked without any window.
#pragma once

#include <cstddef>
#include <cstdint>

// Message codes of a record: append to a list box, append to a combo box.
constexpr uint16_t kDialogInitListBox = 0x0401;
constexpr uint16_t kDialogInitComboBox = 0x0403;

// How a walk ended.
enum class DialogInitEnd {
    EndMarker,    // a record with control id 0
    UnknownCode,  // a message code other than the two above; the rest is ignored
    Damaged,      // the data ran out, or a record's string would pass the end of the data or
                  // has no terminating zero within its stored length
};

// Receives one string of the list data: the control id, whether the control is a combo box (else a
// list box), and the zero-terminated Shift_JIS text, which lies inside the walked data.
typedef void (*DialogInitSink)(void* context, uint16_t controlId, bool isComboBox,
                               const char* text);

struct DialogInitWalk {
    DialogInitEnd end;
    int32_t added;  // strings handed to the sink, in stored order
};

// Walks size bytes of list data from data (little-endian records: control id 16 bits, message code
// 16 bits, length 32 bits counting the string's terminating zero, then the string; the next record
// follows right after it). Every string is handed to sink before the walk moves on. Never reads
// outside [data, data + size): a damaged record ends the walk with the records before it delivered.
// A null data or a size of 0 ends at once as Damaged with nothing added.
DialogInitWalk WalkDialogInit(const uint8_t* data, size_t size, DialogInitSink sink, void* context);

#include "tray/dialog_init.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Added {
    uint16_t controlId;
    bool isComboBox;
    std::string text;
};

void Collect(void* context, uint16_t controlId, bool isComboBox, const char* text) {
    static_cast<std::vector<Added>*>(context)->push_back({controlId, isComboBox, text});
}

void PutU16(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
}

// A record whose length counts the text and its terminating zero.
void PutRecord(std::vector<uint8_t>& bytes, uint16_t controlId, uint16_t code, const char* text) {
    const size_t size = std::strlen(text) + 1;
    PutU16(bytes, controlId);
    PutU16(bytes, code);
    PutU32(bytes, static_cast<uint32_t>(size));
    bytes.insert(bytes.end(), text, text + size);
}

// A header with any length, followed by raw data bytes.
void PutRaw(std::vector<uint8_t>& bytes, uint16_t controlId, uint16_t code, uint32_t length,
            const std::string& data) {
    PutU16(bytes, controlId);
    PutU16(bytes, code);
    PutU32(bytes, length);
    bytes.insert(bytes.end(), data.begin(), data.end());
}

DialogInitWalk Walk(const std::vector<uint8_t>& bytes, std::vector<Added>& added) {
    // A buffer of exactly the data's size, so that a read past its end is a real overrun.
    return WalkDialogInit(bytes.empty() ? nullptr : bytes.data(), bytes.size(), Collect, &added);
}

TEST(WalkDialogInit, FirstRecordEndMarkerAddsNothing) {
    std::vector<uint8_t> bytes;
    PutU16(bytes, 0);
    PutRecord(bytes, 1137, kDialogInitComboBox, "never");
    std::vector<Added> added;
    const DialogInitWalk walk = Walk(bytes, added);
    EXPECT_EQ(walk.end, DialogInitEnd::EndMarker);
    EXPECT_EQ(walk.added, 0);
    EXPECT_TRUE(added.empty());
}

TEST(WalkDialogInit, DeliversListAndComboStringsInStoredOrder) {
    std::vector<uint8_t> bytes;
    PutRecord(bytes, 1137, kDialogInitComboBox, "毎月");
    PutRecord(bytes, 1128, kDialogInitListBox, "");
    PutRecord(bytes, 1137, kDialogInitComboBox, "01月");
    PutRecord(bytes, 1140, kDialogInitComboBox, "日曜日");
    PutU16(bytes, 0);
    std::vector<Added> added;
    const DialogInitWalk walk = Walk(bytes, added);
    EXPECT_EQ(walk.end, DialogInitEnd::EndMarker);
    ASSERT_EQ(walk.added, 4);
    ASSERT_EQ(added.size(), 4u);
    EXPECT_EQ(added[0].controlId, 1137);
    EXPECT_TRUE(added[0].isComboBox);
    EXPECT_EQ(added[0].text, "\x96\x88\x8c\x8e");  // 毎月 in Shift_JIS
    EXPECT_EQ(added[1].controlId, 1128);
    EXPECT_FALSE(added[1].isComboBox);
    EXPECT_EQ(added[1].text, "");
    EXPECT_EQ(added[2].text, "01月");
    EXPECT_EQ(added[3].controlId, 1140);
    EXPECT_EQ(added[3].text, "日曜日");
}

TEST(WalkDialogInit, UnknownCodeStopsAfterTheRecordsBeforeIt) {
    std::vector<uint8_t> bytes;
    PutRecord(bytes, 1137, kDialogInitComboBox, "a");
    PutRecord(bytes, 1138, kDialogInitComboBox, "b");
    PutRecord(bytes, 1139, 0x0402, "c");
    PutRecord(bytes, 1140, kDialogInitComboBox, "d");
    PutU16(bytes, 0);
    std::vector<Added> added;
    const DialogInitWalk walk = Walk(bytes, added);
    EXPECT_EQ(walk.end, DialogInitEnd::UnknownCode);
    EXPECT_EQ(walk.added, 2);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[1].text, "b");
}

TEST(WalkDialogInit, StoredLengthDecidesWhereTheNextRecordStarts) {
    // Bytes after the terminating zero belong to the record and are skipped.
    std::vector<uint8_t> bytes;
    PutRaw(bytes, 1137, kDialogInitComboBox, 6, std::string("ab\0\x01\x37\x04", 6));
    PutRecord(bytes, 1138, kDialogInitComboBox, "next");
    PutU16(bytes, 0);
    std::vector<Added> added;
    const DialogInitWalk walk = Walk(bytes, added);
    EXPECT_EQ(walk.end, DialogInitEnd::EndMarker);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0].text, "ab");
    EXPECT_EQ(added[1].controlId, 1138);
    EXPECT_EQ(added[1].text, "next");
}

TEST(WalkDialogInit, NullSinkStillCountsAndNullDataIsDamaged) {
    std::vector<uint8_t> bytes;
    PutRecord(bytes, 1137, kDialogInitComboBox, "x");
    PutU16(bytes, 0);
    EXPECT_EQ(WalkDialogInit(bytes.data(), bytes.size(), nullptr, nullptr).added, 1);
    const DialogInitWalk none = WalkDialogInit(nullptr, 100, Collect, nullptr);
    EXPECT_EQ(none.end, DialogInitEnd::Damaged);
    EXPECT_EQ(none.added, 0);
}

// Damaged data: one good record, then the damage; the walk must deliver the good one and stop
// without reading past the end.
struct DamagedCase {
    const char* name;
    void (*append)(std::vector<uint8_t>& bytes);
};

static const DamagedCase kDamagedCases[] = {
    {     "MissingEndMarker",[](std::vector<uint8_t>&) {}                             },
    {      "HalfAnEndMarker",  [](std::vector<uint8_t>& b) { b.push_back(0); }},
    {     "HeaderCutAfterId", [](std::vector<uint8_t>& b) { PutU16(b, 1138); }},
    {    "HeaderCutInLength",
     [](std::vector<uint8_t>& b) {
     PutU16(b, 1138);
     PutU16(b, kDialogInitComboBox);
     PutU16(b, 5);
     }                                                                        },
    {"LengthOneBeyondTheEnd",
     [](std::vector<uint8_t>& b) {
     PutRaw(b, 1138, kDialogInitComboBox, 6, std::string("abcd\0", 5));
     }                                                                        },
    {           "LengthHuge",
     [](std::vector<uint8_t>& b) {
     PutRaw(b, 1138, kDialogInitComboBox, 0xFFFFFFFFu, std::string("ab\0", 3));
     }                                                                        },
    {    "LengthWrapsOffset",
     [](std::vector<uint8_t>& b) {
     PutRaw(b, 1138, kDialogInitComboBox, 0xFFFFFFF8u, std::string("ab\0", 3));
     }                                                                        },
    {   "NoZeroWithinLength",
     [](std::vector<uint8_t>& b) {
     PutRaw(b, 1138, kDialogInitComboBox, 3, "abc");
     PutU16(b, 0);
     }                                                                        },
    {           "LengthZero",
     [](std::vector<uint8_t>& b) {
     PutRaw(b, 1138, kDialogInitComboBox, 0, "");
     PutU16(b, 0);
     }                                                                        },
};

void PrintTo(const DamagedCase& damaged, std::ostream* os) {
    *os << damaged.name;
}

class WalkDamaged : public testing::TestWithParam<DamagedCase> {};

TEST_P(WalkDamaged, StopsSafelyAfterTheGoodRecords) {
    std::vector<uint8_t> bytes;
    PutRecord(bytes, 1137, kDialogInitComboBox, "good");
    GetParam().append(bytes);
    std::vector<Added> added;
    const DialogInitWalk walk = Walk(bytes, added);
    EXPECT_EQ(walk.end, DialogInitEnd::Damaged);
    EXPECT_EQ(walk.added, 1);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].text, "good");
}

INSTANTIATE_TEST_SUITE_P(Cases, WalkDamaged, testing::ValuesIn(kDamagedCases),
                         [](const testing::TestParamInfo<DamagedCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(WalkDialogInit, EmptyDataIsDamaged) {
    std::vector<uint8_t> bytes;
    std::vector<Added> added;
    const DialogInitWalk walk = Walk(bytes, added);
    EXPECT_EQ(walk.end, DialogInitEnd::Damaged);
    EXPECT_EQ(walk.added, 0);
}

}  // namespace

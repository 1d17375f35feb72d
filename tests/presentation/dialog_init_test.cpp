#include "presentation/dialog_init.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string_view>
#include <string>
#include <vector>

namespace {

using namespace std::literals;

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

// A record whose length counts the text and its terminating zero.
void PutRecord(std::vector<uint8_t>& bytes, uint16_t controlId, uint16_t code, const char* text) {
    const size_t size = std::strlen(text) + 1;
    PutU16(bytes, controlId);
    PutU16(bytes, code);
    PutU16(bytes, static_cast<uint16_t>(size));
    PutU16(bytes, 0);
    bytes.insert(bytes.end(), text, text + size);
}

void PutBytes(std::vector<uint8_t>& bytes, std::string_view raw) {
    bytes.insert(bytes.end(), raw.begin(), raw.end());
}

DialogInitWalk Walk(const std::vector<uint8_t>& bytes, std::vector<Added>& added) {
    // A buffer of exactly the data's size, so that a read past its end is a real overrun.
    return WalkDialogInit(bytes.empty() ? nullptr : bytes.data(), bytes.size(), Collect, &added);
}

TEST(WalkDialogInit, LeadingEndMarkerAddsNothingEmptyOrNullDataIsDamaged) {
    std::vector<uint8_t> bytes;
    std::vector<Added> added;
    const DialogInitWalk empty = Walk(bytes, added);
    EXPECT_EQ(empty.end, DialogInitEnd::Damaged);
    EXPECT_EQ(empty.added, 0);
    const DialogInitWalk none = WalkDialogInit(nullptr, 100, Collect, nullptr);
    EXPECT_EQ(none.end, DialogInitEnd::Damaged);
    EXPECT_EQ(none.added, 0);
    PutU16(bytes, 0);
    PutRecord(bytes, 1137, kDialogInitComboBox, "never");
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
    PutBytes(bytes, "\x71\x04\x03\x04\x06\0\0\0ab\0\x01\x37\x04"sv);
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

TEST(WalkDialogInit, NullSinkStillCounts) {
    std::vector<uint8_t> bytes;
    PutRecord(bytes, 1137, kDialogInitComboBox, "x");
    PutU16(bytes, 0);
    EXPECT_EQ(WalkDialogInit(bytes.data(), bytes.size(), nullptr, nullptr).added, 1);
}

// Damaged data after one good record: the walk must deliver the good one and stop without reading
// past the end. A record is control id, code (0x0403 a combo box), length (32 bits), then data;
// 0x61 0x62 is "ab".
struct DamagedCase {
    const char* name;
    std::string_view tail;
};

static const DamagedCase kDamagedCases[] = {
    {     "MissingEndMarker",                                           ""sv},
    {      "HalfAnEndMarker",                                         "\0"sv},
    {     "HeaderCutAfterId",                                   "\x72\x04"sv},
    {    "HeaderCutInLength",                     "\x72\x04\x03\x04\x05\0"sv},
    {"LengthOneBeyondTheEnd",           "\x72\x04\x03\x04\x06\0\0\0abcd\0"sv},
    {           "LengthHuge", "\x72\x04\x03\x04\xFF\xFF\xFF\xFF\x61\x62\0"sv},
    {    "LengthWrapsOffset", "\x72\x04\x03\x04\xF8\xFF\xFF\xFF\x61\x62\0"sv},
    {   "NoZeroWithinLength",          "\x72\x04\x03\x04\x03\0\0\0abc\0\0"sv},
    {           "LengthZero",               "\x72\x04\x03\x04\0\0\0\0\0\0"sv},
};

class WalkDamaged : public testing::TestWithParam<DamagedCase> {};

TEST_P(WalkDamaged, StopsSafelyAfterTheGoodRecords) {
    std::vector<uint8_t> bytes;
    PutRecord(bytes, 1137, kDialogInitComboBox, "good");
    PutBytes(bytes, GetParam().tail);
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

}  // namespace

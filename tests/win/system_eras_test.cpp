// The system's list of eras read from the registry of the test's Wine prefix: the later eras are
// taken by date, the built-in ones, one dated before 令和 and one that cannot be read are not.
#include "tray/system_eras.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "presentation/japanese_era.h"

namespace {

constexpr wchar_t kErasKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Nls\\Calendars\\Japanese\\Eras";

struct EraValue {
    const wchar_t* name;
    const wchar_t* data;
};

// In the order written; the registry keeps none.
static const EraValue kValues[] = {
    {L"2019 05 01", L"令和_令_Reiwa_R"},
    {L"2031 01 01",     L"新元_新_S_S"},
    {L"2030 01 01",     L"前元_前_Z_Z"}, // listed after a later one
    {L"2018 01 01",     L"旧元_旧_K_K"}, // out of order: before 令和
    {  L"2040 1 1",     L"悪元_悪_A_A"}, // unreadable date
    {L"2045 07 01",     L"次元_次_T_T"},
};

class SystemErasTest : public testing::Test {
  protected:
    void SetUp() override {
        // Whether the list was there before (Wine has none): only what the test made goes.
        HKEY existing = nullptr;
        made_ =
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, kErasKey, 0, KEY_READ, &existing) != ERROR_SUCCESS;
        if (existing != nullptr) {
            RegCloseKey(existing);
        }
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kErasKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                  nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
        for (const EraValue& v : kValues) {
            const DWORD bytes = static_cast<DWORD>((wcslen(v.data) + 1) * sizeof(wchar_t));
            RegSetValueExW(key_, v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.data), bytes);
        }
    }
    void TearDown() override {
        for (const EraValue& v : kValues) {
            if (made_ || wcscmp(v.name, L"2019 05 01") != 0) {
                RegDeleteValueW(key_, v.name);
            }
        }
        RegCloseKey(key_);
        if (made_) {
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, kErasKey);
        }
        ResetJapaneseEras();
    }
    HKEY key_ = nullptr;
    bool made_ = false;
};

TEST_F(SystemErasTest, TakesTheErasAfterReiwaByDate) {
    LoadSystemEras();
    char text[32];
    EXPECT_STREQ(FormatJapaneseEraYear(text, sizeof text, 2018, 6, 1), "平成30年");
    EXPECT_STREQ(FormatJapaneseEraYear(text, sizeof text, 2030, 6, 1), "前元元年");
    EXPECT_STREQ(FormatJapaneseEraYear(text, sizeof text, 2031, 1, 1), "新元元年");
    EXPECT_STREQ(FormatJapaneseEraYear(text, sizeof text, 2045, 7, 1), "次元元年");
}

}  // namespace

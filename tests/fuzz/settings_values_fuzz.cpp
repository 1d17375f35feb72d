// Fuzz target: the texts the tray program takes from outside before anything else, the values of
// the settings file and of the system's list of eras, its own module path and its command line. The
// input is cut at its first zero byte, as the system hands these over as C strings.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "presentation/japanese_era.h"
#include "presentation/place.h"
#include "presentation/settings_values.h"
#include "presentation/tray_logic.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// Whether the run of digits after the blanks and the sign has a digit other than 0: the only
// thing a switch value decides.
bool HasNonZeroDigit(const char* text) {
    const char* p = text + std::strspn(text, " \t\n\v\f\r");
    p += (*p == '+' || *p == '-') ? 1 : 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (*p != '0') {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data),
                           strnlen(reinterpret_cast<const char*>(data), size));

    FUZZ_CHECK((ParseSettingValue(text.c_str()) != 0) == HasNonZeroDigit(text.c_str()));

    // Output buffers of exactly the documented size on the heap, so that the sanitizer sees a
    // write of one byte past them.
    std::vector<char> settings(kFilePathSize, 'x');
    std::vector<char> dataPath(kFilePathSize, 'x');
    if (DeriveFilePaths(text.c_str(), settings.data(), dataPath.data())) {
        const size_t length = strnlen(settings.data(), kFilePathSize);
        FUZZ_CHECK(length < kFilePathSize && length >= 5);
        FUZZ_CHECK(std::strcmp(settings.data() + length - 4, ".ini") == 0);
        FUZZ_CHECK(std::strncmp(settings.data(), dataPath.data(), length - 4) == 0);
        FUZZ_CHECK(std::strcmp(dataPath.data() + length - 4, ".dat") == 0);
    } else {
        FUZZ_CHECK(settings[0] == '\0' && dataPath[0] == '\0');
    }

    const char* arguments = ArgumentsOfCommandLine(text.c_str());
    FUZZ_CHECK(arguments != nullptr);
    FUZZ_CHECK(arguments >= text.c_str() && arguments <= text.c_str() + text.size());
    const StartOption option = ParseStartOption(arguments);
    FUZZ_CHECK(option == StartNormally || std::strlen(arguments) == 2);

    // A coordinate of [Place]: accepted only within range, and written back as a text that reads
    // again to the same four decimals.
    double degrees = 0;
    if (ParseLongitude(text.c_str(), &degrees)) {
        FUZZ_CHECK(degrees >= -kMaxPlaceLongitude && degrees <= kMaxPlaceLongitude);
        char written[16];
        char again[16];
        double back = 0;
        FUZZ_CHECK(ParseLongitude(FormatCoordinate(written, sizeof written, degrees), &back));
        FUZZ_CHECK(std::strcmp(FormatCoordinate(again, sizeof again, back), written) == 0);
    }
    PlaceSetting place = {};
    if (ValidatePlaceFields(text.c_str(), "35", "139", &place) == PlaceProblem::None) {
        FUZZ_CHECK(place.name[0] != '\0' && std::strlen(place.name) < kPlaceNameSize);
    }

    // WeekStart and ShowEra only ever mean one of their choices.
    const int32_t choice = ParseChoiceSetting(text.c_str(), 2, 1);
    FUZZ_CHECK(choice == 0 || choice == 1);
    // A value of the system's list of eras: its name is the first ten bytes, its data the rest.
    const size_t split = text.size() < 10 ? text.size() : 10;
    JapaneseEra era = {};
    if (ParseRegistryEra(text.substr(0, split).c_str(), text.c_str() + split, &era)) {
        FUZZ_CHECK(era.name[0] != '\0' && strnlen(era.name, sizeof era.name) < sizeof era.name);
        FUZZ_CHECK(era.month >= 1 && era.month <= 12 && era.day >= 1 && era.day <= 31);
    }
    return 0;
}

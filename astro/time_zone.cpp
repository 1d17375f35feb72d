#include "astro/time_zone.h"

#include "astro/time_zone_platform.h"

namespace {

struct BiasOverride {
    bool active;
    int32_t bias;
};

BiasOverride biasOverride = {false, 0};

}  // namespace

int32_t TimeZoneBias() {
    if (biasOverride.active) {
        return biasOverride.bias;
    }
    return PlatformTimeZoneBias();
}

void SetTimeZoneBiasOverride(int32_t bias) {
    biasOverride = {true, bias};
}

void ClearTimeZoneBiasOverride() {
    biasOverride = {false, 0};
}

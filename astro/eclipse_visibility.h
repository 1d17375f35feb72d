// How an eclipse is seen from a place.
#pragma once

#include <cstdint>

enum EclipseVisibility : int32_t {
    EclipseNotVisible = 0,  // 見えない: no eclipse there, or the body below the horizon throughout
    EclipseVisible = 1,     // 見える: the body up from the first contact to the last
    EclipseRising = 2,      // 月出帯食 / 日出帯食: the body rises during the eclipse
    EclipseSetting = 3,     // 月入帯食 / 日入帯食: the body sets during the eclipse
};

// The observer's place as the windows read it, and how they have a new one saved. The tray
// program sets both at start from the settings file; the windows never read the file themselves.
#pragma once

#include "presentation/place.h"

// The current place; the default (東京) until one is set.
void SetUiPlace(const PlaceSetting& place);
const PlaceSetting& GetUiPlace();

// What the place dialog needs from the program around it. Until set, nothing is saved (save
// answers false) and nothing is refreshed.
struct PlaceServices {
    bool (*save)(const PlaceSetting& place);  // writes [Place]; false when the file refused it
    void (*saved)();                          // after a new place was saved: the full refresh
};

void SetPlaceServices(const PlaceServices& services);
const PlaceServices& GetPlaceServices();

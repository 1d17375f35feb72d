#include "ui/ui_place.h"

namespace {

bool SaveNothing(const PlaceSetting&) {
    return false;
}

void NothingToRefresh() {}

PlaceSetting current = DefaultPlaceSetting();
PlaceServices services = {SaveNothing, NothingToRefresh};

}  // namespace

void SetUiPlace(const PlaceSetting& place) {
    current = place;
}

const PlaceSetting& GetUiPlace() {
    return current;
}

void SetPlaceServices(const PlaceServices& replacement) {
    services = replacement;
    if (!services.save) {
        services.save = SaveNothing;
    }
    if (!services.saved) {
        services.saved = NothingToRefresh;
    }
}

const PlaceServices& GetPlaceServices() {
    return services;
}

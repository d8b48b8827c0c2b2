#include "play_sweep/sight.h"

namespace QuillmerePlaySweep {

const FigureSight* Sight::Figure(DRAV::ThingId id) const {
    for (const FigureSight& figure : figures)
        if (id && figure.id == id) return &figure;
    return nullptr;
}

const ThingSight* Sight::Thing(DRAV::ThingId id) const {
    for (const ThingSight& thing : things)
        if (id && thing.id == id) return &thing;
    return nullptr;
}

std::string Sight::NameOf(DRAV::ThingId id) const {
    if (const FigureSight* figure = Figure(id)) return figure->name;
    if (const ThingSight* thing = Thing(id)) return thing->name;
    return "";
}

}  // namespace QuillmerePlaySweep

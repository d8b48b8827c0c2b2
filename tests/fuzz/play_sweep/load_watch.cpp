#include "play_sweep/load_watch.h"

namespace QuillmerePlaySweep {
namespace {

std::string Doing(const Sight& sight, const OrderSight& order) {
    const std::string name = sight.NameOf(order.thing);
    switch (order.kind) {
        case OrderSight::Kind::None: return "nothing";
        case OrderSight::Kind::Ground: return "a walk";
        case OrderSight::Kind::Door: return "a door";
        case OrderSight::Kind::Thing: return "a walk to " + name;
        case OrderSight::Kind::Fight: return "a fight with " + name;
        case OrderSight::Kind::Other: break;
    }
    return "an order of another kind";
}

}  // namespace

void CLoadWatch::Check(CFindings& findings, int turn, const Sight& sight) {
    if (!m_saved || !sight.playing || !AnotherGame(m_saved->game, sight)) return;
    const Sight saved = std::move(*m_saved);
    m_saved.reset();
    const auto now = [&sight](DRAV::ThingId id) {
        const auto found = sight.renumbered.find(id);
        return found == sight.renumbered.end() ? DRAV::ThingId{0} : found->second;
    };
    // The same one, found again under its new id or, unnumbered, by its name.
    const auto same = [&](DRAV::ThingId was, DRAV::ThingId is) {
        if (!was || !is) return was == is;
        return now(was) ? now(was) == is : saved.NameOf(was) == sight.NameOf(is);
    };
    // A load leaves out what aims at the fallen: a fight with one is over.
    const auto fallen = [&saved](DRAV::ThingId id) {
        const FigureSight* figure = saved.Figure(id);
        return figure && !figure->alive;
    };
    for (const FigureSight& before : saved.figures) {
        const FigureSight* after = before.alive ? sight.Figure(now(before.id)) : nullptr;
        if (!after) continue;
        std::string differs;
        if (fallen(before.order.thing) || fallen(before.striking)) continue;
        if (before.order.kind != after->order.kind || !same(before.order.thing, after->order.thing))
            differs = "doing " + Doing(saved, before.order) + " came back doing " + Doing(sight, after->order);
        else if (!same(before.striking, after->striking))
            differs = "striking at " + (before.striking ? saved.NameOf(before.striking) : "nobody") +
                      " came back striking at " + (after->striking ? sight.NameOf(after->striking) : "nobody");
        if (!differs.empty())
            findings.Report("save", turn, before.name + ", saved in " + saved.area + " " + differs);
    }
}

}  // namespace QuillmerePlaySweep

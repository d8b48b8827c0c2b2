#include "world/saved_thing.h"

#include <array>
#include <utility>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"
#include "rules/items/item_count.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/area/object_records.h"
#include "world/game.h"
#include "world/object.h"
#include "world/saved_word.h"
#include "world/store.h"
#include "world/tile.h"

namespace DRAV {
namespace {

// A tile's id holds its cell as row * 1000 + column.
constexpr std::uint32_t kTileRowStride = 1000;

constexpr std::array<std::pair<SavedThingForm, const char*>, 7> kElements{{
    {SAVED_ACTOR, "actor"},
    {SAVED_OBJECT, "object"},
    {SAVED_TILE, "tile"},
    {SAVED_WORN, "worn"},
    {SAVED_PACKED, "pack"},
    {SAVED_HELD, "held"},
    {SAVED_STOCKED, "stock"},
}};

const char* ElementOf(SavedThingForm form) {
    for (const auto& [known, name] : kElements)
        if (known == form) return name;
    return "0";
}

// The items an item of `form` is among at `place`; none when there is nothing to look in.
ItemPtrList ItemsAt(SavedThingForm form, const SavedThingPlace& place) {
    switch (form) {
        case SAVED_PACKED: return place.actor ? place.actor->GetBackpackItems() : ItemPtrList();
        case SAVED_HELD: return place.container ? place.container->GetItems() : ItemPtrList();
        case SAVED_STOCKED:
            return place.keeper && place.keeper->GetStore() ? place.keeper->GetStore()->GetStock() : ItemPtrList();
        default: return {};
    }
}

}  // namespace

bool CSavedThing::Describe(ThingId id, const SavedThingPlace& place, std::uint32_t forms, CSavedThing& thing) {
    thing = CSavedThing();
    const auto as = [&](SavedThingForm form) {
        thing.m_form = form;
        return (forms & form) != 0;
    };
    const CArea* area = place.area;
    const std::uint32_t serial = id & kMaxThingSerial;
    switch (id >> 24) {
        case 0: return as(SAVED_NOTHING);
        case THING_ACTOR: thing.m_number = serial; return as(SAVED_ACTOR);
        case THING_TILE:
            thing.m_number = serial % kTileRowStride;
            thing.m_row = serial / kTileRowStride;
            return as(SAVED_TILE);
        case THING_OBJECT: {
            const CObject* object = area ? area->FindObject(id) : nullptr;
            if (!object) return false;
            std::int32_t column = 0, row = 0;
            ObjectCell(*object, column, row);
            thing.m_key = object->GetTemplate().GetKey();
            // Found again as the first of its definition in its cell, or not at all.
            if (column < 0 || row < 0 || !IsSavableWord(thing.m_key) ||
                area->FindObjectAt(thing.m_key, static_cast<std::uint32_t>(column),
                                   static_cast<std::uint32_t>(row)) != object)
                return false;
            thing.m_number = static_cast<std::uint32_t>(column);
            thing.m_row = static_cast<std::uint32_t>(row);
            return as(SAVED_OBJECT);
        }
        case THING_ITEM: {
            for (int slot = 0; place.actor && slot < kEquipSlotCount; ++slot) {
                const CItem* item = place.actor->GetEquipped(static_cast<EquipSlot>(slot));
                if (!item || item->GetId() != id) continue;
                thing.m_number = static_cast<std::uint32_t>(slot);
                thing.m_key = item->GetTemplate().GetKey();
                return IsSavableWord(thing.m_key) && as(SAVED_WORN);
            }
            for (const SavedThingForm form : {SAVED_PACKED, SAVED_HELD, SAVED_STOCKED}) {
                const ItemPtrList items = ItemsAt(form, place);
                for (std::size_t i = 0; i < items.size(); ++i) {
                    if (items[i]->GetId() != id) continue;
                    thing.m_number = static_cast<std::uint32_t>(i);
                    thing.m_key = items[i]->GetTemplate().GetKey();
                    return IsSavableWord(thing.m_key) && as(form);
                }
            }
            return false;
        }
        default: return false;
    }
}

CSavedThing CSavedThing::Read(DRAVCommon::CDataFileReader& reader, std::uint32_t forms, const std::string& what) {
    CSavedThing thing;
    if (reader.IsWord("0")) {
        if ((forms & SAVED_NOTHING) == 0) reader.Fail(DRAV_ERR_BAD_DATA, what + " names nothing");
        reader.Advance();
        return thing;
    }
    const std::string element = reader.PeekBlockName();
    for (const auto& [form, name] : kElements)
        if (element == name) thing.m_form = form;
    if (element.empty() || thing.m_form == SAVED_NOTHING || (forms & thing.m_form) == 0)
        reader.Fail(DRAV_ERR_BAD_DATA, "expected " + what);
    reader.BeginBlock(element);
    switch (thing.m_form) {
        case SAVED_ACTOR: thing.m_number = reader.ReadUInt(0, kMaxThingSerial, "a serial"); break;
        case SAVED_OBJECT:
            thing.m_key = reader.ReadWordOrEmpty();
            thing.m_number = reader.ReadUInt();
            thing.m_row = reader.ReadUInt();
            break;
        case SAVED_TILE:
            thing.m_number = reader.ReadUInt(0, kTileRowStride - 1, "a tile's column");
            thing.m_row = reader.ReadUInt(0, kMaxThingSerial / kTileRowStride - 1, "a tile's row");
            break;
        case SAVED_WORN:
            thing.m_number = reader.ReadUInt(0, kEquipSlotCount - 1, "an equipment slot");
            thing.m_key = reader.ReadWord();
            break;
        default:
            thing.m_number = reader.ReadUInt(0, kSavedItemListLimit - 1, "an item's place in its list");
            thing.m_key = reader.ReadWord();
            break;
    }
    // As every key a save holds: no longer than play keeps one.
    if (!thing.m_key.empty()) RequireSavedWord(reader, thing.m_key, "definition key");
    reader.EndBlock();
    return thing;
}

void CSavedThing::Write(DRAVCommon::CDataFileWriter& writer) const {
    if (m_form == SAVED_NOTHING) {
        writer.WriteWord("0");
        return;
    }
    writer.BeginBlock(ElementOf(m_form));
    switch (m_form) {
        case SAVED_ACTOR: writer.WriteValue(m_number); break;
        case SAVED_OBJECT:
            writer.WriteWordOrZero(m_key);
            writer.WriteValue(m_number);
            writer.WriteValue(m_row);
            break;
        case SAVED_TILE:
            writer.WriteValue(m_number);
            writer.WriteValue(m_row);
            break;
        default:
            writer.WriteValue(m_number);
            writer.WriteWord(m_key);
            break;
    }
    writer.EndBlock();
}

bool CSavedThing::Find(const CGame& game, const SavedThingPlace& place, ThingId& id) const {
    id = 0;
    const CArea* area = place.area;
    const CItem* item = nullptr;
    switch (m_form) {
        case SAVED_NOTHING: return true;
        case SAVED_ACTOR: {
            ThingId saved = 0;
            MakeThingId(saved, THING_ACTOR, m_number);
            id = game.FindLoadedActor(saved);
            return id != 0;
        }
        case SAVED_OBJECT: {
            const CObject* object = area ? area->FindObjectAt(m_key, m_number, m_row) : nullptr;
            if (object) id = object->GetId();
            return object != nullptr;
        }
        case SAVED_TILE:
            if (!area || m_number >= area->GetColumns() || m_row >= area->GetRows()) return false;
            id = MakeTileId(m_row, m_number);
            return true;
        case SAVED_WORN:
            if (place.actor) item = place.actor->GetEquipped(static_cast<EquipSlot>(m_number));
            break;
        default:
            if (const ItemPtrList items = ItemsAt(m_form, place); m_number < items.size()) {
                if (items[m_number]->GetTemplate().GetKey() != m_key) return false;
                id = items[m_number]->GetId();
                return true;
            }
            break;
    }
    // An item of the definition the save names, or the list has changed under it.
    if (!item || item->GetTemplate().GetKey() != m_key) return false;
    id = item->GetId();
    return true;
}

}  // namespace DRAV

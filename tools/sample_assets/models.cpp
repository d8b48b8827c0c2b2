#include "sample_assets/models.h"

namespace QuillmereTools {
namespace {

constexpr std::uint32_t kIronRgb = 0x303236;
constexpr std::uint32_t kBrassRgb = 0xB08A3C;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// Tiles: one cell spans x and z from -1.25 to 1.25; a full wall is 10 high. The game's
// camera looks down at about a third of a right angle from the south-east, so whatever
// stands inside an area stays below the middle of a goblin standing a cell behind it:
// fences, walls, doors and gates come up to a man's chest and no higher. Only an
// area's north and west edges, with nothing beyond them, carry full walls.
constexpr float kFenceHeight = 1.5f;  // the reed tips; the rushes on top lie at 1.1
constexpr float kBoardWallHeight = 1.4f;
constexpr float kDoorHeight = 2.0f;   // the door tiles' picking height in the chapter's data

XModel BoathouseDoor() {
    // A boarded half-door, the latch through it, two strap hinges on the hinge side.
    XModel m;
    const int wood = m.AddPart("Door", kWhite, "door.png");
    const int iron = m.AddPart("Iron", kIronRgb);
    m.AddBox(wood, {-1.1f, 0, -0.1f}, {1.1f, kDoorHeight, 0.1f});
    m.AddBox(iron, {0.7f, 1.0f, -0.18f}, {0.85f, 1.2f, 0.18f});
    for (float y : {0.3f, 1.55f}) m.AddBox(iron, {-1.1f, y, -0.12f}, {-0.2f, y + 0.15f, 0.12f});
    return m;
}

XModel WardenGate() {
    XModel m;
    const int posts = m.AddPart("Posts", kWhite, "door.png");
    const int bars = m.AddPart("Bars", kIronRgb);
    for (float x : {-1.25f, 1.0f}) m.AddBox(posts, {x, 0, -0.15f}, {x + 0.25f, 8, 0.15f});
    for (int i = 0; i < 5; ++i) {
        const float x = -0.8f + 0.4f * static_cast<float>(i);
        m.AddBox(bars, {x - 0.04f, 0.2f, -0.04f}, {x + 0.04f, 6.5f, 0.04f});
    }
    for (float y : {1.0f, 6.0f}) m.AddBox(bars, {-1.0f, y, -0.06f}, {1.0f, y + 0.12f, 0.06f});
    return m;
}

XModel SluiceGate() {
    // The board that lets the millrace in, between two iron posts under a beam.
    XModel m;
    const int panel = m.AddPart("Panel", kWhite, "door.png");
    const int frame = m.AddPart("Frame", kIronRgb);
    m.AddBox(panel, {-1.0f, 0, -0.2f}, {1.0f, 1.2f, 0.2f});
    for (float x : {-1.25f, 1.0f}) m.AddBox(frame, {x, 0, -0.25f}, {x + 0.25f, kDoorHeight - 0.2f, 0.25f});
    m.AddBox(frame, {-1.25f, kDoorHeight - 0.2f, -0.25f}, {1.25f, kDoorHeight, 0.25f});
    return m;
}

XModel SlipwayDoors() {
    // Two cells wide: two leaves that meet in the middle.
    XModel m;
    const int leaves = m.AddPart("Leaves", kWhite, "door.png");
    const int iron = m.AddPart("Iron", kIronRgb);
    m.AddBox(leaves, {-2.45f, 0, -0.1f}, {-0.05f, kDoorHeight, 0.1f});
    m.AddBox(leaves, {0.05f, 0, -0.1f}, {2.45f, kDoorHeight, 0.1f});
    m.AddBox(iron, {-0.6f, 1.0f, -0.14f}, {0.6f, 1.15f, 0.14f});  // the bar across both
    return m;
}

// The four sides of a cell, `height` high and facing out, and a lid over them at `lid`.
void AddCellBlock(XModel& m, int sides, int top, float height, float lid) {
    const float e = 1.25f, h = height;
    m.AddQuad(sides, {-e, h, e}, {-e, 0, e}, {e, 0, e}, {e, h, e});      // +z
    m.AddQuad(sides, {e, h, -e}, {e, 0, -e}, {-e, 0, -e}, {-e, h, -e});  // -z
    m.AddQuad(sides, {e, h, e}, {e, 0, e}, {e, 0, -e}, {e, h, -e});      // +x
    m.AddQuad(sides, {-e, h, -e}, {-e, 0, -e}, {-e, 0, e}, {-e, h, e});  // -x
    m.AddQuad(top, {-e, lid, -e}, {-e, lid, e}, {e, lid, e}, {e, lid, -e});
}

XModel ReedFence() {
    // A bank of reeds filling its cell: stalks round the sides, their tips see-through
    // above a mat of rushes woven over the top.
    XModel m;
    const int reeds = m.AddPart("Reeds", kWhite, "reeds.png");
    const int rushes = m.AddPart("Rushes", kWhite, "rushes.png");
    AddCellBlock(m, reeds, rushes, kFenceHeight, 1.1f);
    return m;
}

XModel BoardWall() {
    // The boathouse's wall: tarred boards round a cell, planks laid over the top.
    XModel m;
    const int boards = m.AddPart("Boards", kWhite, "door.png");
    const int top = m.AddPart("Top", kWhite, "planks.png");
    AddCellBlock(m, boards, top, kBoardWallHeight, kBoardWallHeight);
    return m;
}

XModel StoneWall() {
    // The sluice house's wall at Ashcombe: courses of river stone, capped with flags.
    XModel m;
    const int stones = m.AddPart("Stones", kWhite, "stone_blocks.png");
    const int cap = m.AddPart("Cap", kWhite, "stone_flags.png");
    AddCellBlock(m, stones, cap, kBoardWallHeight, kBoardWallHeight);
    return m;
}

XModel NetRack() {
    // Three cells long (x) and two deep (z): posts and rails with nets hung between,
    // low enough to see over.
    XModel m;
    const int frame = m.AddPart("Frame", kWhite, "post.png");
    const int nets = m.AddPart("Nets", kWhite, "net.png");
    const float top = 2.4f;
    for (float x : {-3.6f, 0.0f, 3.6f})
        for (float z : {-1.0f, 1.0f}) m.AddBox(frame, {x - 0.1f, 0, z - 0.1f}, {x + 0.1f, top, z + 0.1f});
    for (float z : {-1.0f, 1.0f}) m.AddBox(frame, {-3.7f, top - 0.2f, z - 0.08f}, {3.7f, top, z + 0.08f});
    for (float z : {-1.0f, 1.0f}) {
        m.AddQuad(nets, {-3.5f, top - 0.2f, z}, {-3.5f, 0.5f, z}, {3.5f, 0.5f, z}, {3.5f, top - 0.2f, z});  // facing +z
        m.AddQuad(nets, {3.5f, top - 0.2f, z}, {3.5f, 0.5f, z}, {-3.5f, 0.5f, z}, {-3.5f, top - 0.2f, z});  // and -z
    }
    return m;
}

XModel BoathouseLoft() {
    // One cell of the loft: a plank floor at head height on a post.
    XModel m;
    const int floor = m.AddPart("Floor", kWhite, "planks.png");
    const int post = m.AddPart("Post", kWhite, "post.png");
    m.AddBox(floor, {-1.25f, 5.6f, -1.25f}, {1.25f, 6.0f, 1.25f});
    m.AddBox(post, {-0.15f, 0, -0.15f}, {0.15f, 5.6f, 0.15f});
    return m;
}

// Objects: centred on the origin, standing on y = 0, within their width, depth and height.

XModel TackleChest() {
    XModel m;
    const int wood = m.AddPart("Wood", kWhite, "wood.png");
    const int bands = m.AddPart("Bands", kIronRgb);
    m.AddBox(wood, {-0.7f, 0, -0.45f}, {0.7f, 0.7f, 0.45f});
    m.AddBox(wood, {-0.72f, 0.7f, -0.47f}, {0.72f, 0.95f, 0.47f});  // the lid
    for (float x : {-0.5f, 0.4f}) m.AddBox(bands, {x, -0.01f, -0.48f}, {x + 0.1f, 0.97f, 0.48f});
    return m;
}

XModel Strongbox() {
    XModel m;
    const int iron = m.AddPart("Iron", kWhite, "iron.png");
    const int lock = m.AddPart("Lock", kBrassRgb);
    m.AddBox(iron, {-0.45f, 0, -0.45f}, {0.45f, 0.9f, 0.45f});
    m.AddBox(lock, {-0.1f, 0.45f, 0.45f}, {0.1f, 0.7f, 0.52f});
    return m;
}

XModel Signpost() {
    XModel m;
    const int post = m.AddPart("Post", kWhite, "wood.png");
    const int board = m.AddPart("Board", kWhite, "sign.png");
    m.AddBox(post, {-0.08f, 0, -0.08f}, {0.08f, 2.0f, 0.08f});
    m.AddBox(board, {-0.6f, 1.35f, 0.08f}, {0.6f, 1.9f, 0.14f});
    return m;
}

XModel Windlass() {
    // A drum between two uprights, the toll chain wound round it and an iron crank
    // at one end, standing on top of the chain's stone post (1 high).
    constexpr float kPost = 1.0f;
    XModel m;
    const int wood = m.AddPart("Wood", kWhite, "wood.png");
    const int iron = m.AddPart("Iron", kIronRgb);
    for (float x : {-0.7f, 0.5f}) m.AddBox(wood, {x, kPost, -0.12f}, {x + 0.2f, kPost + 0.8f, 0.12f});
    m.AddBox(wood, {-0.5f, kPost + 0.4f, -0.2f}, {0.5f, kPost + 0.7f, 0.2f});     // the drum
    m.AddBox(iron, {-0.35f, kPost + 0.38f, -0.22f}, {0.35f, kPost + 0.72f, 0.22f});  // the chain on it
    m.AddBox(iron, {0.7f, kPost + 0.53f, -0.03f}, {0.75f, kPost + 0.57f, 0.3f});    // the crank's arm
    m.AddBox(iron, {0.7f, kPost + 0.35f, 0.26f}, {0.75f, kPost + 0.57f, 0.3f});     // and its handle
    return m;
}

XModel SmugglersCrate() {
    XModel m;
    m.AddBox(m.AddPart("Crate", kWhite, "crate.png"), {-0.5f, 0, -0.5f}, {0.5f, 1.0f, 0.5f});
    return m;
}

XModel EelBasket() {
    XModel m;
    const int wicker = m.AddPart("Wicker", kWhite, "wicker.png");
    m.AddPrism(wicker, {0, 0, 0}, 0.45f, 0.3f, 0.45f, 10);
    m.AddPrism(wicker, {0, 0.45f, 0}, 0.3f, 0.12f, 0.05f, 10);  // the funnel mouth
    return m;
}

XModel HeronStatue() {
    XModel m;
    const int stone = m.AddPart("Stone", kWhite, "stone.png");
    m.AddBox(stone, {-0.5f, 0, -0.5f}, {0.5f, 0.6f, 0.5f});  // plinth
    for (float x : {-0.12f, 0.12f}) m.AddBox(stone, {x - 0.04f, 0.6f, -0.04f}, {x + 0.04f, 1.4f, 0.04f});  // legs
    m.AddPrism(stone, {0, 1.4f, 0}, 0.15f, 0.3f, 0.5f, 8);                                             // body
    m.AddPrism(stone, {0, 1.9f, 0}, 0.3f, 0.06f, 0.2f, 8);
    m.AddBox(stone, {-0.05f, 2.1f, -0.05f}, {0.05f, 2.7f, 0.05f});  // neck
    m.AddBox(stone, {-0.08f, 2.7f, -0.1f}, {0.08f, 2.85f, 0.12f});  // head
    m.AddPrism(stone, {0, 2.85f, 0.05f}, 0.03f, 0, 0.15f, 4);      // crest
    return m;
}

XModel Fountain() {
    XModel m;
    const int stone = m.AddPart("Stone", kWhite, "stone.png");
    const int water = m.AddPart("Water", kWhite, "water.png", 0.8f);
    m.AddPrism(stone, {0, 0, 0}, 1.0f, 1.0f, 0.5f, 12);         // basin
    m.AddPrism(stone, {0, 0.5f, 0}, 0.15f, 0.12f, 0.4f, 8);     // column
    m.AddPrism(stone, {0, 0.9f, 0}, 0.12f, 0.35f, 0.1f, 8);     // upper bowl
    m.AddPrism(water, {0, 0.5f, 0}, 0.95f, 0.95f, 0.02f, 12);  // the pool's face just above the basin
    return m;
}

XModel ItemPile() {
    XModel m;
    const int sack = m.AddPart("Sack", kWhite, "sack.png");
    m.AddPrism(sack, {0, 0, 0}, 0.3f, 0.35f, 0.3f, 8);
    m.AddPrism(sack, {0, 0.3f, 0}, 0.35f, 0.08f, 0.15f, 8);
    return m;
}

// Figure pieces: each hangs from its joint at the origin.

XModel Head() {
    XModel m;
    m.AddBox(m.AddPart("Head", kWhite, "head.png"), {-0.17f, 0, -0.18f}, {0.17f, 0.4f, 0.18f});
    return m;
}

XModel Torso() {
    XModel m;
    m.AddBox(m.AddPart("Tunic", kWhite, "tunic.png"), {-0.26f, 0, -0.14f}, {0.26f, 0.7f, 0.14f});
    return m;
}

XModel Arm() {
    XModel m;
    m.AddBox(m.AddPart("Arm", kWhite, "arm.png"), {-0.07f, -0.65f, -0.07f}, {0.07f, 0, 0.07f});
    return m;
}

XModel Leg() {
    XModel m;
    m.AddBox(m.AddPart("Leg", kWhite, "trousers.png"), {-0.09f, -0.85f, -0.1f}, {0.09f, 0, 0.1f});
    return m;
}

XModel Spirit() {
    // A drowned ferryman's shade: a veil widening upwards, glowing faintly.
    XModel m;
    const int veil = m.AddPart("Veil", kWhite, "spirit.png", 0.6f, 0x203040);
    m.AddPrism(veil, {0, 0.2f, 0}, 0.08f, 0.4f, 1.3f, 10);
    m.AddPrism(veil, {0, 1.5f, 0}, 0.4f, 0.18f, 0.3f, 10);
    m.AddPrism(veil, {0, 1.8f, 0}, 0.18f, 0, 0.2f, 10);
    return m;
}

// Items: held at the grip, at the origin, pointing up +y.

XModel Blade(float length, float width, const char* texture) {
    XModel m;
    const int blade = m.AddPart("Blade", kWhite, texture);
    const int hilt = m.AddPart("Hilt", kWhite, "leather.png");
    m.AddBox(blade, {-width / 2, 0.12f, -0.01f}, {width / 2, 0.12f + length, 0.01f});
    m.AddPrism(blade, {0, 0.12f + length, 0}, width / 2, 0, width, 4);  // the point
    m.AddBox(hilt, {-0.025f, -0.1f, -0.025f}, {0.025f, 0.1f, 0.025f});
    m.AddBox(hilt, {-0.1f, 0.1f, -0.03f}, {0.1f, 0.13f, 0.03f});  // the guard
    return m;
}

XModel Knife() { return Blade(0.22f, 0.04f, "steel.png"); }
XModel Dagger() { return Blade(0.32f, 0.05f, "steel.png"); }
XModel Longsword() { return Blade(0.85f, 0.07f, "steel.png"); }
XModel RiverBlade() { return Blade(0.85f, 0.07f, "blue_steel.png"); }

XModel HaftedHead(float haft, float headWidth, float headHeight, float headDepth) {
    XModel m;
    const int wood = m.AddPart("Haft", kWhite, "haft.png");
    const int head = m.AddPart("Head", kWhite, "steel.png");
    m.AddBox(wood, {-0.025f, -0.15f, -0.025f}, {0.025f, haft, 0.025f});
    m.AddBox(head, {-0.03f, haft - headHeight, -headDepth / 2}, {headWidth, haft, headDepth / 2});
    return m;
}

XModel HandAxe() { return HaftedHead(0.5f, 0.16f, 0.14f, 0.02f); }
XModel Greataxe() { return HaftedHead(1.3f, 0.3f, 0.3f, 0.03f); }
XModel Maul() { return HaftedHead(1.1f, 0.14f, 0.2f, 0.2f); }

XModel Staff() {
    XModel m;
    m.AddPrism(m.AddPart("Haft", kWhite, "haft.png"), {0, -0.7f, 0}, 0.03f, 0.03f, 1.9f, 6);
    return m;
}

XModel Bow() {
    XModel m;
    const int wood = m.AddPart("Limbs", kWhite, "haft.png");
    const int string = m.AddPart("String", 0xE0D8C0);
    m.AddBox(wood, {-0.03f, -0.12f, -0.02f}, {0.03f, 0.12f, 0.02f});  // the grip
    m.AddBox(wood, {-0.02f, 0.12f, -0.1f}, {0.02f, 0.7f, -0.04f});   // upper limb, bent back
    m.AddBox(wood, {-0.02f, -0.7f, -0.1f}, {0.02f, -0.12f, -0.04f});
    m.AddBox(string, {-0.004f, -0.7f, -0.1f}, {0.004f, 0.7f, -0.092f});
    return m;
}

XModel Shield(float width, float height) {
    XModel m;
    const int face = m.AddPart("Face", kWhite, "haft.png");
    const int boss = m.AddPart("Boss", kIronRgb);
    m.AddBox(face, {-width / 2, -height / 2, 0}, {width / 2, height / 2, 0.05f});
    m.AddBox(boss, {-0.07f, -0.07f, 0.05f}, {0.07f, 0.07f, 0.1f});
    return m;
}

XModel Buckler() { return Shield(0.45f, 0.45f); }
XModel TowerShield() { return Shield(0.7f, 1.2f); }

// Helmets sit on the head piece, whose crown is at y = 0.4.
XModel Cap() {
    XModel m;
    m.AddPrism(m.AddPart("Cap", kWhite, "leather.png"), {0, 0.3f, 0}, 0.21f, 0.17f, 0.14f, 8);
    return m;
}

XModel Helm(bool crest) {
    XModel m;
    const int steel = m.AddPart("Helm", kWhite, "steel.png");
    m.AddPrism(steel, {0, 0.22f, 0}, 0.22f, 0.15f, 0.25f, 8);
    if (crest) m.AddBox(m.AddPart("Crest", 0xA02820), {-0.02f, 0.45f, -0.2f}, {0.02f, 0.6f, 0.2f});
    return m;
}

XModel IronHelm() { return Helm(false); }
XModel CrestedHelm() { return Helm(true); }

// Things held in the hand or worn that the item graphics show, in plain colours.
XModel Wand() {
    XModel m;
    m.AddBox(m.AddPart("Wood", 0xD8CC98), {-0.015f, -0.05f, -0.015f}, {0.015f, 0.35f, 0.015f});
    m.AddBox(m.AddPart("Tip", 0x9FD0FF, "", 1.0f, 0x304868), {-0.025f, 0.35f, -0.025f}, {0.025f, 0.4f, 0.025f});
    return m;
}
XModel Lantern() {
    XModel m;
    const int iron = m.AddPart("Frame", kIronRgb);
    m.AddBox(iron, {-0.1f, -0.3f, -0.1f}, {0.1f, -0.27f, 0.1f});
    m.AddBox(iron, {-0.08f, -0.03f, -0.08f}, {0.08f, 0.0f, 0.08f});
    m.AddPrism(m.AddPart("Glow", 0xFFD070, "", 0.8f, 0xC08020), {0, -0.27f, 0}, 0.07f, 0.07f, 0.24f, 6);
    return m;
}
XModel Flask() {
    XModel m;
    m.AddPrism(m.AddPart("Glass", 0xA8D0E0, "", 0.7f), {0, -0.08f, 0}, 0.06f, 0.02f, 0.14f, 8);
    m.AddBox(m.AddPart("Cork", 0x9A7040), {-0.02f, 0.06f, -0.02f}, {0.02f, 0.1f, 0.02f});
    return m;
}
// One plain-coloured prism about the grip.
XModel Round(const char* part, std::uint32_t rgb, float bottom, float top, float height, int sides) {
    XModel m;
    m.AddPrism(m.AddPart(part, rgb), {0, -height / 2, 0}, bottom, top, height, sides);
    return m;
}
XModel Ring() { return Round("Gold", 0xE8C050, 0.035f, 0.035f, 0.03f, 8); }
XModel Amulet() {
    XModel m;
    m.AddBox(m.AddPart("Chain", 0xC8B070), {-0.1f, 0.0f, -0.005f}, {0.1f, 0.01f, 0.005f});
    m.AddPrism(m.AddPart("Stone", 0x4080C0), {0, -0.09f, 0}, 0.04f, 0.04f, 0.02f, 6);
    return m;
}
XModel Coins() {
    XModel m;
    const int gold = m.AddPart("Gold", 0xF0C830);
    for (int i = 0; i < 3; ++i)
        m.AddPrism(gold, {0.02f * static_cast<float>(i), 0.012f * static_cast<float>(i), 0}, 0.04f, 0.04f, 0.01f, 8);
    return m;
}
XModel Pie() { return Round("Crust", 0xC89048, 0.12f, 0.1f, 0.06f, 10); }
XModel Ledger() {
    // A closed book in a red cover, the page edges showing on the open side.
    XModel m;
    m.AddBox(m.AddPart("Cover", 0x782828), {-0.08f, -0.11f, -0.02f}, {0.08f, 0.11f, 0.02f});
    m.AddBox(m.AddPart("Pages", 0xE8DCC0), {-0.07f, -0.105f, -0.015f}, {0.085f, 0.105f, 0.015f});
    return m;
}

XModel Keys() {
    // Two iron keys on a ring.
    XModel m;
    const int iron = m.AddPart("Iron", 0x5A5C60);
    m.AddPrism(iron, {0, 0.05f, 0}, 0.045f, 0.045f, 0.01f, 8);  // the ring
    for (float x : {-0.025f, 0.015f}) {
        m.AddBox(iron, {x, -0.1f, -0.005f}, {x + 0.01f, 0.04f, 0.005f});           // the shank
        m.AddBox(iron, {x + 0.01f, -0.1f, -0.005f}, {x + 0.03f, -0.07f, 0.005f});  // the bit
    }
    return m;
}

XModel Token() {
    XModel m;
    m.AddBox(m.AddPart("Brass", kBrassRgb), {-0.04f, -0.04f, -0.005f}, {0.04f, 0.04f, 0.005f});
    return m;
}

// The title screen: both lie face up, seen from high above with -z at the top of the
// screen.

// The emblem: a river-blue medallion with a quill laid across it, 12 units across.
XModel Emblem() {
    XModel m;
    const int face = m.AddPart("Face", kWhite, "emblem.png");
    const int rim = m.AddPart("Rim", kBrassRgb);
    const float r = 6.0f;
    m.AddQuad(face, {-r, 0.6f, -r}, {-r, 0.6f, r}, {r, 0.6f, r}, {r, 0.6f, -r});
    m.AddPrism(rim, {0, 0, 0}, r + 0.3f, r + 0.3f, 0.55f, 24);
    return m;
}

// The title: a plaque of 24 by 6 units bearing the game's name.
XModel TitlePlaque() {
    XModel m;
    const int face = m.AddPart("Face", kWhite, "title.png");
    m.AddQuad(face, {-12.0f, 0.2f, -3.0f}, {-12.0f, 0.2f, 3.0f}, {12.0f, 0.2f, 3.0f}, {12.0f, 0.2f, -3.0f});
    return m;
}

// Under every actor: a flat square of one unit, the shadow texture fading out to its edge.
XModel Shadow() {
    XModel m;
    const int face = m.AddPart("Shadow", kWhite, "x_shadow.png");
    m.AddQuad(face, {-0.5f, 0, -0.5f}, {-0.5f, 0, 0.5f}, {0.5f, 0, 0.5f}, {0.5f, 0, -0.5f});
    return m;
}

// A sky tile: a square of one unit facing up; the sky pass scales it to the layer's tile size.
XModel SkyTile() {
    XModel m;
    const int face = m.AddPart("Sky", kWhite, "clouds.png");
    m.AddQuad(face, {-0.5f, 0, -0.5f}, {-0.5f, 0, 0.5f}, {0.5f, 0, 0.5f}, {0.5f, 0, -0.5f});
    return m;
}

// A wall torch: a post with an iron cup; the flame is the graphic's light and effect.
XModel Torch() {
    XModel m;
    const int post = m.AddPart("Post", kWhite, "wood.png");
    const int cup = m.AddPart("Cup", kIronRgb);
    m.AddPrism(post, {0, 0, 0}, 0.1f, 0.08f, 2.2f, 6);
    m.AddPrism(cup, {0, 2.2f, 0}, 0.1f, 0.22f, 0.25f, 8);
    return m;
}

}  // namespace

const std::vector<SampleModel>& SampleModels() {
    static const std::vector<SampleModel> models = {
        {"tile", "door_boathouse.x", BoathouseDoor},
        {"tile", "gate_warden.x", WardenGate},
        {"tile", "gate_sluice.x", SluiceGate},
        {"tile", "doors_slip.x", SlipwayDoors},
        {"tile", "fence_reed.x", ReedFence},
        {"tile", "wall_boards.x", BoardWall},
        {"tile", "wall_stone.x", StoneWall},
        {"tile", "rack_nets.x", NetRack},
        {"tile", "loft_boathouse.x", BoathouseLoft},
        {"object", "chest_tackle.x", TackleChest},
        {"object", "box_strong.x", Strongbox},
        {"object", "sign_post.x", Signpost},
        {"object", "windlass.x", Windlass},
        {"object", "crate_smuggler.x", SmugglersCrate},
        {"object", "basket_eel.x", EelBasket},
        {"object", "statue_heron.x", HeronStatue},
        {"object", "fountain_stone.x", Fountain},
        {"object", "item_pile.x", ItemPile},
        {"object", "torch.x", Torch},
        {"actor", "d_shadow.x", Shadow},
        {"sky", "sky_tile.x", SkyTile},
        {"icon", "emblem.x", Emblem},
        {"icon", "title.x", TitlePlaque},
        {"actor", "head.x", Head},
        {"actor", "torso.x", Torso},
        {"actor", "arm.x", Arm},
        {"actor", "leg.x", Leg},
        {"actor", "spirit.x", Spirit},
        {"item", "knife.x", Knife},
        {"item", "dagger.x", Dagger},
        {"item", "longsword.x", Longsword},
        {"item", "river_blade.x", RiverBlade},
        {"item", "handaxe.x", HandAxe},
        {"item", "greataxe.x", Greataxe},
        {"item", "maul.x", Maul},
        {"item", "staff.x", Staff},
        {"item", "bow.x", Bow},
        {"item", "buckler.x", Buckler},
        {"item", "towershield.x", TowerShield},
        {"item", "cap.x", Cap},
        {"item", "helm.x", IronHelm},
        {"item", "helm_crest.x", CrestedHelm},
        {"item", "wand.x", Wand},
        {"item", "lantern.x", Lantern},
        {"item", "flask.x", Flask},
        {"item", "ring.x", Ring},
        {"item", "amulet.x", Amulet},
        {"item", "coins.x", Coins},
        {"item", "pie.x", Pie},
        {"item", "token.x", Token},
        {"item", "keys.x", Keys},
        {"item", "ledger.x", Ledger},
    };
    return models;
}

}  // namespace QuillmereTools

#include "rules/vocabulary/skill_descriptions.h"

namespace DRAV {

// One paragraph per skill, in SkillId order. The numbers here must follow the
// actor and engine rules; change both together.
const char* const kSkillDescriptions[98] = {
    // 0 light_blade
    "The actor is trained with daggers, short swords and other light blades. Without this skill a light blade is wielded at -20 Attack Bonus. A light blade is a light weapon: its attack uses the Agility bonus instead of the Strength bonus when that is higher, and it deals sharp damage.",
    // 1 heavy_blade
    "The actor is trained with long swords, great swords and other heavy blades. Without this skill a heavy blade is wielded at -20 Attack Bonus. Heavy blades strike with the Strength bonus and deal sharp damage.",
    // 2 staff
    "The actor is trained to fight with the staff. Without this skill a staff is wielded at -20 Attack Bonus. A staff is a light weapon that deals blunt damage: its attack uses the Agility bonus instead of the Strength bonus when that is higher.",
    // 3 bludgeon
    "The actor is trained with maces, hammers, clubs and other bludgeons. Without this skill a bludgeon is wielded at -20 Attack Bonus. Bludgeons strike with the Strength bonus and deal blunt damage.",
    // 4 axe
    "The actor is trained to fight with axes. Without this skill an axe is wielded at -20 Attack Bonus. Axes deal sharp damage and land a critical hit, which doubles the weapon's damage, on 10 percent of the hits that get through instead of 5 percent.",
    // 5 bow
    "The actor is trained to shoot with bows. Without this skill a bow is used at -20 Attack Bonus. A bow attacks with the Agility bonus and adds no attribute bonus to its damage, but a bow with a Strength requirement adds half of five times the amount by which that requirement exceeds 10.",
    // 6 light_armor
    "The actor is used to moving and fighting in light armor. Armor and shields that call for Light Armor are worn without their penalty, which otherwise lowers the wearer's Attack Bonus, Attack Damage and touch spell attacks.",
    // 7 heavy_armor
    "The actor is used to the weight of heavy armor. Armor and shields that call for Heavy Armor are worn without their penalty, which otherwise lowers the wearer's Attack Bonus, Attack Damage and touch spell attacks.",
    // 8 shield_style
    "The actor fights with a one-handed weapon in the main hand and a shield in the other. In this style its attack speed rises by one fifth of its base attack bonus, shortening the recovery after each strike and, above a speed of 20, giving a chance of extra attacks; this does not add to the same bonus from a weapon mastery. It opens Shield Focus and Shield Wall.",
    // 9 duelist_style
    "The actor fights with a one-handed weapon and nothing in the off hand. In this style it gains +5 to Attack Bonus and +5 to Attack Damage, and its attack speed rises by one fifth of its base attack bonus; the speed bonus does not add to that of a weapon mastery. It opens Duelist Defense, Duelist Finesse and Duelist Maneuver.",
    // 10 marksman_style
    "The actor fights with the bow, shooting at foes up to 100 feet away. With a bow it adds half of its Agility bonus, when positive, to Attack Damage, and its attack speed rises by one fifth of its base attack bonus; the speed bonus does not add to that of a weapon mastery. It opens Deadly Marksman and Marksman Bullseye.",
    // 11 two_handed_style
    "The actor fights with a weapon gripped in both hands. With a two-handed weapon its attribute bonus counts one and a half times toward Attack Damage, and its attack speed rises by one fifth of its base attack bonus; the speed bonus does not add to that of a weapon mastery. It opens Two Handed Power and Two Handed Berserk.",
    // 12 dual_wield_style
    "The actor can carry a one-handed weapon in the off hand and strikes with both weapons in every attack. While two weapons are held both attacks suffer -20 Attack Bonus, or -10 when the off-hand weapon is light, and the off-hand strike adds only half the attribute bonus to damage. In this style its attack speed rises by one fifth of its base attack bonus, not adding to that of a weapon mastery.",
    // 13 shield_focus
    "The actor has learned to turn blows aside with its shield. A carried shield adds a further +10 to Defense Class. Like the shield's own defense, this bonus does not count against flanking attacks and touch attacks.",
    // 14 duelist_defense
    "The actor fights with light feet and a watchful blade. While fighting in the Duelist style it gains +10 to Defense Class, against every kind of attack.",
    // 15 duelist_finesse
    "The actor relies on speed rather than force. While fighting in the Duelist style with a light weapon, its Agility bonus replaces its Strength bonus for Attack Damage whenever the Agility bonus is higher.",
    // 16 deadly_marksman
    "The actor places its arrows where they do the most harm. With a bow it adds a further half of its Agility bonus, when positive, to Attack Damage, on top of the half given by Marksman.",
    // 17 two_handed_power
    "The actor puts its whole body behind every swing. While fighting in the Two Handed style its attribute bonus counts twice toward Attack Damage instead of one and a half times.",
    // 18 improved_dual_wield
    "The actor is at ease with a weapon in each hand. The penalty for holding two weapons drops by 10: both attacks suffer -10 Attack Bonus, or no penalty at all when the off-hand weapon is light.",
    // 19 light_blade_mastery
    "The actor has mastered the light blade. A light blade in its hand gains +5 to Attack Bonus and +5 to Attack Damage, and while one is in the main hand its attack speed rises by one fifth of its base attack bonus. It opens Light Blade Lunge.",
    // 20 heavy_blade_mastery
    "The actor has mastered the heavy blade. A heavy blade in its hand gains +5 to Attack Bonus and +5 to Attack Damage, and while one is in the main hand its attack speed rises by one fifth of its base attack bonus. It opens Heavy Blade Precision.",
    // 21 staff_mastery
    "The actor has mastered the staff, using it to strike and to ward off blows alike. A staff in its hand gains +5 to Attack Bonus, and while a staff is in the main hand the actor gains +5 to Defense Class and its attack speed rises by one fifth of its base attack bonus. It opens Whirling Staff.",
    // 22 bludgeon_mastery
    "The actor has mastered the bludgeon. A bludgeon in its hand gains +5 to Attack Bonus and +5 to Attack Damage, and while one is in the main hand its attack speed rises by one fifth of its base attack bonus. It opens Bludgeon Repulsion.",
    // 23 axe_mastery
    "The actor has mastered the axe. An axe in its hand gains +5 to Attack Bonus and +5 to Attack Damage, and while one is in the main hand its attack speed rises by one fifth of its base attack bonus. It opens Tremendous Axe Strike.",
    // 24 bow_mastery
    "The actor has mastered the bow. A bow in its hands gains +5 to Attack Bonus and +5 to Attack Damage, and its attack speed rises by one fifth of its base attack bonus. It opens Power Bowshot.",
    // 25 light_armor_mastery
    "The actor moves in light armor as if unencumbered. While wearing armor that calls for Light Armor it adds one fifth of its base attack bonus to Defense Class, and the armor's limit on the Agility bonus rises by the same amount.",
    // 26 heavy_armor_mastery
    "The actor fights in heavy armor as if it were a second skin. While wearing armor that calls for Heavy Armor it adds one fifth of its base attack bonus to Defense Class, and the armor's limit on the Agility bonus rises by the same amount.",
    // 27 weapon_finesse
    "The actor strikes with precision instead of brute strength. With a light weapon, when half of its Agility bonus is greater than its Strength bonus, that half of the Agility bonus is added to Attack Damage in place of the Strength bonus.",
    // 28 light_blade_lunge
    "The actor has learned to close the distance with a sudden lunge of the light blade. It gains the Light Blade Lunge maneuvers, powers used with a light blade in hand. Starting a maneuver costs energy equal to its level (at least 1), paid again every 10 seconds while it is kept up, and its strength is the actor's base attack bonus.",
    // 29 heavy_blade_precision
    "The actor guides its heavy blade into the gaps of a foe's guard. It gains the Heavy Blade Precision maneuvers, powers used with a heavy blade in hand. Starting a maneuver costs energy equal to its level (at least 1), paid again every 10 seconds while it is kept up, and its strength is the actor's base attack bonus.",
    // 30 whirling_staff
    "The actor spins its staff in a whirl that reaches every foe nearby. It gains the Whirling Staff maneuvers, powers used with a staff in hand. Starting a maneuver costs energy equal to its level (at least 1), paid again every 10 seconds while it is kept up, and its strength is the actor's base attack bonus.",
    // 31 bludgeon_repulsion
    "The actor's bludgeon blows hurl foes backward. It gains the Bludgeon Repulsion maneuvers, powers used with a bludgeon in hand. Starting a maneuver costs energy equal to its level (at least 1), paid again every 10 seconds while it is kept up, and its strength against a foe's resistance is the actor's base attack bonus.",
    // 32 tremendous_axe_strike
    "The actor brings its axe down with tremendous force. It gains the Tremendous Axe Strike maneuvers, powers used with an axe in hand. Starting a maneuver costs energy equal to its level (at least 1), paid again every 10 seconds while it is kept up, and its strength is the actor's base attack bonus.",
    // 33 power_bowshot
    "The actor draws the bow to its limit for shots of great power. It gains the Power Bowshot maneuvers, powers used with a bow in hand. Starting a maneuver costs energy equal to its level (at least 1), paid again every 10 seconds while it is kept up, and its strength is the actor's base attack bonus.",
    // 34 shield_wall
    "The actor sets its shield as a wall against the enemy. It gains the Shield Wall maneuvers, powers used while fighting in the Shield style. Starting a maneuver costs energy equal to its level (at least 1), paid again every 10 seconds while it is kept up, and its strength is the actor's base attack bonus.",
    // 35 duelist_maneuver
    "The actor feints, parries and repositions with a duelist's cunning. It gains the Duelist Maneuver powers, used while fighting in the Duelist style. Starting a maneuver costs energy equal to its level (at least 1), paid again every 10 seconds while it is kept up, and its strength is the actor's base attack bonus.",
    // 36 marksman_bullseye
    "The actor takes careful aim for shots that strike true. It gains the Marksman Bullseye maneuvers, powers used while fighting in the Marksman style. Starting a maneuver costs energy equal to its level (at least 1), paid again every 10 seconds while it is kept up, and its strength is the actor's base attack bonus.",
    // 37 two_handed_berserk
    "The actor gives itself over to a battle fury with its great weapon. It gains the Two Handed Berserk maneuvers, powers used while fighting in the Two Handed style. Starting a maneuver costs energy equal to its level (at least 1), paid again every 10 seconds while it is kept up, and its strength is the actor's base attack bonus.",
    // 38 dual_wield_skirmish
    "The actor darts through the fray with a blade in each hand. It gains the Dual Wield Skirmish maneuvers, powers used while fighting in the Dual Wield style. Starting a maneuver costs energy equal to its level (at least 1), paid again every 10 seconds while it is kept up, and its strength is the actor's base attack bonus.",
    // 39 toughness
    "The actor has enhanced physical stamina, granting 5 extra hit points per level.",
    // 40 matter_blood
    "The blood of the Dverger, the smiths beneath the mountains, runs in the actor's veins. Matter Magic spells granted to Dverger Blood come to the actor by heritage, without study or worship: each is added to its spells as soon as its spell tier reaches the spell's tier.",
    // 41 energy_blood
    "The blood of the Alfar, the bright folk of light and flame, runs in the actor's veins. Energy Magic spells granted to Alfar Blood come to the actor by heritage, without study or worship: each is added to its spells as soon as its spell tier reaches the spell's tier.",
    // 42 spirit_blood
    "The blood of the Aesir, the lords of the heavens, runs in the actor's veins. Spirit Magic spells granted to Aesir Blood come to the actor by heritage, without study or worship: each is added to its spells as soon as its spell tier reaches the spell's tier.",
    // 43 arcane_magic
    "The actor learns magic through study. Spells of its magic schools that are taught by Arcane Magic enter its spellbook as soon as its spell tier reaches theirs. It can also inscribe scrolls: a scroll of a school the actor knows and of a tier within its spell tier is copied into its spellbook and used up.",
    // 44 religion
    "The actor receives magic through faith and prayer. Spells of its magic schools that are granted by Religion are added to its spells as soon as its spell tier reaches theirs.",
    // 45 void_magic
    "The magic of emptiness, darkness and unmaking. Knowing it gives access to the Void Magic spells and counts as a base school for the skills that ask for any magic. Its spells are cast at -5 and add the caster's Personality bonus to their casting value.",
    // 46 matter_magic
    "The magic of earth, flesh and the substance of things. Knowing it gives access to the Matter Magic spells and counts as a base school for the skills that ask for any magic. The casting value of a spell is half the sum of the caster's magic level and the spell's difficulty, plus the Intelligence bonus for this school.",
    // 47 energy_magic
    "The magic of fire, lightning, light and raw force. Knowing it gives access to the Energy Magic spells and counts as a base school for the skills that ask for any magic. Its spells add the caster's Intelligence bonus to their casting value.",
    // 48 spirit_magic
    "The magic of the mind, the soul and the powers beyond the world. Knowing it gives access to the Spirit Magic spells and counts as a base school for the skills that ask for any magic. Its spells add the caster's Personality bonus to their casting value.",
    // 49 elemental_magic
    "The joined magic of Matter and Energy, commanding the elements themselves. Knowing it gives access to the Elemental Magic spells, which are cast at +5 and add the caster's Intelligence bonus to their casting value.",
    // 50 cosmic_magic
    "The joined magic of Energy and Spirit, drawing on the stars and the realms beyond. Knowing it gives access to the Cosmic Magic spells, which are cast at +5 and add the caster's Personality bonus to their casting value.",
    // 51 life_magic
    "The joined magic of Matter and Spirit, the magic of the living body and soul. Knowing it gives access to the Life Magic spells, which are cast at +5 and add the caster's Personality bonus to their casting value.",
    // 52 high_magic
    "The highest art, uniting Matter, Energy and Spirit. Knowing it gives access to the High Magic spells, which are cast at +10 and add the caster's Intelligence bonus to their casting value.",
    // 53 void_magic_mastery
    "The actor has mastered the magic of the void. Its Void Magic spells gain +10 to casting value and count as cast by a caster 2 levels higher, strengthening effects that grow with level.",
    // 54 matter_magic_mastery
    "The actor has mastered the magic of matter. Its Matter Magic spells gain +10 to casting value and count as cast by a caster 2 levels higher, strengthening effects that grow with level.",
    // 55 energy_magic_mastery
    "The actor has mastered the magic of energy. Its Energy Magic spells gain +10 to casting value and count as cast by a caster 2 levels higher, strengthening effects that grow with level.",
    // 56 spirit_magic_mastery
    "The actor has mastered the magic of the spirit. Its Spirit Magic spells gain +10 to casting value and count as cast by a caster 2 levels higher, strengthening effects that grow with level.",
    // 57 elemental_magic_mastery
    "The actor has mastered the elements. Its Elemental Magic spells gain +10 to casting value and count as cast by a caster 2 levels higher, strengthening effects that grow with level.",
    // 58 cosmic_magic_mastery
    "The actor has mastered the cosmic powers. Its Cosmic Magic spells gain +10 to casting value and count as cast by a caster 2 levels higher, strengthening effects that grow with level.",
    // 59 life_magic_mastery
    "The actor has mastered the magic of life. Its Life Magic spells gain +10 to casting value and count as cast by a caster 2 levels higher, strengthening effects that grow with level.",
    // 60 high_magic_mastery
    "The actor has mastered the highest art. Its High Magic spells gain +10 to casting value and count as cast by a caster 2 levels higher, strengthening effects that grow with level.",
    // 61 spell_penetration
    "The actor's spells pierce magical protection. When a target's spell nullification is tested against a spell the actor casts itself, the actor adds 10 to its roll. Spells from wands and other items gain nothing.",
    // 62 greater_spell_penetration
    "The actor's spells tear through magical protection. When a target's spell nullification is tested against a spell the actor casts itself, the actor adds 20 to its roll instead of the 10 of Spell Penetration.",
    // 63 armored_spellcasting
    "The actor has learned to cast while wearing armor. The casting penalty of its armor and shield together is lowered by 10, but never below 0.",
    // 64 armored_spellcasting_mastery
    "The actor casts in armor as freely as in robes. The casting penalty of its armor and shield together is lowered by a further 10, for 20 in all with Armored Casting, but never below 0.",
    // 65 spellcasting_alacrity
    "The actor weaves its spells with great speed. Its casting speed rises by two fifths of its magic level, shortening the recovery after each spell, which lasts 4 seconds less one second for every 5 points of speed, but at least half a second.",
    // 66 combat_casting
    "The actor keeps its concentration under attack. A caster hurt within its last casting cycle must pass a concentration check, a percentile roll plus its casting value against the spell's difficulty plus the last damage taken plus 50, or the spell is disrupted. With this skill it adds 20 to that roll.",
    // 67 defensive_casting
    "The actor can shield its spellcasting from an attacker's blows. When hurt within its last casting cycle, it first tries to cast defensively: a percentile roll plus its magic level and its casting value against twice the spell's difficulty plus 90. If that fails it still makes the usual concentration check.",
    // 68 mental_focus
    "The actor's mind holds a deeper store of energy. Its maximum energy is figured as if it were one level higher.",
    // 69 traps
    "The actor knows how to find and disarm traps. Its Traps value, plus a fixed 50, is compared with a trap's difficulty without any die roll: a hidden trap within 50 feet is noticed when this beats the difficulty plus the distance plus 20, and a trap the actor touches is disarmed when it beats the difficulty alone. A trap of difficulty 0 can never be found or disarmed.",
    // 70 locks
    "The actor knows how to pick locks. A locked door or container opens when the actor's Locks value plus a fixed 50 is greater than the lock's value; there is no die roll, so a lock that resists cannot be picked until the actor improves.",
    // 71 sneak
    "The actor can sneak, hiding in the shadows at no energy cost and moving at two thirds of its speed. Foes within 100 feet spot it when their Observation, plus half the amount by which their distance falls short of 50 feet, reaches its Stealth; attacking, casting, talking or using a lock, door or object also ends the sneak. A blow struck from hiding is a sneak attack with +10 to Attack Bonus and Attack Damage.",
    // 72 observation
    "The actor notices what others would miss. A sneaking creature within 100 feet is spotted when the actor's Observation, plus half the amount by which its distance falls short of 50 feet, reaches the creature's Stealth. A creature whose Stealth is greater than the party's best Observation shows as Unknown, and some conversations test the party's Observation.",
    // 73 diplomacy
    "The actor knows how to persuade, bargain and calm tempers. When a conversation tests Diplomacy, the party's best Diplomacy plus a fixed 50 must be greater than the difficulty, without any die roll.",
    // 74 flanking
    "The actor exploits every opening of a distracted foe. A melee attack on a foe that began an attack on someone else within the last 6.5 seconds is a flanking attack, which ignores the defense of the foe's armor and shield and gains +10 Attack Bonus and +10 damage. With this skill the attack bonus is +20 and a die as large as the actor's Stealth is added to the damage.",
    // 75 sneak_attack
    "The actor strikes from hiding with deadly effect. A sneak attack always gains +10 to Attack Bonus; with this skill its damage bonus is 10 plus the actor's Stealth instead of 10. When a blow is both a flanking and a sneak attack, only the larger attack bonus and the larger damage bonus count.",
    // 76 combat_sneak
    "The actor can slip into hiding in the middle of a battle. In combat it may start sneaking when it is not winding up an attack and nobody is attacking it, at a cost of 10 energy and no more than once every 10 seconds. It must stay unseen by every foe and then beat the sharpest watcher's value plus 50 with a percentile roll plus its Stealth.",
    // 77 singing
    "The actor can sing songs of power, which are kept up as long as their energy is paid every 10 seconds. Each time a song is started or renewed, the actor rolls its Singing value against the song's difficulty of 50 plus 5 per song level; a failure doubles the energy cost of that payment.",
    // 78 improved_singing
    "The actor's voice and range have grown beyond the common singer's. It gains the songs granted to Improved Singing as soon as it meets their level, and it opens Masterful Singing, Shadow Music and Wondrous Music.",
    // 79 masterful_singing
    "The actor sings with the command of a true master. It gains the most demanding songs, those granted to Masterful Singing, as soon as it meets their level.",
    // 80 battle_music
    "The actor knows the rousing music of the battlefield. It gains the battle songs, which stir its allies in the fight while the song is kept up; like every song, they need a Singing roll each time they are started or renewed.",
    // 81 heroic_music
    "The actor knows the music of the old heroes and their deeds. It gains the heroic songs, which fill its companions with courage and strength while the song is kept up; like every song, they need a Singing roll each time they are started or renewed.",
    // 82 shadow_music
    "The actor knows the dark and unsettling music of the shadows. It gains the shadow songs, which cloud and trouble the minds of those who hear them; like every song, they need a Singing roll each time they are started or renewed.",
    // 83 wondrous_music
    "The actor knows music of wonder that bends the world around it. It gains the wondrous songs, the most potent of all music; like every song, they need a Singing roll each time they are started or renewed.",
    // 84 wands
    "The actor can use magic wands. A wand works only when its spell's tier is within the actor's spell tier, plus 2 for an Adventurer. Its spell is cast at its own difficulty plus the school's bonus and the user's Intelligence bonus, with no casting or concentration check, and each use has a 5 percent chance to burn out one wand.",
    // 85 improved_material
    "The actor's body shrugs off poison, acid, decay and other material harm. Its saving throws against Material effects grow by 10 for every 3 levels instead of 5. Every Fighter knows this skill.",
    // 86 fortitude
    "The actor endures material harm that would fell others. It gains Resist +5 against Material damage: Material attacks deal 25 percent less damage and Material spells lose 25 percent of their effect. It opens Great Fortitude and Stand Stout.",
    // 87 great_fortitude
    "The actor's constitution is nearly unbreakable. It adds 10 or its Durability bonus, whichever is greater, to its saving throws against Material effects, on top of the Durability bonus those saves already include.",
    // 88 improved_energetic
    "The actor's reflexes carry it clear of fire, cold, lightning and other energetic harm. Its saving throws against Energetic effects grow by 10 for every 3 levels instead of 5. Every Adventurer knows this skill.",
    // 89 escape
    "The actor twists away from the worst of energetic harm. It gains Resist +5 against Energetic damage: Energetic attacks deal 25 percent less damage and Energetic spells lose 25 percent of their effect. It opens Lightning Escape and Acrobatic Evasion.",
    // 90 lightning_escape
    "The actor moves faster than the blast can follow. It adds 10 or its Agility bonus, whichever is greater, to its saving throws against Energetic effects, on top of the Agility bonus those saves already include.",
    // 91 improved_spiritual
    "The actor's will stands firm against curses, charms and illusions. Its saving throws against Spiritual effects grow by 10 for every 3 levels instead of 5. Every Spellcaster knows this skill.",
    // 92 resolve
    "The actor's mind holds fast against spiritual harm. It gains Resist +5 against Spiritual damage: Spiritual attacks deal 25 percent less damage and Spiritual spells lose 25 percent of their effect. It opens Iron Resolve and Resolute Belief.",
    // 93 iron_resolve
    "The actor's will is iron. It adds 10 or its Personality bonus, whichever is greater, to its saving throws against Spiritual effects, on top of the Personality bonus those saves already include.",
    // 94 stand_stout
    "The actor can plant its feet and brace body and blood against material harm. It gains the Stand Stout powers, kept up with energy equal to their level (at least 1) every 10 seconds; their strength is the actor's value in this skill.",
    // 95 acrobatic_evasion
    "The actor can tumble, leap and roll away from blasts of energy. It gains the Acrobatic Evasion powers, kept up with energy equal to their level (at least 1) every 10 seconds; their strength is the actor's value in this skill.",
    // 96 resolute_belief
    "The actor can wrap its mind in unshakable conviction against curses, charms and illusions. It gains the Resolute Belief powers, kept up with energy equal to their level (at least 1) every 10 seconds; their strength is the actor's value in this skill.",
    // 97 monster_magic
    "The creature's magic is part of its nature rather than learned. The part of its magic level that comes from its base level grows twice as fast, a negative attribute bonus does not lower its spells' casting value, and a low Intelligence does not lower its energy. This skill cannot be learned.",
};

}  // namespace DRAV

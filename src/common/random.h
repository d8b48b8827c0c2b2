#pragma once
// The one random source of the game rules: a global mt19937, seeded 5489 at program
// start and reseeded from the tick count when SDL starts. What is only shown
// (flickering lights, particles, the shaking view, an idle fidget) draws from a
// source of its own, so the rules roll the same however many frames the display
// draws, and alike in a game and in its loaded copy.

#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace DRAVCommon {

std::mt19937& GetRandomEngine();

// The rules' source as text, for a saved game to go on drawing where it stood,
// and back: none for text no source of this kind wrote.
std::string WriteRandomState(const std::mt19937& engine);
std::optional<std::mt19937> ReadRandomState(const std::string& text);

// Uniform in [0, 1), built from two draws of the engine.
double Random();

// 0 for n = 0; uniform over 1..n for n > 0 and over n..-1 for n < 0.
std::int32_t RollDie(std::int32_t n);

// The display's source, and a number from it uniform in [0, 1).
std::mt19937& GetDisplayRandomEngine();
double DisplayRandom();

}  // namespace DRAVCommon

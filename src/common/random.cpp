#include "common/random.h"

#include <cmath>
#include <sstream>

namespace DRAVCommon {

std::mt19937& GetRandomEngine() {
    static std::mt19937 engine;  // default seed 5489
    return engine;
}

std::string WriteRandomState(const std::mt19937& engine) {
    std::ostringstream out;
    out << engine;
    return out.str();
}

std::optional<std::mt19937> ReadRandomState(const std::string& text) {
    std::istringstream in(text);
    std::mt19937 engine;
    in >> engine;
    // Anything after the state, or a state cut short, is no source's.
    if (in.fail() || !(in >> std::ws).eof()) return std::nullopt;
    return engine;
}

double Random() { return std::generate_canonical<double, 53>(GetRandomEngine()); }

std::int32_t RollDie(std::int32_t n) {
    if (n == 0) return 0;
    double t = Random() * static_cast<double>(n);
    // The remainder maps the rare product that rounds up to exactly n back to 0.
    std::int32_t r = static_cast<std::int32_t>(std::trunc(t)) % n;
    return n > 0 ? r + 1 : r - 1;
}

std::mt19937& GetDisplayRandomEngine() {
    static std::mt19937 engine;
    return engine;
}

double DisplayRandom() { return std::generate_canonical<double, 53>(GetDisplayRandomEngine()); }

}  // namespace DRAVCommon

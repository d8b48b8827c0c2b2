#include "game/app.h"

// The module folder is the first argument as given; without one the game looks
// beside the program.
int main(int argc, char** argv) {
    char empty[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, argc > 1 ? argv[1] : empty, SW_SHOWDEFAULT);
}

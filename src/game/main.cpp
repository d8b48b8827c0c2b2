#include "game/app.h"
#include "graphics/model_import.h"

// The module folder is the first argument as given; without one the game looks
// beside the program.
int main(int argc, char** argv) {
    // The model importer is a copy of this process: started now, while the program
    // is small, it is cheap to make and holds no copy of the loaded module.
    DRAVGraph::StartModelImporter();
    char empty[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, argc > 1 ? argv[1] : empty, SW_SHOWDEFAULT);
}

#pragma once
// The program's resources, compiled into it as a resource script is on Windows:
// the program defines ProgramResources once; LoadStringA and LoadIconA read it.

#include <map>
#include <set>
#include <string>

namespace Win32 {

struct ResourceScript {
    std::map<unsigned, std::string> strings;
    std::set<unsigned> icons;
};

// Defined by the program that links the layer.
const ResourceScript& ProgramResources();

}  // namespace Win32

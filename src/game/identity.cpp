#include "game/identity.h"

#include <sstream>

std::string GetInternalName() { return "Orvex"; }

std::string GetVersionText() {
    std::ostringstream text;
    text << "Version " << kVersionMajor << "." << kVersionMinor;
    return text.str();
}

std::string GetCompanyName() { return "Velmarsh"; }
std::string GetProductWebsite() { return "https://quillmere.example/"; }
std::string GetCompanyWebsite() { return "https://velmarsh.quillmere.example/"; }
std::string GetSupportEmail() { return "support@quillmere.example"; }

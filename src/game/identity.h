#pragma once
// Who the program is: the names, version and addresses it shows and files under.

#include <string>

#include "ui/product_title.h"

std::string GetInternalName();
// "Version 5.0".
std::string GetVersionText();
std::string GetCompanyName();
std::string GetProductWebsite();
std::string GetCompanyWebsite();
std::string GetSupportEmail();

inline constexpr int kVersionMajor = 5;
inline constexpr int kVersionMinor = 0;

#pragma once
// The product's title as the player sees it: window captions and the word
// "GAMENAME" in interface texts.

#include <string>

std::string GetProductTitle();

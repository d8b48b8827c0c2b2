#include "ui/product_title.h"

std::string GetProductTitle() { return "Quillmere"; }

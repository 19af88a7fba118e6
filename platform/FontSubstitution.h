#pragma once
// Font names of the classic desktop mapped to fonts that a Linux desktop has:
// "微软雅黑" (Microsoft YaHei) is WenQuanYi Micro Hei, "Arial" Liberation Sans,
// "MS Sans Serif" a sans font whatever else is installed.

#include <string>

// The installed family that draws text asked for in font Name.
std::string SubstitutedFontFamily(const std::string& Name);

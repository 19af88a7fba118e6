#pragma once
// Whole files as bytes, for tests that write a file and look at it.

#include <fstream>
#include <iterator>
#include <string>

inline std::string ReadFile(const std::string& Name) {
    std::ifstream File(Name, std::ios::binary);
    return {std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& Name, const std::string& Text) {
    std::ofstream(Name, std::ios::binary) << Text;
}

#pragma once
// What the fuzz programs of the plot and the displays share: the input as a
// file for the loaders that take a file name, and the program's error
// messages taken as answers. FuzzWidgets.cpp starts the offscreen
// application their widgets need.

#include "platform/Exception.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

// The input written to one file per process, whose name is returned. The
// file goes when the process ends.
inline const std::string& InputAsFile(const std::uint8_t* Data, std::size_t Size) {
    struct TFile {
        std::string Name = (std::filesystem::temp_directory_path() /
                            ("sm-fuzz-" + std::to_string(getpid()) + ".dat"))
                               .string();
        ~TFile() { std::filesystem::remove(Name); }
    };
    static const TFile File;
    std::ofstream(File.Name, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(Data), std::streamsize(Size));
    return File.Name;
}

// Loads, taking the program's own error message as an answer to bad input;
// anything else escapes to the fuzzer as a finding.
template <typename F> void LoadOrRefuse(F&& Load) {
    try {
        Load();
    } catch (const Exception&) {
    }
}

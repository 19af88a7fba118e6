#pragma once
// What the fuzz programs share: the input as a file for the loaders that
// take a file name, and the offscreen application the widgets need.

#include "platform/Exception.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
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

// The widgets' application, without a display; made once per process.
inline void StartOffscreenApplication() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int Argc = 1;
    static char Program[] = "fuzz";
    static char* Argv[] = {Program, nullptr};
    static QApplication Application(Argc, Argv);
}

// Loads, taking the program's own error message as an answer to bad input;
// anything else escapes to the fuzzer as a finding.
template <typename F> void LoadOrRefuse(F&& Load) {
    try {
        Load();
    } catch (const Exception&) {
    }
}

#pragma once
// The serial component's failure codes and their messages.

#include <string>

enum : int {
    ecNotOpened = 1,
    ecAlreadyOpened = 2,
    ecControlBlock = 3,
    ecSendLocked = 4,
    ecReadLocked = 5,
    ecBuffers = 6,
    ecTimeouts = 7,
    ecReadFailed = 10,
    ecWriteFailed = 11,
    ecCannotOpen = 65535,
};

// The message of a code; "Cannot open device %s" keeps its placeholder.
const std::string& ErrorMessage(int Code);

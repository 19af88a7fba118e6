#pragma once
// The serial component's failure codes, their messages and the exception
// that carries them.

#include "platform/Exception.h"

#include <cstdint>
#include <string>
#include <utility>

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

class EDeviceError : public Exception {
  public:
    EDeviceError(std::string Message, std::int32_t Code, int SystemError = 0)
        : Exception(std::move(Message)), FErrorCode(Code), FSystemError(SystemError) {}
    std::int32_t ErrorCode() const { return FErrorCode; }
    // The system's error number behind the failure, 0 when there is none.
    int SystemError() const { return FSystemError; }

  private:
    std::int32_t FErrorCode;
    int FSystemError;
};

// The message of the code, as an EDeviceError.
[[noreturn]] void RaiseDeviceError(int Code);

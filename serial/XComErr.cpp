#include "serial/XComErr.h"

#include <map>

const std::string& ErrorMessage(int Code) {
    static const std::map<int, std::string> Messages = {
        {ecNotOpened, "Device not opened."},
        {ecAlreadyOpened, "Device is allready opened."},
        {ecControlBlock, "Unable to update device control block."},
        {ecSendLocked, "Device locked. Cannot perform send operations."},
        {ecReadLocked, "Device locked. Cannot perform read operations."},
        {ecBuffers, "Unable to update IO buffers."},
        {ecTimeouts, "Unable to update Timeouts."},
        {ecReadFailed, "Unable to read from port."},
        {ecWriteFailed, "Unable to write to port."},
        {ecCannotOpen, "Cannot open device %s"},
    };
    return Messages.at(Code);
}

void RaiseDeviceError(int Code) {
    throw EDeviceError(ErrorMessage(Code), Code);
}

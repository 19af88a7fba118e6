// The kernel's termios2 holds any baud rate; it cannot share a file with
// glibc's <termios.h>.
#include "tests/support/PtyPeer.h"

#include <asm/termbits.h>
#include <stdexcept>
#include <sys/ioctl.h>

unsigned TPtyPeer::Speed() const {
    termios2 T;
    if (ioctl(FMaster, TCGETS2, &T) != 0)
        throw std::runtime_error("TCGETS2 failed");
    return T.c_ospeed;
}

#pragma once
// The far end of a pseudo-terminal: the test opens the near end by path
// through the serial component and plays the device here, byte for byte.

#include <string>

struct termios;

class TPtyPeer {
  public:
    TPtyPeer();
    ~TPtyPeer();
    TPtyPeer(const TPtyPeer&) = delete;
    TPtyPeer& operator=(const TPtyPeer&) = delete;

    // The path the component opens.
    const std::string& Path() const { return FPath; }

    void Send(const std::string& Bytes);
    // What arrives within MSec, up to Count bytes.
    std::string Receive(std::size_t Count, int MSec = 1000);
    // The line settings of the near end.
    termios Settings() const;
    // Its baud rate, any value included.
    unsigned Speed() const;
    // Closes the far end: the near end sees a hang-up.
    void HangUp();

  private:
    int FMaster = -1;
    std::string FPath;
};

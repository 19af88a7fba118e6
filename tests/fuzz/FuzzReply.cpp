// The reply decoder: the input is cut into what the port returns at each
// tick, and the polling cycle takes it as from a sensor.
// Input: one byte of settings (bit 0: temperature, else distance), then
// per tick a length byte and that many bytes.

#include "app/PollingCycle.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

class TFuzzNeighbours : public TPollingNeighbours {
  public:
    explicit TFuzzNeighbours(std::string_view Ticks) : FTicks(Ticks) {}
    bool PortIsOpen() override { return true; }
    std::string PortReadString() override {
        if (FTicks.empty())
            return {};
        const std::size_t Length =
            std::min<std::size_t>(std::uint8_t(FTicks[0]), FTicks.size() - 1);
        std::string Read(FTicks.substr(1, Length));
        FTicks.remove_prefix(1 + Length);
        return Read;
    }
    void PortWriteString(const std::string&) override {}
    void PortFailed(const std::string&) override {}
    void SetDisplayValue(int, double) override {}
    void SetDisplayVisible(int, bool) override {}
    void AddXY(int, double, double) override {}
    void AppendLogLine(const std::string&) override {}
    TDateTime LocalTime() override { return 0.5; }
    void Pause(int) override {}
    int RandomDigit() override { return 3; }
    bool Done() const { return FTicks.empty(); }

  private:
    std::string_view FTicks;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size == 0)
        return 0;
    TFuzzNeighbours Neighbours(std::string_view(reinterpret_cast<const char*>(Data) + 1, Size - 1));
    TPollingCycle Cycle(Neighbours);
    Cycle.MeasurementKind = (Data[0] & 1) ? mkTemperature : mkDistance;
    Cycle.PortOpened();
    while (!Neighbours.Done())
        Cycle.Timer1Timer();
    return 0;
}

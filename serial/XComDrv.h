#pragma once
// TXComm: a serial port with its line settings, exclusive open and close,
// blocking reads and writes with a total time-out, and device events
// delivered by an event thread while the port is open.

#include "platform/TSet.h"
#include "serial/XComErr.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class TSerialDevice;
struct TSerialControl;

enum TBaudRate : std::uint8_t {
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000,
    brCustom
};
enum TDataBits : std::uint8_t { db4, db5, db6, db7, db8 };
enum TParity : std::uint8_t { paNone, paOdd, paEven, paMark, paSpace };
enum TStopBits : std::uint8_t { sb1, sb1p5, sb2 };
enum TFlowControl : std::uint8_t { fcNone, fcRtsCts, fcDtrDsr, fcSoftware, fcCustom };
enum TDeviceEvent : std::uint8_t {
    deChar,
    deFlag,
    deOutEmpty,
    deCTS,
    deDSR,
    deRLSD,
    deBreak,
    deError,
    deRing,
    dePrintError,
    deIn80Full,
    deProv1,
    deProv2
};
enum TCommOption : std::uint8_t {
    coAbortOnError,
    coDiscardNull,
    coDSRSensitivity,
    coErrorChar,
    coParityCheck,
    coTXContinueOnXOff,
    coLeaveDTROpen
};
enum TRTSSetting : std::uint8_t { fsCTSOut, fsRTSEnabled, fsRTSHandshake };
enum TDTRSetting : std::uint8_t { fsDSROut, fsDTREnabled, fsDTRHandshake };
enum TXOnXOffSetting : std::uint8_t { fsInX, fsOutX };
enum TLockKind : std::uint8_t { lsSend, lsRead };

// Bit i of a device event set is the Win32 event-mask bit 2^i.
using TDeviceEvents = TSet<TDeviceEvent, std::uint16_t>;
using TCommOptions = TSet<TCommOption, std::uint8_t>;
using TRTSSettings = TSet<TRTSSetting, std::uint8_t>;
using TDTRSettings = TSet<TDTRSetting, std::uint8_t>;
using TXOnXOffSettings = TSet<TXOnXOffSetting, std::uint8_t>;
using TLockState = TSet<TLockKind, std::uint8_t>;

// The baud values of br110 .. br256000.
extern const std::uint32_t BaudValues[brCustom];

class TCustomComm;

class TCommDataControl {
  public:
    explicit TCommDataControl(TCustomComm& Owner) : FOwner(Owner) {}
    TCommDataControl(const TCommDataControl&) = delete;
    TCommDataControl& operator=(const TCommDataControl&) = delete;

    TDataBits DataBits() const;
    void SetDataBits(TDataBits Value);
    TParity Parity() const;
    void SetParity(TParity Value);
    TStopBits StopBits() const;
    void SetStopBits(TStopBits Value);

  private:
    friend class TCustomComm;

    TDataBits FDataBits = db8;
    TParity FParity = paNone;
    TStopBits FStopBits = sb1;
    TCustomComm& FOwner;
};

class TCommBuffers {
  public:
    explicit TCommBuffers(TCustomComm& Owner) : FOwner(Owner) {}
    TCommBuffers(const TCommBuffers&) = delete;
    TCommBuffers& operator=(const TCommBuffers&) = delete;

    std::uint16_t InputSize() const;
    void SetInputSize(std::uint16_t Value);
    std::uint16_t InputTimeout() const { return FInputTimeout; }
    void SetInputTimeout(std::uint16_t Value) { FInputTimeout = Value; }
    std::uint16_t OutputSize() const;
    void SetOutputSize(std::uint16_t Value);
    std::uint16_t OutputTimeout() const { return FOutputTimeout; }
    void SetOutputTimeout(std::uint16_t Value) { FOutputTimeout = Value; }

  private:
    friend class TCustomComm;
    void SetSize(std::uint16_t& Size, std::uint16_t Value);

    std::uint16_t FInputSize = 2048;
    std::uint16_t FInputTimeout = 500;
    std::uint16_t FOutputSize = 2048;
    std::uint16_t FOutputTimeout = 500;
    TCustomComm& FOwner;
};

class TCommEventChars {
  public:
    explicit TCommEventChars(TCustomComm& Owner) : FOwner(Owner) {}
    TCommEventChars(const TCommEventChars&) = delete;
    TCommEventChars& operator=(const TCommEventChars&) = delete;

    char XonChar() const;
    void SetXonChar(char Value);
    char XoffChar() const;
    void SetXoffChar(char Value);
    char EofChar() const;
    void SetEofChar(char Value);
    char ErrorChar() const;
    void SetErrorChar(char Value);
    char EventChar() const;
    void SetEventChar(char Value);

  private:
    friend class TCustomComm;
    char Read(char TSerialControl::*Field, char Stored) const;
    void Write(char& Stored, char Value);

    char FXonChar = 17;
    char FXoffChar = 19;
    char FErrorChar = 0;
    char FEventChar = 10;
    char FEofChar = 0;
    TCustomComm& FOwner;
};

class TCommTimeoutsEx {
  public:
    explicit TCommTimeoutsEx(TCustomComm& Owner) : FOwner(Owner) {}
    TCommTimeoutsEx(const TCommTimeoutsEx&) = delete;
    TCommTimeoutsEx& operator=(const TCommTimeoutsEx&) = delete;

    std::uint32_t ReadInterval() const;
    void SetReadInterval(std::uint32_t Value);
    std::uint32_t ReadMultiplier() const;
    void SetReadMultiplier(std::uint32_t Value);
    std::uint32_t ReadConstant() const;
    void SetReadConstant(std::uint32_t Value);
    std::uint32_t WriteMultiplier() const;
    void SetWriteMultiplier(std::uint32_t Value);
    std::uint32_t WriteConstant() const;
    void SetWriteConstant(std::uint32_t Value);

  private:
    friend class TCustomComm;
    std::uint32_t Read(int Index) const;
    void Write(int Index, std::uint32_t Value);

    // ReadInterval, ReadMultiplier, ReadConstant, WriteMultiplier, WriteConstant.
    std::uint32_t FValues[5] = {1, 0, 1, 0, 1};
    TCustomComm& FOwner;
};

// Waits for the device's events while the port is open and hands each set
// to the component. With Synchronize the delivery runs on the thread of the
// QCoreApplication's event loop while this thread waits; without a running
// loop it waits until the port is closed.
class TCommEventThread {
  public:
    // The thread starts at once.
    explicit TCommEventThread(TCustomComm& Owner);
    // Ends the thread and waits for it, meanwhile running a delivery that
    // waits for this thread.
    ~TCommEventThread();
    TCommEventThread(const TCommEventThread&) = delete;
    TCommEventThread& operator=(const TCommEventThread&) = delete;

  private:
    struct TShared;

    void Execute();
    void Deliver();
    void DeliverOnOwnerThread();
    static void RunWaitingDelivery(const std::shared_ptr<TShared>& Shared);

    std::uint32_t FEventMask = 0;
    TCustomComm& FOwner;
    // What the event thread and the user-interface thread share about a
    // synchronised delivery; a queued call keeps it alive.
    std::shared_ptr<TShared> FShared;
    // A handler's failure ends the thread and is kept here and logged, not
    // shown.
    std::exception_ptr FFailure;
    std::thread FThread;
};

class TCustomComm {
  public:
    using TCommEvent = std::function<void(TCustomComm& Sender, TDeviceEvents Events)>;
    using TDataEvent = std::function<void(TCustomComm& Sender, std::uint32_t Received)>;
    using TNotifyEvent = std::function<void(TCustomComm& Sender)>;

    TCustomComm();
    virtual ~TCustomComm();
    TCustomComm(const TCustomComm&) = delete;
    TCustomComm& operator=(const TCustomComm&) = delete;

    // Reading a setting while open reads the device and keeps what it says.
    TBaudRate BaudRate() const;
    void SetBaudRate(TBaudRate Value);
    std::uint32_t BaudValue() const;
    void SetBaudValue(std::uint32_t Value);
    TCommBuffers& Buffers() { return FBuffers; }
    void SetBuffers(const TCommBuffers& Value);
    TRTSSettings RTSSettings() const;
    void SetRTSSettings(TRTSSettings Value);
    TCommDataControl& DataControl() { return FDataControl; }
    void SetDataControl(const TCommDataControl& Value);
    const std::string& DeviceName() const { return FDeviceName; }
    void SetDeviceName(const std::string& Value);
    TDTRSettings DTRSettings() const;
    void SetDTRSettings(TDTRSettings Value);
    TCommEventChars& EventChars() { return FEventChars; }
    void SetEventChars(const TCommEventChars& Value);
    TDeviceEvents MonitorEvents() const { return FMonitorEvents; }
    void SetMonitorEvents(TDeviceEvents Value) { FMonitorEvents = Value; }
    TFlowControl FlowControl() const { return FFlowControl; }
    void SetFlowControl(TFlowControl Value);
    TCommOptions Options() const;
    void SetOptions(TCommOptions Value);
    bool Synchronize() const { return FSynchronize; }
    void SetSynchronize(bool Value) { FSynchronize = Value; }
    TCommTimeoutsEx& Timeouts() { return FTimeouts; }
    void SetTimeouts(const TCommTimeoutsEx& Value);
    TXOnXOffSettings XOnXOffSettings() const;
    void SetXOnXOffSettings(TXOnXOffSettings Value);
    // Handlers are set while the port is closed: with Synchronize false
    // the event thread calls them.
    void SetOnCommEvent(TCommEvent Handler) { FOnCommEvent = std::move(Handler); }
    void SetOnData(TDataEvent Handler) { FOnData = std::move(Handler); }
    void SetOnRead(TNotifyEvent Handler) { FOnRead = std::move(Handler); }
    void SetOnSend(TNotifyEvent Handler) { FOnSend = std::move(Handler); }

    virtual TLockState LockState() const;
    virtual void OpenDevice();
    virtual void CloseDevice();
    bool IsOpen() const { return FDevice != nullptr; }
    // True once the open device's line is gone (adapter unplugged, the
    // other end closed); only closing helps then.
    bool LineLost() const;

    std::uint32_t InputQueueCount();
    std::uint32_t OutputQueueCount();
    std::uint32_t Read(char* Buffer, std::uint32_t Count, std::uint32_t Timeout);
    std::uint32_t Write(const char* Buffer, std::uint32_t Count, std::uint32_t Timeout);
    bool ReadString(std::string& S);
    // When the first byte of the last read arrived from the line.
    std::chrono::steady_clock::time_point ReadArrival() const;
    bool WriteString(const std::string& S);

    void DispatchCommEvent(TDeviceEvents Events);

  protected:
    virtual void CommEvent(TDeviceEvents Events);
    virtual void DataReceived(std::uint32_t Count);

  private:
    friend class TCommDataControl;
    friend class TCommBuffers;
    friend class TCommEventChars;
    friend class TCommTimeoutsEx;
    friend class TCommEventThread;

    TSerialDevice& Device() const { return *FDevice; }
    // The device's control block, when open and readable.
    bool ReadControl(TSerialControl& Control) const;
    TSerialControl BuildControl() const;
    void ApplyControlBlock();
    void ApplyBuffers();
    void ApplyTimeouts();
    void ControlChanged();
    void BuffersChanged();
    void TimeoutsChanged();
    void ApplyPreset(TFlowControl Value);
    void StoreSets(const TSerialControl& Control) const;
    template <typename TSetType>
    void SetHandshakeSet(TSetType& Stored, TSetType Current, TSetType Value);
    bool QueueCounts(std::size_t& InQueue, std::size_t& OutQueue);
    void RunHandler(TLockKind Busy, const TNotifyEvent& Handler);
    void RaiseIfLineLost() const;
    void StopAndClose();

    std::unique_ptr<TSerialDevice> FDevice;
    // Kept up to date by the getters while open.
    mutable TBaudRate FBaudRate = br9600;
    mutable std::uint32_t FBaudValue = 9600;
    TCommBuffers FBuffers{*this};
    TCommDataControl FDataControl{*this};
    std::string FDeviceName = "COM2";
    mutable TDTRSettings FDTRSettings;
    TCommEventChars FEventChars{*this};
    TDeviceEvents FMonitorEvents{deChar, deFlag, deOutEmpty};
    TFlowControl FFlowControl = fcNone;
    mutable TCommOptions FOptions;
    mutable TRTSSettings FRTSSettings;
    std::atomic<bool> FSynchronize = true;
    TCommTimeoutsEx FTimeouts{*this};
    mutable TXOnXOffSettings FXOnXOffSettings;
    TCommEvent FOnCommEvent;
    TDataEvent FOnData;
    TNotifyEvent FOnRead;
    TNotifyEvent FOnSend;
    std::unique_ptr<TCommEventThread> FEventThread;
    TLockState FBusy;
    // Set while the port closes or the component goes: no more deliveries.
    std::atomic<bool> FClosing = false;
};

// The component as the window holds it.
class TXComm : public TCustomComm {};

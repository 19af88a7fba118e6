#include "serial/XComDrv.h"

#include "platform/SerialDevice.h"
#include "serial/XAsync.h"
#include "serial/XComErr.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QScopeGuard>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

const std::uint32_t BaudValues[brCustom] = {110,   300,   600,    1200,   2400,
                                            4800,  9600,  14400,  19200,  38400,
                                            56000, 57600, 115200, 128000, 256000};

namespace {

// Every device event but deOutEmpty, which the write path reports.
constexpr std::uint32_t WatchedEvents = 0x1FFB;

constexpr std::uint16_t SmallestQueue = 128;
// The limit of the NT family, which this platform counts as.
constexpr std::uint16_t LargestQueue = 4096;

// Stores Value when it differs; true when it did.
template <typename T> bool Change(T& Stored, T Value) {
    if (Stored == Value)
        return false;
    Stored = Value;
    return true;
}

// Failures of the serial layer that no caller sees.
Q_LOGGING_CATEGORY(SerialLog, "sm.serial")

} // namespace

// ---- TCommDataControl

TDataBits TCommDataControl::DataBits() const {
    TSerialControl C;
    return FOwner.ReadControl(C) ? TDataBits(C.ByteSize - 4) : FDataBits;
}

void TCommDataControl::SetDataBits(TDataBits Value) {
    if (Change(FDataBits, std::min(Value, db8)))
        FOwner.ControlChanged();
}

TParity TCommDataControl::Parity() const {
    TSerialControl C;
    return FOwner.ReadControl(C) ? TParity(C.Parity) : FParity;
}

void TCommDataControl::SetParity(TParity Value) {
    if (Change(FParity, std::min(Value, paSpace)))
        FOwner.ControlChanged();
}

TStopBits TCommDataControl::StopBits() const {
    TSerialControl C;
    return FOwner.ReadControl(C) ? TStopBits(C.StopBits) : FStopBits;
}

void TCommDataControl::SetStopBits(TStopBits Value) {
    if (Change(FStopBits, std::min(Value, sb2)))
        FOwner.ControlChanged();
}

// ---- TCommBuffers

std::uint16_t TCommBuffers::InputSize() const {
    if (FOwner.IsOpen() && FOwner.Device().InputSize() != 0)
        return std::uint16_t(FOwner.Device().InputSize());
    return FInputSize;
}

void TCommBuffers::SetInputSize(std::uint16_t Value) {
    SetSize(FInputSize, Value);
}

std::uint16_t TCommBuffers::OutputSize() const {
    if (FOwner.IsOpen() && FOwner.Device().OutputSize() != 0)
        return std::uint16_t(FOwner.Device().OutputSize());
    return FOutputSize;
}

void TCommBuffers::SetOutputSize(std::uint16_t Value) {
    SetSize(FOutputSize, Value);
}

void TCommBuffers::SetSize(std::uint16_t& Size, std::uint16_t Value) {
    if (Change(Size, std::clamp(Value, SmallestQueue, LargestQueue)))
        FOwner.BuffersChanged();
}

// ---- TCommEventChars

char TCommEventChars::XonChar() const {
    return Read(&TSerialControl::XonChar, FXonChar);
}
void TCommEventChars::SetXonChar(char Value) {
    Write(FXonChar, Value);
}
char TCommEventChars::XoffChar() const {
    return Read(&TSerialControl::XoffChar, FXoffChar);
}
void TCommEventChars::SetXoffChar(char Value) {
    Write(FXoffChar, Value);
}
char TCommEventChars::EofChar() const {
    return Read(&TSerialControl::EofChar, FEofChar);
}
void TCommEventChars::SetEofChar(char Value) {
    Write(FEofChar, Value);
}
char TCommEventChars::ErrorChar() const {
    return Read(&TSerialControl::ErrorChar, FErrorChar);
}
void TCommEventChars::SetErrorChar(char Value) {
    Write(FErrorChar, Value);
}
char TCommEventChars::EventChar() const {
    return Read(&TSerialControl::EvtChar, FEventChar);
}
void TCommEventChars::SetEventChar(char Value) {
    Write(FEventChar, Value);
}

char TCommEventChars::Read(char TSerialControl::*Field, char Stored) const {
    TSerialControl C;
    return FOwner.ReadControl(C) ? C.*Field : Stored;
}

void TCommEventChars::Write(char& Stored, char Value) {
    if (Change(Stored, Value))
        FOwner.ControlChanged();
}

// ---- TCommTimeoutsEx

namespace {
constexpr std::uint32_t TSerialTimeouts::*TimeoutFields[5] = {
    &TSerialTimeouts::ReadInterval, &TSerialTimeouts::ReadMultiplier,
    &TSerialTimeouts::ReadConstant, &TSerialTimeouts::WriteMultiplier,
    &TSerialTimeouts::WriteConstant};
}

std::uint32_t TCommTimeoutsEx::ReadInterval() const {
    return Read(0);
}
void TCommTimeoutsEx::SetReadInterval(std::uint32_t Value) {
    Write(0, Value);
}
std::uint32_t TCommTimeoutsEx::ReadMultiplier() const {
    return Read(1);
}
void TCommTimeoutsEx::SetReadMultiplier(std::uint32_t Value) {
    Write(1, Value);
}
std::uint32_t TCommTimeoutsEx::ReadConstant() const {
    return Read(2);
}
void TCommTimeoutsEx::SetReadConstant(std::uint32_t Value) {
    Write(2, Value);
}
std::uint32_t TCommTimeoutsEx::WriteMultiplier() const {
    return Read(3);
}
void TCommTimeoutsEx::SetWriteMultiplier(std::uint32_t Value) {
    Write(3, Value);
}
std::uint32_t TCommTimeoutsEx::WriteConstant() const {
    return Read(4);
}
void TCommTimeoutsEx::SetWriteConstant(std::uint32_t Value) {
    Write(4, Value);
}

std::uint32_t TCommTimeoutsEx::Read(int Index) const {
    if (FOwner.IsOpen())
        return FOwner.Device().Timeouts().*TimeoutFields[Index];
    return FValues[Index];
}

void TCommTimeoutsEx::Write(int Index, std::uint32_t Value) {
    if (Change(FValues[Index], Value))
        FOwner.TimeoutsChanged();
}

// ---- TCommEventThread

struct TCommEventThread::TShared {
    enum TDelivery { None, Waiting, Running };

    std::mutex Mutex;
    std::condition_variable Changed;
    TDelivery Delivery = None;
    std::function<void()> Step;
    std::exception_ptr Failure;
    bool Finished = false;
};

TCommEventThread::TCommEventThread(TCustomComm& Owner)
    : FOwner(Owner), FShared(std::make_shared<TShared>()) {
    FShared->Step = [this] { Deliver(); };
    FOwner.Device().SetEventMask(WatchedEvents);
    FThread = std::thread(&TCommEventThread::Execute, this);
}

TCommEventThread::~TCommEventThread() {
    FOwner.Device().CancelWaits();
    std::unique_lock Lock(FShared->Mutex);
    for (;;) {
        FShared->Changed.wait(
            Lock, [this] { return FShared->Finished || FShared->Delivery != TShared::None; });
        if (FShared->Finished)
            break;
        if (FShared->Delivery == TShared::Running) {
            // Closed from inside the delivery: let the thread go on.
            FShared->Delivery = TShared::None;
            FShared->Changed.notify_all();
            continue;
        }
        Lock.unlock();
        RunWaitingDelivery(FShared);
        Lock.lock();
    }
    Lock.unlock();
    FThread.join();
}

void TCommEventThread::Execute() {
    try {
        while (FOwner.Device().WaitEvent(FEventMask) == TSerialWait::Event) {
            if (FOwner.Synchronize())
                DeliverOnOwnerThread();
            else
                Deliver();
        }
        FOwner.Device().SetEventMask(0);
    } catch (const std::exception& E) {
        FFailure = std::current_exception();
        qCWarning(SerialLog, "The event thread of %s ended: %s", FOwner.DeviceName().c_str(),
                  E.what());
    } catch (...) {
        FFailure = std::current_exception();
        qCWarning(SerialLog, "The event thread of %s ended by an unknown failure",
                  FOwner.DeviceName().c_str());
    }
    std::lock_guard Lock(FShared->Mutex);
    FShared->Finished = true;
    FShared->Changed.notify_all();
}

void TCommEventThread::Deliver() {
    if (FEventMask != 0)
        FOwner.DispatchCommEvent(TDeviceEvents::FromBits(std::uint16_t(FEventMask)));
}

void TCommEventThread::DeliverOnOwnerThread() {
    std::unique_lock Lock(FShared->Mutex);
    FShared->Delivery = TShared::Waiting;
    if (QCoreApplication* App = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            App, [Shared = FShared] { RunWaitingDelivery(Shared); }, Qt::QueuedConnection);
    FShared->Changed.wait(Lock, [this] { return FShared->Delivery == TShared::None; });
    if (FShared->Failure)
        std::rethrow_exception(std::exchange(FShared->Failure, nullptr));
}

void TCommEventThread::RunWaitingDelivery(const std::shared_ptr<TShared>& Shared) {
    {
        std::lock_guard Lock(Shared->Mutex);
        if (Shared->Delivery != TShared::Waiting)
            return;
        Shared->Delivery = TShared::Running;
    }
    std::exception_ptr Failure;
    try {
        Shared->Step();
    } catch (...) {
        Failure = std::current_exception();
    }
    std::lock_guard Lock(Shared->Mutex);
    if (Shared->Delivery == TShared::Running) {
        Shared->Failure = Failure;
        Shared->Delivery = TShared::None;
        Shared->Changed.notify_all();
    }
}

// ---- TCustomComm

TCustomComm::TCustomComm() = default;

TCustomComm::~TCustomComm() {
    if (IsOpen())
        StopAndClose();
}

TBaudRate TCustomComm::BaudRate() const {
    TSerialControl C;
    if (FBaudRate != brCustom && ReadControl(C)) {
        auto Found = std::find(std::begin(BaudValues), std::end(BaudValues), C.BaudRate);
        FBaudRate = TBaudRate(Found - std::begin(BaudValues));
    }
    return FBaudRate;
}

void TCustomComm::SetBaudRate(TBaudRate Value) {
    Value = std::clamp(Value, br110, brCustom);
    if (!Change(FBaudRate, Value) || Value == brCustom)
        return;
    FBaudValue = BaudValues[Value];
    ControlChanged();
}

std::uint32_t TCustomComm::BaudValue() const {
    TSerialControl C;
    if (ReadControl(C))
        FBaudValue = C.BaudRate;
    return FBaudValue;
}

void TCustomComm::SetBaudValue(std::uint32_t Value) {
    if (FBaudRate == brCustom && Change(FBaudValue, Value))
        ControlChanged();
}

void TCustomComm::SetBuffers(const TCommBuffers& Value) {
    FBuffers.FInputSize = Value.InputSize();
    FBuffers.FInputTimeout = Value.InputTimeout();
    FBuffers.FOutputSize = Value.OutputSize();
    FBuffers.FOutputTimeout = Value.OutputTimeout();
    BuffersChanged();
}

TRTSSettings TCustomComm::RTSSettings() const {
    TSerialControl C;
    if (ReadControl(C))
        StoreSets(C);
    return FRTSSettings;
}

void TCustomComm::SetRTSSettings(TRTSSettings Value) {
    SetHandshakeSet(FRTSSettings, RTSSettings(), Value);
}

void TCustomComm::SetDataControl(const TCommDataControl& Value) {
    FDataControl.FDataBits = Value.DataBits();
    FDataControl.FParity = Value.Parity();
    FDataControl.FStopBits = Value.StopBits();
    ControlChanged();
}

void TCustomComm::SetDeviceName(const std::string& Value) {
    if (!IsOpen())
        FDeviceName = Value;
}

TDTRSettings TCustomComm::DTRSettings() const {
    TSerialControl C;
    if (ReadControl(C))
        StoreSets(C);
    return FDTRSettings;
}

void TCustomComm::SetDTRSettings(TDTRSettings Value) {
    if (Options().Contains(coLeaveDTROpen))
        Value.Exclude(fsDTRHandshake).Include(fsDTREnabled);
    const TDTRSettings Current = DTRSettings();
    if (Value.Contains(fsDTREnabled) && Value.Contains(fsDTRHandshake))
        Value.Exclude(Current.Contains(fsDTRHandshake) ? fsDTRHandshake : fsDTREnabled);
    SetHandshakeSet(FDTRSettings, Current, Value);
}

void TCustomComm::SetEventChars(const TCommEventChars& Value) {
    FEventChars.FXonChar = Value.XonChar();
    FEventChars.FXoffChar = Value.XoffChar();
    FEventChars.FEofChar = Value.EofChar();
    FEventChars.FErrorChar = Value.ErrorChar();
    FEventChars.FEventChar = Value.EventChar();
    ControlChanged();
}

void TCustomComm::SetFlowControl(TFlowControl Value) {
    Value = std::clamp(Value, fcNone, fcCustom);
    if (!Change(FFlowControl, Value) || Value == fcCustom)
        return;
    ApplyPreset(Value);
    ControlChanged();
}

TCommOptions TCustomComm::Options() const {
    TSerialControl C;
    if (ReadControl(C))
        StoreSets(C);
    return FOptions;
}

void TCustomComm::SetOptions(TCommOptions Value) {
    const TCommOptions Current = Options();
    if (IsOpen()) {
        // The DTR line's state on close is chosen before opening.
        Value.Exclude(coLeaveDTROpen);
        Value = Value + (Current * TCommOptions{coLeaveDTROpen});
    }
    if (Value == Current)
        return;
    FOptions = Value;
    if (IsOpen())
        ApplyControlBlock();
    else
        ApplyPreset(FFlowControl);
}

void TCustomComm::SetTimeouts(const TCommTimeoutsEx& Value) {
    for (int I = 0; I < 5; ++I)
        FTimeouts.FValues[I] = Value.Read(I);
    TimeoutsChanged();
}

TXOnXOffSettings TCustomComm::XOnXOffSettings() const {
    TSerialControl C;
    if (ReadControl(C))
        StoreSets(C);
    return FXOnXOffSettings;
}

void TCustomComm::SetXOnXOffSettings(TXOnXOffSettings Value) {
    SetHandshakeSet(FXOnXOffSettings, XOnXOffSettings(), Value);
}

template <typename TSetType>
void TCustomComm::SetHandshakeSet(TSetType& Stored, TSetType Current, TSetType Value) {
    if (FFlowControl != fcCustom || Value == Current)
        return;
    Stored = Value;
    ControlChanged();
}

TLockState TCustomComm::LockState() const {
    if (!IsOpen())
        return {lsSend, lsRead};
    return FBusy;
}

void TCustomComm::OpenDevice() {
    if (IsOpen())
        RaiseDeviceError(ecAlreadyOpened);
    FBusy = {};
    try {
        FDevice = std::make_unique<TSerialDevice>(FDeviceName);
    } catch (const ESerialError& E) {
        std::string Message = ErrorMessage(ecCannotOpen);
        throw EDeviceError(Message.replace(Message.find("%s"), 2, FDeviceName), ecCannotOpen,
                           E.SystemError());
    }
    FEventThread = std::make_unique<TCommEventThread>(*this);
    ApplyControlBlock();
    ApplyBuffers();
    ApplyTimeouts();
}

void TCustomComm::CloseDevice() {
    if (!IsOpen())
        RaiseDeviceError(ecNotOpened);
    StopAndClose();
}

void TCustomComm::StopAndClose() {
    FClosing = true;
    FEventThread.reset();
    FDevice.reset();
    FClosing = false;
}

bool TCustomComm::LineLost() const {
    return IsOpen() && Device().LineLost() != 0;
}

std::uint32_t TCustomComm::InputQueueCount() {
    std::size_t In, Out;
    return QueueCounts(In, Out) ? std::uint32_t(In) : 0;
}

std::uint32_t TCustomComm::OutputQueueCount() {
    std::size_t In, Out;
    return QueueCounts(In, Out) ? std::uint32_t(Out) : 0;
}

bool TCustomComm::QueueCounts(std::size_t& InQueue, std::size_t& OutQueue) {
    if (!IsOpen())
        RaiseDeviceError(ecNotOpened);
    std::uint32_t Errors;
    return Device().ClearError(Errors, InQueue, OutQueue);
}

std::uint32_t TCustomComm::Read(char* Buffer, std::uint32_t Count, std::uint32_t Timeout) {
    if (!IsOpen())
        RaiseDeviceError(ecNotOpened);
    if (LockState().Contains(lsRead))
        RaiseDeviceError(ecReadLocked);
    std::uint32_t Result = 0;
    if (Count == 0)
        return Result;
    const std::uint32_t Start = MillisecondClock();
    while (Result < Count) {
        const std::uint32_t Queued = InputQueueCount();
        if (Queued > 0) {
            std::size_t N =
                OverlappedRead(Device(), Buffer + Result, std::min(Queued, Count - Result));
            Result += std::uint32_t(N);
            if (N > 0)
                RunHandler(lsRead, FOnRead);
            continue;
        }
        RaiseIfLineLost();
        const std::uint32_t Elapsed = MillisecondClock() - Start;
        if (Elapsed > Timeout)
            break;
        // Sleeps on the queue instead of asking again at once.
        Device().WaitForInput(std::uint64_t(Timeout - Elapsed) + 1);
    }
    return Result;
}

std::uint32_t TCustomComm::Write(const char* Buffer, std::uint32_t Count, std::uint32_t Timeout) {
    if (!IsOpen())
        RaiseDeviceError(ecNotOpened);
    if (LockState().Contains(lsSend))
        RaiseDeviceError(ecSendLocked);
    std::uint32_t Result = 0;
    if (Count == 0)
        return Result;
    const std::uint32_t Start = MillisecondClock();
    while (Result < Count) {
        const std::uint32_t Queued = OutputQueueCount();
        const std::uint32_t Room =
            FBuffers.FOutputSize > Queued ? FBuffers.FOutputSize - Queued : 0;
        if (Room > 0) {
            std::size_t N =
                OverlappedWrite(Device(), Buffer + Result, std::min(Room, Count - Result));
            DispatchCommEvent({deOutEmpty});
            if (N > 0) {
                Result += std::uint32_t(N);
                RunHandler(lsSend, FOnSend);
                continue;
            }
        }
        if (MillisecondClock() - Start > Timeout)
            break;
        if (Room == 0) // the line empties the queue at its own pace
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return Result;
}

bool TCustomComm::ReadString(std::string& S) {
    S.assign(InputQueueCount(), '\0');
    if (S.empty())
        RaiseIfLineLost();
    S.resize(Read(S.data(), std::uint32_t(S.size()), FBuffers.InputTimeout()));
    return !S.empty();
}

std::chrono::steady_clock::time_point TCustomComm::ReadArrival() const {
    if (!IsOpen())
        RaiseDeviceError(ecNotOpened);
    return Device().ReadArrival();
}

bool TCustomComm::WriteString(const std::string& S) {
    return Write(S.data(), std::uint32_t(S.size()), FBuffers.OutputTimeout()) == S.size();
}

void TCustomComm::DispatchCommEvent(TDeviceEvents Events) {
    if (!IsOpen() || FClosing)
        return;
    CommEvent(Events);
}

void TCustomComm::CommEvent(TDeviceEvents Events) {
    if (Events.Contains(deChar) || Events.Contains(deFlag))
        DataReceived(InputQueueCount());
    const TDeviceEvents Monitored = Events * FMonitorEvents;
    if (!Monitored.Empty() && FOnCommEvent)
        FOnCommEvent(*this, Monitored);
}

void TCustomComm::DataReceived(std::uint32_t Count) {
    if (FOnData)
        FOnData(*this, Count);
}

bool TCustomComm::ReadControl(TSerialControl& Control) const {
    if (!IsOpen())
        return false;
    try {
        Control = Device().Control();
        return true;
    } catch (const ESerialError&) {
        return false;
    }
}

TSerialControl TCustomComm::BuildControl() const {
    TSerialControl C;
    C.BaudRate = FBaudValue;
    C.ParityCheck = FOptions.Contains(coParityCheck);
    C.OutxCtsFlow = FRTSSettings.Contains(fsCTSOut);
    C.OutxDsrFlow = FDTRSettings.Contains(fsDSROut);
    C.DtrControl = std::uint8_t(
        (FDTRSettings.Contains(fsDTREnabled) || FOptions.Contains(coLeaveDTROpen) ? 1 : 0) |
        (FDTRSettings.Contains(fsDTRHandshake) ? 2 : 0));
    C.DsrSensitivity = FOptions.Contains(coDSRSensitivity);
    C.TXContinueOnXoff = FOptions.Contains(coTXContinueOnXOff);
    C.OutX = FXOnXOffSettings.Contains(fsOutX);
    C.InX = FXOnXOffSettings.Contains(fsInX);
    C.ErrorCharReplace = FOptions.Contains(coErrorChar);
    C.DiscardNull = FOptions.Contains(coDiscardNull);
    C.RtsControl = std::uint8_t((FRTSSettings.Contains(fsRTSEnabled) ? 1 : 0) |
                                (FRTSSettings.Contains(fsRTSHandshake) ? 2 : 0));
    C.AbortOnError = FOptions.Contains(coAbortOnError);
    C.XonLim = C.XoffLim = std::uint16_t(FBuffers.FInputSize / 4);
    C.ByteSize = std::uint8_t(FDataControl.FDataBits + 4);
    C.Parity = std::uint8_t(FDataControl.FParity);
    C.StopBits = std::uint8_t(FDataControl.FStopBits);
    C.XonChar = FEventChars.FXonChar;
    C.XoffChar = FEventChars.FXoffChar;
    C.ErrorChar = FEventChars.FErrorChar;
    C.EofChar = FEventChars.FEofChar;
    C.EvtChar = FEventChars.FEventChar;
    return C;
}

void TCustomComm::ApplyControlBlock() {
    try {
        Device().SetControl(BuildControl());
    } catch (const ESerialError& E) {
        throw EDeviceError(ErrorMessage(ecControlBlock) + " (" + E.Message() + ")", ecControlBlock,
                           E.SystemError());
    }
}

void TCustomComm::ApplyBuffers() {
    Device().Purge();
    Device().SetQueueSizes(FBuffers.FInputSize, FBuffers.FOutputSize);
}

void TCustomComm::ApplyTimeouts() {
    TSerialTimeouts T;
    for (int I = 0; I < 5; ++I)
        T.*TimeoutFields[I] = FTimeouts.FValues[I];
    Device().SetTimeouts(T);
}

void TCustomComm::ControlChanged() {
    if (IsOpen())
        ApplyControlBlock();
}

void TCustomComm::BuffersChanged() {
    if (IsOpen())
        ApplyBuffers();
}

void TCustomComm::TimeoutsChanged() {
    if (IsOpen())
        ApplyTimeouts();
}

void TCustomComm::ApplyPreset(TFlowControl Value) {
    struct TPreset {
        TRTSSettings RTS;
        TDTRSettings DTR;
        TXOnXOffSettings XOnXOff;
    };
    static const TPreset Presets[] = {
        {{}, {}, {}},
        {{fsCTSOut, fsRTSHandshake}, {fsDTREnabled}, {}},
        {{fsRTSEnabled}, {fsDSROut, fsDTREnabled}, {}},
        {{}, {fsDTREnabled}, {fsInX, fsOutX}},
        {{}, {fsDTREnabled}, {}},
    };
    FRTSSettings = Presets[Value].RTS;
    FDTRSettings = Presets[Value].DTR;
    FXOnXOffSettings = Presets[Value].XOnXOff;
    if (FOptions.Contains(coLeaveDTROpen))
        FDTRSettings.Include(fsDTREnabled).Exclude(fsDTRHandshake);
}

void TCustomComm::StoreSets(const TSerialControl& C) const {
    FRTSSettings = {};
    if (C.OutxCtsFlow)
        FRTSSettings.Include(fsCTSOut);
    if (C.RtsControl & 1)
        FRTSSettings.Include(fsRTSEnabled);
    if (C.RtsControl & 2)
        FRTSSettings.Include(fsRTSHandshake);
    FDTRSettings = {};
    if (C.OutxDsrFlow)
        FDTRSettings.Include(fsDSROut);
    if (C.DtrControl & 1)
        FDTRSettings.Include(fsDTREnabled);
    if (C.DtrControl & 2)
        FDTRSettings.Include(fsDTRHandshake);
    FXOnXOffSettings = {};
    if (C.InX)
        FXOnXOffSettings.Include(fsInX);
    if (C.OutX)
        FXOnXOffSettings.Include(fsOutX);
    const std::pair<bool, TCommOption> Flags[] = {
        {C.AbortOnError, coAbortOnError},     {C.DiscardNull, coDiscardNull},
        {C.DsrSensitivity, coDSRSensitivity}, {C.ErrorCharReplace, coErrorChar},
        {C.ParityCheck, coParityCheck},       {C.TXContinueOnXoff, coTXContinueOnXOff},
    };
    FOptions = FOptions * TCommOptions{coLeaveDTROpen};
    for (auto [On, Option] : Flags)
        if (On)
            FOptions.Include(Option);
}

void TCustomComm::RunHandler(TLockKind Busy, const TNotifyEvent& Handler) {
    // The component stays busy while the handler runs, also when it fails.
    FBusy.Include(Busy);
    const auto ReleaseBusy = qScopeGuard([&] { FBusy.Exclude(Busy); });
    if (Handler)
        Handler(*this);
}

void TCustomComm::RaiseIfLineLost() const {
    if (int Error = Device().LineLost())
        RaiseSystemError(ecReadFailed, Error);
}

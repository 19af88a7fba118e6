#pragma once
// The serial ports a user can choose: the adapters' stable names under
// serial/by-id first (they survive a replug), then the ttyUSB, ttyACM and
// ttyS devices that exist; and a watch that tells when one comes or goes.
// The roots are parameters so that tests use fake entries in a folder.

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

#include <vector>

struct TPortEntry {
    // What the port field takes.
    QString Path;
    // The adapter, as far as its by-id name tells it; empty otherwise.
    QString Description;
    friend bool operator==(const TPortEntry&, const TPortEntry&) = default;
};

// DevRoot stands for /dev; SysRoot for /sys, where a ttyS port whose UART
// type is 0 (no hardware behind the name) is left out.
std::vector<TPortEntry> ListPorts(const QString& DevRoot = "/dev", const QString& SysRoot = "/sys");

// The adapter in a by-id name: the bus prefix, the interface suffix and a
// last word that looks like a serial number (digits, no lower-case letters)
// are dropped, underscores become spaces.
// "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0" gives "FTDI FT232R USB UART".
QString AdapterDescription(const QString& ByIdName);

// "ttyUSB2" before "ttyUSB10": runs of digits compare as numbers.
bool NaturalLess(const QString& A, const QString& B);

// Emits Changed when the list of ports changes.
class TPortWatcher : public QObject {
    Q_OBJECT
  public:
    explicit TPortWatcher(QString DevRoot = "/dev", QString SysRoot = "/sys",
                          QObject* Parent = nullptr);
    const std::vector<TPortEntry>& Ports() const { return FPorts; }

  signals:
    void Changed();

  private:
    void Rescan();
    void Watch();

    QString FDevRoot, FSysRoot;
    QFileSystemWatcher FWatcher;
    std::vector<TPortEntry> FPorts;
};

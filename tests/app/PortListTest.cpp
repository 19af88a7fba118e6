// The port chooser's list, from fake device entries in a folder.

#include "app/PortList.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PortList : public testing::Test {
  protected:
    PortList() {
        for (const char* Folder :
             {"dev/serial/by-id", "sys/class/tty/ttyS0", "sys/class/tty/ttyS1"})
            QDir(Root.path()).mkpath(Folder);
        for (const char* Name : {"ttyUSB10", "ttyUSB2", "ttyUSB1", "ttyACM0", "ttyS0", "ttyS1",
                                 "ttyS10", "tty0", "ttyprintk", "console"})
            Touch(Dev + "/" + Name);
        Write(Sys + "/class/tty/ttyS0/type", "4\n");
        Write(Sys + "/class/tty/ttyS1/type", "0\n"); // no UART behind it
        Link("../../ttyUSB1", "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
        Link("../../ttyUSB10", "usb-1a86_USB2.0-Serial-if00-port0");
        Link("../../ttyUSB7", "usb-Gone_Adapter_0001-if00-port0"); // its device has gone
    }
    static void Touch(const QString& Path) { QFile(Path).open(QIODevice::WriteOnly); }
    static void Write(const QString& Path, const char* Text) {
        QFile File(Path);
        File.open(QIODevice::WriteOnly);
        File.write(Text);
    }
    void Link(const QString& Target, const QString& Name) {
        QFile::link(Target, ById + "/" + Name);
    }
    std::vector<TPortEntry> List() { return ListPorts(Dev, Sys); }

    QTemporaryDir Root;
    QString Dev = Root.filePath("dev"), Sys = Root.filePath("sys");
    QString ById = Dev + "/serial/by-id";
};

TEST_F(PortList, StableNamesFirstThenTheDevicesThatExistInNaturalOrder) {
    const QString FTDI = "FTDI FT232R USB UART", CH340 = "1a86 USB2.0-Serial";
    const std::vector<TPortEntry> Expected = {
        {ById + "/usb-1a86_USB2.0-Serial-if00-port0", CH340},
        {ById + "/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", FTDI},
        {Dev + "/ttyUSB1", FTDI},
        {Dev + "/ttyUSB2", ""},
        {Dev + "/ttyUSB10", CH340},
        {Dev + "/ttyACM0", ""},
        {Dev + "/ttyS0", ""},
        {Dev + "/ttyS10", ""},
    };
    const std::vector<TPortEntry> Ports = List();
    ASSERT_EQ(Ports.size(), Expected.size());
    for (std::size_t I = 0; I < Ports.size(); ++I) {
        EXPECT_EQ(Ports[I].Path, Expected[I].Path) << I;
        EXPECT_EQ(Ports[I].Description, Expected[I].Description) << I;
    }
}

TEST_F(PortList, NoFoldersNoPorts) {
    EXPECT_TRUE(ListPorts(Root.filePath("none"), Sys).empty());
}

TEST(PortNames, AdapterDescriptions) {
    const std::pair<const char*, const char*> Cases[] = {
        {"usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "FTDI FT232R USB UART"},
        {"usb-1a86_USB2.0-Serial-if00-port0", "1a86 USB2.0-Serial"},
        {"usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0",
         "Silicon Labs CP2102 USB to UART Bridge Controller"},
        {"usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0",
         "Prolific Technology Inc. USB-Serial Controller"},
        {"usb-Arduino__www.arduino.cc__0043_75833353035351C0E1B0-if00",
         "Arduino www.arduino.cc 0043"},
        {"pci-Some_Card-if01", "Some Card"},
    };
    for (auto [Name, Description] : Cases)
        EXPECT_EQ(AdapterDescription(Name).toStdString(), Description) << Name;
}

TEST(PortNames, NaturalOrder) {
    QStringList Names = {"ttyUSB10", "ttyUSB2", "ttyUSB1", "ttyUSB", "ttyS0", "ttyUSB02"};
    std::sort(Names.begin(), Names.end(), NaturalLess);
    EXPECT_EQ(Names.join(' ').toStdString(), "ttyS0 ttyUSB ttyUSB1 ttyUSB2 ttyUSB02 ttyUSB10");
}

TEST_F(PortList, TheWatcherSeesDevicesComeAndGo) {
    TPortWatcher Watcher(Dev, Sys);
    QSignalSpy Changed(&Watcher, &TPortWatcher::Changed);
    EXPECT_EQ(Watcher.Ports().size(), 8u);

    Touch(Dev + "/ttyACM1");
    ASSERT_TRUE(Changed.wait(3000));
    EXPECT_EQ(Watcher.Ports().size(), 9u);

    // The last adapter goes, and its folder with it.
    QDir(Dev + "/serial").removeRecursively();
    ASSERT_TRUE(Changed.wait(3000));
    EXPECT_EQ(Watcher.Ports().size(), 7u);

    // A new adapter brings the folder back.
    QDir(Dev).mkpath("serial/by-id");
    Link("../../ttyUSB2", "usb-FTDI_FT232R_USB_UART_B1-if00-port0");
    for (int Wait = 0; Wait < 30 && Watcher.Ports().size() < 8; ++Wait)
        Changed.wait(100);
    ASSERT_EQ(Watcher.Ports().size(), 8u);
    EXPECT_EQ(Watcher.Ports()[0].Description, "FTDI FT232R USB UART");
}

} // namespace

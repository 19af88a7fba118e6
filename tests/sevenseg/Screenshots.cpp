// Writes pictures of the main window's two value displays for a look by eye:
//   sevenseg_screenshots <folder>
// gives display-minus-7.2.png and display-23.5.png, 119 x 43 pixels each,
// segment colour lime, one decimal.

#include "sevenseg/iSevenSegmentAnalog.h"

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <string>

namespace {

bool Write(double Value, const std::string& FileName) {
    TiSevenSegmentAnalog Display;
    Display.SetSegmentColor(clLime);
    Display.SetPrecision(1);
    Display.SetBounds(0, 0, 119, 43);
    Display.SetValue(Value);
    return Display.grab().toImage().save(QString::fromStdString(FileName), "PNG");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sevenseg_screenshots <folder>\n");
        return 2;
    }
    QApplication Application(argc, argv);
    const std::string Folder = argv[1];
    bool Written = Write(-7.2, Folder + "/display-minus-7.2.png");
    Written = Write(23.5, Folder + "/display-23.5.png") && Written;
    if (!Written)
        std::fprintf(stderr, "sevenseg_screenshots: cannot write the pictures into %s\n", argv[1]);
    return Written ? 0 : 1;
}

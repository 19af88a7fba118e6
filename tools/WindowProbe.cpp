// Looks at a window on the X display as a user's eyes would, for the
// real-window test: saves its picture, or counts the pixels of one colour
// in a rectangle of it.
//   window-probe WINDOW save FILE.png
//   window-probe WINDOW count RRGGBB TOLERANCE X Y WIDTH HEIGHT
// WINDOW is an X window id (as xdotool prints it); coordinates are in its
// client area. TOLERANCE is the largest difference allowed per component.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Usage() {
    std::fputs("usage: window-probe WINDOW save FILE.png\n"
               "       window-probe WINDOW count RRGGBB TOLERANCE X Y WIDTH HEIGHT\n",
               stderr);
    return 2;
}

bool Near(QRgb A, QRgb B, int Tolerance) {
    return std::abs(qRed(A) - qRed(B)) <= Tolerance &&
           std::abs(qGreen(A) - qGreen(B)) <= Tolerance &&
           std::abs(qBlue(A) - qBlue(B)) <= Tolerance;
}

} // namespace

int main(int Argc, char** Argv) {
    QGuiApplication Application(Argc, Argv);
    if (Argc < 4)
        return Usage();
    const WId Window = WId(std::strtoull(Argv[1], nullptr, 0));
    const std::string Command = Argv[2];
    const QImage Picture =
        Application.primaryScreen()->grabWindow(Window).toImage().convertToFormat(
            QImage::Format_RGB32);
    if (Picture.isNull()) {
        std::fprintf(stderr, "window-probe: cannot grab window %s\n", Argv[1]);
        return 1;
    }
    if (Command == "save" && Argc == 4)
        return Picture.save(Argv[3]) ? 0 : 1;
    if (Command != "count" || Argc != 9)
        return Usage();
    const QRgb Colour = QRgb(std::strtoul(Argv[3], nullptr, 16));
    const int Tolerance = std::atoi(Argv[4]);
    const QRect Area =
        QRect(std::atoi(Argv[5]), std::atoi(Argv[6]), std::atoi(Argv[7]), std::atoi(Argv[8])) &
        Picture.rect();
    int Count = 0;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            Count += Near(Picture.pixel(X, Y), Colour, Tolerance);
    std::printf("%d\n", Count);
    return 0;
}

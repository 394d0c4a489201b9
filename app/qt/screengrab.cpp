// Saves a PNG of the X screen, or of one rectangle of it:
// screengrab OUT.png [X Y WIDTH HEIGHT]. Used by the demo and for the
// screenshots in the documentation.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <array>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2 && arguments.size() != 6) {
        std::fprintf(stderr, "usage: screengrab OUT.png [X Y WIDTH HEIGHT]\n");
        return 2;
    }
    std::array<int, 4> area{0, 0, -1, -1};
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        bool valid = false;
        area[static_cast<std::size_t>(i - 2)] = arguments.at(i).toInt(&valid);
        if (!valid) {
            std::fprintf(stderr, "screengrab: not a number: %s\n", qPrintable(arguments.at(i)));
            return 2;
        }
    }
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area[0], area[1], area[2], area[3]);
    if (shot.isNull() || !shot.save(arguments.at(1), "PNG")) {
        std::fprintf(stderr, "screengrab: could not save %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    return 0;
}

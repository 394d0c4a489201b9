// Saves a PNG of the X screen or of one window: screengrab OUT.png [WINDOW-ID].
// Used by the demo and for the screenshots in the documentation.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: screengrab OUT.png [WINDOW-ID]\n");
        return 2;
    }
    bool valid = true;
    const WId window = arguments.size() > 2 ? arguments.at(2).toULongLong(&valid, 0) : 0;
    if (!valid) {
        std::fprintf(stderr, "screengrab: not a window id: %s\n", qPrintable(arguments.at(2)));
        return 2;
    }
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
    if (shot.isNull() || !shot.save(arguments.at(1), "PNG")) {
        std::fprintf(stderr, "screengrab: could not save %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    return 0;
}

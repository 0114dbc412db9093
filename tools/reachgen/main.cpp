// Works out how far each city reaches over the map's land, the land divided among the
// cities and the borders between them, and writes them for the game to read at its
// start: tarvex_reachgen OUTLINE SITES OUT (run by the build).
#include <QGuiApplication>
#include <cstdio>

#include "ui/map/territory_picture.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s europe.map cities.tsv europe.reach\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    QString error;
    if (!tarvex::ui::WriteReachFile(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                                    QString::fromLocal8Bit(argv[3]), &error)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], qPrintable(error));
        return 1;
    }
    return 0;
}

// Writes the program icon's PNG sizes from its SVG at build time, so the
// icon theme's bitmaps can never fall behind the artwork. It draws into
// images only, so it needs no application object and no display.

#include "tools/icongen/icon_render.h"

#include <QString>

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: icongen SVG SIZE OUTPUT.png\n";
        return 2;
    }
    bool isNumber = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&isNumber);
    const QImage icon = RenderIcon(QString::fromLocal8Bit(argv[1]), isNumber ? size : 0);
    if (icon.isNull()) {
        std::cerr << "icongen: cannot draw " << argv[1] << " at size " << argv[2] << '\n';
        return 1;
    }
    if (!icon.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::cerr << "icongen: cannot write " << argv[3] << '\n';
        return 1;
    }
    return 0;
}

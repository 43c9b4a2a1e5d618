// sdlpack: the sound family of gkpack under the name the sound scripts know
// (sdlpack build|list|extract ... is gkpack sound build|list|extract ...).
#include "Pack.h"

#include <QCoreApplication>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    return gkpack::RunFamily(gkpack::SoundCommand, app.arguments().mid(1), gkpack::SoundUsage,
                             "sdlpack");
}

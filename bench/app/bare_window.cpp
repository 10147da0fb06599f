// Baseline for the start-up benchmark: a bare Qt window of the given size,
// shown and closed at once, announcing itself as the program does. Built
// twice: alone, and linked with the program's libraries (the audio library
// and its decoders) to show what loading them costs.
#ifdef WITH_PROGRAM_LIBRARIES
#include "platform/audio/bass.h"
#endif
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
#ifdef WITH_PROGRAM_LIBRARIES
    if (BASS_GetVersion() == 0)
        return 1;
#endif
    QApplication application(argc, argv);
    const int width = argc > 2 ? std::atoi(argv[1]) : 869;
    const int height = argc > 2 ? std::atoi(argv[2]) : 274;
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    window.resize(width, height);
    window.show();
    std::printf("vorlan: main window shown\n");
    std::fflush(stdout);
    QTimer::singleShot(0, &application, [&window] {
        window.close();
        QApplication::quit();
    });
    return application.exec();
}

// The desktop program: vertexion [OBJECT]

#include <csignal>
#include <string>

#include <QApplication>

#include "core/interrupt_cleanup.h"
#include "ui/qt/main_window.h"
#include "ui/qt/program_icon.h"

int main(int argc, char** argv) {
    // First, so that every thread started later, Qt's own too, leaves these
    // signals to the one thread that removes our temporary files on them.
    vx::installInterruptCleanup();
    // Past a file size limit a write must fail and be reported, not kill us.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);  // takes its own options out of argv
    QApplication::setApplicationName(QStringLiteral("Vertexion"));
    // The script, hints and about dialogs carry the icon too.
    QApplication::setWindowIcon(vx::ui::programIcon());
    // The whole argument text is the object's path, so a path with spaces
    // given without quotes comes back together.
    std::string argumentText;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) argumentText += ' ';
        argumentText += argv[i];
    }
    vx::ui::MainWindow window(argumentText);
    window.exec();
    return 0;
}

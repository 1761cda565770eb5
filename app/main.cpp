// notavera: the score editor. One optional document path on the command line; two options for checking a build:
// --timing prints the time from start-up to the first painted page, --screenshot PATH saves the window as a PNG
// picture once the page is painted and leaves.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "platform/audio/audio_midi_services.h"
#include "platform/qt/main_window.h"
#include "platform/qt/score_view.h"

namespace {

struct Options {
    std::string commandLine;
    bool timing = false;
    std::optional<QString> screenshot;
};

// Everything that is not an option is the document's path: words the shell split are joined again, as the
// system's single command line keeps a path with spaces whole.
std::optional<Options> ParseOptions(const QStringList& args) {
    Options options;
    QStringList words;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == "--timing") {
            options.timing = true;
        } else if (args[i] == "--screenshot") {
            if (++i >= args.size()) return std::nullopt;
            options.screenshot = args[i];
        } else {
            words << args[i];
        }
    }
    options.commandLine = words.join(' ').toStdString();
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Notavera");
    const std::optional<Options> options = ParseOptions(QApplication::arguments());
    if (!options) {
        std::fputs("usage : notavera [--timing] [--screenshot IMAGE.png] [FICHIER.mus]\n", stderr);
        return 2;
    }

    notavera::MainWindow window(options->commandLine);
    window.attachSound(std::make_unique<notavera::AudioMidiServices>());
    bool firstPaint = true;
    window.view().painted = [&] {
        if (!firstPaint) return;
        firstPaint = false;
        if (options->timing)
            std::printf("Première page affichée en %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
        if (options->screenshot) {
            // Once this paint is on the screen: the picture is the whole window as the user sees it.
            QTimer::singleShot(0, &window, [&] {
                const bool saved = window.grab().save(*options->screenshot, "PNG");
                if (!saved) std::fprintf(stderr, "Impossible d'écrire le fichier %s\n", qPrintable(*options->screenshot));
                QApplication::exit(saved ? 0 : 1);
            });
        }
    };
    window.resize(1000, 800);
    window.show();
    window.startShellTimers();
    return QApplication::exec();
}

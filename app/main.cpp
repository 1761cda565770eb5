// notavera: the score editor. One optional document path on the command line; options for checking a build:
// --timing prints the time from start-up to the first painted page, --screenshot PATH saves the window as a PNG
// picture once the page is painted and leaves, --screenshot-dialog PATH saves the Régleur a new document starts in,
// after typing the --dialog-field FIELD=VALUE options into it (as `answer Regleur` names them), and leaves.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/audio/audio_midi_services.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/score_view.h"
#include "regleur_screenshot.h"
#include "shell/musicxml_import_command.h"

namespace {

struct Options {
    std::string commandLine;
    bool timing = false;
    std::optional<QString> screenshot;
    std::optional<QString> dialogScreenshot;
    std::vector<std::pair<std::string, std::string>> dialogFields;
};

constexpr const char* usage =
    "usage : notavera [--timing] [--screenshot IMAGE.png] [--screenshot-dialog IMAGE.png [--dialog-field "
    "CHAMP=VALEUR]...] [FICHIER.mus]\n";

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
        } else if (args[i] == "--screenshot-dialog") {
            if (++i >= args.size()) return std::nullopt;
            options.dialogScreenshot = args[i];
        } else if (args[i] == "--dialog-field") {
            if (++i >= args.size() || !args[i].contains('=')) return std::nullopt;
            const qsizetype equals = args[i].indexOf('=');
            options.dialogFields.emplace_back(args[i].left(equals).toStdString(),
                                              args[i].mid(equals + 1).toStdString());
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
        std::fputs(usage, stderr);
        return 2;
    }

    // The Régleur of a new document opens while the window is being made: the watch must be in place before.
    std::optional<notavera::RegleurScreenshot> dialogShot;
    if (options->dialogScreenshot) {
        dialogShot.emplace(*options->dialogScreenshot, options->dialogFields);
        app.installEventFilter(&*dialogShot);
    }
    notavera::MainWindow window(options->commandLine);
    if (dialogShot) {
        app.removeEventFilter(&*dialogShot);
        if (!dialogShot->taken()) std::fputs("Le Régleur ne s'est pas ouvert.\n", stderr);
        return dialogShot->taken() && dialogShot->succeeded() ? 0 : 1;
    }
    // The settings dialogs' values of the last run come back, and go back when the editor closes.
    notavera::LoadSystemSettings(window.context().shell.settings);
    QObject::connect(&app, &QApplication::aboutToQuit,
                     [&window] { notavera::SaveSystemSettings(window.context().shell.settings); });
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

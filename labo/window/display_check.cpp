#include "labo/window/display_check.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace bocavo::labo {
namespace {

inline constexpr int kExitNoDisplay = 1;

QStringList* held = nullptr; // Qt's messages while the platform starts
QtMessageHandler previousHandler = nullptr;

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

std::string message() {
    return "bocavo-labo : la fenêtre du laboratoire a besoin d'un écran graphique, et aucun "
           "n'est accessible ici.\n"
           "Sans fenêtre, le laboratoire se lance en ligne de commande, par exemple :\n"
           "  bocavo-labo --classes 100 --generations 500 --seed 1993 --csv derive.csv\n"
           "Toutes les options : bocavo-labo --help\n";
}

void onStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        const std::string french = message();
        (void)!write(STDERR_FILENO, french.data(), french.size());
        _exit(kExitNoDisplay);
    }
    held->append(qFormatLogMessage(type, context, text));
}

} // namespace

std::string displayProblem() {
    // Platforms such as "offscreen" or "vnc" need no display of this machine.
    const std::string_view platform =
        isSet("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    const bool native =
        platform.empty() || platform.starts_with("xcb") || platform.starts_with("wayland");
    if (!native || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY"))
        return {};
    return message();
}

void guardPlatformStart() {
    held = new QStringList;
    previousHandler = qInstallMessageHandler(onStartMessage);
}

void platformStarted() {
    qInstallMessageHandler(previousHandler);
    for (const QString& line : *held)
        std::fprintf(stderr, "%s\n", qPrintable(line));
    delete held;
    held = nullptr;
}

} // namespace bocavo::labo

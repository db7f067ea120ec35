#include "ui/display_check.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace bocavo::ui {
namespace {

QStringList* held = nullptr;   // Qt's messages while the platform starts
std::string* french = nullptr; // what a fatal start prints instead
int fatalStatus = kNoDisplayExit;
QtMessageHandler previousHandler = nullptr;

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

void onStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        (void)!write(STDERR_FILENO, french->data(), french->size());
        _exit(fatalStatus);
    }
    held->append(qFormatLogMessage(type, context, text));
}

} // namespace

std::string displayProblem(std::string_view message) {
    // Platforms such as "offscreen" or "vnc" need no display of this machine.
    const std::string_view platform =
        isSet("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    const bool native =
        platform.empty() || platform.starts_with("xcb") || platform.starts_with("wayland");
    if (!native || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY"))
        return {};
    return std::string(message);
}

void guardPlatformStart(std::string_view message, int status) {
    fatalStatus = status;
    held = new QStringList;
    french = new std::string(message);
    previousHandler = qInstallMessageHandler(onStartMessage);
}

void platformStarted() {
    qInstallMessageHandler(previousHandler);
    for (const QString& line : *held)
        std::fprintf(stderr, "%s\n", qPrintable(line));
    delete held;
    held = nullptr;
    delete french;
    french = nullptr;
}

} // namespace bocavo::ui

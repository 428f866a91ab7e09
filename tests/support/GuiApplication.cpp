#include "support/GuiApplication.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

namespace trovelin::testing {

namespace {

template <class Application> void ensureApplication()
{
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "trovelin-tests";
    static char* argv[] = {name, nullptr};
    // Kept until the program ends: Qt's font caches must not outlive it.
    static auto* application = new Application(argc, argv);
    QGuiApplication::setApplicationDisplayName("Trovelin");
    (void)application;
    // What the windows remember goes to a folder of the test's own, never the user's settings.
    static QTemporaryDir settings;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settings.path());
}

}  // namespace

void ensureGuiApplication()
{
    ensureApplication<QGuiApplication>();
}

void ensureWidgetApplication()
{
    ensureApplication<QApplication>();
}

}  // namespace trovelin::testing

// fontconfig keeps its configuration and caches until the program ends without freeing them;
// sanitizer builds should report the project's leaks, not those.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

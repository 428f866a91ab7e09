#pragma once
// The offscreen application that fuzz targets which paint need: controls paint text, which needs
// one. It is made at the first input and stays for the whole run.

#include <QGuiApplication>

namespace trovelin::fuzzing {

inline void ensureApplication()
{
    if (QGuiApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static auto* application = new QGuiApplication(argc, argv);
    static_cast<void>(application);
}

}  // namespace trovelin::fuzzing

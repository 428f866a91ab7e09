#pragma once
// The application object the tool's commands run in: controls paint and measure text, which
// needs fonts and so an application, but never a screen. Its setup keeps Qt's own warnings
// off the error stream, which holds only the tool's words.

#include <functional>

namespace trovelin::cli {

// Runs `command` with an offscreen application (unless QT_QPA_PLATFORM names another platform)
// and returns its status. Qt sees no arguments: a file named like one of its options stays a
// file. Without a usable XDG_RUNTIME_DIR (unset, as under su or cron, or not a folder of ours with
// mode 0700) Qt would warn about it; the run then has a private one, removed at the end.
int runWithOffscreenApplication(char* programName, const std::function<int()>& command);

}  // namespace trovelin::cli

#include "cli/Interruption.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "platform/ReplacingFile.h"

namespace trovelin::cli {

namespace {

// A signal handler reaches only static storage; lock-free atomics are safe to read there.
std::atomic<int> filesRead{0};
std::atomic<bool> progressLineOpen{false};
std::atomic<const char*> folderToRemove{nullptr};
std::atomic<bool> stopGracefully{false};
std::atomic<int> stopRequested{0};

void writeError(const char* text)
{
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
}

extern "C" void onInterrupt(int signalNumber)
{
    int none = 0;
    if (stopGracefully && stopRequested.compare_exchange_strong(none, signalNumber)) return;
    removeTemporaryFilesInFlight();
    if (const char* folder = folderToRemove.load()) ::rmdir(folder);
    if (progressLineOpen) writeError("\n");
    // The count in decimal, by hand: nothing that may allocate runs in a handler.
    char digits[16];
    char* start = digits + sizeof digits;
    *--start = '\0';
    unsigned count = static_cast<unsigned>(filesRead.load());
    do *--start = static_cast<char>('0' + count % 10);
    while ((count /= 10) != 0 && start > digits);
    writeError("Interrupted after ");
    writeError(start);
    writeError(filesRead == 1 ? " file\n" : " files\n");
    ::_exit(128 + signalNumber);
}

}  // namespace

void cleanUpOnInterrupt()
{
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        struct sigaction previous {};
        // A shell starts background jobs with SIGINT ignored; they stay deaf to it.
        if (::sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
        ::sigaction(signalNumber, &action, nullptr);
    }
}

void countFileRead() { ++filesRead; }
void askToStopOnInterrupt() { stopGracefully = true; }
int interruptSignal() { return stopRequested; }
void setProgressLineOpen(bool open) { progressLineOpen = open; }
void removeFolderOnInterrupt(const char* path) { folderToRemove = path; }

}  // namespace trovelin::cli

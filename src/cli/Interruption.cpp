#include "cli/Interruption.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <vector>

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

// The signals whose default ends the process and that a run may meet while it writes: from a
// user, a terminal that hangs up, a reader that closes its pipe, a timer, a CPU-time limit, any
// program's `kill`, and the real-time ones. Faults (SIGSEGV, ...) leave nothing a handler could
// trust; SIGXFSZ is ignored instead (cleanUpOnInterrupt).
constexpr std::array namedTerminatingSignals{SIGHUP,    SIGINT,  SIGQUIT, SIGPIPE, SIGALRM, SIGTERM, SIGUSR1, SIGUSR2,
                                             SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSTKFLT, SIGXCPU};

std::vector<int> terminatingSignals()
{
    std::vector<int> signals(namedTerminatingSignals.begin(), namedTerminatingSignals.end());
    // The C library keeps the first few real-time signals for itself; SIGRTMIN is past them.
    for (int signalNumber = SIGRTMIN; signalNumber <= SIGRTMAX; ++signalNumber) signals.push_back(signalNumber);
    return signals;
}

extern "C" void onInterrupt(int signalNumber)
{
    int none = 0;
    // A closed pipe cannot take what finishing the files in flight would print.
    if (signalNumber != SIGPIPE && stopGracefully && stopRequested.compare_exchange_strong(none, signalNumber))
        return;
    undoWritesInFlight();
    if (const char* folder = folderToRemove.load()) ::rmdir(folder);
    // A reader that closed the pipe is gone, as `head` is: the process ends quietly.
    if (signalNumber == SIGPIPE) ::_exit(128 + signalNumber);
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
    const std::vector<int> signals = terminatingSignals();
    for (const int signalNumber : signals) sigaddset(&action.sa_mask, signalNumber);
    for (const int signalNumber : signals) {
        struct sigaction previous {};
        // A shell starts background jobs with SIGINT ignored, nohup ignores SIGHUP, a script
        // that reads a closed pipe's error ignores SIGPIPE: each stays deaf to what it ignored.
        if (::sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
        ::sigaction(signalNumber, &action, nullptr);
    }
    // A file-size limit then fails the write that passes it ("File too large"), as a full disk
    // does, instead of ending the process with the write's temporary file left behind.
    ::signal(SIGXFSZ, SIG_IGN);
}

void countFileRead() { ++filesRead; }
void askToStopOnInterrupt() { stopGracefully = true; }
int interruptSignal() { return stopRequested; }
void setProgressLineOpen(bool open) { progressLineOpen = open; }
void removeFolderOnInterrupt(const char* path) { folderToRemove = path; }

}  // namespace trovelin::cli

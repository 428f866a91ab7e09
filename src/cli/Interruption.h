#pragma once
// What an interrupted run leaves behind: on any signal that would end it but a fault's (SIGHUP,
// SIGINT, SIGTERM, SIGPIPE, SIGXCPU, the real-time ones, ...) the temporary files of the writes in
// flight and the run's private runtime folder go, the progress line is ended, "Interrupted
// after N files" goes to standard error (not after SIGPIPE: its reader has gone), and the
// process exits 128 + the signal. SIGXFSZ is ignored, so that a file-size limit fails a write.

namespace trovelin::cli {

// Installs the handlers; called once, before any command runs.
void cleanUpOnInterrupt();

// What the handler reports: the panel files read so far, and whether a progress line waits
// for its end.
void countFileRead();
void setProgressLineOpen(bool open);

// From now on the first such signal but SIGPIPE only asks the run to stop, for a command that
// finishes what it has in flight first; interruptSignal() names it, 0 while none came. A
// second signal ends the process at once, as without this.
void askToStopOnInterrupt();
int interruptSignal();

// An empty folder the handler removes; null for none. The string must outlive the run.
void removeFolderOnInterrupt(const char* path);

}  // namespace trovelin::cli

#pragma once
// Writing a whole output file so that readers only ever see the old file or the complete new
// one: the bytes go to a temporary file in the same folder, which is renamed into place once
// everything is written and on the disk, and the folder is synced after the rename. A failed
// write, a crash or a power loss leaves no partial or empty file under the final name. Outputs
// get mode 0666 less the umask the program started with.
//
// Only a regular file or a missing name is ever renamed over. A symbolic link is followed once
// and its target replaced in the target's folder; a device, a FIFO or a socket (/dev/stdout,
// /dev/null, a named pipe) is written into as it is.

#include <cstdint>
#include <span>
#include <string>

namespace trovelin {

// Writes `bytes` as the file `path`, replacing any file of that name. Fails with
// "Cannot write %s: <reason>"; then the temporary file is gone and an older file of that name
// is unchanged, unless only the sync of the folder failed, after the new file took the name.
void writeFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes);

// As writeFileReplacing, for a name inside a folder this program writes: whatever holds the name
// (a symbolic link, a FIFO) is replaced by the new file, never written through.
void writeFileOverName(const std::string& path, std::span<const std::uint8_t> bytes);

// For an output name handed out by another program (thumbnail services): such a program creates
// the empty file first and reads the result back through the descriptor it holds, which would
// never see a file renamed over it. So an empty regular file with one name, reached without a
// link, is written into, and emptied again when the write fails. Any other file, and a symbolic
// link, is replaced under that name (a link is not followed to the file it names, which belongs to
// someone else); a device, a FIFO or a socket, reached through a link or not, is written into.
void writeFileFillingPlaceholder(const std::string& path, std::span<const std::uint8_t> bytes);

// A writer of many files writes them through a FileBatch instead, synced together.

// Writes `bytes` to descriptor 1; fails with "Cannot write standard output: <reason>".
void writeStandardOutput(std::span<const std::uint8_t> bytes);

// Removes the temporary files that writes in progress and uncommitted batches have created, and
// empties again a file being filled in place (writeFileFillingPlaceholder). Safe to call from a
// signal handler, which then ends the process: the interrupted writes never resume.
void undoWritesInFlight();

}  // namespace trovelin

#pragma once
// A folder load off the GUI thread: a worker runs the panel loader over the folder's panel files
// with a main window of its own, and hands each file's outcome to the GUI thread in order, where
// it is replayed into the window's picture list exactly as a load on the GUI thread would have
// left it.

#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <QObject>

#include "panelfile/Loader.h"
#include "panelfile/PictureList.h"
#include "streaming/Bitmap.h"
#include "streaming/PixelBudget.h"

namespace trovelin {

class LoaderHost;
class PictureList;

// Something the loader showed while it loaded a file, and how many of the file's pictures it had
// harvested by then.
struct LoaderNote {
    enum class Kind { Status, Message, Repaint };
    Kind kind;
    std::string text;
    std::size_t picturesBefore = 0;
};

// One file's load as the worker saw it.
struct LoadedFile {
    bool clearFirst = false;
    bool listHadRoom = true;
    std::vector<TBitmap> pictures;
    std::vector<PictureOrigin> origins;  // one for each picture
    std::vector<LoaderNote> notes;
    // The message of the failure that stopped the load in this file.
    std::optional<std::string> error;
};

// Applies a file's load to the window's list and host: the list cleared when the file cleared
// it, its pictures appended, and each note replayed among them where the loader made it.
void replayLoadedFile(const LoadedFile& file, PictureList& pictures, LoaderHost& window);

// The folder's rules: the files load in the given order into one list, the first clearing it;
// the load stops when the list is full and at the first failure.
class FolderLoadJob : public QObject {
public:
    // The files' pictures are charged to `pixelBudget`, the window's list's.
    FolderLoadJob(std::vector<std::string> fileNames, PanelFileOpener open, PixelBudget pixelBudget,
                  QObject* parent = nullptr);
    // Cancels, then waits for the worker to finish the file it is on.
    ~FolderLoadJob() override;

    // On the GUI thread, in file order; not after cancel(). A handler may open a modal dialog:
    // files that arrive meanwhile wait for it.
    std::function<void(const LoadedFile&)> onFileLoaded;
    // On the GUI thread once the last file has been handed over, unless cancelled.
    std::function<void()> onFinished;
    // On the worker, after each file but the last it loads (with that file's index); tests hold
    // the worker there to cancel at a file boundary.
    std::function<void(int fileIndex)> betweenFiles;

    void start();
    // Nothing more is handed over; the worker stops before its next file.
    void cancel();
    // Cancels, and deletes the job once the worker has stopped, without waiting for it here.
    void retire();
    // Cancels, waits for the worker to finish the file it is on (so that it no longer holds that
    // file open), then retires the job.
    void retireOnceStopped();

    int fileCount() const { return static_cast<int>(fileNames_.size()); }
    int filesHandedOver() const { return filesHandedOver_; }

private:
    void work();
    // Worker: queues a file for the GUI thread and wakes it.
    void arrive(LoadedFile file);
    // GUI thread: hands over the files that arrived, in order, unless a handler is still busy.
    void handOver();
    std::optional<LoadedFile> takeArrived();
    bool workerDone();

    const std::vector<std::string> fileNames_;
    const PanelFileOpener open_;
    const PixelBudget pixelBudget_;
    std::atomic<bool> cancelled_{false};
    std::thread worker_;

    // From the worker to the GUI thread.
    std::mutex arrivedLock_;
    std::deque<LoadedFile> arrived_;
    bool workerDone_ = false;

    // GUI thread only.
    bool handingOver_ = false;
    bool finishReported_ = false;
    bool retired_ = false;
    int filesHandedOver_ = 0;
};

}  // namespace trovelin

#include "app/FolderLoadJob.h"

#include <exception>

#include "panelctl/PanelClasses.h"
#include "panelfile/LoaderHost.h"
#include "panelfile/MainWindowComponents.h"
#include "panelfile/PictureList.h"

namespace trovelin {

namespace {

// The main window as the worker's loader sees it: components of its own, so that no widget is
// touched off the GUI thread, and a note of what the loader shows, kept for the window to replay.
class WorkerWindow : public LoaderHost {
public:
    explicit WorkerWindow(const PictureList& pictures) : pictures_(pictures) {}

    Component& owner() override { return components_.window(); }
    TWinControl& hostPanel() override { return components_.panelPapa(); }
    ReaderEnvironment readerEnvironment() override { return components_.readerEnvironment(); }
    void setStatusText(const std::string& text) override { note(LoaderNote::Kind::Status, text); }
    void repaintPictureGrid() override { note(LoaderNote::Kind::Repaint, {}); }
    void showMessage(const std::string& text) override { note(LoaderNote::Kind::Message, text); }

    // A file's load begins: its pictures start at the list's present end.
    void beginFile() { firstPicture_ = pictures_.count(); }
    std::vector<LoaderNote> takeNotes() { return std::move(notes_); }

private:
    void note(LoaderNote::Kind kind, const std::string& text)
    {
        notes_.push_back({kind, text, static_cast<std::size_t>(pictures_.count() - firstPicture_)});
    }

    MainWindowComponents components_;
    const PictureList& pictures_;
    int firstPicture_ = 0;
    std::vector<LoaderNote> notes_;
};

}  // namespace

void replayLoadedFile(const LoadedFile& file, PictureList& pictures, LoaderHost& window)
{
    if (file.clearFirst && pictures.count() != 0) pictures.clear();
    std::size_t appended = 0;
    auto appendUpTo = [&](std::size_t end) {
        for (; appended < end && appended < file.pictures.size(); ++appended)
            pictures.append(file.pictures[appended], file.origins[appended]);
    };
    for (const LoaderNote& note : file.notes) {
        appendUpTo(note.picturesBefore);
        switch (note.kind) {
        case LoaderNote::Kind::Status: window.setStatusText(note.text); break;
        case LoaderNote::Kind::Message: window.showMessage(note.text); break;
        case LoaderNote::Kind::Repaint: window.repaintPictureGrid(); break;
        }
    }
    appendUpTo(file.pictures.size());
}

FolderLoadJob::FolderLoadJob(std::vector<std::string> fileNames, PanelFileOpener open, PixelBudget pixelBudget,
                             QObject* parent)
    : QObject(parent), fileNames_(std::move(fileNames)), open_(std::move(open)), pixelBudget_(std::move(pixelBudget))
{
}

FolderLoadJob::~FolderLoadJob()
{
    cancelled_ = true;
    if (worker_.joinable()) worker_.join();
}

void FolderLoadJob::start()
{
    worker_ = std::thread([this] { work(); });
}

void FolderLoadJob::cancel()
{
    cancelled_ = true;
    const std::lock_guard lock(arrivedLock_);
    arrived_.clear();
}

void FolderLoadJob::retire()
{
    cancel();
    retired_ = true;
    // A handler that retires the job returns into handOver(), which deletes it on its way out.
    if ((workerDone() || !worker_.joinable()) && !handingOver_) deleteLater();
}

void FolderLoadJob::retireOnceStopped()
{
    cancel();
    if (worker_.joinable()) worker_.join();
    retire();
}

void FolderLoadJob::work()
{
    PictureList pictures(pixelBudget_);
    WorkerWindow window(pictures);
    PanelLoader loader(window, pictures, panelLoaderClasses(), open_);
    for (int index = 0; index < fileCount() && !cancelled_; ++index) {
        LoadedFile file;
        file.clearFirst = index == 0;
        window.beginFile();
        const int firstPicture = pictures.count();
        try {
            file.listHadRoom = loader.LoadForm(fileNames_[static_cast<std::size_t>(index)], file.clearFirst);
        } catch (const std::exception& error) {
            file.error = error.what();
        }
        for (int i = firstPicture; i < pictures.count(); ++i) {
            file.pictures.push_back(pictures.at(i));
            file.origins.push_back(pictures.origin(i));
        }
        file.notes = window.takeNotes();
        const bool last = file.error || !file.listHadRoom || index + 1 == fileCount();
        arrive(std::move(file));
        if (last || cancelled_) break;
        if (betweenFiles) betweenFiles(index);
    }
    {
        const std::lock_guard lock(arrivedLock_);
        workerDone_ = true;
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!retired_)
                handOver();
            else if (!handingOver_)
                deleteLater();
        },
        Qt::QueuedConnection);
}

void FolderLoadJob::arrive(LoadedFile file)
{
    {
        const std::lock_guard lock(arrivedLock_);
        if (cancelled_) return;
        arrived_.push_back(std::move(file));
    }
    QMetaObject::invokeMethod(this, [this] { handOver(); }, Qt::QueuedConnection);
}

std::optional<LoadedFile> FolderLoadJob::takeArrived()
{
    const std::lock_guard lock(arrivedLock_);
    if (arrived_.empty()) return std::nullopt;
    LoadedFile file = std::move(arrived_.front());
    arrived_.pop_front();
    return file;
}

bool FolderLoadJob::workerDone()
{
    const std::lock_guard lock(arrivedLock_);
    return workerDone_ && arrived_.empty();
}

void FolderLoadJob::handOver()
{
    if (handingOver_) return;
    handingOver_ = true;
    while (!cancelled_) {
        const std::optional<LoadedFile> file = takeArrived();
        if (!file) break;
        ++filesHandedOver_;
        if (onFileLoaded) onFileLoaded(*file);
    }
    handingOver_ = false;
    if (retired_) {
        if (workerDone()) deleteLater();
        return;
    }
    if (!cancelled_ && !finishReported_ && workerDone()) {
        finishReported_ = true;
        if (onFinished) onFinished();
    }
}

}  // namespace trovelin

#include "cli/Extract.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <ostream>
#include <set>
#include <system_error>
#include <thread>

#include "cli/ExtractManifest.h"
#include "cli/ExtractProgress.h"
#include "cli/FolderWalk.h"
#include "cli/Harvest.h"
#include "cli/Interruption.h"
#include "cli/PictureDigest.h"
#include "cli/PictureFolder.h"
#include "framework/PngWriter.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/PanelFileLoad.h"
#include "panelfile/PictureFiles.h"
#include "panelfile/PictureList.h"
#include "platform/FileBatch.h"
#include "streaming/Errors.h"
#include "streaming/PrintableText.h"

namespace trovelin::cli {

namespace {

namespace fs = std::filesystem;

// Files loaded but not yet in the manifest, per thread: enough that a slow file does not
// starve the others, few enough that what waits stays small whatever the tree's size.
constexpr std::size_t filesInFlightPerJob = 4;

// A batch of files commits together after this many files or this long since its first, so that
// a run pays two syncs per batch rather than one per picture, a reader following the manifest
// sees it grow several times a second, and an interrupt or a crash loses little.
constexpr std::size_t filesPerBatch = 256;
constexpr auto batchTime = std::chrono::milliseconds(250);
using Clock = std::chrono::steady_clock;

struct ExtractedPicture : ManifestPicture {
    bool written = false;  // this picture's own file was written
    std::string target;    // where it was written
};

struct ExtractedFile {
    std::vector<ExtractedPicture> pictures;
    std::vector<LoadEvent> events;
    bool failed = false;
    FileBatch written;  // the pictures' files, until they commit with the run's batch
};

// The position of a picture in the manifest: file, then index.
using PicturePlace = std::pair<std::size_t, int>;

struct ContentClaim {
    PicturePlace place;
    std::string png;
};

std::string filesText(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " file" : " files");
}

// Writes whole lines to a descriptor; the error number of a failure, or 0.
int writeAll(int descriptor, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(descriptor, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? errno : EIO;
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

class ExtractRun {
public:
    ExtractRun(const ExtractOptions& options, std::vector<FoundPanelFile> files)
        : options_(options), files_(std::move(files)), budget_(options.pixelBudgetBytes),
          inFlightLimit_(std::max(1u, options.jobs) * filesInFlightPerJob)
    {
        std::error_code ignored;  // the folder was made before; one gone since fails every write
        if (!options.outputFolder.empty()) realOutputFolder_ = fs::canonical(options.outputFolder, ignored);
    }

    // Starts the threads; the calling thread hands each file's outcome to `commit`, in order,
    // until every file is done or the run stops (`commit` returns false to stop it, and a
    // signal does), and calls `idle` now and then while it waits. Returns whether it stopped
    // early.
    bool run(const std::function<bool(std::size_t index, ExtractedFile& file)>& commit,
             const std::function<void()>& idle)
    {
        std::vector<std::thread> workers;
        // A process or memory limit may refuse some of the threads asked for: the run goes on
        // with those that started.
        try {
            for (unsigned i = 0; i < std::max(1u, options_.jobs); ++i) workers.emplace_back([this] { work(); });
        } catch (const std::system_error& error) {
            if (workers.empty()) throw Exception(std::string("Cannot start a thread: ") + error.code().message());
        }
        const std::stop_callback wake(options_.stop, [this] { changed_.notify_all(); });
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait_for(lock, std::chrono::milliseconds(100), [&] {
                return (!done_.empty() && done_.front()) || (options_.stop.stop_requested() && !stop_);
            });
            if (options_.stop.stop_requested()) stop_ = true;
            while (!done_.empty() && done_.front()) {
                ExtractedFile file = std::move(*done_.front());
                done_.pop_front();
                const std::size_t index = committed_++;
                lock.unlock();
                changed_.notify_all();
                if (!commit(index, file)) stopDispatching();
                lock.lock();
            }
            if (committed_ == files_.size() || (stop_ && committed_ == next_)) break;
            lock.unlock();
            idle();
            lock.lock();
        }
        lock.unlock();
        changed_.notify_all();
        for (std::thread& worker : workers) worker.join();
        return committed_ < files_.size();
    }

    void stopDispatching()
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
    }

    // The first picture of this content in manifest order, as far as the files loaded so far
    // know: once every file before a picture is in, final for that picture.
    std::optional<ContentClaim> firstOfContent(const std::string& digest)
    {
        std::lock_guard lock(claimsMutex_);
        const auto found = claims_.find(digest);
        return found == claims_.end() ? std::nullopt : std::optional(found->second);
    }

    // A picture whose file could not be written gives its content up to a later copy.
    void unclaim(const std::string& digest, PicturePlace place)
    {
        if (!options_.unique) return;
        std::lock_guard lock(claimsMutex_);
        const auto found = claims_.find(digest);
        if (found != claims_.end() && found->second.place == place) claims_.erase(found);
    }

private:
    void work()
    {
        const auto pictures = std::make_unique<PictureList>(budget_.forAnotherHolder());
        PngEncoder encoder;
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] {
                    return stop_ || next_ >= files_.size() || next_ < committed_ + inFlightLimit_;
                });
                if (stop_ || next_ >= files_.size()) return;
                index = next_++;
            }
            ExtractedFile file = extractFile(index, *pictures, encoder);
            {
                std::lock_guard lock(mutex_);
                if (done_.size() <= index - committed_) done_.resize(index - committed_ + 1);
                // Files already in flight finish; no new one starts.
                stop_ = stop_ || (options_.failFast && file.failed);
                done_[index - committed_] = std::move(file);
            }
            changed_.notify_all();
        }
    }

    ExtractedFile extractFile(std::size_t index, PictureList& pictures, PngEncoder& encoder)
    {
        const std::string& path = files_[index].path;
        // The files in flight share the pixel budget: a file that passes it while others hold
        // some of it loads again alone, so that it fails only where `harvest FILE` fails.
        bool alone = options_.jobs <= 1;
        for (;;) {
            enter(alone);
            const PanelLoadResult load = loadPanelFile(path, pictures, classes_);
            if (load.failure == LoadFailure::OutOfMemory && !alone) {
                pictures.clear();
                leave(alone);
                alone = true;
                continue;
            }
            ExtractedFile file;
            for (const LoaderEvent& event : load.events)
                file.events.push_back({path, loaderEventKindName(event.kind), event.text});
            if (const int unread = pictures.refused())
                file.events.push_back({path, "status", picturesNotReadText(pictures.count(), unread, path)});
            file.failed = !load.readWhole();
            writePictures(index, pictures, encoder, file);
            pictures.clear();
            leave(alone);
            return file;
        }
    }

    void writePictures(std::size_t fileIndex, const PictureList& pictures, PngEncoder& encoder, ExtractedFile& file)
    {
        const std::string& relativeFolder = files_[fileIndex].outputFolder;
        const fs::path folder = fs::path(options_.outputFolder) / relativeFolder;
        std::string folderFailure;
        if (!options_.outputFolder.empty() && pictures.count() > 0) {
            std::error_code error;
            fs::create_directories(folder, error);
            if (error)
                folderFailure = "Cannot create " + folder.string() + ": " + error.message();
            else if (const std::string link = linkOnTheWay(folder, relativeFolder); !link.empty())
                folderFailure = "Cannot write " + folder.string() + ": a symbolic link leads " + link;
            else
                removeLeftTemporaryPictures(folder.string());
        }
        if (!folderFailure.empty()) {
            file.events.push_back({files_[fileIndex].path, "error", folderFailure});
            file.failed = true;
        }
        for (int i = 0; i < pictures.count(); ++i) {
            const TBitmap& bitmap = pictures.at(i);
            ExtractedPicture picture{manifestPictureOf(pictures, i), false, {}};
            if (!options_.outputFolder.empty() && folderFailure.empty() && !bitmap.empty()) {
                const std::string name = threeDigits(i) + ".png";
                picture.png = relativeFolder + "/" + name;
                if (claim(picture.digest, {fileIndex, i}, picture.png)) {
                    const std::string target = (folder / name).string();
                    try {
                        writePicturePng(file.written, encoder, *bitmap.image(), target);
                        picture.written = true;
                        picture.target = target;
                    } catch (const Exception& error) {
                        file.events.push_back({target, "error", error.message()});
                        file.failed = true;
                        picture.png.clear();
                        unclaim(picture.digest, {fileIndex, i});
                    }
                }
            }
            file.pictures.push_back(std::move(picture));
        }
    }

    // Links found in the output folder (a rerun into a folder another program filled) are never
    // followed: out of it, or onto another file's pictures. Where one leads, or empty.
    std::string linkOnTheWay(const fs::path& folder, const std::string& relativeFolder) const
    {
        std::error_code error;
        const fs::path real = fs::canonical(folder, error);
        const fs::path relative = real.lexically_relative(realOutputFolder_);
        if (error || relative.empty() || *relative.begin() == "..") return "out of " + options_.outputFolder;
        if (relative != fs::path(relativeFolder)) return "elsewhere in " + options_.outputFolder;
        return {};
    }

    // Whether the picture at `place` is to be written: always without --unique, else when no
    // earlier place has its content. A later place may have written it meanwhile; the manifest
    // then points that one at this one and removes its copy.
    bool claim(const std::string& digest, PicturePlace place, const std::string& png)
    {
        if (!options_.unique) return true;
        std::lock_guard lock(claimsMutex_);
        const auto [found, added] = claims_.try_emplace(digest, ContentClaim{place, png});
        if (added) return true;
        if (found->second.place < place) return false;
        found->second = {place, png};
        return true;
    }

    // Files load side by side, or one alone while nothing else runs.
    void enter(bool alone)
    {
        std::unique_lock lock(gateMutex_);
        if (!alone) {
            gateChanged_.wait(lock, [&] { return aloneWaiting_ == 0 && !aloneRunning_; });
            ++sideBySide_;
            return;
        }
        ++aloneWaiting_;
        gateChanged_.wait(lock, [&] { return sideBySide_ == 0 && !aloneRunning_; });
        --aloneWaiting_;
        aloneRunning_ = true;
    }

    void leave(bool alone)
    {
        {
            std::lock_guard lock(gateMutex_);
            if (alone)
                aloneRunning_ = false;
            else
                --sideBySide_;
        }
        gateChanged_.notify_all();
    }

    const ExtractOptions& options_;
    const std::vector<FoundPanelFile> files_;
    fs::path realOutputFolder_;  // with no symbolic link
    PixelBudget budget_;
    const LoaderClassTable classes_ = panelLoaderClasses();
    const std::size_t inFlightLimit_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t next_ = 0;       // the next file to load
    std::size_t committed_ = 0;  // files handed to the manifest
    std::deque<std::optional<ExtractedFile>> done_;  // from file committed_ on
    bool stop_ = false;

    std::mutex gateMutex_;
    std::condition_variable gateChanged_;
    int sideBySide_ = 0;
    int aloneWaiting_ = 0;
    bool aloneRunning_ = false;

    std::mutex claimsMutex_;
    std::map<std::string, ContentClaim> claims_;  // by digest, with --unique
};

}  // namespace

int extract(const ExtractOptions& options, std::ostream& out, std::ostream& progress)
{
    bool failed = false;
    int manifest = -1;
    off_t manifestLength = 0;  // of its whole lines
    std::string manifestPath;
    const auto report = [&](const LoadEvent& event) {
        progress << printableText(event.file) << ": " << event.kind << ": " << printableText(event.text) << '\n';
    };
    // Lines reach the manifest whole: one write per file, so that a reader following it never
    // sees half a line, and an interrupted run leaves whole lines. A write that stops short (a
    // full disk) is cut back to the lines before it.
    const auto writeLines = [&](const std::string& lines) {
        if (lines.empty()) return true;
        if (options.json) out << lines << std::flush;
        if (manifest < 0) return true;
        if (const int error = writeAll(manifest, lines)) {
            report({manifestPath, "error", "Cannot write " + manifestPath + ": " + std::strerror(error)});
            if (::ftruncate(manifest, manifestLength) != 0)
                report({manifestPath, "error", "Cannot cut " + manifestPath + " back to its last whole line: " +
                                                   std::strerror(errno)});
            ::close(manifest);
            manifest = -1;
            failed = true;
            return false;
        }
        manifestLength += static_cast<off_t>(lines.size());
        return true;
    };

    std::set<std::string> earlierPictures;  // what the manifest of an earlier run into the folder names
    if (!options.outputFolder.empty()) {
        manifestPath = (fs::path(options.outputFolder) / extractManifestName).string();
        std::string failure = prepareOutputFolder(options.outputFolder);
        if (failure.empty()) {
            earlierPictures = picturesNamedByManifest(manifestPath);
            manifest = createManifest(manifestPath);
            if (manifest < 0) failure = "Cannot write " + manifestPath + ": " + std::strerror(errno);
        }
        if (!failure.empty()) {
            const LoadEvent event{options.outputFolder, "error", failure};
            report(event);
            if (options.json) out << manifestEventLine(event);
            return 1;
        }
    }

    PanelFileWalk walk = walkPanelFiles(options.paths);
    for (const std::string& empty : walk.emptyArguments) progress << "No panel files in " << printableText(empty) << '\n';
    std::string walkLines;
    for (const LoadEvent& problem : walk.problems) {
        report(problem);
        walkLines += manifestEventLine(problem);
        failed = failed || problem.kind == "error";
    }
    writeLines(walkLines);

    const std::size_t fileCount = walk.files.size();
    ExtractProgress shownProgress(progress, !options.quiet && options.progressIsTerminal, fileCount);
    ExtractRun run(options, walk.files);
    std::size_t pictureCount = 0;
    std::size_t filesDone = 0;
    std::string firstFailedFile;
    std::set<std::string> namedPictures;  // the png of every line written

    // Files wait for their batch: their lines go to the manifest only once their pictures are on
    // the disk under their names.
    std::vector<std::pair<std::size_t, ExtractedFile>> waiting;
    FileBatch batch;
    Clock::time_point batchStart;
    const auto commitBatch = [&] {
        bool written = true;
        std::set<std::string> failedTargets;
        std::vector<LoadEvent> failures;
        for (FileBatchFailure& failure : batch.commit()) {
            failedTargets.insert(failure.path);
            failures.push_back({failure.path, "error", std::move(failure.text)});
        }
        for (auto& [index, file] : waiting) {
            for (ExtractedPicture& picture : file.pictures) {
                if (!picture.written || !failedTargets.contains(picture.target)) continue;
                const auto failure = std::find_if(failures.begin(), failures.end(),
                                                  [&](const LoadEvent& event) { return event.file == picture.target; });
                file.events.push_back(*failure);
                file.failed = true;
                picture.written = false;
                picture.png.clear();
                run.unclaim(picture.digest, {index, picture.index});
            }
        }
        for (auto& [index, file] : waiting) {
            const std::string& path = walk.files[index].path;
            std::string lines;
            for (ExtractedPicture& picture : file.pictures) {
                if (options.unique && !picture.png.empty()) {
                    // Only an earlier place's claim is sure to name a written file: a later one
                    // (made after an earlier write failed and gave its claim up) may still fail.
                    const std::optional<ContentClaim> first = run.firstOfContent(picture.digest);
                    if (first && first->place < PicturePlace{index, picture.index}) {
                        if (picture.written)
                            ::unlink((fs::path(options.outputFolder) / picture.png).c_str());
                        picture.png = first->png;
                    } else if (!picture.written) {
                        picture.png.clear();  // the first of its content could not be written
                    }
                }
                if (!picture.png.empty()) namedPictures.insert(picture.png);
                lines += manifestPictureLine(path, picture);
            }
            if (!file.events.empty()) shownProgress.endLine();
            for (const LoadEvent& event : file.events) {
                lines += manifestEventLine(event);
                report(event);
            }
            if (file.failed && firstFailedFile.empty()) firstFailedFile = path;
            failed = failed || file.failed;
            written = written && writeLines(lines);
        }
        const bool anyFailed = !failedTargets.empty();
        waiting.clear();
        return written && !(anyFailed && options.failFast);
    };
    const auto commit = [&](std::size_t index, ExtractedFile& file) {
        if (waiting.empty()) batchStart = Clock::now();
        batch.take(std::move(file.written));
        pictureCount += file.pictures.size();
        filesDone = index + 1;
        countFileRead();
        const bool stop = file.failed && options.failFast;
        waiting.emplace_back(index, std::move(file));
        shownProgress.update(filesDone, pictureCount);
        // Without an output folder there is nothing to sync: the lines go at once.
        if (stop || options.outputFolder.empty() || waiting.size() >= filesPerBatch ||
            Clock::now() - batchStart >= batchTime)
            return commitBatch() && !stop;
        return true;
    };
    const auto idle = [&] {
        shownProgress.update(filesDone, pictureCount);
        if (!waiting.empty() && Clock::now() - batchStart >= batchTime && !commitBatch()) run.stopDispatching();
    };
    bool stoppedEarly = false;
    try {
        stoppedEarly = run.run(commit, idle);
    } catch (const Exception& error) {
        progress << error.message() << '\n';
        if (manifest >= 0) ::close(manifest);
        return 1;
    }
    // The end of the run, or an interrupt once the files in flight are in.
    if (!waiting.empty()) commitBatch();
    shownProgress.endLine();
    if (!options.outputFolder.empty()) {
        for (const LoadEvent& problem : removeEarlierPictures(options.outputFolder, earlierPictures, namedPictures)) {
            report(problem);
            writeLines(manifestEventLine(problem));
            failed = true;
        }
    }

    if (options.stop.stop_requested()) {
        progress << "Interrupted after " << filesText(filesDone) << '\n';
        if (manifest >= 0) ::close(manifest);
        return extractInterrupted;
    }
    if (stoppedEarly && options.failFast && !firstFailedFile.empty()) {
        const LoadEvent event{firstFailedFile, "status",
                              "Stopped at the first error: " + filesText(fileCount - filesDone) + " not read (--fail-fast)"};
        report(event);
        writeLines(manifestEventLine(event));
    }
    if (manifest >= 0 && ::close(manifest) != 0) {
        report({manifestPath, "error", "Cannot write " + manifestPath + ": " + std::strerror(errno)});
        failed = true;
    }
    return failed ? 1 : 0;
}

}  // namespace trovelin::cli

#include "cli/Harvest.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iomanip>
#include <optional>
#include <ostream>

#include "cli/Interruption.h"
#include "cli/PictureFolder.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/PanelFileLoad.h"
#include "panelfile/PictureList.h"
#include "panelfile/PictureManifest.h"
#include "streaming/PrintableText.h"
#include "streaming/TypeInfo.h"

namespace trovelin::cli {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Progress shows only once a run has taken this long.
constexpr auto progressDelay = std::chrono::seconds(1);

bool hasPanelExtension(const fs::path& path)
{
    return sameText(path.extension().string(), ".kvr");
}

// "Name.Property (Class)", the record a picture came from.
std::string originText(const PictureOrigin& origin)
{
    return printableText(origin.recordName + "." + origin.property + " (" + origin.recordClass + ")");
}

std::string filesText(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " file" : " files");
}

// The columns are as wide as their widest value, at least as wide as before any was wider.
void writeTable(const PictureList& pictures, std::ostream& out)
{
    std::vector<std::string> sizes;
    std::vector<std::string> origins;
    std::size_t sizeWidth = 10;
    std::size_t originWidth = 34;
    for (int i = 0; i < pictures.count(); ++i) {
        const TBitmap& picture = pictures.at(i);
        sizes.push_back(std::to_string(picture.width()) + " x " + std::to_string(picture.height()));
        origins.push_back(originText(pictures.origin(i)));
        sizeWidth = std::max(sizeWidth, sizes.back().size());
        originWidth = std::max(originWidth, origins.back().size());
    }
    const auto cell = [](const std::string& text, std::size_t width) {
        return text + std::string(width - std::min(width, text.size()), ' ');
    };
    out << "index  " << cell("size", sizeWidth) << "  bpp  " << cell("record", originWidth) << "  file\n";
    for (int i = 0; i < pictures.count(); ++i) {
        const TBitmap& picture = pictures.at(i);
        out << std::setw(5) << i << "  " << cell(sizes[i], sizeWidth) << "  " << std::setw(3)
            << (picture.empty() ? 0 : picture.image()->bitsPerPixel()) << "  " << cell(origins[i], originWidth)
            << "  " << printableText(std::string(pictures.origin(i).fileName())) << '\n';
    }
    out << pictures.count() << (pictures.count() == 1 ? " picture\n" : " pictures\n");
}

}  // namespace

std::vector<std::string> expandPanelPaths(const std::vector<std::string>& paths)
{
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::string ignored;
        const std::vector<std::string> found = panelFilesOf(path, ignored);
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

std::vector<std::string> panelFilesOf(const std::string& path, std::string& failure)
{
    std::error_code error;
    if (!fs::is_directory(path, error)) return {path};
    std::vector<std::string> found;
    fs::directory_iterator entries(path, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::error_code ignored;
        if (hasPanelExtension(entries->path()) && !entries->is_directory(ignored))
            found.push_back(entries->path().string());
    }
    if (error) {
        failure = "Cannot read the folder: " + error.message();
        return {};
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::string picturesNotReadText(int pictureCount, int unread, const std::string& file)
{
    return "Picture list full (" + std::to_string(pictureCount) + " pictures): " + std::to_string(unread) +
           (unread == 1 ? " picture of " : " pictures of ") + file + " not read";
}

std::string pictureListFullText(int pictureCount, std::size_t unread)
{
    return "Picture list full (" + std::to_string(pictureCount) + " pictures): " + filesText(unread) + " not read";
}

std::string stoppedAtFirstErrorText(std::size_t unread)
{
    return "Stopped at the first error: " + filesText(unread) + " not read (--keep-going reads on)";
}

int harvest(const HarvestOptions& options, std::ostream& out, std::ostream& progress)
{
    std::vector<LoadEvent> events;
    // The table goes to standard output; what went wrong, as it happens, to the error stream.
    // Files left unread are named there even beside JSON, which a script may not look into.
    const auto report = [&](const std::string& file, const char* kind, const std::string& text,
                            bool evenBesideJson = false) {
        events.push_back({file, kind, text});
        if (!options.json || evenBesideJson)
            progress << printableText(file) << ": " << kind << ": " << printableText(text) << '\n';
    };
    const auto finish = [&](bool failed) {
        if (options.json)
            writePictureManifest(pictureList(), events, out);
        else
            writeTable(pictureList(), out);
        return failed || std::any_of(events.begin(), events.end(), [](const LoadEvent& e) { return e.kind == "error"; })
                   ? 1
                   : 0;
    };

    PictureList& pictures = pictureList();
    pictures.clear();
    // An output folder that cannot take the files is found before anything is decoded.
    std::optional<PictureFolder> pictureFolder;
    if (!options.outputFolder.empty()) {
        pictureFolder.emplace(options.outputFolder);
        if (const std::string failure = pictureFolder->prepare(); !failure.empty()) {
            report(options.outputFolder, "error", failure);
            return finish(true);
        }
    }

    std::vector<std::string> files;
    for (const std::string& path : options.paths) {
        std::string failure;
        const std::vector<std::string> found = panelFilesOf(path, failure);
        if (!failure.empty())
            report(path, "error", failure);
        // Only a folder expands to nothing; the run goes on, as the viewer does in such a folder.
        else if (found.empty())
            progress << "No panel files in " << printableText(path) << '\n';
        files.insert(files.end(), found.begin(), found.end());
    }
    const LoaderClassTable classes = panelLoaderClasses();

    std::optional<PictureFileWriter> pictureFiles;  // encodes while later files load
    if (pictureFolder) pictureFiles.emplace(options.outputFolder);
    bool failed = false;
    bool stoppedShort = false;  // a file that is no panel file, or whose load stopped before its end
    const Clock::time_point start = Clock::now();
    bool showingProgress = false;
    const bool mayShowProgress = !options.quiet && options.progressIsTerminal;
    const auto endProgressLine = [&] {
        progress << '\n';
        setProgressLineOpen(false);
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& file = files[i];
        const PanelLoadResult load = loadPanelFile(file, pictures, classes, {.clearFirst = i == 0});
        const bool listHadRoom = load.outcome != LoadOutcome::ListFull;
        if (listHadRoom) countFileRead();
        if (showingProgress && !options.json && !load.events.empty()) endProgressLine();
        for (const LoaderEvent& event : load.events) report(file, loaderEventKindName(event.kind), event.text);
        // The viewer goes on past such a file, and so does the walk; the run still failed.
        stoppedShort = stoppedShort || (listHadRoom && !load.readWhole());
        failed = failed || load.endedInError();
        if (pictureFiles) pictureFiles->addNewPictures(pictures);
        if (mayShowProgress && (showingProgress || Clock::now() - start > progressDelay)) {
            showingProgress = true;
            setProgressLineOpen(true);
            progress << '\r' << (i + 1) << " of " << files.size() << " files" << std::flush;
        }
        // The file that filled the list: its pictures beyond the list's end are named too.
        if (const int unread = listHadRoom ? pictures.refused() : 0)
            report(file, "status", picturesNotReadText(pictures.count(), unread, file), true);
        // A full list does not touch the file it is offered.
        const std::size_t unread = files.size() - i - (listHadRoom ? 1 : 0);
        if (!listHadRoom)
            report(file, "status", pictureListFullText(pictures.count(), unread), true);
        else if (unread > 0 && failed && !options.keepGoing)
            report(file, "status", stoppedAtFirstErrorText(unread), true);
        if (!listHadRoom || (failed && !options.keepGoing)) break;
    }
    if (showingProgress) endProgressLine();

    if (pictureFiles) {
        bool showingWritten = false;
        const auto showWritten = [&](int done, int total) {
            if (!mayShowProgress || (!showingProgress && !showingWritten && Clock::now() - start <= progressDelay))
                return;
            showingWritten = true;
            setProgressLineOpen(true);
            progress << '\r' << done << " of " << total << " pictures written" << std::flush;
        };
        const std::vector<PictureFileFailure> failures = pictureFiles->finish(showWritten);
        if (showingWritten) endProgressLine();
        for (const PictureFileFailure& failure : failures) report(failure.path, "error", failure.text);
        for (const PictureFileFailure& failure : pictureFolder->finish(pictures, events))
            report(failure.path, "error", failure.text);
    }
    const int status = finish(failed || stoppedShort);
    pictures.clear();
    return status;
}

}  // namespace trovelin::cli

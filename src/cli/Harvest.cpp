#include "cli/Harvest.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iomanip>
#include <optional>
#include <ostream>

#include "cli/HeadlessMainWindow.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Loader.h"
#include "panelfile/PictureList.h"
#include "panelfile/PictureManifest.h"
#include "streaming/Errors.h"
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

void writeText(const PictureList& pictures, const std::vector<LoadEvent>& events, std::ostream& out)
{
    out << "index  size        bpp  record                              file\n";
    for (int i = 0; i < pictures.count(); ++i) {
        const TBitmap& picture = pictures.at(i);
        const std::string size = std::to_string(picture.width()) + " x " + std::to_string(picture.height());
        out << std::setw(5) << i << "  " << std::left << std::setw(10) << size << std::right << "  " << std::setw(3)
            << (picture.empty() ? 0 : picture.image()->bitsPerPixel()) << "  " << std::left << std::setw(34)
            << originText(pictures.origin(i)) << std::right << "  "
            << printableText(std::string(pictures.origin(i).fileName())) << '\n';
    }
    out << pictures.count() << (pictures.count() == 1 ? " picture\n" : " pictures\n");
    for (const LoadEvent& event : events)
        out << printableText(event.file) << ": " << event.kind << ": " << printableText(event.text) << '\n';
}

}  // namespace

std::vector<std::string> expandPanelPaths(const std::vector<std::string>& paths)
{
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            files.push_back(path);
            continue;
        }
        std::vector<std::string> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(path, error))
            if (hasPanelExtension(entry.path()) && !entry.is_directory(error)) found.push_back(entry.path().string());
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

int harvest(const HarvestOptions& options, std::ostream& out, std::ostream& progress)
{
    std::vector<std::string> files;
    for (const std::string& path : options.paths) {
        const std::vector<std::string> found = expandPanelPaths({path});
        // Only a folder expands to nothing; the run goes on, as the viewer does in such a folder.
        if (found.empty()) progress << "No panel files in " << printableText(path) << '\n';
        files.insert(files.end(), found.begin(), found.end());
    }
    HeadlessMainWindow window;
    PictureList& pictures = pictureList();
    pictures.clear();
    PanelLoader loader(window, pictures, panelLoaderClasses());

    std::optional<PictureFileWriter> pictureFiles;  // encodes while later files load
    if (!options.outputFolder.empty()) pictureFiles.emplace(options.outputFolder);
    std::vector<LoadEvent> events;
    bool failed = false;
    const Clock::time_point start = Clock::now();
    bool showingProgress = false;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& file = files[i];
        bool listHadRoom = true;
        try {
            listHadRoom = loader.LoadForm(file, i == 0);
        } catch (const Exception& error) {
            events.push_back({file, "error", error.message()});
            failed = true;
        }
        for (const LoaderEvent& event : window.takeEvents())
            events.push_back({file, event.kind == LoaderEvent::Kind::Status ? "status" : "message", event.text});
        if (pictureFiles) pictureFiles->addNewPictures(pictures);
        if (!options.quiet && (showingProgress || Clock::now() - start > progressDelay)) {
            showingProgress = true;
            progress << '\r' << (i + 1) << " of " << files.size() << " files" << std::flush;
        }
        if (!listHadRoom || (failed && !options.keepGoing)) break;
    }
    if (showingProgress) progress << '\n';

    if (pictureFiles) {
        bool showingWritten = false;
        const auto showWritten = [&](int done, int total) {
            if (options.quiet || (!showingProgress && !showingWritten && Clock::now() - start <= progressDelay)) return;
            showingWritten = true;
            progress << '\r' << done << " of " << total << " pictures written" << std::flush;
        };
        for (const PictureFileFailure& failure : pictureFiles->finish(showWritten))
            events.push_back({failure.path, "error", failure.text});
        if (showingWritten) progress << '\n';
    }
    failed = failed || std::any_of(events.begin(), events.end(), [](const LoadEvent& e) { return e.kind == "error"; });
    if (options.json)
        writePictureManifest(pictures, events, out);
    else
        writeText(pictures, events, out);
    pictures.clear();
    return failed ? 1 : 0;
}

}  // namespace trovelin::cli

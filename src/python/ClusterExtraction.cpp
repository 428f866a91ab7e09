#include "python/ClusterExtraction.h"

#include <filesystem>
#include <new>

#include "cli/Harvest.h"
#include "cli/PictureDigest.h"
#include "framework/PngWriter.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/PanelFileLoad.h"
#include "panelfile/PictureFiles.h"
#include "panelfile/PictureList.h"
#include "platform/FileBatch.h"
#include "streaming/Errors.h"

namespace trovelin {

namespace {

namespace fs = std::filesystem;

// Links found in the output folder are never followed out of it.
bool staysInside(const fs::path& folder, const fs::path& root)
{
    std::error_code error;
    const fs::path real = fs::canonical(folder, error);
    if (error) return false;
    const fs::path realRoot = fs::canonical(root, error);
    const fs::path relative = real.lexically_relative(realRoot);
    return !error && !relative.empty() && *relative.begin() != "..";
}

}  // namespace

ClusterFile extractForCluster(const std::string& path, const std::string& outputFolder, const std::string& outputRoot,
                              std::uint64_t pixelBudgetBytes)
{
    ClusterFile file;
    PictureList pictures(pixelBudgetBytes);
    const PanelLoadResult load = loadPanelFile(path, pictures, panelLoaderClasses());
    for (const LoaderEvent& event : load.events) file.events.push_back({path, loaderEventKindName(event.kind), event.text});
    if (const int unread = pictures.refused())
        file.events.push_back({path, "status", cli::picturesNotReadText(pictures.count(), unread, path)});
    file.failed = !load.readWhole();

    const fs::path folder = fs::path(outputRoot) / outputFolder;
    std::string folderFailure;
    if (pictures.count() > 0) {
        std::error_code error;
        fs::create_directories(folder, error);
        if (error)
            folderFailure = "Cannot create " + folder.string() + ": " + error.message();
        else if (!staysInside(folder, outputRoot))
            folderFailure = "Cannot write " + folder.string() + ": a symbolic link leads out of " + outputRoot;
    }
    if (!folderFailure.empty()) {
        file.events.push_back({path, "error", folderFailure});
        file.failed = true;
    }
    PngEncoder encoder;
    // The file's pictures reach the disk together, as a run of extract commits its files.
    FileBatch written(FileBatch::Sync::EachFile);
    for (int i = 0; i < pictures.count(); ++i) {
        const TBitmap& bitmap = pictures.at(i);
        ClusterPicture picture{cli::manifestPictureOf(pictures, i), false};
        if (folderFailure.empty() && !bitmap.empty()) {
            const std::string name = threeDigits(i) + ".png";
            const std::string target = (folder / name).string();
            try {
                cli::writePicturePng(written, encoder, *bitmap.image(), target);
                picture.manifest.png = outputFolder + "/" + name;
                picture.written = true;
            } catch (const Exception& error) {
                file.events.push_back({target, "error", error.message()});
                file.failed = true;
            }
        }
        file.pictures.push_back(std::move(picture));
    }
    for (const FileBatchFailure& failure : written.commit()) {
        for (ClusterPicture& picture : file.pictures)
            if (picture.written && (fs::path(outputRoot) / picture.manifest.png).string() == failure.path) {
                picture.written = false;
                picture.manifest.png.clear();
            }
        file.events.push_back({failure.path, "error", failure.text});
        file.failed = true;
    }
    return file;
}

}  // namespace trovelin

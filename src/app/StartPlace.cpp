#include "app/StartPlace.h"

#include <filesystem>
#include <optional>

#include "app/Trovelinc.h"
#include "panelfile/Loader.h"
#include "panelfile/PanelHeader.h"
#include "platform/DriveMap.h"
#include "platform/UnsharedFile.h"

namespace trovelin {

namespace {

namespace fs = std::filesystem;

StartPlace programFolderBecause(std::string problem)
{
    return {StartPlace::Kind::ProgramFolder, {}, {}, std::move(problem)};
}

}  // namespace

StartPlace resolveStartPlace(const std::string& argument, const DriveMap& drives)
{
    const fs::path given(argument);
    std::error_code error;
    const fs::file_status status = fs::status(given, error);
    if (!fs::exists(status)) return programFolderBecause("No such file or folder: " + argument);

    // Symbolic links are resolved so that the folder shown is the one the file list ends up in.
    if (fs::is_directory(status)) {
        const fs::path folder = fs::canonical(given, error);
        const std::optional<std::string> drivePath = error ? std::nullopt : drives.toWindowsPath(folder.string());
        if (drivePath) fs::directory_iterator(folder, error);
        if (!drivePath || error) return programFolderBecause("Cannot open folder " + argument);
        return {StartPlace::Kind::Folder, *drivePath, {}, {}};
    }

    const fs::path folder = fs::canonical(fs::absolute(given, error).parent_path(), error);
    const std::optional<std::string> folderPath = error ? std::nullopt : drives.toWindowsPath(folder.string());
    const std::optional<std::string> filePath =
        error ? std::nullopt : drives.toWindowsPath((folder / given.filename()).string());
    if (!folderPath || !filePath) return programFolderBecause("Cannot open file " + argument);
    try {
        // The loader's own test of the header decides; a file that is not a regular one fails to open.
        if (!readPanelHeader(*openUnshared((folder / given.filename()).string(), *filePath)))
            return programFolderBecause(notPanelFileText);
    } catch (const std::exception& failure) {
        return programFolderBecause(failure.what());
    }
    return {StartPlace::Kind::PanelFile, *folderPath, *filePath, {}};
}

void showStartPlace(TTrovelin& window, const StartPlace& place, const std::string& programFolder)
{
    switch (place.kind) {
    case StartPlace::Kind::Folder:
        window.FormShow(place.folder);
        return;
    case StartPlace::Kind::PanelFile:
        window.OpenPanelFile(place.folder, place.file);
        return;
    case StartPlace::Kind::ProgramFolder:
        window.FormShow(programFolder);
        // After the folder load, which may have set the panel itself.
        if (!place.problem.empty()) window.setStatusPanel(0, QString::fromStdString(place.problem));
        return;
    }
}

}  // namespace trovelin

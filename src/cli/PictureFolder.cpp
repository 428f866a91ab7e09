#include "cli/PictureFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "panelfile/PictureFiles.h"
#include "panelfile/PictureList.h"
#include "platform/ReplacingFile.h"
#include "streaming/Errors.h"

namespace trovelin::cli {

namespace fs = std::filesystem;

std::string prepareOutputFolder(const std::string& folder)
{
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return "Cannot create " + folder + ": " + error.message();
    if (!fs::is_directory(folder, error)) return "Cannot create " + folder + ": " + std::strerror(ENOTDIR);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return "Cannot write " + folder + ": " + std::strerror(errno);
    return {};
}

std::string PictureFolder::prepare()
{
    if (std::string failure = prepareOutputFolder(folder_); !failure.empty()) return failure;

    // Only a picture that had a size was written as a file.
    QFile manifest(QString::fromStdString((fs::path(folder_) / pictureManifestName).string()));
    if (!manifest.open(QIODevice::ReadOnly)) return {};
    const QJsonDocument earlier = QJsonDocument::fromJson(manifest.readAll());
    for (const QJsonValue picture : earlier.object().value("pictures").toArray()) {
        const QJsonObject entry = picture.toObject();
        const int index = entry.value("index").toInt(-1);
        if (index >= 0 && entry.value("width").toInt() > 0 && entry.value("height").toInt() > 0)
            earlierPictures_.insert(index);
    }
    return {};
}

std::vector<PictureFileFailure> PictureFolder::finish(const PictureList& pictures,
                                                      const std::vector<LoadEvent>& events)
{
    for (const int index : earlierPictures_) {
        if (index < pictures.count() && !pictures.at(index).empty()) continue;
        const fs::path file = fs::path(folder_) / (threeDigits(index) + ".png");
        struct stat status {};
        if (::lstat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode)) ::unlink(file.c_str());
    }
    std::ostringstream manifest;
    writePictureManifest(pictures, events, manifest);
    const std::string text = std::move(manifest).str();
    const std::string path = (fs::path(folder_) / pictureManifestName).string();
    try {
        writeFileReplacing(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    } catch (const Exception& error) {
        return {{path, error.message()}};
    }
    return {};
}

}  // namespace trovelin::cli

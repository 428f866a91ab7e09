#include "browse/GioApplications.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <memory>

namespace trovelin::gio {

namespace {

constexpr const char* unknownContentType = "application/octet-stream";

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

// Applications not backed by a desktop entry have no id to start them by again; they are left out.
std::optional<DesktopApplication> describe(GAppInfo* info)
{
    const char* id = g_app_info_get_id(info);
    if (id == nullptr) return std::nullopt;
    const char* name = g_app_info_get_name(info);
    return DesktopApplication{id, name != nullptr ? name : id};
}

}  // namespace

std::string contentType(const std::string& path)
{
    const GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
    const GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                       G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    const char* type = info ? g_file_info_get_content_type(info.get()) : nullptr;
    if (type == nullptr) return unknownContentType;
    // GIO's content types are MIME types on this system; the conversion only says so.
    const std::unique_ptr<char, decltype(&g_free)> mime(g_content_type_get_mime_type(type), &g_free);
    return mime ? mime.get() : unknownContentType;
}

std::optional<DesktopApplication> defaultApplication(const std::string& contentType)
{
    const GObjectPtr<GAppInfo> info(g_app_info_get_default_for_type(contentType.c_str(), FALSE));
    return info ? describe(info.get()) : std::nullopt;
}

std::vector<DesktopApplication> applications(const std::string& contentType)
{
    std::vector<DesktopApplication> result;
    GList* const all = g_app_info_get_all_for_type(contentType.c_str());
    for (GList* entry = all; entry != nullptr; entry = entry->next)
        if (std::optional<DesktopApplication> application = describe(G_APP_INFO(entry->data)))
            result.push_back(std::move(*application));
    g_list_free_full(all, g_object_unref);
    return result;
}

bool launch(const DesktopApplication& application, const std::vector<std::string>& paths)
{
    const GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new(application.id.c_str()));
    if (!info) return false;
    GList* files = nullptr;
    for (auto path = paths.rbegin(); path != paths.rend(); ++path)
        files = g_list_prepend(files, g_file_new_for_path(path->c_str()));
    GError* error = nullptr;
    const bool launched = g_app_info_launch(G_APP_INFO(info.get()), files, nullptr, &error) != FALSE;
    std::unique_ptr<GError, ErrorFree> owned(error);
    g_list_free_full(files, g_object_unref);
    return launched;
}

}  // namespace trovelin::gio

#include "support/EveryPropertyPanel.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

#include "framework/Image.h"
#include "panelctl/PanelClasses.h"
#include "streaming/ClassInfo.h"
#include "streaming/Component.h"
#include "support/BmpWriter.h"
#include "support/PanelFileWriter.h"

namespace trovelin::testing {

namespace {

std::vector<std::uint8_t> smallBmp(int width, int height)
{
    return makeBmp24(width, height,
                     [](int x, int y) { return static_cast<std::uint32_t>(x * 0x10203 + y * 0x302010); });
}

std::int64_t ordinalDefault(const PropertyInfo& property, std::int64_t otherwise)
{
    return property.streamDefault ? std::get<std::int64_t>(*property.streamDefault) : otherwise;
}

// Walks a class's properties, nested objects included, writing each under `prefix`.
class EveryPropertyWriter {
public:
    EveryPropertyWriter(RecordWriter& writer, const std::vector<std::string_view>& leaveOut)
        : writer_(writer), leaveOut_(leaveOut)
    {
    }

    void write(const ClassInfo& classInfo, const std::string& prefix)
    {
        std::vector<const ClassInfo*> chain;
        for (const ClassInfo* c = &classInfo; c != nullptr; c = c->parent()) chain.insert(chain.begin(), c);
        std::vector<std::string_view> written;
        for (const ClassInfo* c : chain)
            for (const PropertyInfo& property : c->ownProperties()) {
                // A class that publishes an inherited property again keeps its first place.
                if (std::find(written.begin(), written.end(), property.name) != written.end()) continue;
                written.push_back(property.name);
                if (prefix.empty() && std::find(leaveOut_.begin(), leaveOut_.end(), property.name) != leaveOut_.end())
                    continue;
                writeProperty(property, prefix + std::string(property.name));
            }
    }

private:
    void writeProperty(const PropertyInfo& property, const std::string& path)
    {
        if (path == "Name" || property.kind == PropertyKind::Method || !property.set) return;
        if (property.kind == PropertyKind::Object) {
            writeObject(property, path);
            return;
        }
        writer_.property(path);
        switch (property.kind) {
        case PropertyKind::Integer:
            writer_.integer(ordinalDefault(property, 23) + 1);
            break;
        case PropertyKind::Char:
            writer_.string(std::string(1, static_cast<char>(ordinalDefault(property, 0) + 1)));
            break;
        case PropertyKind::Enumeration:
            if (property.elements == &booleanType()) {
                writer_.boolean(ordinalDefault(property, 0) == 0);
                break;
            }
            writer_.ident(property.elements->nameOf(
                static_cast<int>((ordinalDefault(property, 0) + 1) % property.elements->count())));
            break;
        case PropertyKind::Set: {
            const auto mask = static_cast<std::uint32_t>(ordinalDefault(property, 0)) ^ 1u;
            std::vector<std::string_view> elements;
            for (int i = 0; i < property.elements->count(); ++i)
                if ((mask >> i) & 1u) elements.push_back(property.elements->nameOf(i));
            writer_.set(elements);
            break;
        }
        case PropertyKind::Float:
            writer_.extended((property.streamDefault ? std::get<double>(*property.streamDefault) : 0.0) + 1.5);
            break;
        case PropertyKind::String:
            writer_.string((property.streamDefault ? std::get<std::string>(*property.streamDefault) : "") +
                           std::string(property.name));
            break;
        default: throw std::logic_error("no value to write for " + path);
        }
    }

    void writeObject(const PropertyInfo& property, const std::string& path)
    {
        const ClassInfo& objectClass = *property.objectClass;
        if (objectClass.inheritsFrom(Component::staticClassInfo())) {
            // A reference, resolved by name after the record; one that finds nothing is dropped.
            writer_.property(path).ident("PanelPapa");
        } else if (objectClass.name() == "TBitmap") {
            writer_.property(path + ".Data").binary(bitmapPayload(smallBmp(12, 6)));
        } else if (objectClass.name() == "TPicture") {
            writer_.property(path + ".Data").binary(picturePayload("TBitmap", bitmapPayload(smallBmp(40, 30))));
        } else {
            write(objectClass, path + ".");
        }
    }

    RecordWriter& writer_;
    const std::vector<std::string_view>& leaveOut_;
};

std::vector<std::uint8_t> everyPropertyRecord(const ClassInfo& classInfo)
{
    RecordWriter w;
    if (classInfo.name() == "TCMY") {
        w.beginRecord("TCMY", "");
        writeEveryProperty(w, classInfo, {"Cursor", "Hint"});
    } else {
        w.beginRecord(classInfo.name(), std::string(classInfo.name().substr(1)) + "1");
        writeEveryProperty(w, classInfo);
    }
    if (classInfo.name() == "TMultiButton") {
        w.property("Channels").beginList().integer(256);
        for (int channel = 0; channel < 256; ++channel) w.integer(channel % 3 == 0 ? channel : -1);
        w.end();
    }
    w.end().end();
    return w.bytes();
}

}  // namespace

void writeEveryProperty(RecordWriter& writer, const ClassInfo& classInfo, const std::vector<std::string_view>& leaveOut)
{
    EveryPropertyWriter(writer, leaveOut).write(classInfo, "");
}

std::vector<std::uint8_t> everyPropertyPanel(const std::vector<const ClassInfo*>& classes)
{
    PanelFileContent content;
    content.title = "Every property";
    RecordWriter background;
    background.beginRecord("TImage", "Background");
    writeEveryProperty(background, TImage::staticClassInfo());
    background.end().end();
    content.records.push_back(background.bytes());
    for (const ClassInfo* classInfo : classes) content.records.push_back(everyPropertyRecord(*classInfo));
    return writePanelFile(content);
}

std::vector<std::uint8_t> everyLoaderClassPanel()
{
    std::vector<const ClassInfo*> classes;
    for (const LoaderClass& entry : panelLoaderClasses()) {
        const std::unique_ptr<TControl> control(entry.create(nullptr));
        classes.push_back(&control->classInfo());
    }
    return everyPropertyPanel(classes);
}

}  // namespace trovelin::testing

#pragma once
// The component record reader: loads one record into an already created instance.
// It reads through its own 4096-byte read-ahead and hands back what it did not use, so the
// stream stands right after the bytes it consumed, also after a failure.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "streaming/ClassInfo.h"
#include "streaming/Persistent.h"
#include "streaming/ValueTag.h"
#include "streaming/Variant.h"

namespace trovelin {

class Collection;
class PixelBudget;
class Component;
class Stream;

// Classes a child entry may name when the root's published fields do not list its class.
class ClassRegistry {
public:
    ClassRegistry(std::initializer_list<const ClassInfo*> classes) : classes_(classes) {}
    const ClassInfo* find(std::string_view name) const;  // letter case ignored

private:
    std::vector<const ClassInfo*> classes_;
};

// What the reader needs of the application around it.
struct ReaderEnvironment {
    // The application's top-level window of that name (letter case ignored), or null.
    std::function<Component*(std::string_view name)> findTopLevelWindow;
    const ClassRegistry* registry = nullptr;
    // What the pictures of the record's binary values are charged to; null: nothing.
    PixelBudget* pixelBudget = nullptr;
};

// Nesting of lists, collections and child entries deeper than this fails as a bad stream.
inline constexpr int maxNestingDepth = 256;

class Reader : private Filer {
public:
    explicit Reader(Stream& stream, ReaderEnvironment environment = {});
    ~Reader() override;
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Reads one whole record into `root` and gives the loaded notifications.
    void readRootComponent(Component& root);

    // Value readers: each reads a tag and its payload.
    ValueTag readValue();
    ValueTag nextValue();  // peeks at the next tag
    std::int32_t readInteger();
    double readFloat();
    float readSingle();
    std::int64_t readCurrency();  // the amount times 10000
    double readDate();
    std::string readString();
    std::u16string readWideString();
    std::vector<std::uint8_t> readBinary();
    std::string readIdent();
    std::vector<std::string> readSet();
    bool readBoolean();
    char readChar();
    Variant readVariant();

    // List markers for readers of defined properties; a wrong tag is "Invalid property value".
    void readListBegin();
    bool endOfList();
    void readListEnd();

    void skipValue();
    void skipProperty();
    void skipComponent(bool skipHeader);

    // Raw parts of the record layout.
    std::string readShortString();
    void readSignature();
    struct EntryPrefix {
        bool inherited = false;
        bool hasPosition = false;
        int position = 0;
    };
    EntryPrefix readPrefix();

private:
    // Counts nesting of lists, collections and child entries; fails past maxNestingDepth.
    class DepthGuard {
    public:
        explicit DepthGuard(Reader& reader);
        ~DepthGuard() { --reader_.depth_; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;

    private:
        Reader& reader_;
    };
    struct Fixup {
        Persistent* instance;
        const PropertyInfo* property;
        std::string name;
    };

    void defineProperty(std::string_view name, const std::function<void(Reader&)>& read) override;
    void defineBinaryProperty(std::string_view name, const std::function<void(Stream&)>& read) override;

    void fillBuffer();
    void readBytes(void* destination, std::size_t count);
    void skipBytes(std::int64_t count);
    std::uint8_t readByte();
    std::uint8_t peekByte();
    std::uint32_t readLength();
    // Bytes still available: the unused read-ahead plus what the stream holds.
    std::int64_t available();
    void handBack();

    void readData(Component& instance);
    void readProperties(Persistent& instance);
    void readProperty(Persistent& instance);
    void readPropertyValue(Persistent& instance, const PropertyInfo& property);
    void readCollection(Collection& collection);
    void readChildren(Component& parent);
    void readChild(Component& parent);
    Component* createChild(const std::string& className, const std::string& name);
    void resolveFixups();
    Component* findReference(std::string_view name) const;

    std::int64_t readOrdinalProperty(const PropertyInfo& property);
    std::int32_t readIntegerPayload(ValueTag tag);

    Stream& stream_;
    ReaderEnvironment environment_;
    std::array<std::uint8_t, 4096> buffer_{};
    std::size_t bufferPosition_ = 0;
    std::size_t bufferEnd_ = 0;

    Component* root_ = nullptr;
    Component* parent_ = nullptr;
    std::string propertyName_;
    bool propertyTaken_ = false;
    int depth_ = 0;
    std::vector<Fixup> fixups_;
    std::vector<Component*> loaded_;
};

// Reads one record at the stream's position into `instance`.
void readComponentRecord(Stream& stream, Component& instance, const ReaderEnvironment& environment = {});

}  // namespace trovelin

#include "streaming/Errors.h"

namespace trovelin {

namespace {

// "244 MiB": the largest binary unit the size reaches, rounded.
std::string sizeText(std::uint64_t bytes)
{
    static const char* const units[] = {"bytes", "KiB", "MiB", "GiB", "TiB"};
    int unit = 0;
    double size = static_cast<double>(bytes);
    while (size >= 1024 && unit < 4) {
        size /= 1024;
        ++unit;
    }
    return std::to_string(static_cast<std::uint64_t>(size + 0.5)) + " " + units[unit];
}

}  // namespace

EOutOfMemory::EOutOfMemory() : Exception(messages::outOfMemory) {}

// The viewer shows this text too, and has no option that sets the budget: it names none.
EOutOfMemory::EOutOfMemory(std::uint64_t wantedBytes, std::uint64_t budgetBytes)
    : Exception(messages::outOfMemory, "the picture needs " + sizeText(wantedBytes) +
                                           ", over the memory budget of " + sizeText(budgetBytes))
{
}

EOutOfMemory::EOutOfMemory(std::uint64_t wantedBytes, std::uint64_t leftBytes, std::uint64_t heldByOthers,
                           int otherFiles)
    : Exception(messages::outOfMemory, "the picture needs " + sizeText(wantedBytes) + ", over the " +
                                           sizeText(leftBytes) + " left of the --max-memory budget (" +
                                           sizeText(heldByOthers) + " held by " + std::to_string(otherFiles) +
                                           (otherFiles == 1 ? " other file)" : " other files)"))
{
}

std::string errorReadingMessage(const std::string& objectName, const std::string& propertyPath,
                                const std::string& cause)
{
    return "Error reading " + objectName + "." + propertyPath + ": " + cause;
}

std::string classNotFoundMessage(const std::string& className)
{
    return "Class " + className + " not found";
}

std::string ancestorNotFoundMessage(const std::string& name)
{
    return "Ancestor for '" + name + "' not found";
}

std::string invalidComponentNameMessage(const std::string& name)
{
    return "''" + name + "'' is not a valid component name";
}

std::string duplicateComponentNameMessage(const std::string& name)
{
    return "A component named " + name + " already exists";
}

std::string cannotOpenFileMessage(const std::string& fileName)
{
    return "Cannot open file " + fileName;
}

}  // namespace trovelin

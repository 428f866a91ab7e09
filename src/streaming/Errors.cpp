#include "streaming/Errors.h"

namespace trovelin {

EOutOfMemory::EOutOfMemory() : Exception(messages::outOfMemory) {}

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

#pragma once
// The exception kinds of the runtime. Each carries the exact message text that the
// user sees in the default error display; callers distinguish failures by type.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace trovelin {

class Exception : public std::exception {
public:
    // `reason` is what the system said, for programs that show it after the fixed text.
    explicit Exception(std::string message, std::string reason = {})
        : message_(std::move(message)), reason_(std::move(reason))
    {
    }
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& message() const noexcept { return message_; }
    const std::string& reason() const noexcept { return reason_; }
    // "message: reason", or the message alone.
    std::string messageWithReason() const { return reason_.empty() ? message_ : message_ + ": " + reason_; }

private:
    std::string message_;
    std::string reason_;
};

// Stream-level failures: reading past the end, opening a file.
class EStreamError : public Exception {
    using Exception::Exception;
};

class EFOpenError : public EStreamError {
    using EStreamError::EStreamError;
};

// Failures of the component record reader.
class EFilerError : public EStreamError {
    using EStreamError::EStreamError;
};

class EReadError : public EFilerError {
    using EFilerError::EFilerError;
};

// A property whose value could not be read for want of memory (or of pixel budget); its message
// names the property as any read error's does.
class EReadOutOfMemory : public EReadError {
    using EReadError::EReadError;
};

class EClassNotFound : public EFilerError {
    using EFilerError::EFilerError;
};

// Naming failures: invalid identifiers and duplicate names among an owner's components.
class EComponentError : public Exception {
    using Exception::Exception;
};

// A picture payload that does not decode.
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};

// An allocation that failed, or that would pass the budget of decoded pixels.
class EOutOfMemory : public Exception {
public:
    EOutOfMemory();
    // Over the budget: the reason names the bytes wanted and the budget.
    EOutOfMemory(std::uint64_t wantedBytes, std::uint64_t budgetBytes);
    // Over what is left of a budget that other files share: the reason says what they hold.
    EOutOfMemory(std::uint64_t wantedBytes, std::uint64_t leftBytes, std::uint64_t heldByOthers, int otherFiles);
};

namespace messages {
inline constexpr const char* invalidStreamFormat = "Invalid stream format";
inline constexpr const char* streamReadError = "Stream read error";
inline constexpr const char* propertyDoesNotExist = "Property does not exist";
inline constexpr const char* invalidPropertyPath = "Invalid property path";
inline constexpr const char* invalidPropertyValue = "Invalid property value";
inline constexpr const char* propertyIsReadOnly = "Property is read-only";
inline constexpr const char* bitmapImageIsNotValid = "Bitmap image is not valid";
inline constexpr const char* iconImageIsNotValid = "Icon image is not valid";
inline constexpr const char* metafileIsNotValid = "Metafile is not valid";
inline constexpr const char* outOfMemory = "Out of memory";
}  // namespace messages

// "Error reading %s%s%s: %s"
std::string errorReadingMessage(const std::string& objectName, const std::string& propertyPath,
                                const std::string& cause);
// "Class %s not found"
std::string classNotFoundMessage(const std::string& className);
// "Ancestor for '%s' not found"
std::string ancestorNotFoundMessage(const std::string& name);
// "''%s'' is not a valid component name"
std::string invalidComponentNameMessage(const std::string& name);
// "A component named %s already exists"
std::string duplicateComponentNameMessage(const std::string& name);
// "Cannot open file %s"
std::string cannotOpenFileMessage(const std::string& fileName);

}  // namespace trovelin

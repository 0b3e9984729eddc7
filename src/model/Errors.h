#pragma once
// Failures of the platform layer. The core throws them; the front end catches
// them at the user action, shows the text in an error box and keeps running.
#include <stdexcept>
#include <string>

namespace didad {

class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot create file %s", with the system's reason, when there is one, on a
// line of its own: "the file cannot be created" alone leaves the user
// guessing between a full disk, a read-only one and a missing folder.
class CannotCreateFile : public PlatformError {
public:
    explicit CannotCreateFile(const std::string& path, const std::string& reason = {})
        : PlatformError("Cannot create file " + path + (reason.empty() ? "" : "\r\n\r\n" + reason)),
          path_(path),
          reason_(reason) {}
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

// "Cannot open file %s"
class CannotOpenFile : public PlatformError {
public:
    explicit CannotOpenFile(const std::string& path) : PlatformError("Cannot open file " + path), path_(path) {}
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// "'%s' is not a valid integer value"
class ConversionError : public PlatformError {
public:
    explicit ConversionError(const std::string& text)
        : PlatformError("'" + text + "' is not a valid integer value"), text_(text) {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

} // namespace didad

#pragma once
// A new file being written beside the file it will replace. Saving writes the
// whole database into a FileSink, finishes it (flushed to the disk) and only
// then moves it into place, so a failed save never damages the previous file.
// Tests replace the factory to inject failing writers.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class FileSink {
public:
    using Factory = std::function<std::unique_ptr<FileSink>(const std::string& targetPath)>;

    // Removes the file unless finish() succeeded.
    virtual ~FileSink() = default;

    // The path of the new file (in the target's folder, under a temporary name).
    virtual const std::string& path() const = 0;
    // Appends bytes; throws FileError (with the target's path) on failure.
    virtual void write(const uint8_t* data, size_t size) = 0;
    // Flushes the file to the disk and closes it; throws FileError on failure.
    virtual void finish() = 0;
    // Closes and removes the file; never throws.
    virtual void discard() = 0;

    // A new, empty file beside `targetPath`; throws FileError when it cannot be created.
    static std::unique_ptr<FileSink> createBeside(const std::string& targetPath);
    // Replaces how createBeside makes files (an empty factory restores the
    // default); returns the previous factory.
    static Factory setFactory(Factory factory);
};

#include "core/FileSink.h"

#include "core/PosixFileSink.h"

namespace {

FileSink::Factory& currentFactory() {
    static FileSink::Factory factory;
    return factory;
}

} // namespace

std::unique_ptr<FileSink> FileSink::createBeside(const std::string& targetPath) {
    const Factory& factory = currentFactory();
    if (factory)
        return factory(targetPath);
    return std::make_unique<PosixFileSink>(targetPath);
}

FileSink::Factory FileSink::setFactory(Factory factory) {
    Factory previous = std::move(currentFactory());
    currentFactory() = std::move(factory);
    return previous;
}

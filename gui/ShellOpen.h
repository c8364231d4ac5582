#pragma once
// Opens a file, folder or link with the desktop's default handler. Tests
// replace the handler to see what would have been opened.

#include <QString>
#include <functional>

void ShellOpen(const QString& target);

// Replaces the handler (an empty function restores the desktop's); returns the previous one.
using ShellOpenHandler = std::function<void(const QString&)>;
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

#pragma once
// Opens a file, folder or link with the desktop's default handler. Tests
// replace the handler to see what would have been opened.

#include <QString>
#include <functional>

// False when no program could be started for the target.
bool ShellOpen(const QString& target);

// Replaces the handler (an empty function restores the desktop's); returns the
// previous one. The handler answers whether the target was opened.
using ShellOpenHandler = std::function<bool(const QString&)>;
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

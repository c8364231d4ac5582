// sealbook: the command-line companion. Lists, shows, exports, imports,
// re-keys and verifies database files.

#include "cli/Commands.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunMain(args, PasswordSource::System(), std::cin, std::cout, std::cerr);
}

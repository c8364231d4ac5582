#pragma once
// Runs the built sealbook program with arguments, environment additions and
// standard input, and collects its exit status and both outputs.

#include <functional>
#include <map>
#include <string>
#include <vector>

struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

ProgramResult RunSealbook(const std::vector<std::string>& args,
                          const std::map<std::string, std::string>& env = {}, const std::string& input = {});

// The same in `folder` (empty: this one), calling `whileRunning` with the
// program's process id once it has started, before waiting for its end.
ProgramResult RunSealbookIn(const std::string& folder, const std::vector<std::string>& args,
                            const std::map<std::string, std::string>& env = {},
                            const std::function<void(int pid)>& whileRunning = {},
                            const std::string& input = {});

// Runs the program on a pseudo-terminal (standard input, output and error all
// on it), typing each of `lines` when the output so far ends with a prompt
// ("Password: " and the like). Everything the terminal showed comes back in
// `out`; `err` stays empty.
ProgramResult RunSealbookOnTerminal(const std::vector<std::string>& args,
                                    const std::vector<std::string>& lines,
                                    const std::map<std::string, std::string>& env = {});

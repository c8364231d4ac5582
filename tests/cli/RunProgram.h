#pragma once
// Runs the built sealbook program with arguments, environment additions and
// standard input, and collects its exit status and both outputs.

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

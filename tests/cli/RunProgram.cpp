#include "RunProgram.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string slurp(FILE* f) {
    std::string text;
    std::rewind(f);
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    return text;
}

} // namespace

ProgramResult RunSealbook(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                          const std::string& input) {
    return RunSealbookIn({}, args, env, {}, input);
}

ProgramResult RunSealbookIn(const std::string& folder, const std::vector<std::string>& args,
                            const std::map<std::string, std::string>& env,
                            const std::function<void(int pid)>& whileRunning, const std::string& input) {
    FILE* in = std::tmpfile();
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    if (!in || !out || !err)
        throw std::runtime_error("tmpfile failed");
    std::fwrite(input.data(), 1, input.size(), in);
    std::fflush(in);
    std::rewind(in);

    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(fileno(in), STDIN_FILENO);
        dup2(fileno(out), STDOUT_FILENO);
        dup2(fileno(err), STDERR_FILENO);
        if (!folder.empty() && chdir(folder.c_str()) != 0)
            _exit(126);
        // The caller's own password variables must not leak into a test.
        unsetenv("SEALBOOK_PASSWORD");
        unsetenv("SEALBOOK_NEW_PASSWORD");
        for (const auto& [name, value] : env)
            setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> argv;
        std::string program = SEALBOOK_CLI_PROGRAM;
        argv.push_back(program.data());
        std::vector<std::string> copies(args);
        for (auto& a : copies)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    if (whileRunning)
        whileRunning(pid);
    int status = 0;
    waitpid(pid, &status, 0);
    ProgramResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = slurp(out);
    result.err = slurp(err);
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    return result;
}

ProgramResult RunSealbookOnTerminal(const std::vector<std::string>& args,
                                    const std::vector<std::string>& lines,
                                    const std::map<std::string, std::string>& env) {
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid < 0)
        throw std::runtime_error("forkpty failed");
    if (pid == 0) {
        unsetenv("SEALBOOK_PASSWORD");
        unsetenv("SEALBOOK_NEW_PASSWORD");
        for (const auto& [name, value] : env)
            setenv(name.c_str(), value.c_str(), 1);
        std::string program = SEALBOOK_CLI_PROGRAM;
        std::vector<std::string> copies(args);
        std::vector<char*> argv{program.data()};
        for (auto& a : copies)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    ProgramResult result;
    size_t typed = 0;
    size_t answeredAt = 0;
    for (;;) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 10000) <= 0) {
            kill(pid, SIGKILL); // stuck waiting for input: the status will tell
            break;
        }
        char buffer[4096];
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0)
            break; // the program has ended and closed the terminal
        result.out.append(buffer, static_cast<size_t>(n));
        if (typed < lines.size() && result.out.size() > answeredAt && result.out.ends_with(": ")) {
            const std::string line = lines[typed++] + "\n";
            if (write(master, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
                break;
            answeredAt = result.out.size();
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    close(master);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

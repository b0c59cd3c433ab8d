#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// A program started by a test, with its standard output and error collected in a file.
// A child still running when the object dies is killed.
class ChildProcess {
public:
    // Starts `program` with `args` in `workDir`; `environment` entries ("NAME=value") are
    // added to the test's own environment.
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
        const std::filesystem::path& workDir, const std::vector<std::string>& environment);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid > 0; }
    bool running();
    // Sends `signal` to the child while it runs (SIGSTOP and SIGCONT pause and resume it).
    bool signal(int signal);
    // The exit status once the child has ended within timeoutMs (128 + signal when it was
    // killed by one); empty when it is still running.
    std::optional<int> wait(int timeoutMs);
    // Everything the child has written so far.
    std::string output() const;
    // Waits until the output contains `text`; false on timeout or when the child ended first.
    bool waitForOutput(const std::string& text, int timeoutMs);

private:
    int pid = -1;
    std::optional<int> status;
    std::filesystem::path outputFile;
};

} // namespace testsupport

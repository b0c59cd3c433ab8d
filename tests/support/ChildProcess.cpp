#include "ChildProcess.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testsupport {

namespace fs = std::filesystem;

ChildProcess::ChildProcess(const fs::path& program, const std::vector<std::string>& args,
    const fs::path& workDir, const std::vector<std::string>& environment)
{
    std::random_device rd;
    outputFile = fs::temp_directory_path() / ("tumbrix-child-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));

    // Everything the child needs is built before fork: only async-signal-safe calls after it.
    std::vector<std::string> argStrings;
    argStrings.push_back(program.string());
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    auto overridden = [&](const std::string& entry) {
        std::string name = entry.substr(0, entry.find('=') + 1);
        for (const std::string& e : environment) {
            if (e.rfind(name, 0) == 0) {
                return true;
            }
        }
        return false;
    };
    std::vector<std::string> envStrings;
    for (char** e = environ; *e != nullptr; e++) {
        if (!overridden(*e)) {
            envStrings.emplace_back(*e);
        }
    }
    envStrings.insert(envStrings.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (std::string& e : envStrings) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);

    int out = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0) {
        return;
    }
    std::string dir = workDir.string();
    pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out, STDOUT_FILENO);
        ::dup2(out, STDERR_FILENO);
        if (::chdir(dir.c_str()) != 0) {
            ::_exit(126);
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(out);
    pid = child;
}

ChildProcess::~ChildProcess()
{
    if (running()) {
        ::kill(pid, SIGKILL);
        wait(5000);
    }
    std::error_code ec;
    fs::remove(outputFile, ec);
}

bool ChildProcess::signal(int signal)
{
    return running() && ::kill(pid, signal) == 0;
}

bool ChildProcess::running()
{
    if (pid <= 0 || status) {
        return false;
    }
    int raw = 0;
    if (::waitpid(pid, &raw, WNOHANG) == pid) {
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return false;
    }
    return true;
}

std::optional<int> ChildProcess::wait(int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status;
}

std::string ChildProcess::output() const
{
    std::ifstream in(outputFile, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool ChildProcess::waitForOutput(const std::string& text, int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (output().find(text) != std::string::npos) {
            return true;
        }
        if (!running()) {
            return output().find(text) != std::string::npos;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

} // namespace testsupport

// SPDX-License-Identifier: MIT
// Replays a fuzz entry's corpus in the normal build: every file of the folders given runs once,
// each in a process of its own, so that one that crashes, aborts, hangs or makes a sanitizer
// report counts as failed and the others still run. A folder that is missing or empty, or a file
// that cannot be read, fails the replay too: a replay that ran nothing proves nothing.
//
//   replay FOLDER...      runs every file of the folders
//   replay --one FILE     runs one file in this process (what each child does)
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) __attribute__((weak));

namespace {

constexpr unsigned kSecondsPerInput = 120;

int runOne(int argc, char **argv, const char *path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return 3;
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    ::alarm(kSecondsPerInput);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    return 0;
}

// Sanitizers stop at their first report, whatever options the caller set: a report that lets the
// input run on would end in a clean exit.
void haltOnReports()
{
    for (const char *name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        const char *old = std::getenv(name);
        std::string value = old && *old ? std::string(old) + ":" : std::string();
        value += "halt_on_error=1";
        if (std::strcmp(name, "UBSAN_OPTIONS") == 0)
            value += ":print_stacktrace=1";
        ::setenv(name, value.c_str(), 1);
    }
}

bool mentionsSanitizerReport(const std::string &text)
{
    for (const char *marker : {"runtime error:", "ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "ERROR: UndefinedBehaviorSanitizer",
                               "SUMMARY: AddressSanitizer", "SUMMARY: UndefinedBehaviorSanitizer", "SUMMARY: LeakSanitizer"})
        if (text.find(marker) != std::string::npos)
            return true;
    return false;
}

// Runs one input in a child; true when it ran to its end cleanly.
bool replay(const std::string &self, const std::string &file)
{
    int output[2];
    if (::pipe(output) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        ::dup2(output[1], STDERR_FILENO);
        ::close(output[0]);
        ::close(output[1]);
        ::execl(self.c_str(), self.c_str(), "--one", file.c_str(), static_cast<char *>(nullptr));
        std::_Exit(127);
    }
    ::close(output[1]);
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(output[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(output[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // What the child said stays visible in the test's log.
    std::fwrite(text.data(), 1, text.size(), stderr);
    if (WIFSIGNALED(status)) {
        std::fprintf(stderr, "FAILED %s: ended by signal %d (%s)\n", file.c_str(), WTERMSIG(status), strsignal(WTERMSIG(status)));
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "FAILED %s: exit status %d\n", file.c_str(), WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        return false;
    }
    if (mentionsSanitizerReport(text)) {
        std::fprintf(stderr, "FAILED %s: a sanitizer reported\n", file.c_str());
        return false;
    }
    return true;
}

}

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--one") == 0)
        return runOne(argc, argv, argv[2]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER...\n", argv[0]);
        return 2;
    }
    haltOnReports();
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string program = length > 0 ? std::string(self, static_cast<size_t>(length)) : std::string(argv[0]);
    int passed = 0;
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::string> files;
        DIR *folder = ::opendir(argv[i]);
        if (!folder) {
            std::fprintf(stderr, "FAILED %s: the corpus folder cannot be read: %s\n", argv[i], std::strerror(errno));
            ++failed;
            continue;
        }
        while (const dirent *entry = ::readdir(folder)) {
            const std::string path = std::string(argv[i]) + "/" + entry->d_name;
            struct stat info {};
            if (entry->d_name[0] != '.' && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
                files.push_back(path);
        }
        ::closedir(folder);
        if (files.empty()) {
            std::fprintf(stderr, "FAILED %s: the corpus folder holds no input\n", argv[i]);
            ++failed;
            continue;
        }
        for (const std::string &file : files)
            (replay(program, file) ? passed : failed) += 1;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}

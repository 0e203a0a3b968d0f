// SPDX-License-Identifier: MIT
// Fuzz entry: the unzip library extracting any bytes as an archive, read from an in-memory file
// and written into a private folder (under $TMPDIR: point it at a tmpfs for long runs). The first
// byte chooses the options and specs, the rest is the archive. After every run nothing may stand
// beside the extraction folder, and inside it no link and no half-written temporary file.
#include "UnzLibAbi.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string g_base;      // holds only "out"
std::string g_middle;    // holds only "out": "../x" from the folder lands here
std::string g_folder;    // the extraction folder

int answer(UnzCallbackRecord *record)
{
    switch (record->ActionCode) {
    case UnzAction::Password:
        record->ErrorCode = 0;       // no password to give
        record->FileSize = 0;
        break;
    case UnzAction::Overwrite:
        record->FileSize = 1;
        break;
    case UnzAction::CrcError:
        record->ErrorCode = 2;
        break;
    default:
        break;
    }
    return 0;
}

std::vector<std::string> entriesOf(const std::string &folder)
{
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(folder.c_str())) {
        while (const dirent *entry = ::readdir(dir))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    return names;
}

// Checks what the run left in the folder and removes it. An entry may itself be named like the
// library's temporary files: those are told apart only when no entry name can be one.
void checkAndEmpty(const std::string &folder, bool temporaryNamesPossible)
{
    for (const std::string &name : entriesOf(folder)) {
        const std::string path = folder + "/" + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || S_ISLNK(info.st_mode) || (!temporaryNamesPossible && name.rfind(".unzlib-", 0) == 0))
            std::abort();
        if (S_ISDIR(info.st_mode)) {
            checkAndEmpty(path, temporaryNamesPossible);
            ::rmdir(path.c_str());
        } else {
            ::unlink(path.c_str());
        }
    }
}

}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/unzip-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        std::abort();
    g_base = pattern;
    g_middle = g_base + "/out";
    g_folder = g_middle + "/out";
    ::mkdir(g_middle.c_str(), 0700);
    ::mkdir(g_folder.c_str(), 0700);
    std::atexit([] {
        checkAndEmpty(g_folder, true);
        ::rmdir(g_folder.c_str());
        ::rmdir(g_middle.c_str());
        ::rmdir(g_base.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const int fd = ::memfd_create("fuzz.zip", 0);
    if (fd < 0 || size < 1)
        return 0;
    const std::uint8_t options = data[0];
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, data + 1, size - 1, 0) != static_cast<ssize_t>(size - 1))
        return 0;
    const std::string archive = "/proc/self/fd/" + std::to_string(fd);

    static const char stored[] = "a.ttf";
    std::vector<UnzSpecRecord> specs;
    auto addSpec = [&](const char *text) {
        UnzSpecRecord spec{};
        spec.FileSpec = text;
        specs.push_back(spec);
    };
    if (options & 0x02) {
        addSpec("dir/a.ttf");
        specs.back().Exact = 1;
        specs.back().EntryIndex = (options >> 6) & 3;
        specs.back().StoredName = stored;
        specs.back().StoredNameLength = sizeof stored - 1;
    }
    if (options & 0x04)
        addSpec(stored);
    if (options & 0x08)
        addSpec("*");

    static std::vector<char> memory(1 << 20);
    UnzipParams params{};
    params.Version = 173;
    params.Callback = &answer;
    params.PasswordText = "pw";
    params.PasswordTries = 1;
    params.DirNamesFlag = options & 0x01;
    params.OverwriteFlag = 1;
    params.TestOnly = (options & 0x20) != 0;
    params.OutToMemory = (options & 0x10) != 0;
    params.OutBuffer = memory.data();
    params.OutSize = static_cast<std::uint32_t>(memory.size());
    params.ArchiveName = archive.c_str();
    params.SpecCount = static_cast<std::int32_t>(specs.size());
    params.Specs = specs.empty() ? nullptr : specs.data();
    params.ExtractDir = g_folder.data();
    params.BlockCheck = 7;
    UnzLibExec(&params);

    if (entriesOf(g_base) != std::vector<std::string>{"out"} || entriesOf(g_middle) != std::vector<std::string>{"out"})
        std::abort();
    static const char temporary[] = ".unzlib-";
    checkAndEmpty(g_folder, ::memmem(data, size, temporary, sizeof temporary - 1) != nullptr);
    return 0;
}

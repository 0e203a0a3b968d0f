// SPDX-License-Identifier: MIT
// The unzip library: extracts the entries a parameter block names, from the archive it names,
// into its extraction folder, telling the caller everything through the callback.
//
// Safety: nothing is ever written outside the extraction folder. An entry whose name has a ".."
// part, starts at the root, or is a link is skipped and reported. Files are written to a
// temporary name beside the target and renamed into place once complete and checked, so a
// failed or cancelled entry leaves nothing behind.
#include "UnzLibAbi.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <fcntl.h>
#include <fnmatch.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kVersion = 180;

class Run {
public:
    explicit Run(UnzipParams &p) : m_p(p) {}

    int callback(int action, int error, std::intptr_t size, const std::string &text)
    {
        if (!m_p.Callback)
            return 0;
        m_record = UnzCallbackRecord{};
        m_record.Caller = m_p.Caller;
        m_record.ActionCode = action;
        m_record.ErrorCode = error;
        m_record.FileSize = size;
        std::snprintf(m_record.FileNameOrMsg, sizeof m_record.FileNameOrMsg, "%s", text.c_str());
        const int stop = m_p.Callback(&m_record);
        if (stop)
            m_cancelled = true;
        return stop;
    }
    const UnzCallbackRecord &answer() const { return m_record; }
    bool cancelled() const { return m_cancelled; }
    void message(int error, const std::string &text) { callback(UnzAction::Message, error, 0, text); }
    void skipped(int error, const std::string &name) { callback(UnzAction::Skipped, error, 0, name); }

    int execute();

private:
    bool wanted(const std::string &name) const;
    bool safeName(const std::string &name) const;
    std::string outputName(const std::string &stored) const;
    bool extractEntry(zip_t *archive, zip_uint64_t index, const zip_stat_t &stat, bool toMemory);
    zip_file_t *openEntry(zip_t *archive, zip_uint64_t index, const std::string &name, bool encrypted);
    int memoryToMemory();

    UnzipParams &m_p;
    UnzCallbackRecord m_record{};
    bool m_cancelled = false;
    bool m_passwordsEnded = false;
    std::string m_password;
    std::vector<std::string> m_specs;
};

std::string toForward(std::string text)
{
    for (char &c : text)
        if (c == '\\')
            c = '/';
    return text;
}

bool Run::wanted(const std::string &name) const
{
    // No spec asks for every entry, as the usual unzip does.
    if (m_specs.empty())
        return true;
    for (const std::string &spec : m_specs)
        if (spec == "*.*" || fnmatch(spec.c_str(), name.c_str(), FNM_CASEFOLD | FNM_PATHNAME) == 0
            || fnmatch(spec.c_str(), name.c_str(), FNM_CASEFOLD) == 0)
            return true;
    return false;
}

bool Run::safeName(const std::string &name) const
{
    if (name.empty() || name[0] == '/' || (name.size() > 1 && name[1] == ':'))
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        const size_t slash = name.find('/', start);
        const std::string part = name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part == "..")
            return false;
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    return true;
}

std::string Run::outputName(const std::string &stored) const
{
    if (m_p.DirNamesFlag)
        return stored;
    const size_t slash = stored.rfind('/');
    return slash == std::string::npos ? stored : stored.substr(slash + 1);
}

zip_file_t *Run::openEntry(zip_t *archive, zip_uint64_t index, const std::string &name, bool encrypted)
{
    if (!encrypted)
        return zip_fopen_index(archive, index, 0);
    int tries = static_cast<int>(m_p.PasswordTries);
    for (;;) {
        if (!m_password.empty()) {
            if (zip_file_t *file = zip_fopen_index_encrypted(archive, index, 0, m_password.c_str())) {
                // A wrong password shows only when the data is read: probe one byte.
                char probe;
                if (zip_fread(file, &probe, 0) >= 0)
                    return file;
                zip_fclose(file);
            }
        }
        if (m_passwordsEnded || tries <= 0)
            return nullptr;
        if (callback(UnzAction::Password, 0, tries, name))
            return nullptr;
        const UnzCallbackRecord &a = answer();
        if (a.ActionCode == 0)
            m_passwordsEnded = true;
        if (a.ErrorCode == 0 || a.FileNameOrMsg[0] == 0)
            return nullptr;
        m_password.assign(a.FileNameOrMsg, strnlen(a.FileNameOrMsg, 81));
        tries = static_cast<int>(a.FileSize) - 1;
    }
}

bool Run::extractEntry(zip_t *archive, zip_uint64_t index, const zip_stat_t &stat, bool toMemory)
{
    const std::string stored = toForward(stat.name);
    const bool encrypted = (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
    std::string name = outputName(stored);
    std::string target;
    if (!toMemory && !m_p.TestOnly) {
        if (callback(UnzAction::NewName, 0, 0, name))
            return false;
        if (answer().ErrorCode == 1)
            name = toForward(answer().FileNameOrMsg);
        if (!safeName(name)) {
            message(UnzError::Unsafe, "unsafe name, skipped: " + name);
            skipped(UnzError::Unsafe, name);
            return false;
        }
        target = std::string(m_p.ExtractDir ? m_p.ExtractDir : ".") + "/" + name;
        struct stat existing {};
        const bool exists = ::lstat(target.c_str(), &existing) == 0;
        const bool archiveNewer = exists && stat.mtime > existing.st_mtime;
        if (m_p.FreshenFlag && (!exists || !archiveNewer))
            return false;
        if (m_p.UpdateFlag && exists && !archiveNewer)
            return false;
        if (exists && !m_p.OverwriteFlag && !m_p.UpdateFlag && !m_p.FreshenFlag) {
            const int older = exists && existing.st_mtime < stat.mtime ? 1 << 16 : 0;
            if (callback(UnzAction::Overwrite, static_cast<int>(index & 0xFFFF) | older, 0, name))
                return false;
            if (answer().FileSize == 0) {
                skipped(UnzError::Exists, name);
                return false;
            }
        }
        if (exists && (S_ISDIR(existing.st_mode) || S_ISLNK(existing.st_mode))) {
            message(UnzError::Unsafe, "a folder or link stands where the file would go, skipped: " + name);
            skipped(UnzError::Unsafe, name);
            return false;
        }
    }

    if (callback(UnzAction::NewFile, 0, static_cast<std::intptr_t>(stat.size), stored))
        return false;
    zip_file_t *file = openEntry(archive, index, stored, encrypted);
    if (!file) {
        if (!m_cancelled) {
            message(encrypted ? UnzError::Password : UnzError::Read, (encrypted ? "no valid password for " : "cannot open entry ") + stored);
            skipped(encrypted ? UnzError::Password : UnzError::Read, stored);
        }
        return false;
    }

    int out = -1;
    std::string temporary;
    if (!toMemory && !m_p.TestOnly) {
        const size_t slash = target.rfind('/');
        // Stored folder names are kept only inside the extraction folder.
        for (size_t at = std::strlen(m_p.ExtractDir ? m_p.ExtractDir : ".") + 1; at < slash; ++at)
            if (target[at] == '/')
                ::mkdir(target.substr(0, at).c_str(), 0755);
        ::mkdir(target.substr(0, slash).c_str(), 0755);
        temporary = target.substr(0, slash + 1) + ".unzlib-XXXXXX";
        out = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (out < 0) {
            zip_fclose(file);
            message(UnzError::Write, "cannot write " + target + ": " + std::strerror(errno));
            skipped(UnzError::Write, stored);
            return false;
        }
    }

    uLong crc = crc32(0, nullptr, 0);
    std::vector<char> buffer(1 << 16);
    zip_uint64_t done = 0;
    bool ok = true;
    int failure = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer.data(), buffer.size());
        if (n < 0) {
            const int code = zip_error_code_zip(zip_file_get_error(file));
            // A checksum mismatch is the caller's to decide; the data itself was read.
            if (code == ZIP_ER_CRC)
                break;
            ok = false;
            failure = code == ZIP_ER_WRONGPASSWD ? UnzError::Password : UnzError::Data;
            message(failure, std::string("cannot read ") + stored + ": " + zip_file_strerror(file));
            break;
        }
        if (n == 0)
            break;
        crc = crc32(crc, reinterpret_cast<const Bytef *>(buffer.data()), static_cast<uInt>(n));
        if (toMemory) {
            if (done + static_cast<zip_uint64_t>(n) > m_p.OutSize) {
                ok = false;
                failure = UnzError::Write;
                message(failure, "the memory given is too small for " + stored);
                break;
            }
            std::memcpy(static_cast<char *>(m_p.OutBuffer) + done, buffer.data(), static_cast<size_t>(n));
        } else if (out >= 0) {
            for (zip_int64_t w = 0; w < n;) {
                const ssize_t written = ::write(out, buffer.data() + w, static_cast<size_t>(n - w));
                if (written < 0) {
                    ok = false;
                    failure = UnzError::Write;
                    message(failure, "cannot write " + target + ": " + std::strerror(errno));
                    break;
                }
                w += written;
            }
            if (!ok)
                break;
        }
        done += static_cast<zip_uint64_t>(n);
        if (callback(UnzAction::Progress, 0, static_cast<std::intptr_t>(n), std::string())) {
            ok = false;
            break;
        }
    }
    zip_fclose(file);

    if (ok && (stat.valid & ZIP_STAT_CRC) && crc != stat.crc) {
        message(UnzError::Crc, "CRC error in " + stored);
        callback(UnzAction::CrcError, static_cast<int>(stat.crc), static_cast<std::intptr_t>(crc), stored);
        // 1 keeps the data; anything else drops it.
        if (answer().ErrorCode != 1) {
            ok = false;
            failure = UnzError::Crc;
        }
    }
    if (out >= 0) {
        if (ok && ::fsync(out) != 0) {
            ok = false;
            failure = UnzError::Write;
            message(failure, "cannot write " + target + ": " + std::strerror(errno));
        }
        ::close(out);
        if (ok) {
            const timespec times[2] = {{stat.mtime, 0}, {stat.mtime, 0}};
            ::utimensat(AT_FDCWD, temporary.c_str(), times, 0);
            ::chmod(temporary.c_str(), 0644);
            if (::rename(temporary.c_str(), target.c_str()) != 0) {
                ok = false;
                failure = UnzError::Write;
                message(failure, "cannot write " + target + ": " + std::strerror(errno));
            }
        }
        if (!ok)
            ::unlink(temporary.c_str());
    }
    if (!ok && failure && !m_cancelled)
        skipped(failure, stored);
    return ok && !m_cancelled;
}

int Run::memoryToMemory()
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return 0;
    stream.next_in = static_cast<Bytef *>(const_cast<void *>(m_p.InBuffer));
    stream.avail_in = m_p.InSize;
    stream.next_out = static_cast<Bytef *>(m_p.OutBuffer);
    stream.avail_out = m_p.OutSize;
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (result != Z_STREAM_END) {
        message(UnzError::Data, "the compressed data is damaged");
        return 0;
    }
    return 1;
}

// Entries named exactly (no wildcards) are found by reading the central directory directly and
// handed to libzip as a one-entry archive in memory: opening a large archive through libzip
// would otherwise read every one of its entries first.
struct Located {
    std::string name;
    std::vector<unsigned char> archive;   // local header, data, central header, end record
};

bool locateEntries(const char *path, const std::vector<std::string> &names, std::vector<Located> &found)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    auto read = [fd](void *into, size_t n, off_t at) { return at >= 0 && ::pread(fd, into, n, at) == static_cast<ssize_t>(n); };
    auto u16 = [](const unsigned char *p) { return static_cast<unsigned>(p[0] | p[1] << 8); };
    auto u32 = [](const unsigned char *p) { return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24); };
    auto u64 = [&u32](const unsigned char *p) { return std::uint64_t(u32(p)) | std::uint64_t(u32(p + 4)) << 32; };
    struct stat info {};
    unsigned char end[22];
    bool ok = ::fstat(fd, &info) == 0 && info.st_size >= 22 && read(end, 22, info.st_size - 22) && u32(end) == 0x06054B50
        && u16(end + 4) == 0 && u16(end + 6) == 0;
    std::uint64_t dirSize = ok ? u32(end + 12) : 0;
    off_t dirStart = info.st_size - 22 - static_cast<off_t>(dirSize);
    if (ok && (u16(end + 10) == 0xFFFF || u32(end + 12) == 0xFFFFFFFF || u32(end + 16) == 0xFFFFFFFF)) {
        // Zip64: the locator before the end record names the Zip64 end record.
        unsigned char locator[20], end64[56];
        ok = info.st_size >= 42 && read(locator, 20, info.st_size - 42) && u32(locator) == 0x07064B50
            && read(end64, 56, static_cast<off_t>(u64(locator + 8))) && u32(end64) == 0x06064B50;
        dirSize = ok ? u64(end64 + 40) : 0;
        dirStart = ok ? static_cast<off_t>(u64(locator + 8)) - static_cast<off_t>(dirSize) : -1;
    }
    std::vector<unsigned char> directory;
    ok = ok && dirStart >= 0 && dirSize <= static_cast<std::uint64_t>(info.st_size);
    if (ok) {
        directory.resize(dirSize);
        ok = read(directory.data(), dirSize, dirStart);
    }
    std::vector<bool> matched(names.size(), false);
    for (size_t at = 0; ok && at + 46 <= directory.size();) {
        const unsigned char *h = directory.data() + at;
        if (u32(h) != 0x02014B50) {
            ok = false;
            break;
        }
        const size_t total = 46 + u16(h + 28) + u16(h + 30) + u16(h + 32);
        if (at + total > directory.size()) {
            ok = false;
            break;
        }
        const std::string name = toForward(std::string(reinterpret_cast<const char *>(h + 46), u16(h + 28)));
        for (size_t i = 0; i < names.size(); ++i) {
            if (matched[i] || strcasecmp(names[i].c_str(), name.c_str()) != 0)
                continue;
            matched[i] = true;
            const std::uint32_t compressed = u32(h + 20), offset = u32(h + 42);
            unsigned char local[30];
            if (compressed == 0xFFFFFFFF || offset == 0xFFFFFFFF || !read(local, 30, offset) || u32(local) != 0x04034B50) {
                ok = false;
                break;
            }
            Located entry;
            entry.name = name;
            const size_t localSize = 30 + u16(local + 26) + u16(local + 28) + compressed;
            entry.archive.resize(localSize);
            if (!read(entry.archive.data(), localSize, offset)) {
                ok = false;
                break;
            }
            const size_t centralAt = entry.archive.size();
            entry.archive.insert(entry.archive.end(), h, h + total);
            std::memset(entry.archive.data() + centralAt + 34, 0, 2);   // disk 0
            std::memset(entry.archive.data() + centralAt + 42, 0, 4);   // at the start
            unsigned char record[22] = {0x50, 0x4B, 0x05, 0x06, 0, 0, 0, 0, 1, 0, 1, 0};
            const std::uint32_t size = static_cast<std::uint32_t>(total), start = static_cast<std::uint32_t>(centralAt);
            std::memcpy(record + 12, &size, 4);
            std::memcpy(record + 16, &start, 4);
            entry.archive.insert(entry.archive.end(), record, record + 22);
            found.push_back(std::move(entry));
        }
        at += total;
    }
    ::close(fd);
    return ok && std::all_of(matched.begin(), matched.end(), [](bool m) { return m; });
}

int Run::execute()
{
    if (m_p.PasswordText)
        m_password.assign(m_p.PasswordText, strnlen(m_p.PasswordText, 81));
    for (int i = 0; i < m_p.SpecCount && m_p.Specs; ++i)
        if (m_p.Specs[i].FileSpec)
            m_specs.push_back(toForward(m_p.Specs[i].FileSpec));
    if (m_p.InFromMemory)
        return m_p.OutToMemory ? memoryToMemory() : 0;

    const bool literal = !m_specs.empty() && std::none_of(m_specs.begin(), m_specs.end(), [](const std::string &spec) {
        return spec.find_first_of("*?[") != std::string::npos;
    });
    std::vector<Located> located;
    if (literal && m_p.ArchiveName && locateEntries(m_p.ArchiveName, m_specs, located)) {
        std::intptr_t total = 0;
        for (const Located &entry : located)
            total += static_cast<std::intptr_t>(entry.archive.size());
        callback(UnzAction::FileCount, 0, static_cast<std::intptr_t>(located.size()), std::string());
        callback(UnzAction::TotalSize, 0, total, std::string());
        int processed = 0;
        for (Located &entry : located) {
            if (m_cancelled)
                break;
            zip_error_t sourceError;
            zip_error_init(&sourceError);
            zip_source_t *source = zip_source_buffer_create(entry.archive.data(), entry.archive.size(), 0, &sourceError);
            zip_t *one = source ? zip_open_from_source(source, ZIP_RDONLY, &sourceError) : nullptr;
            zip_error_fini(&sourceError);
            if (!one) {
                if (source)
                    zip_source_free(source);
                message(UnzError::Open, "cannot open entry " + entry.name);
                skipped(UnzError::Open, entry.name);
                continue;
            }
            zip_stat_t stat;
            zip_uint8_t system = 0;
            zip_uint32_t attributes = 0;
            if (zip_file_get_external_attributes(one, 0, 0, &system, &attributes) == 0 && system == ZIP_OPSYS_UNIX
                && ((attributes >> 16) & S_IFMT) == S_IFLNK) {
                message(UnzError::Unsafe, "link entry, skipped: " + entry.name);
                skipped(UnzError::Unsafe, entry.name);
            } else if (zip_stat_index(one, 0, 0, &stat) == 0 && extractEntry(one, 0, stat, m_p.OutToMemory != 0)) {
                ++processed;
            }
            zip_discard(one);
            if (m_p.OutToMemory)
                break;
        }
        callback(UnzAction::EndOfBatch, 0, 0, std::string());
        return processed;
    }

    int error = 0;
    zip_t *archive = zip_open(m_p.ArchiveName ? m_p.ArchiveName : "", ZIP_RDONLY, &error);
    if (!archive) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        message(UnzError::Open, std::string("cannot open archive: ") + zip_error_strerror(&e));
        zip_error_fini(&e);
        return 0;
    }
    std::vector<zip_uint64_t> chosen;
    zip_uint64_t total = 0;
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
            continue;
        const std::string name = toForward(stat.name);
        if (name.empty() || name.back() == '/')
            continue;
        // Links could point anywhere; they are never followed or made.
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(archive, static_cast<zip_uint64_t>(i), 0, &system, &attributes) == 0
            && system == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK) {
            if (wanted(name)) {
                message(UnzError::Unsafe, "link entry, skipped: " + name);
                skipped(UnzError::Unsafe, name);
            }
            continue;
        }
        if (!wanted(name))
            continue;
        chosen.push_back(static_cast<zip_uint64_t>(i));
        total += stat.size;
    }
    callback(UnzAction::FileCount, 0, static_cast<std::intptr_t>(chosen.size()), std::string());
    callback(UnzAction::TotalSize, 0, static_cast<std::intptr_t>(total), std::string());
    int processed = 0;
    for (zip_uint64_t index : chosen) {
        if (m_cancelled)
            break;
        zip_stat_t stat;
        zip_stat_index(archive, index, 0, &stat);
        if (extractEntry(archive, index, stat, m_p.OutToMemory != 0))
            ++processed;
        if (m_p.OutToMemory)
            break;
    }
    callback(UnzAction::EndOfBatch, 0, 0, std::string());
    zip_discard(archive);
    return processed;
}

}

extern "C" __attribute__((visibility("default"))) int UnzLibExec(UnzipParams *params)
{
    if (!params || params->BlockCheck != 7 || params->Version < 173)
        return 0;
    Run run(*params);
    return run.execute();
}

extern "C" __attribute__((visibility("default"))) int GetUnzLibVersion()
{
    return kVersion;
}

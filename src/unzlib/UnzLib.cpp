// SPDX-License-Identifier: MIT
// The unzip library: extracts the entries a parameter block names, from the archive it names,
// into its extraction folder, telling the caller everything through the callback.
//
// Safety: nothing is ever written outside the extraction folder. Every entry name goes through
// entryname::inside (no "..", no root, no drive letter, no NUL); an entry it refuses, and a link,
// is skipped and reported. Every size read from the archive is checked in 64 bits against the
// real file before anything is allocated, and no entry writes more than its declared size. Files
// are written to a temporary name beside the target and renamed into place once complete and
// checked, so a failed or cancelled entry leaves nothing behind. The archive is opened without
// blocking and read only when it is a regular file.
#include "DirectoryLookup.h"
#include "EntryName.h"
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

using namespace unzlib;

constexpr int kVersion = 180;

bool hasWildcard(const std::string &spec)
{
    return spec.find_first_of("*?[") != std::string::npos;
}

class Run {
public:
    explicit Run(UnzipParams &p) : m_p(p) {}
    ~Run()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

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
    void refuse(int error, const std::string &text, const std::string &name)
    {
        message(error, text);
        skipped(error, name);
    }

    int execute();

private:
    bool openArchive();
    bool wanted(const std::string &name) const;
    const Spec *exactSpecFor(zip_t *archive, zip_uint64_t index) const;
    std::string outputName(const std::string &stored) const;
    bool locate(std::vector<Located> &found);
    int extractLocated(std::vector<Located> &located);
    int extractAll();
    bool prepareTarget(const std::string &name, std::string &target);
    bool chooseTarget(zip_uint64_t index, const zip_stat_t &stat, std::string &name, std::string &target);
    bool copyData(zip_file_t *file, const std::string &shown, zip_uint64_t declared, int out, const std::string &target, uLong &crc, int &failure);
    bool extractEntry(zip_t *archive, zip_uint64_t index, const zip_stat_t &stat, const Spec *exact);
    bool isLink(zip_t *archive, zip_uint64_t index) const;
    zip_file_t *openEntry(zip_t *archive, zip_uint64_t index, const std::string &name, bool encrypted);
    int memoryToMemory();

    UnzipParams &m_p;
    UnzCallbackRecord m_record{};
    bool m_cancelled = false;
    bool m_passwordsEnded = false;
    std::string m_password;
    std::vector<Spec> m_specs;
    int m_fd = -1;
    std::uint64_t m_fileSize = 0;
    std::string m_folder;
};

bool Run::openArchive()
{
    // Non-blocking: a FIFO named like an archive would wait for a writer forever.
    m_fd = ::open(m_p.ArchiveName ? m_p.ArchiveName : "", O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0) {
        message(UnzError::Open, std::string("cannot open archive: ") + std::strerror(errno));
        return false;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        message(UnzError::Open, "cannot open archive: not a regular file");
        return false;
    }
    m_fileSize = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool Run::wanted(const std::string &name) const
{
    // No spec asks for every entry, as the usual unzip does.
    if (m_specs.empty())
        return true;
    for (const Spec &spec : m_specs)
        if (!spec.exact
            && (spec.text == "*.*" || fnmatch(spec.text.c_str(), name.c_str(), FNM_CASEFOLD | FNM_PATHNAME) == 0
                || fnmatch(spec.text.c_str(), name.c_str(), FNM_CASEFOLD) == 0))
            return true;
    return false;
}

const Spec *Run::exactSpecFor(zip_t *archive, zip_uint64_t index) const
{
    for (const Spec &spec : m_specs) {
        if (!spec.exact || spec.index != index)
            continue;
        const char *raw = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
        if (raw && std::string_view(raw) == spec.stored)
            return &spec;
    }
    return nullptr;
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

bool Run::isLink(zip_t *archive, zip_uint64_t index) const
{
    // Links could point anywhere; they are never followed or made.
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    return zip_file_get_external_attributes(archive, index, 0, &system, &attributes) == 0 && system == ZIP_OPSYS_UNIX
        && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

// Resolves the name inside the extraction folder and makes the folders it keeps; false (told)
// when the name is refused or something that is no folder stands in the way.
bool Run::prepareTarget(const std::string &name, std::string &target)
{
    const std::optional<std::string> relative = entryname::relativePath(name, m_p.DirNamesFlag != 0);
    if (!relative) {
        refuse(UnzError::Unsafe, "unsafe name, skipped: " + name, name);
        return false;
    }
    target = m_folder + *relative;
    for (size_t at = relative->find('/'); at != std::string::npos; at = relative->find('/', at + 1)) {
        const std::string folder = m_folder + relative->substr(0, at);
        struct stat existing {};
        if (::lstat(folder.c_str(), &existing) == 0 ? !S_ISDIR(existing.st_mode) : ::mkdir(folder.c_str(), 0755) != 0) {
            refuse(UnzError::Write, "cannot make the folder " + folder + " for " + name, name);
            return false;
        }
    }
    return true;
}

// Where the entry goes, and whether it may go there (the caller's options and answers): false,
// told where there is something to tell, when it is skipped.
bool Run::chooseTarget(zip_uint64_t index, const zip_stat_t &stat, std::string &name, std::string &target)
{
    if (callback(UnzAction::NewName, 0, 0, name))
        return false;
    if (answer().ErrorCode == 1)
        name = toForward(answer().FileNameOrMsg);
    if (!prepareTarget(name, target))
        return false;
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
        refuse(UnzError::Unsafe, "a folder or link stands where the file would go, skipped: " + name, name);
        return false;
    }
    return true;
}

bool Run::extractEntry(zip_t *archive, zip_uint64_t index, const zip_stat_t &stat, const Spec *exact)
{
    const std::string stored = toForward(stat.name);
    const bool toMemory = m_p.OutToMemory != 0;
    const bool encrypted = (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
    // An entry chosen exactly is written under the name its caller listed it by.
    const std::string shown = exact ? toForward(exact->text) : stored;
    std::string name = exact ? shown : outputName(stored);
    const zip_uint64_t declared = (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
    std::string target;
    if (!toMemory && !m_p.TestOnly && !chooseTarget(index, stat, name, target))
        return false;

    if (callback(UnzAction::NewFile, 0, static_cast<std::intptr_t>(std::min<zip_uint64_t>(declared, INTPTR_MAX)), shown))
        return false;
    zip_file_t *file = openEntry(archive, index, shown, encrypted);
    if (!file) {
        if (!m_cancelled)
            refuse(encrypted ? UnzError::Password : UnzError::Read, (encrypted ? "no valid password for " : "cannot open entry ") + shown, shown);
        return false;
    }

    int out = -1;
    std::string temporary;
    if (!toMemory && !m_p.TestOnly) {
        temporary = target.substr(0, target.rfind('/') + 1) + ".unzlib-XXXXXX";
        out = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (out < 0) {
            zip_fclose(file);
            refuse(UnzError::Write, "cannot write " + target + ": " + std::strerror(errno), shown);
            return false;
        }
    }

    uLong crc = crc32(0, nullptr, 0);
    int failure = 0;
    bool ok = copyData(file, shown, declared, out, target, crc, failure);
    zip_fclose(file);

    auto fail = [&](int code, const std::string &text) {
        ok = false;
        failure = code;
        message(failure, text);
    };
    if (ok && (stat.valid & ZIP_STAT_CRC) && crc != stat.crc) {
        message(UnzError::Crc, "CRC error in " + shown);
        callback(UnzAction::CrcError, static_cast<int>(stat.crc), static_cast<std::intptr_t>(crc), shown);
        // 1 keeps the data; anything else drops it.
        if (answer().ErrorCode != 1) {
            ok = false;
            failure = UnzError::Crc;
        }
    }
    if (out >= 0) {
        if (ok && ::fsync(out) != 0)
            fail(UnzError::Write, "cannot write " + target + ": " + std::strerror(errno));
        ::close(out);
        if (ok) {
            const timespec times[2] = {{stat.mtime, 0}, {stat.mtime, 0}};
            ::utimensat(AT_FDCWD, temporary.c_str(), times, 0);
            ::chmod(temporary.c_str(), 0644);
            if (::rename(temporary.c_str(), target.c_str()) != 0)
                fail(UnzError::Write, "cannot write " + target + ": " + std::strerror(errno));
        }
        if (!ok)
            ::unlink(temporary.c_str());
    }
    if (!ok && failure && !m_cancelled)
        skipped(failure, shown);
    return ok && !m_cancelled;
}

// Copies the entry's data to out, or to the caller's memory, keeping its checksum: never more
// than its declared size. False (told) when the data cannot be read or written.
bool Run::copyData(zip_file_t *file, const std::string &shown, zip_uint64_t declared, int out, const std::string &target, uLong &crc, int &failure)
{
    const bool toMemory = m_p.OutToMemory != 0;
    std::vector<char> buffer(1 << 16);
    zip_uint64_t done = 0;
    bool ok = true;
    auto fail = [&](int code, const std::string &text) {
        ok = false;
        failure = code;
        message(failure, text);
    };
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer.data(), buffer.size());
        if (n < 0) {
            const int code = zip_error_code_zip(zip_file_get_error(file));
            // A checksum mismatch is the caller's to decide; the data itself was read.
            if (code == ZIP_ER_CRC)
                break;
            fail(code == ZIP_ER_WRONGPASSWD ? UnzError::Password : UnzError::Data,
                 std::string("cannot read ") + shown + ": " + zip_file_strerror(file));
            break;
        }
        if (n == 0)
            break;
        // The declared size is all an entry may write: more is damage or a bomb.
        if (static_cast<zip_uint64_t>(n) > declared - done) {
            fail(UnzError::Data, shown + " holds more than its declared size of " + std::to_string(declared) + " bytes");
            break;
        }
        crc = crc32(crc, reinterpret_cast<const Bytef *>(buffer.data()), static_cast<uInt>(n));
        if (toMemory) {
            if (done + static_cast<zip_uint64_t>(n) > m_p.OutSize) {
                fail(UnzError::Write, "the memory given is too small for " + shown);
                break;
            }
            std::memcpy(static_cast<char *>(m_p.OutBuffer) + done, buffer.data(), static_cast<size_t>(n));
        } else if (out >= 0) {
            for (zip_int64_t w = 0; w < n;) {
                const ssize_t written = ::write(out, buffer.data() + w, static_cast<size_t>(n - w));
                if (written < 0) {
                    fail(UnzError::Write, "cannot write " + target + ": " + std::strerror(errno));
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
    return ok;
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

// Named entries found by reading the central directory directly (DirectoryLookup.h); what it
// found damaged or missing is told once it is known that this way serves.
bool Run::locate(std::vector<Located> &found)
{
    std::vector<Refusal> refusals;
    if (!locateEntries(m_fd, m_fileSize, m_specs, found, refusals))
        return false;
    for (const Refusal &refusal : refusals)
        refuse(refusal.error, refusal.text, refusal.name);
    return true;
}

int Run::extractLocated(std::vector<Located> &located)
{
    std::uint64_t total = 0;
    for (const Located &entry : located)
        total += entry.archive.size();
    callback(UnzAction::FileCount, 0, static_cast<std::intptr_t>(located.size()), std::string());
    callback(UnzAction::TotalSize, 0, static_cast<std::intptr_t>(total), std::string());
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
            refuse(UnzError::Open, "cannot open entry " + entry.name, entry.name);
            continue;
        }
        zip_stat_t stat;
        if (isLink(one, 0))
            refuse(UnzError::Unsafe, "link entry, skipped: " + entry.name, entry.name);
        else if (zip_stat_index(one, 0, 0, &stat) == 0 && extractEntry(one, 0, stat, entry.spec->exact ? entry.spec : nullptr))
            ++processed;
        zip_discard(one);
        if (m_p.OutToMemory)
            break;
    }
    callback(UnzAction::EndOfBatch, 0, 0, std::string());
    return processed;
}

int Run::extractAll()
{
    // libzip gets a descriptor of its own: it closes it with the archive.
    const int own = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    int error = 0;
    zip_t *archive = own >= 0 ? zip_fdopen(own, 0, &error) : nullptr;
    if (!archive) {
        if (own >= 0)
            ::close(own);
        zip_error_t e;
        zip_error_init_with_code(&e, own >= 0 ? error : ZIP_ER_OPEN);
        message(UnzError::Open, std::string("cannot open archive: ") + zip_error_strerror(&e));
        zip_error_fini(&e);
        return 0;
    }
    std::vector<std::pair<zip_uint64_t, const Spec *>> chosen;
    zip_uint64_t total = 0;
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        const zip_uint64_t index = static_cast<zip_uint64_t>(i);
        zip_stat_t stat;
        if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
            continue;
        const std::string name = toForward(stat.name);
        const Spec *exact = exactSpecFor(archive, index);
        if (!exact && (name.empty() || name.back() == '/' || !wanted(name)))
            continue;
        if (isLink(archive, index)) {
            refuse(UnzError::Unsafe, "link entry, skipped: " + name, name);
            continue;
        }
        chosen.emplace_back(index, exact);
        total += stat.size;
    }
    for (const Spec &spec : m_specs)
        if (spec.exact && std::none_of(chosen.begin(), chosen.end(), [&](const auto &c) { return c.second == &spec; }))
            refuse(UnzError::Missing, "the entry " + spec.text + " is not in the archive", spec.text);
    callback(UnzAction::FileCount, 0, static_cast<std::intptr_t>(chosen.size()), std::string());
    callback(UnzAction::TotalSize, 0, static_cast<std::intptr_t>(std::min<zip_uint64_t>(total, INTPTR_MAX)), std::string());
    int processed = 0;
    for (const auto &[index, exact] : chosen) {
        if (m_cancelled)
            break;
        zip_stat_t stat;
        zip_stat_index(archive, index, 0, &stat);
        if (extractEntry(archive, index, stat, exact))
            ++processed;
        if (m_p.OutToMemory)
            break;
    }
    callback(UnzAction::EndOfBatch, 0, 0, std::string());
    zip_discard(archive);
    return processed;
}

int Run::execute()
{
    if (m_p.PasswordText)
        m_password.assign(m_p.PasswordText, strnlen(m_p.PasswordText, 81));
    for (int i = 0; i < m_p.SpecCount && m_p.Specs; ++i) {
        const UnzSpecRecord &record = m_p.Specs[i];
        if (!record.FileSpec)
            continue;
        Spec spec;
        spec.text = toForward(record.FileSpec);
        spec.exact = record.Exact != 0 && record.StoredName;
        spec.index = record.EntryIndex;
        if (spec.exact)
            spec.stored.assign(record.StoredName, record.StoredNameLength);
        m_specs.push_back(std::move(spec));
    }
    if (m_p.InFromMemory)
        return m_p.OutToMemory ? memoryToMemory() : 0;
    if (!m_p.OutToMemory && !m_p.TestOnly) {
        // The folder is taken whole, however long; it must be there already.
        m_folder = m_p.ExtractDir && *m_p.ExtractDir ? m_p.ExtractDir : ".";
        struct stat folder {};
        if (::stat(m_folder.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) {
            message(UnzError::Write, "the extraction folder " + m_folder + " is missing");
            return 0;
        }
        if (m_folder.back() != '/')
            m_folder += '/';
    }
    if (!openArchive())
        return 0;
    const bool named = !m_specs.empty() && std::none_of(m_specs.begin(), m_specs.end(), [](const Spec &spec) {
        return !spec.exact && hasWildcard(spec.text);
    });
    std::vector<Located> located;
    if (named && locate(located))
        return extractLocated(located);
    return extractAll();
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

// SPDX-License-Identifier: MIT
// Fuzz entry: the zip directory reader on any bytes, through an in-memory file, as the component
// reads a named archive: the volume with the end record found, then the directory read. The
// reader links no widgets and shows nothing, so no application object is made.
#include "ZipDirectoryReader.h"
#include "ZipEndRecord.h"
#include "ZipVolumes.h"

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// Answers as an unattended component without event handlers.
class SilentHost final : public ZipReadHost {
public:
    void showMessage(int, const QString &) override {}
    void showError(const EZipKit &) override {}
    void keepErrorId(int) override {}
    QString messageText(int, const QString &fallback) override { return fallback; }
    bool nextDiskEvent(int, int, const QString &, bool &) override { return false; }
    bool diskPromptRefused(const QString &, bool) override { return true; }
    void entryListed(int, const ZipDirEntry &entry) override { (void)entry.FileName.size(); }
};

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const int fd = memfd_create("fuzz.zip", 0);
    if (fd < 0)
        return 0;
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;
    const QString name = QStringLiteral("/proc/self/fd/%1").arg(fd);
    ZipReadOptions options;
    options.Unattended = true;
    ZipDirectoryState state;
    SilentHost host;
    ZipVolumes volumes(state, options, host);
    ZipEndOfCentral eoc;
    if (volumes.GetLastVolume(name, eoc, true) == 0) {
        ZipDirectoryReader reader(state, options, volumes, host);
        (void)reader.read(eoc);
    }
    (void)queryZipFile(name);
    return 0;
}

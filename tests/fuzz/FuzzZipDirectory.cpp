// SPDX-License-Identifier: MIT
// Fuzz entry: the zip component's directory reader on any bytes, through an in-memory file.
#include "Prompter.h"
#include "TZipKit.h"

#include <QApplication>

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

namespace {

class SilentPrompter final : public Prompter {
public:
    MessageAnswer showMessage(const MessageRequest &) override { return MessageAnswer::Ok; }
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override { return std::nullopt; }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
    std::optional<QString> openFile(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> saveFile(const QString &, const QString &) override { return std::nullopt; }
    int runDialog(QDialog &) override { return ModalResult::Cancel; }
};

}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static SilentPrompter prompter;
    static TZipKit kit(prompter);
    static const int fd = memfd_create("fuzz.zip", 0);
    if (fd < 0)
        return 0;
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;
    kit.Unattended = true;
    kit.SetFileName(QStringLiteral("/proc/self/fd/%1").arg(fd));
    for (const ZipDirEntry &entry : kit.DirEntries)
        (void)entry.FileName.size();
    (void)kit.QueryZip(QStringLiteral("/proc/self/fd/%1").arg(fd));
    return 0;
}

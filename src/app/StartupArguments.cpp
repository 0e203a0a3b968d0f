// SPDX-License-Identifier: MIT
#include "StartupArguments.h"

#include "FontCatalogue.h"
#include "FontFileTypes.h"
#include "NativeFile.h"
#include "Paths.h"

#include <sys/stat.h>

namespace {

QString absoluteOf(const QString &path, const QString &currentFolder)
{
    // Made absolute by hand: Qt's file classes would spoil a name that is not UTF-8.
    return path.startsWith(QLatin1Char('/')) ? path : withTrailingSlash(currentFolder) + path;
}

}

QString otherFilesMessage(const QString &shown, const QStringList &others)
{
    return QStringLiteral("Glyvanta previews one font at a time: %1 is shown. These files were not opened:\n%2")
        .arg(shown, others.join(QLatin1Char('\n')));
}

StartupPlan planStartup(const QStringList &arguments, const QString &currentFolder)
{
    StartupPlan plan;
    if (arguments.isEmpty() || arguments.first().isEmpty())
        return plan;
    const QString path = absoluteOf(arguments.first(), currentFolder);
    struct stat status;
    if (::stat(nativePath(path).constData(), &status) != 0) {
        plan.kind = StartupPlan::Kind::Refused;
        plan.message = QStringLiteral("Cannot open %1: there is no such file or folder.").arg(path);
        return plan;
    }
    if (S_ISDIR(status.st_mode)) {
        plan.kind = StartupPlan::Kind::Folder;
        plan.path = withTrailingSlash(path);
        return plan;
    }
    // A ZIP archive opens in the archive view, as one dropped on the window does (the desktop
    // offers the program for archives too).
    if (S_ISREG(status.st_mode) && fileExtension(path).toLower() == QLatin1String(".zip")) {
        plan.kind = StartupPlan::Kind::Archive;
        plan.path = path;
        return plan;
    }
    FileRefusal why = FileRefusal::None;
    const std::optional<QByteArray> content = readRegularFile(path, FontCatalogue::kFontFileLimit, &why);
    if (!content || !FontCatalogue::isFontData(*content)) {
        plan.kind = StartupPlan::Kind::Refused;
        plan.message = why == FileRefusal::NotRegular ? QStringLiteral("Cannot open %1: it is not a regular file.").arg(path)
                     : why == FileRefusal::TooLarge
                         ? QStringLiteral("Cannot open %1: the file is larger than %2 MB.").arg(path).arg(FontCatalogue::kFontFileLimit / (1024 * 1024))
                     : content ? QStringLiteral("Cannot open %1: it is not a font file.").arg(path)
                               : QStringLiteral("Cannot open %1: the file cannot be read.").arg(path);
        return plan;
    }
    plan.kind = StartupPlan::Kind::FontFile;
    plan.path = path;
    plan.install = arguments.value(1) == QLatin1String("install");
    // A second word that names no file is the option word, which only "install" means something
    // by; further files that exist are named.
    for (qsizetype i = plan.install ? 2 : 1; i < arguments.size(); ++i) {
        const QString other = absoluteOf(arguments[i], currentFolder);
        if (::stat(nativePath(other).constData(), &status) == 0)
            plan.others << other;
    }
    if (!plan.others.isEmpty())
        plan.message = otherFilesMessage(path, plan.others);
    return plan;
}

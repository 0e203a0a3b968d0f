// SPDX-License-Identifier: MIT
#include "FontFamilies.h"

#include "NativeFile.h"

#include <QSet>

#include <cstring>
#include <utility>

#include <fontconfig/fontconfig.h>

namespace {

FcConfig *g_system = nullptr;

FcConfig *systemConfig()
{
    if (!g_system)
        g_system = FcInitLoadConfigAndFonts();
    return g_system;
}

QString stringOf(FcPattern *pattern, const char *object)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) == FcResultMatch && value)
        return QString::fromUtf8(reinterpret_cast<const char *>(value));
    return {};
}

// The pattern fontconfig asks its fonts for when drawing the name, with the configuration's
// substitutions done; the caller destroys it.
FcPattern *requestFor(FcConfig *config, const QString &name)
{
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.toUtf8().constData()));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

// The installed faces of the families the request names (after the configuration's
// substitutions); nullptr when none of them is installed.
FcFontSet *candidatesFor(FcPattern *request, FcFontSet *installed)
{
    QSet<QByteArray> families;
    FcChar8 *family = nullptr;
    for (int i = 0; FcPatternGetString(request, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        families.insert(QByteArray(reinterpret_cast<const char *>(family)));
    FcFontSet *candidates = nullptr;
    for (int i = 0; i < installed->nfont; ++i) {
        FcPattern *font = installed->fonts[i];
        bool named = false;
        for (int v = 0; !named && FcPatternGetString(font, FC_FAMILY, v, &family) == FcResultMatch; ++v)
            named = families.contains(QByteArray::fromRawData(reinterpret_cast<const char *>(family), qsizetype(std::strlen(reinterpret_cast<const char *>(family)))));
        if (!named)
            continue;
        if (!candidates && !(candidates = FcFontSetCreate()))
            return nullptr;
        FcPatternReference(font);
        if (!FcFontSetAdd(candidates, font))
            FcPatternDestroy(font);
    }
    return candidates;
}

}

FontconfigFace fontconfigFaceFor(const QString &name)
{
    FontconfigFace face;
    FcConfig *config = systemConfig();
    if (!config)
        return face;
    FcPattern *pattern = requestFor(config, name);
    if (!pattern)
        return face;
    FcResult result = FcResultNoMatch;
    if (FcPattern *match = FcFontMatch(config, pattern, &result)) {
        face.family = stringOf(match, FC_FAMILY);
        FcChar8 *file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
            face.file = pathFromNative(reinterpret_cast<const char *>(file));
        FcPatternGetInteger(match, FC_INDEX, 0, &face.index);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return face;
}

QString fontconfigFamilyFor(const QString &name)
{
    return fontconfigFaceFor(name).family;
}

void forgetSystemFontConfig()
{
    if (g_system)
        FcConfigDestroy(std::exchange(g_system, nullptr));
}

void rescanFontFolder(const QString &folder)
{
    // The configuration's rules and cache folders are all the rescan needs: its fonts, which
    // would take a read of the whole collection's caches, are not built.
    if (FcConfig *config = FcConfigCreate()) {
        if (FcConfigParseAndLoad(config, nullptr, FcFalse))
            if (FcCache *cache = FcDirCacheRescan(reinterpret_cast<const FcChar8 *>(nativePath(folder).constData()), config))
                FcDirCacheUnload(cache);
        FcConfigDestroy(config);
    }
    forgetSystemFontConfig();
}

namespace {

// The system configuration's files that hold rules only (hinting, antialiasing, substitutions),
// parsed into the toolkit's configuration: its texts and faces are then drawn as the user set them.
// A file that names font folders (or includes others that may) is left out: its folders would be
// read, every font in them, when the configuration is built.
void takeRules(FcConfig *system, FcConfig *confined)
{
    FcStrList *files = FcConfigGetConfigFiles(system);
    if (!files)
        return;
    while (FcChar8 *name = FcStrListNext(files)) {
        const QString path = pathFromNative(reinterpret_cast<const char *>(name));
        const std::optional<QByteArray> content = readRegularFile(path, 1024 * 1024);
        if (!content)
            continue;
        if (content->contains("<dir") || content->contains("<include") || content->contains("<cachedir"))
            continue;
        FcConfigParseAndLoad(confined, name, FcFalse);
    }
    FcStrListDone(files);
}

// The faces given to the toolkit's configuration, each once.
class KeptFaces {
public:
    explicit KeptFaces(FcFontSet *set)
        : m_set(set)
    {
    }
    bool isEmpty() const { return m_keys.isEmpty(); }
    void keep(FcPattern *font)
    {
        FcChar8 *file = nullptr;
        int index = 0;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file)
            return;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        const QByteArray key = QByteArray(reinterpret_cast<const char *>(file)) + '\n' + QByteArray::number(index);
        if (m_keys.contains(key))
            return;
        if (FcPattern *copy = FcPatternDuplicate(font)) {
            if (FcFontSetAdd(m_set, copy))
                m_keys.insert(key);
            else
                FcPatternDestroy(copy);
        }
    }
    // Every installed face of the family, so that the window's bold and italic texts get their
    // real faces, not slanted or thickened ones.
    void keepFamily(const FcChar8 *family, FcFontSet *installed)
    {
        for (int i = 0; family && i < installed->nfont; ++i) {
            FcChar8 *other = nullptr;
            if (FcPatternGetString(installed->fonts[i], FC_FAMILY, 0, &other) == FcResultMatch && other
                && std::strcmp(reinterpret_cast<const char *>(other), reinterpret_cast<const char *>(family)) == 0)
                keep(installed->fonts[i]);
        }
    }

private:
    FcFontSet *m_set;
    QSet<QByteArray> m_keys;
};

}

bool confineToolkitFonts(const QStringList &names)
{
    FcConfig *system = systemConfig();
    FcFontSet *installed = system ? FcConfigGetFonts(system, FcSetSystem) : nullptr;
    if (!installed)
        return false;
    FcConfig *confined = FcConfigCreate();
    if (!confined)
        return false;
    takeRules(system, confined);
    FcFontSet *set = FcConfigBuildFonts(confined) ? FcConfigGetFonts(confined, FcSetSystem) : nullptr;
    if (!set) {
        FcConfigDestroy(confined);
        return false;
    }
    KeptFaces kept(set);
    for (const QString &name : names) {
        FcPattern *pattern = name.isEmpty() ? nullptr : requestFor(system, name);
        if (!pattern)
            continue;
        FcResult result = FcResultNoMatch;
        // Sorted among the families the configuration names for it (the generic names list the
        // fallbacks for every script), not among the whole collection: a sort of all is a scan
        // that grows with it. Trimmed: only the faces that add characters the ones before lack.
        FcFontSet *candidates = candidatesFor(pattern, installed);
        FcFontSet *sets[] = {candidates ? candidates : installed};
        FcFontSet *sorted = FcFontSetSort(system, sets, 1, pattern, FcTrue, nullptr, &result);
        if (candidates)
            FcFontSetDestroy(candidates);
        FcPatternDestroy(pattern);
        if (!sorted)
            continue;
        FcChar8 *family = nullptr;
        if (sorted->nfont > 0 && FcPatternGetString(sorted->fonts[0], FC_FAMILY, 0, &family) == FcResultMatch)
            kept.keepFamily(family, installed);
        for (int i = 0; i < sorted->nfont; ++i)
            kept.keep(sorted->fonts[i]);
        FcFontSetDestroy(sorted);
    }
    if (kept.isEmpty()) {
        FcConfigDestroy(confined);
        return false;
    }
    // Current from here on; fontconfig holds its own reference to it.
    const bool current = FcConfigSetCurrent(confined);
    FcConfigDestroy(confined);
    return current;
}

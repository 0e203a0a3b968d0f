// SPDX-License-Identifier: MIT
#pragma once

#include "NativeFile.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <vector>

// What FreeType tells about one face of a font file, in the terms of a Windows LOGFONT and
// TEXTMETRIC. Cached per file under the cache folder, keyed by path, size and modification time.
struct FontFacts {
    bool valid = false;          // FreeType could open the face
    bool raster = false;         // a Windows FNT face (.fon)
    bool italic = false;
    QString family;              // the face name Windows uses (name ID 1, or the FNT face name)
    QString style;               // name ID 2, or FreeType's style name
    QString fullName;            // name ID 4, or family and style
    // Name IDs 16 and 17, when the face has them: fontconfig, and so the toolkit, list the face
    // under this family and style ("DejaVu Sans" ExtraLight for the family "DejaVu Sans Light").
    QString typographicFamily;
    QString typographicStyle;
    std::vector<int> charsets;   // Windows charset codes, in code-page bit order
    int weight = 400;
    int pitchAndFamily = 0;      // LOGFONT lfPitchAndFamily
    int lastChar = 255;          // the last single-byte code (capped at 255), for the byte map
    int lastCode = 0;            // the last character of the face's own character map, uncapped
    int width = 0;               // at 16 pixels per em (raster: the header's average width)
    int height = 0;              // at 16 pixels per em (raster: the pixel height)
};

// One face of a font file that the system knows (from fontconfig) or that the program has
// added for itself.
struct CatalogueFont {
    QString file;
    int index = 0;
    QString format;      // fontconfig's format: "TrueType", "CFF", "Windows FNT", "PCF", ...
    bool temporary = false;
    FontFacts facts;
};

// One enumerated face, as EnumFontFamiliesEx reports it: once per family and charset.
struct EnumeratedFace {
    QString faceName;
    QString style;
    QString fullName;
    QString file;
    int charset = 0;
    int weight = 400;
    int pitchAndFamily = 0;
    int lastChar = 255;   // capped at 255
    int lastCode = 0;     // the face's real last character
    int width = 0;
    int height = 0;
    bool raster = false;
    QString format;       // fontconfig's format of the face's file
};

enum class EnumCharset { Default, Ansi };

// The font a face name stands for: a family, and a style when the name is a full name.
struct FaceStyle {
    QString family;
    QString style;
};

class ToolkitFonts;
struct FactsCacheKey;
struct CachedFacts;
using FactsCache = QHash<FactsCacheKey, CachedFacts>;

// The installed fonts as fontconfig knows them, plus the fonts this process has added for
// itself (temporary fonts). Nothing here uses the GUI: the toolkit, when there is one, learns
// of temporary fonts through ToolkitFonts.
class FontCatalogue {
public:
    explicit FontCatalogue(QString cacheFolder, ToolkitFonts *toolkit = nullptr);
    ~FontCatalogue();
    FontCatalogue(const FontCatalogue &) = delete;
    FontCatalogue &operator=(const FontCatalogue &) = delete;

    const QString &cacheFolder() const { return m_cacheFolder; }

    // Drops what fontconfig told and asks it again (after fonts were installed or removed).
    void rescan();
    // As rescan(), after the files of a folder changed: fontconfig's cache of that folder is
    // renewed too, so that every other program sees the change.
    void rescan(const QString &changedFolder);
    // Installed faces, in fontconfig's order, then the temporary ones in the order added.
    std::vector<CatalogueFont> fonts();

    // DEFAULT_CHARSET: every family once for each of its charsets; ANSI_CHARSET: every family
    // that has the ANSI charset, once. Families appear in the order of their first face.
    std::vector<EnumeratedFace> enumerate(EnumCharset which);
    // The same over the given faces only (the installed list leaves temporary fonts out).
    static std::vector<EnumeratedFace> enumerateFonts(const std::vector<const CatalogueFont *> &fonts, EnumCharset which);
    // The installed faces only, in fontconfig's order (no temporary fonts).
    const std::vector<CatalogueFont> &systemFonts();
    // The same, moved out of a catalogue that is about to be let go.
    std::vector<CatalogueFont> takeSystemFonts();
    // Takes the installed faces that another catalogue over the same cache has read (on a worker
    // thread), so that they are not read again here.
    void adoptSystemFonts(std::vector<CatalogueFont> fonts);
    // The installed faces are being read on a worker (for the installed list): until they are
    // adopted, a need for them here waits for that read instead of doing it a second time on this
    // thread. A read that ends without them (cancelled) leaves this catalogue to read them itself.
    void expectSystemFonts(std::shared_future<std::vector<CatalogueFont>> fonts);
    // Reports how many faces have their facts (from any thread), and stops early when asked.
    // Both must outlive every call that reads the system fonts.
    void setProgress(std::function<void(std::size_t done, std::size_t total)> progress, const std::atomic_bool *cancel);
    // Whether this file, or a file of the same content, is among the installed faces.
    bool isInstalledFile(const QString &path);

    // No font file larger than this is read (the largest real ones are a few tens of MB).
    static constexpr qint64 kFontFileLimit = 256 * 1024 * 1024;
    // A facts cache larger than this is not read (about a hundred bytes per face).
    static constexpr qint64 kCacheLimit = 64 * 1024 * 1024;
    // The facts cache's file name in the cache folder.
    static inline const QString kCacheFileName = QStringLiteral("font-facts-v3.bin");
    // Faces cost a parse each (and the toolkit's query of each is dearer still, tens of
    // microseconds), so a file gets no more faces read than these bytes per face pay for, beyond
    // a few that any file may have. Real collections hold far more per face; real raster files
    // have a handful of sizes.
    static constexpr qint64 kBytesPerFace = 32 * 1024;
    static constexpr int kFacesAnyFileMayHave = 32;

    // Process-private fonts (AddFontResource / RemoveFontResource). addTemporary returns the
    // number of faces added, 0 when the file is not a font that can be used; why tells when the
    // file itself was refused (missing, not a regular file, too large, unreadable). The file is
    // read once, without blocking, and the toolkit gets its bytes.
    int addTemporary(const QString &path, FileRefusal *why = nullptr);
    // The same with the file's content already read (a web font already unpacked), so that it is
    // not read and decoded twice.
    int addTemporary(const QString &path, QByteArray unpackedContent);
    bool removeTemporary(const QString &path);
    bool isTemporary(const QString &path) const;
    // The facts of the first face of a temporary font (index -1), or of the face of that index;
    // nullptr when the path is not added or has no such face.
    const FontFacts *temporaryFacts(const QString &path, int index = -1) const;
    // The font that draws a face of a temporary font (index -1: its first face): the family of
    // its own the toolkit was given for it, so that no installed font of the same name, nor a
    // stand-in, is drawn instead. An empty family when the path is not added or has no such face.
    FaceStyle temporaryStyle(const QString &path, int index = -1) const;

    // The family and style fontconfig lists the face a name stands for under: a family, or a full
    // name (family and style), or the family fontconfig puts in place of a name no face bears.
    FaceStyle faceStyle(const QString &faceName);
    // The font the toolkit draws a face name with. Without a toolkit, faceStyle. With one, the
    // faces the name stands for are given to the toolkit under a family of their own (all the faces
    // of a family, so that its bold and italic are its own), as a previewed file is: the toolkit's
    // own font list holds only the window's fonts (see confineToolkitFonts), so matching a family
    // costs the same whatever the size of the collection, and no other font of the name is drawn.
    FaceStyle drawnStyle(const QString &faceName);
    // A face given to the toolkit: its file, index and own style name.
    struct DrawnFace {
        QString file;
        int index = 0;
        QString style;
    };
    // The installed faces of a family (name ID 1, in any case), in fontconfig's order, by a lookup.
    std::vector<CatalogueFont> installedFamilyFaces(const QString &family);
    // Whether an installed face (not a temporary one) has this family, by a lookup.
    bool isInstalledFamily(const QString &family);

    // Facts of one face of a file, straight from FreeType (no cache). A file that is not a
    // regular file gives invalid facts.
    static FontFacts readFacts(const QString &file, int index);
    // The facts of every face of a font file's content that is worth reading (usableFaces, which
    // may cut the content's header).
    static std::vector<FontFacts> readFontData(QByteArray &content);
    // Whether FreeType takes the content for a font.
    static bool isFontData(const QByteArray &content);
    // The number of faces of the content that are read: FreeType's count, no more than the
    // content's size pays for; a collection's faces that share one table directory count once.
    // The header of a collection or a raster font file is rewritten to name just those faces;
    // a file of another kind that claims more faces than it pays for is not read (0).
    static int usableFaces(QByteArray &content);

    // Reads or fills the facts of many faces, through the cache. From this many faces to read on,
    // the reading is shared out over threads. Exposed for the benchmark.
    void fillFacts(std::vector<CatalogueFont> &fonts);
    static constexpr std::size_t kThreadedFactsThreshold = 16;

private:
    struct Temporary {
        QString path;
        int toolkitId = -1;
        int count = 0;
        std::vector<CatalogueFont> faces;
        std::vector<QString> drawnFamilies;   // the toolkit's family of each face, by face
    };

    int addTemporaryContent(const QString &path, QByteArray unpacked);
    void loadSystemFonts();
    void dropIndexes();
    void buildFaceIndex();
    FactsCache loadCache() const;

    QString m_cacheFolder;
    QString m_cacheFile;
    ToolkitFonts *m_toolkit = nullptr;
    bool m_systemLoaded = false;
    std::shared_future<std::vector<CatalogueFont>> m_pendingSystem;
    std::vector<CatalogueFont> m_system;
    std::vector<Temporary> m_temporary;
    int m_privateSerial = 0;   // numbers the families of the toolkit's copies of temporary fonts
    // Toolkit fonts given back but not yet removed from the toolkit (see removeTemporary).
    std::vector<int> m_retiredToolkitIds;
    void dropRetired();

    std::function<void(std::size_t, std::size_t)> m_progress;
    const std::atomic_bool *m_cancel = nullptr;
    // Built on first use after each reading of the installed faces: their case-folded family
    // names, and the first face of each case-folded full name.
    bool m_faceIndexBuilt = false;
    // Each family's faces are chained through m_nextInFamily, from its first face on.
    struct FamilyFaces {
        quint32 first = 0;
        quint32 representative = 0;   // the upright face nearest the regular weight
        quint32 last = 0;             // used while the index is built
    };
    static constexpr quint32 kNoFace = 0xFFFFFFFF;
    QHash<QString, FamilyFaces> m_families;
    std::vector<quint32> m_nextInFamily;
    QHash<QString, quint32> m_fullNames;   // the first face of each full name
    const CatalogueFont *temporaryFace(const QString &key, bool byFullName) const;

    // Installed faces the toolkit has been given to draw, under families of their own, the most
    // recently asked for last.
    struct Drawn {
        QString key;
        FaceStyle style;
        std::vector<int> toolkitIds;
    };
    std::vector<Drawn> m_drawn;
    // Few: the toolkit reads each font it holds again whenever a font is added or given back.
    static constexpr std::size_t kDrawnKept = 3;
    // The toolkit is given no more of a family than this, beyond its first face.
    static constexpr qint64 kDrawnFamilyBytes = 64 * 1024 * 1024;
    static constexpr int kDrawnFamilyFaces = 32;
    // The faces of a family given to the toolkit for it, its representative first.
    std::vector<DrawnFace> familyToDraw(const FamilyFaces &family) const;
    FaceStyle giveToolkit(const QString &key, const std::vector<DrawnFace> &faces, const QString &ownFamily);
    void retireDrawn();
    // Installed files by their canonical path, and by size for the content comparison.
    bool m_fileIndexBuilt = false;
    QHash<QString, bool> m_canonicalFiles;
    QHash<qint64, QStringList> m_filesBySize;
};

// Name of the font format for a Fonts-key value name: "TrueType" for TrueType outlines,
// "OpenType" for CFF outlines, "VGA res" for Windows raster files, "Type 1", "Raster" for the
// other bitmap formats, else fontconfig's format.
QString fontsKeySuffixFor(const CatalogueFont &font);

// Whether fontconfig's format is a Type 1 one. Renamed for the toolkit, a Type 1 face takes its
// style from its weight alone ("Roman" for an italic too), so it cannot share a family with the
// other styles of its design.
bool isType1Format(const QString &format);
QString fontsKeySuffixFor(const QString &format, bool raster);

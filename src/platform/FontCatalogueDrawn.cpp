// SPDX-License-Identifier: MIT
// Installed faces as the toolkit draws them: given to it under families of their own.
#include "FontCatalogue.h"

#include "FontFamilies.h"
#include "NativeFile.h"
#include "PrivateFamily.h"
#include "ToolkitFonts.h"
#include "WebFont.h"

#include <QHash>
#include <QSet>

#include <algorithm>

#include <chrono>

namespace {

FontCatalogue::DrawnFace drawnFace(const CatalogueFont &font)
{
    return {font.file, font.index, font.facts.style};
}

}

FaceStyle FontCatalogue::drawnStyle(const QString &faceName)
{
    if (!m_toolkit || faceName.isEmpty())
        return faceStyle(faceName);
    const QString key = faceName.toCaseFolded();
    for (auto it = m_drawn.begin(); it != m_drawn.end(); ++it) {
        if (it->key != key)
            continue;
        const FaceStyle style = it->style;
        std::rotate(it, it + 1, m_drawn.end());
        return style;
    }
    // While the installed faces are still being read elsewhere (the window's first moments), the
    // name is drawn with the face fontconfig gives it rather than waited for.
    if (!m_systemLoaded && m_pendingSystem.valid() && m_pendingSystem.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        const FontconfigFace face = fontconfigFaceFor(faceName);
        if (face.file.isEmpty())
            return {faceName, QString()};
        return giveToolkit(key, {{face.file, face.index, QString()}}, face.family);
    }
    if (!m_systemLoaded)
        loadSystemFonts();
    if (!m_faceIndexBuilt)
        buildFaceIndex();
    auto temporaryDrawn = [&](const CatalogueFont &face) { return temporaryStyle(face.file, face.index); };
    std::vector<DrawnFace> faces;
    QString ownFamily;   // the face's family, for a file that cannot be renamed
    if (const auto family = m_families.constFind(key); family != m_families.cend()) {
        faces = familyToDraw(*family);
        ownFamily = m_system[family->representative].facts.family;
    } else if (const CatalogueFont *c = temporaryFace(key, false)) {
        return temporaryDrawn(*c);
    } else if (const auto full = m_fullNames.constFind(key); full != m_fullNames.cend()) {
        faces.push_back(drawnFace(m_system[*full]));
        ownFamily = m_system[*full].facts.family;
    } else if (const CatalogueFont *c = temporaryFace(key, true)) {
        return temporaryDrawn(*c);
    } else {
        // A name no face bears: the face fontconfig draws it with, and the rest of its family.
        const FontconfigFace substitute = fontconfigFaceFor(faceName);
        if (substitute.file.isEmpty())
            return {faceName, QString()};
        const auto family = m_families.constFind(substitute.family.toCaseFolded());
        if (family != m_families.cend()) {
            faces = familyToDraw(*family);
            ownFamily = m_system[family->representative].facts.family;
        } else {
            faces.push_back({substitute.file, substitute.index, QString()});
            ownFamily = substitute.family;
        }
    }
    return giveToolkit(key, faces, ownFamily);
}

std::vector<FontCatalogue::DrawnFace> FontCatalogue::familyToDraw(const FamilyFaces &family) const
{
    std::vector<DrawnFace> faces;
    // A style the family has in several files (the same design as OpenType, PFB and T1) is given
    // once: the toolkit would draw just one of them anyway.
    QSet<QString> styles;
    auto add = [&](quint32 i) {
        const FontFacts &facts = m_system[i].facts;
        QString style = QString::number(facts.weight) + (facts.italic ? u'i' : u'u') + facts.style;
        // A bitmap family has a file per size.
        const QString &format = m_system[i].format;
        if (facts.raster || format == QLatin1String("PCF") || format == QLatin1String("BDF"))
            style += u'/' + QString::number(facts.height);
        if (styles.contains(style))
            return;
        styles.insert(style);
        faces.push_back(drawnFace(m_system[i]));
    };
    // The face that stands for the family first: it is given even when it alone is larger than
    // what a family may take. Then the other styles, from OpenType or TrueType files where the
    // design has them; a Type 1 face does not join them (see isType1Format).
    add(family.representative);
    for (quint32 i = family.first; i != kNoFace && faces.size() < kDrawnFamilyFaces; i = m_nextInFamily[i])
        if (!isType1Format(m_system[i].format))
            add(i);
    return faces;
}

FaceStyle FontCatalogue::giveToolkit(const QString &key, const std::vector<DrawnFace> &faces, const QString &ownFamily)
{
    dropRetired();
    const int serial = ++m_privateSerial;
    Drawn drawn;
    drawn.key = key;
    // Each file once, with the styles of all its faces the family has: a collection may hold
    // several of them (a regular and a bold face), and each must stay a style of its own.
    std::vector<std::pair<QString, QHash<int, QString>>> files;
    for (const auto &[file, index, style] : faces) {
        auto it = std::find_if(files.begin(), files.end(), [&](const auto &f) { return f.first == file; });
        if (it == files.end())
            it = files.insert(files.end(), {file, {}});
        it->second.insert(index, style);
    }
    qint64 bytes = 0;
    for (const auto &[file, styles] : files) {
        // Read as a previewed file is: a regular file only, of a size checked first.
        RegularFile source(file);
        std::optional<QByteArray> content = source.readAll(kFontFileLimit);
        if (content)
            content = unpackedFontContent(*content, kFontFileLimit);
        if (!content)
            continue;
        bytes += content->size();
        if (!drawn.toolkitIds.empty() && bytes > kDrawnFamilyBytes)
            break;
        const QByteArray renamed = withPrivateFamily(*content, serial, styles);
        // The family's faces in a collection take the shared family; a file that cannot be renamed
        // keeps its own.
        if (drawn.style.family.isEmpty())
            drawn.style.family = renamed.isEmpty() ? ownFamily
                : content->startsWith("ttcf")      ? privateSharedFamily(serial)
                                                   : privateFaceFamily(*content, serial, 0);
        const int id = m_toolkit->addFont(renamed.isEmpty() ? *content : renamed);
        if (id >= 0)
            drawn.toolkitIds.push_back(id);
    }
    if (drawn.style.family.isEmpty())
        drawn.style.family = ownFamily;
    m_drawn.push_back(std::move(drawn));
    if (m_drawn.size() > kDrawnKept) {
        // Given back when the next font is added, as a temporary font is (see removeTemporary).
        m_retiredToolkitIds.insert(m_retiredToolkitIds.end(), m_drawn.front().toolkitIds.begin(), m_drawn.front().toolkitIds.end());
        m_drawn.erase(m_drawn.begin());
    }
    return m_drawn.back().style;
}

void FontCatalogue::retireDrawn()
{
    for (const Drawn &drawn : m_drawn)
        m_retiredToolkitIds.insert(m_retiredToolkitIds.end(), drawn.toolkitIds.begin(), drawn.toolkitIds.end());
    m_drawn.clear();
}

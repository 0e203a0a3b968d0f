// SPDX-License-Identifier: MIT
// Installed faces found by name: the index of their families and full names, built once per
// reading of them, and the family and style a name stands for.
#include "FontCatalogue.h"

#include "FontFamilies.h"

namespace {

// Whether fontconfig, and so the toolkit, list the face under another family (its typographic one).
bool listedElsewhere(const FontFacts &facts)
{
    return !facts.typographicFamily.isEmpty() && facts.typographicFamily.compare(facts.family, Qt::CaseInsensitive) != 0;
}

// The family and style fontconfig lists the face under.
FaceStyle listedAs(const FontFacts &facts)
{
    if (listedElsewhere(facts))
        return {facts.typographicFamily, facts.typographicStyle.isEmpty() ? facts.style : facts.typographicStyle};
    return {facts.family, facts.style};
}

}

void FontCatalogue::buildFaceIndex()
{
    // The installed faces only, once per reading of them: adding or giving back a temporary font
    // costs what the few temporary fonts cost, whatever the size of the collection.
    m_families.clear();
    m_fullNames.clear();
    m_nextInFamily.assign(m_system.size(), kNoFace);
    std::vector<quint32> lastInFamily;
    // The upright face nearest the regular weight stands for the family; of the same design in
    // several formats, an OpenType or TrueType file (see isType1Format).
    auto rank = [](const CatalogueFont &font) {
        return (font.facts.italic ? 2000 : 0) + 2 * std::abs(font.facts.weight - 400) + (isType1Format(font.format) ? 1 : 0);
    };
    for (quint32 i = 0; i < m_system.size(); ++i) {
        const FontFacts &facts = m_system[i].facts;
        const QString key = facts.family.toCaseFolded();
        const auto family = m_families.find(key);
        if (family == m_families.end()) {
            m_families.insert(key, FamilyFaces{i, i, static_cast<quint32>(lastInFamily.size())});
            lastInFamily.push_back(i);
        } else {
            m_nextInFamily[std::exchange(lastInFamily[family->last], i)] = i;
            if (rank(m_system[i]) < rank(m_system[family->representative]))
                family->representative = i;
        }
        const QString full = facts.fullName.toCaseFolded();
        if (!m_fullNames.contains(full))
            m_fullNames.insert(full, i);
    }
    m_faceIndexBuilt = true;
}

bool FontCatalogue::isInstalledFamily(const QString &family)
{
    if (!m_systemLoaded)
        loadSystemFonts();
    if (!m_faceIndexBuilt)
        buildFaceIndex();
    return m_families.contains(family.toCaseFolded());
}

FaceStyle FontCatalogue::faceStyle(const QString &faceName)
{
    if (faceName.isEmpty())
        return {};
    if (!m_systemLoaded)
        loadSystemFonts();
    if (!m_faceIndexBuilt)
        buildFaceIndex();
    // A family before a full name, the installed faces before the temporary ones (few, added in
    // this run).
    const QString key = faceName.toCaseFolded();
    if (const auto family = m_families.constFind(key); family != m_families.cend()) {
        const FontFacts &facts = m_system[family->representative].facts;
        return listedElsewhere(facts) ? listedAs(facts) : FaceStyle{faceName, QString()};
    }
    if (temporaryFace(key, false))
        return {faceName, QString()};
    if (const auto full = m_fullNames.constFind(key); full != m_fullNames.cend())
        return listedAs(m_system[*full].facts);
    if (const CatalogueFont *c = temporaryFace(key, true))
        return {c->facts.family, c->facts.style};
    // A name no face bears ("Times New Roman" on a system without it) is drawn with the family
    // fontconfig puts in its place. Named as it is, the toolkit would try every installed family
    // as a fallback for it, a wait that grows with the square of the fonts.
    const QString substitute = fontconfigFamilyFor(faceName);
    if (!substitute.isEmpty())
        return {substitute, QString()};
    return {faceName, QString()};
}

const CatalogueFont *FontCatalogue::temporaryFace(const QString &key, bool byFullName) const
{
    for (const Temporary &t : m_temporary)
        for (const CatalogueFont &c : t.faces)
            if ((byFullName ? c.facts.fullName : c.facts.family).toCaseFolded() == key)
                return &c;
    return nullptr;
}

std::vector<CatalogueFont> FontCatalogue::installedFamilyFaces(const QString &family)
{
    std::vector<CatalogueFont> faces;
    if (!m_systemLoaded)
        loadSystemFonts();
    if (!m_faceIndexBuilt)
        buildFaceIndex();
    const auto found = m_families.constFind(family.toCaseFolded());
    if (found != m_families.cend())
        for (quint32 i = found->first; i != kNoFace; i = m_nextInFamily[i])
            faces.push_back(m_system[i]);
    return faces;
}

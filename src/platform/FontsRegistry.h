// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>
#include <vector>

class FontCatalogue;
struct CatalogueFont;

// The system's Fonts key, as a view of the fonts fontconfig knows. One value per font file:
// name = the font's full name + " (TrueType)", " (VGA res)" or " (" + format + ")"; data = the
// bare file name when the file lies directly in the user's font folder, else its full path
// (for a link placed there by an install, the path it points to). Files are reached by their
// native names, so names that are not UTF-8 work.
class FontsRegistry {
public:
    static inline const QString kKeyPath = QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");

    FontsRegistry(FontCatalogue &catalogue, QString systemFontsFolder);

    bool keyExists(const QString &path) const;

    struct Value {
        QString name;
        QString data;
        QString file;   // the file behind the value
    };
    std::vector<Value> values();
    // The values for the given installed faces (any thread: it touches no catalogue).
    static std::vector<Value> valuesOf(const std::vector<CatalogueFont> &fonts, const QString &systemFontsFolder);
    std::optional<QString> readString(const QString &name);

    // A bare file name needs the file in the fonts folder already; a full path places a link
    // to it there. Either way fontconfig rescans. False when nothing could be recorded.
    bool writeString(const QString &name, const QString &data);
    // Removes the link or file behind the value; false when there is none or it cannot go.
    bool deleteValue(const QString &name);
    // The file in the fonts folder that a value's data names: the file of a bare name, or the
    // link placed there for a full path (nothing when no such link points to that path).
    std::optional<QString> fileNamedBy(const QString &data) const;

    const QString &systemFontsFolder() const { return m_folder; }

private:
    bool inFontsFolder(const QString &file) const;
    static bool inFolder(const QString &file, const QString &folder);

    FontCatalogue &m_catalogue;
    QString m_folder;
};

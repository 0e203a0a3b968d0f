// SPDX-License-Identifier: MIT
#pragma once

#include "OptionsBlock.h"
#include "RegistryStore.h"

#include <QColor>

class TFormPreview;

// The settings kept in the per-user store under "SOFTWARE\Glyvanta v2_2": "Preview Text",
// "Options" and "Last Path". The options live in the controls that edit them; loading writes
// into those controls, saving reads from them, applying copies them onto the views.
class Settings {
public:
    static inline const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Glyvanta v2_2");

    explicit Settings(TFormPreview &form);

    void LoadSettings(bool includeWindowSize);
    void SaveSettings(bool includeLastPath);
    void ApplyOptions();
    // Writes "Last Path" unconditionally, then the settings.
    void closeSequence();

    // The block as the controls hold it now (the height by the height rule).
    OptionsBlock collect() const;

private:
    TFormPreview &m_form;
};

class Prompter;
class RegistryStore;

// Tells the user when the settings file could not be read at start-up, and where it was kept.
// A store left read-only is not reported again by the saves that then fail.
void reportStoreLoad(RegistryStore::LoadResult result, RegistryStore &store, Prompter &prompter);

std::int32_t colorRef(const QColor &color);
QColor fromColorRef(std::int32_t value);

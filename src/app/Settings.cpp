// SPDX-License-Identifier: MIT
#include "Settings.h"

#include "CharacterMap.h"
#include "FolderBrowser.h"
#include "NativePaths.h"
#include "Prompter.h"
#include "RegistryStore.h"
#include "TFormConfig.h"
#include "TFormPreview.h"
#include "TFormTip.h"
#include "TextSample.h"
#include "UnicodeMap.h"
#include "ViewColors.h"
#include "WindowLayout.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

std::int32_t colorRef(const QColor &color)
{
    return color.red() | color.green() << 8 | color.blue() << 16;
}

QColor fromColorRef(std::int32_t value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

void reportStoreLoad(RegistryStore::LoadResult result, RegistryStore &store, Prompter &prompter)
{
    if (result == RegistryStore::LoadResult::SetAside) {
        prompter.message(QStringLiteral("The settings file %1 could not be read (%2). It has been kept as %3, and the program starts "
                                        "with its default settings.")
                             .arg(store.filePath(), store.loadError(), store.setAsidePath()),
                         MessageIcon::Warning);
    } else if (result == RegistryStore::LoadResult::Unreadable) {
        prompter.message(QStringLiteral("The settings file %1 could not be read (%2). It is left as it is, and no settings will be "
                                        "saved in this run.")
                             .arg(store.filePath(), store.loadError()),
                         MessageIcon::Warning);
        store.markWriteFailureReported();
    }
}

Settings::Settings(TFormPreview &form)
    : m_form(form)
{
}

OptionsBlock Settings::collect() const
{
    const TFormPreviewUi &c = m_form.ui();
    const ViewColors &s = m_form.colors();
    const TFormConfig &config = *m_form.FormConfig;
    OptionsBlock block;
    block.wrapText = config.WrapText->isChecked();
    block.showCharPreview = config.ShowCharPreview->isChecked();
    block.showStartupTips = m_form.FormTip->ShowStartupTips->isChecked();
    block.textColor = colorRef(s.TextColor);
    block.backgroundColor = colorRef(s.BackgroundColor);
    block.cellWidth = config.CellWidth->value();
    block.cellHeight = config.CellHeight->value();
    block.mapFontSize = config.FontSize->value();
    block.sampleFontSize = c.FontSize->value();
    block.windowWidth = m_form.width();
    const int panelParts = c.PanelSymbol->height() + c.PanelANSICode->height() + c.PanelSymbolSearch->height() + c.GroupBoxGoTo->height();
    block.windowHeight = OptionsBlock::storedHeight(m_form.height(), panelParts);
    block.activeView = c.TabsPreviewModes->currentIndex();
    return block;
}

void Settings::SaveSettings(bool includeLastPath)
{
    RegistryStore &store = m_form.services().registry;
    const OptionsBlock block = collect();
    TFormConfig &config = *m_form.FormConfig;
    config.setPreviewLines(m_form.textSample().lines());
    store.writeString(kKey, QStringLiteral("Preview Text"), encodePreviewText(config.previewLines()));
    store.writeBinary(kKey, QStringLiteral("Options"), block.encode());
    if (includeLastPath && store.value(kKey, QStringLiteral("Last Path")))
        store.writeString(kKey, QStringLiteral("Last Path"), m_form.folderBrowser().CurrentFolder);
}

void Settings::LoadSettings(bool includeWindowSize)
{
    RegistryStore &store = m_form.services().registry;
    TFormPreviewUi &c = m_form.ui();
    ViewColors &colors = m_form.colors();
    TFormConfig &config = *m_form.FormConfig;

    if (!store.keyExists(kKey))
        SaveSettings(true);
    if (!store.value(kKey, QStringLiteral("Options")))
        SaveSettings(false);
    OptionsBlock block = collect();
    if (const auto bytes = store.readBinary(kKey, QStringLiteral("Options"), OptionsBlock::kSize))
        block.decode(*bytes);

    colors.TextColor = fromColorRef(block.textColor);
    colors.BackgroundColor = fromColorRef(block.backgroundColor);
    config.showColors();
    config.setPreviewLines(decodePreviewText(store.readString(kKey, QStringLiteral("Preview Text"))));

    config.ShowCharPreview->setChecked(block.showCharPreview);
    config.WrapText->setChecked(block.wrapText);
    config.CellWidth->setValue(block.cellWidth);
    config.CellHeight->setValue(block.cellHeight);
    config.FontSize->setValue(block.mapFontSize);
    c.FontSize->setValue(block.sampleFontSize);
    m_form.textSample().FontSizeChange(c.FontSize->value());
    if (includeWindowSize && block.windowWidth > 0 && block.windowHeight > 0) {
        // A size past the screen (a hand-edited or damaged store) would make a window of gigabytes.
        const QScreen *screen = m_form.screen() ? m_form.screen() : QGuiApplication::primaryScreen();
        m_form.resize(fitWindowSize(block.windowWidth, block.windowHeight, screen ? screen->availableGeometry().size() : QSize()));
    }
    if (includeWindowSize)
        applyWindowLayout(m_form, readWindowLayout(store));

    c.TabsPreviewModes->setCurrentIndex(std::clamp<int>(block.activeView, 0, c.TabsPreviewModes->count() - 1));
    m_form.FormTip->ShowStartupTips->setChecked(block.showStartupTips);
    m_form.TabsPreviewModesChange();

    QString &start = m_form.state().StartFolder;
    start = store.readString(kKey, QStringLiteral("Last Path"));
    if (start != QLatin1String("fonts") && !isDirectory(start))
        start = QStringLiteral("fonts");
}

void Settings::ApplyOptions()
{
    TFormPreviewUi &c = m_form.ui();
    TFormConfig &config = *m_form.FormConfig;
    m_form.textSample().showColors();
    if (config.ShowCharPreview->isChecked() != c.BtnCharPreview->isChecked())
        m_form.characterMap().CharPreview2Click();
    m_form.textSample().setWrap(config.WrapText->isChecked());
    m_form.textSample().setLines(config.previewLines());
    c.CharactersPreview->horizontalHeader()->setDefaultSectionSize(config.CellWidth->value());
    c.CharactersPreview->verticalHeader()->setDefaultSectionSize(config.CellHeight->value());
    QFont gridFont = c.CharactersPreview->font();
    gridFont.setPointSize(std::max(1, config.FontSize->value()));
    c.CharactersPreview->setFont(gridFont);
    m_form.unicodeMap().setCellSize(config.CellWidth->value(), config.CellHeight->value(), config.FontSize->value());
    m_form.FormResize();
}

void Settings::closeSequence()
{
    m_form.services().registry.writeString(kKey, QStringLiteral("Last Path"), m_form.folderBrowser().CurrentFolder);
    SaveSettings(true);
    writeWindowLayout(m_form.services().registry, windowLayoutOf(m_form));
}

// SPDX-License-Identifier: MIT
#include "InstalledFontsList.h"

#include "CharsetTable.h"
#include "FaceFont.h"
#include "FontsRegistry.h"
#include "InstalledFonts.h"
#include "ListView.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

InstalledFontsList::InstalledFontsList(MainState &state, MainServices &services, MainControls &controls)
    : m_state(state)
    , m_services(services)
    , m_controls(controls)
{
}

bool InstalledFontsList::BuildInstalledFontFiles()
{
    if (!m_services.fontsKey.keyExists(m_state.FontsRegistryKey))
        return false;
    for (const FontsRegistry::Value &value : m_services.fontsKey.values())
        m_state.InstalledFontFiles << joinInstalledFontFile(splitFontsValue(value.name, value.data));
    return true;
}

void InstalledFontsList::FillInstalledFontsList()
{
    m_state.FontsListReady = false;
    ListView *list = m_controls.FontsList;
    const auto rows = buildInstalledFontRows(m_services.catalogue.enumerate(EnumCharset::Default), m_state.InstalledFontFiles);
    list->beginUpdate();
    list->clear();
    for (const InstalledFontRow &row : rows)
        list->addItem({row.caption, row.subItems, row.image, 0, QString()});
    list->endUpdate();
    if (list->count() > 0) {
        setFaceName(m_controls.Preview, list->item(0).caption, m_services.catalogue);
        m_controls.Preview->viewport()->update();
    }
    m_state.FontsListReady = true;
}

void InstalledFontsList::RefreshInstalledFontsList()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Installs and uninstalls of this run show in the "File Name" column after a refresh, so that
    // a font installed a moment ago can be uninstalled again.
    m_state.InstalledFontFiles.clear();
    BuildInstalledFontFiles();
    FillInstalledFontsList();
    QApplication::restoreOverrideCursor();
    ListView *list = m_controls.FontsList;
    list->selectRow(0);
    list->focusList();
    list->scrollToRow(0);
    m_controls.EditFileName->setText(QStringLiteral("fonts"));
}

void InstalledFontsList::EnumerateFaceNames(QStringList &list)
{
    list << faceNamesOf(m_services.catalogue.enumerate(EnumCharset::Ansi));
}

int InstalledFontsList::CharsetCodeOfSelection(int row) const
{
    if (row >= 0)
        return CharsetCode(m_controls.FontsList->item(row).subItems.value(FontsListColumn::Charset));
    return CharsetCode(m_controls.SelectCharset->currentText());
}

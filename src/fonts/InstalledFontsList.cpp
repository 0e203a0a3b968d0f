// SPDX-License-Identifier: MIT
#include "InstalledFontsList.h"

#include "CharsetTable.h"
#include "FontsRegistry.h"
#include "InstalledFonts.h"
#include "ListView.h"

#include <QGuiApplication>

InstalledFontsList::InstalledFontsList(FontCatalogue &catalogue, FontsRegistry &fontsKey, QString fontsRegistryKey, ListView &fontsList)
    : m_catalogue(catalogue)
    , m_fontsKey(fontsKey)
    , m_fontsRegistryKey(std::move(fontsRegistryKey))
    , m_list(fontsList)
{
}

bool InstalledFontsList::BuildInstalledFontFiles()
{
    if (!m_fontsKey.keyExists(m_fontsRegistryKey))
        return false;
    for (const FontsRegistry::Value &value : m_fontsKey.values())
        InstalledFontFiles << joinInstalledFontFile(splitFontsValue(value.name, value.data));
    return true;
}

void InstalledFontsList::FillInstalledFontsList()
{
    FontsListReady = false;
    const auto rows = buildInstalledFontRows(m_catalogue.enumerate(EnumCharset::Default), InstalledFontFiles);
    m_list.beginUpdate();
    m_list.clear();
    for (const InstalledFontRow &row : rows)
        m_list.addItem({row.caption, row.subItems, row.image, 0, QString()});
    m_list.endUpdate();
    if (m_list.count() > 0)
        emit listFilled(m_list.item(0).caption);
    FontsListReady = true;
}

void InstalledFontsList::RefreshInstalledFontsList()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // Installs and uninstalls of this run show in the "File Name" column after a refresh, so that
    // a font installed a moment ago can be uninstalled again.
    InstalledFontFiles.clear();
    BuildInstalledFontFiles();
    FillInstalledFontsList();
    QGuiApplication::restoreOverrideCursor();
    m_list.selectRow(0);
    m_list.focusList();
    m_list.scrollToRow(0);
}

void InstalledFontsList::EnumerateFaceNames(QStringList &list)
{
    list << faceNamesOf(m_catalogue.enumerate(EnumCharset::Ansi));
}

int InstalledFontsList::CharsetCodeOfSelection(int row) const
{
    return CharsetCode(m_list.item(row).subItems.value(FontsListColumn::Charset));
}

QString InstalledFontsList::faceOfFile(const QString &fileName) const
{
    QString face;
    for (int row = 0; row < m_list.count(); ++row) {
        const QString file = m_list.item(row).subItems.value(FontsListColumn::FileName);
        if (file.mid(file.lastIndexOf(QLatin1Char('/')) + 1) == fileName)
            face = m_list.item(row).caption;
    }
    return face;
}

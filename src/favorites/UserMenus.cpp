// SPDX-License-Identifier: MIT
#include "UserMenus.h"

#include "Desktop.h"
#include "Icons.h"
#include "IniFile.h"
#include "NativePaths.h"
#include "OrganizerDialogs.h"
#include "Prompter.h"

#include <QAction>
#include <QMenu>
#include <QUrl>

UserMenus::UserMenus(Prompter &prompter, IniFile &ini, const QString &currentFolder, QMenu &favorites, QMenu &links, TFormFavOrg &favOrg,
                     TFormLinksOrg &linksOrg)
    : m_prompter(prompter)
    , m_ini(ini)
    , m_currentFolder(currentFolder)
    , m_favorites(favorites)
    , m_links(links)
    , m_favOrg(favOrg)
    , m_linksOrg(linksOrg)
{
}

QString UserMenus::titleFor(const QString &folder)
{
    if (folder.size() <= 3 || folder == QLatin1String("fonts"))
        return folder;
    return folder.left(folder.size() - 1).section(QLatin1Char('/'), -1);
}

QString UserMenus::captionFor(const QString &title)
{
    QString caption = title;
    return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString UserMenus::keyOf(const QString &caption)
{
    QString key = caption;
    const qsizetype amp = key.indexOf(QLatin1Char('&'));
    if (amp >= 0)
        key.remove(amp, 1);
    return key;
}

void UserMenus::fill(QMenu &menu, int fixedItems, const QString &section, int image, bool favorites)
{
    QList<QAction *> actions = menu.actions();
    while (actions.size() > fixedItems) {
        QAction *generated = actions.takeFirst();
        menu.removeAction(generated);
        generated->deleteLater();
    }
    const auto entries = m_ini.readSection(section);
    IniSectionKeys.clear();
    for (const auto &entry : entries)
        IniSectionKeys << entry.first;
    const QIcon icon = Icons::linkImages()[static_cast<size_t>(image)];
    for (qsizetype i = entries.size() - 1; i >= 0; --i) {
        const auto &[key, value] = entries[i];
        auto *item = new QAction(icon, captionFor(key), &menu);
        item->setStatusTip(value);
        connect(item, &QAction::triggered, this, [this, item, favorites] {
            try {
                favorites ? OpenFavorite(item->text()) : OpenLink(item->text());
            } catch (const std::exception &) {
                // Errors of the views are shown where they arise.
            }
        });
        menu.insertAction(menu.actions().value(0), item);
    }
}

void UserMenus::RebuildUserMenus()
{
    // Another running program may have changed the file since.
    m_ini.reload();
    fill(m_favorites, 3, QStringLiteral("Favorites"), 0, true);
    fill(m_links, 2, QStringLiteral("Links"), 1, false);
    tellStoreProblem();
}

void UserMenus::tellStoreProblem()
{
    if (m_ini.problem().isEmpty()) {
        m_problemTold = false;
        return;
    }
    if (m_problemTold)
        return;
    m_problemTold = true;
    m_prompter.message(QStringLiteral("The favourites file %1 could not be read (%2). It is left as it is, and changes to the "
                                               "favourites and links are not saved.")
                                    .arg(displayPath(m_ini.path()), m_ini.problem()),
                                MessageIcon::Warning);
}

void UserMenus::AddFavorite(const QString &title, const QString &path)
{
    m_ini.writeString(QStringLiteral("Favorites"), title, path);
}

void UserMenus::AddLink(const QString &title, const QString &url)
{
    m_ini.writeString(QStringLiteral("Links"), title, url);
}

void UserMenus::PopAddCurrDortoFavClick()
{
    // The folder may have gone since it was listed.
    if (const QString refused = favoriteFolderRefusal(m_currentFolder); !refused.isEmpty()) {
        m_prompter.message(refused, MessageIcon::Error);
        return;
    }
    const auto title = m_prompter.askText(QStringLiteral("Add to favorites"), QStringLiteral("New title for menu entry:"),
                                                   titleFor(m_currentFolder));
    if (!title)
        return;
    AddFavorite(*title, m_currentFolder);
    RebuildUserMenus();
}

void UserMenus::OpenFavorite(const QString &caption)
{
    const QString path = m_ini.readString(QStringLiteral("Favorites"), keyOf(caption), QString());
    // A folder that went would only show as an empty list.
    if (const QString refused = favoriteFolderRefusal(path); !refused.isEmpty()) {
        m_prompter.message(refused, MessageIcon::Error);
        return;
    }
    emit favoriteOpened(path);
}

void UserMenus::OpenLink(const QString &caption)
{
    const QUrl url = QUrl::fromUserInput(m_ini.readString(QStringLiteral("Links"), keyOf(caption), QString()));
    if (!Desktop::open(url))
        m_prompter.message(Desktop::openFailureText(url), MessageIcon::Error);
}

// Shows an organiser over a section's entries; OK writes the rows back in list order.
void UserMenus::organize(const QString &section, OrganizerDialog &dialog)
{
    dialog.clearRows();
    m_ini.reload();
    IniSectionKeys.clear();
    for (const auto &[key, value] : m_ini.readSection(section)) {
        IniSectionKeys << key;
        dialog.addRow(key, value);
    }
    if (m_prompter.runDialog(dialog) == ModalResult::Ok) {
        m_ini.eraseSection(section);
        for (int row = 0; row < dialog.rowCount(); ++row)
            m_ini.writeString(section, dialog.title(row), dialog.value(row));
    }
    RebuildUserMenus();
}

void UserMenus::PopConfigFavClick()
{
    organize(QStringLiteral("Favorites"), m_favOrg);
}

void UserMenus::Configure1Click()
{
    m_favOrg.clearRows();
    organize(QStringLiteral("Links"), m_linksOrg);
}

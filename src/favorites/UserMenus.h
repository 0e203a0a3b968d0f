// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QStringList>

class IniFile;
class Prompter;
class QMenu;
class TFormFavOrg;
class TFormLinksOrg;
class OrganizerDialog;

// The favourites menu and the "Cool Links" menu, kept in the "Favorites" and "Links" sections.
class UserMenus : public QObject {
    Q_OBJECT
public:
    // currentFolder is the folder the browser shows, which "Add current dir" adds.
    UserMenus(Prompter &prompter, IniFile &ini, const QString &currentFolder, QMenu &favorites, QMenu &links, TFormFavOrg &favOrg,
              TFormLinksOrg &linksOrg);

    void RebuildUserMenus();
    void AddFavorite(const QString &title, const QString &path);
    void AddLink(const QString &title, const QString &url);
    void PopAddCurrDortoFavClick();
    void OpenFavorite(const QString &caption);
    void OpenLink(const QString &caption);
    void PopConfigFavClick();
    void Configure1Click();

    // The keys of the section last read.
    QStringList IniSectionKeys;

    // The title "Add current dir" proposes for a folder.
    static QString titleFor(const QString &folder);
    // A menu caption from a title ("&" doubled so that it shows) and back (the first "&" removed).
    static QString captionFor(const QString &title);
    static QString keyOf(const QString &caption);

signals:
    // A favourite folder was chosen: it is to be listed and refreshed.
    void favoriteOpened(const QString &path);

private:
    void fill(QMenu &menu, int fixedItems, const QString &section, int image, bool favorites);
    void organize(const QString &section, OrganizerDialog &dialog);
    // Tells the user, once, that the INI file was not read and so is not written either.
    void tellStoreProblem();

    Prompter &m_prompter;
    IniFile &m_ini;
    const QString &m_currentFolder;
    QMenu &m_favorites;
    QMenu &m_links;
    TFormFavOrg &m_favOrg;
    TFormLinksOrg &m_linksOrg;
    bool m_problemTold = false;
};

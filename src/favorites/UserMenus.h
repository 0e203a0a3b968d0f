// SPDX-License-Identifier: MIT
#pragma once

#include "MainState.h"

#include <QObject>

#include <functional>

class IniFile;
class QMenu;
class TFormFavOrg;
class TFormLinksOrg;
class OrganizerDialog;

// The favourites menu and the "Cool Links" menu, kept in the "Favorites" and "Links" sections.
class UserMenus : public QObject {
public:
    UserMenus(MainState &state, MainServices &services, IniFile &ini, QMenu &favorites, QMenu &links, TFormFavOrg &favOrg,
              TFormLinksOrg &linksOrg);

    void RebuildUserMenus();
    void AddFavorite(const QString &title, const QString &path);
    void AddLink(const QString &title, const QString &url);
    void PopAddCurrDortoFavClick();
    void OpenFavorite(const QString &caption);
    void OpenLink(const QString &caption);
    void PopConfigFavClick();
    void Configure1Click();

    // The folder view's listing and refresh, for opening a favourite.
    std::function<bool(const QString &)> listFolder;
    std::function<void()> refresh;

    // The title "Add current dir" proposes for a folder.
    static QString titleFor(const QString &folder);
    // A menu caption from a title ("&" doubled so that it shows) and back (the first "&" removed).
    static QString captionFor(const QString &title);
    static QString keyOf(const QString &caption);

private:
    void fill(QMenu &menu, int fixedItems, const QString &section, int image, bool favorites);
    void organize(const QString &section, OrganizerDialog &dialog);
    // Tells the user, once, that the INI file was not read and so is not written either.
    void tellStoreProblem();

    MainState &m_state;
    MainServices &m_services;
    IniFile &m_ini;
    QMenu &m_favorites;
    QMenu &m_links;
    TFormFavOrg &m_favOrg;
    TFormLinksOrg &m_linksOrg;
    bool m_problemTold = false;
};

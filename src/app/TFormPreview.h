// SPDX-License-Identifier: MIT
#pragma once

#include "MainState.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class CharacterMap;
class FontLoader;
class InstalledFontsList;
class ArchiveBrowser;
class FileOperations;
class TZipKit;
class UserMenus;
class FolderBrowser;
class IniFile;
class Installer;
class ReportView;
class Settings;
class TextSample;
class QActionGroup;
class QMenu;
class QSplitter;
class QTimer;
class QToolBar;
class QToolButton;
class TFormAbout;
class TFormConfig;
class TFormFavOrg;
class TFormFontInstall;
class TFormGoTo;
class TFormLinksOrg;
class TFormNewItem;
class TFormTip;
class TOverwritePromt;

// The main window: owns the shared state, the controls, one object per subsystem, the menus,
// the toolbars, the view modes, the 50 ms timer, start-up and closing.
class TFormPreview : public QMainWindow {
    Q_OBJECT
public:
    TFormPreview(MainServices services, QStringList arguments, QWidget *parent = nullptr);
    ~TFormPreview() override;

    MainState &state() { return m_state; }
    MainControls &controls() { return m_controls; }
    InstalledFontsList &installedFonts() { return *m_installedFonts; }
    TextSample &textSample() { return *m_textSample; }
    CharacterMap &characterMap() { return *m_characterMap; }
    ReportView &report() { return *m_report; }
    FontLoader &fontLoader() { return *m_fontLoader; }
    Settings &settings() { return *m_settings; }
    FolderBrowser &folderBrowser() { return *m_folderBrowser; }
    FileOperations &fileOperations() { return *m_fileOperations; }
    Installer &installer() { return *m_installer; }
    ArchiveBrowser &archiveBrowser() { return *m_archiveBrowser; }
    TZipKit &zipKit() { return *m_zipKit; }
    UserMenus &userMenus() { return *m_userMenus; }
    IniFile &favoritesIni() { return *m_favoritesIni; }
    MainServices &services() { return m_services; }

    // Start-up, run once at the first showing.
    void FormShow();
    void FormClose();
    void ReleaseCurrentFont();
    void TabsPreviewModesChange();
    void SysTimerTimer();
    void FormResize();
    void MainSplitterMoved(int left);
    void Refresh1Click();
    void FontPreview2Click();
    void CharMap2Click();
    void Report2Click();

    void Open1Click();
    void Config1Click();
    void ColorClick();
    void TipOfTheDayClick();
    // Chooses the first tip and shows the dialog.
    void showTipOfTheDay();
    void NextTipClick();
    // Loads a font file as "&Load..." and the command line do.
    void loadFontFromPath(const QString &path);

    // Runs a handler; an error that escapes it is shown in a message box and the program goes on.
    void guarded(const std::function<void()> &handler);

    QAction *action(const QString &name) const;
    QMenu *menu(const QString &name) const;
    int activeView() const;   // 0 Folder, 1 Fonts, 2 Archive

    // The dialogs, created once.
    TFormAbout *FormAbout = nullptr;
    TFormConfig *FormConfig = nullptr;
    TOverwritePromt *OverwritePromt = nullptr;
    TFormFontInstall *FormFontInstall = nullptr;
    TFormGoTo *FormGoTo = nullptr;
    TFormNewItem *FormNewItem = nullptr;
    TFormFavOrg *FormFavOrg = nullptr;
    TFormLinksOrg *FormLinksOrg = nullptr;
    TFormTip *FormTip = nullptr;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolbars();
    void buildNavigation(QWidget *box);
    void buildPages();
    void buildStatusBar();
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &shortcut,
                     const QString &longHint, std::function<void()> handler = {});
    QAction *addButton(QToolBar *bar, const QString &name, const QString &icon, const QString &hint,
                       std::function<void()> handler = {}, bool checkable = false);
    void connectGuarded(QAction *action, std::function<void()> handler);
    void connectHandlers();
    // For check items whose handler inverts the check mark itself.
    void connectToggle(const QString &item, std::function<void()> handler);
    void resolveAmbiguousShortcut(QAction *action);

    MainServices m_services;
    QStringList m_arguments;
    MainState m_state;
    MainControls m_controls;
    std::unique_ptr<InstalledFontsList> m_installedFonts;
    std::unique_ptr<TextSample> m_textSample;
    std::unique_ptr<CharacterMap> m_characterMap;
    std::unique_ptr<ReportView> m_report;
    std::unique_ptr<FontLoader> m_fontLoader;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<FolderBrowser> m_folderBrowser;
    std::unique_ptr<FileOperations> m_fileOperations;
    std::unique_ptr<Installer> m_installer;
    QMenu *m_popupFilesBrowse = nullptr;
    QMenu *m_popupZipBrowse = nullptr;
    std::unique_ptr<TZipKit> m_zipKit;
    std::unique_ptr<ArchiveBrowser> m_archiveBrowser;
    std::unique_ptr<UserMenus> m_userMenus;
    std::unique_ptr<IniFile> m_favoritesIni;
    QTimer *m_sysTimer = nullptr;
    QSplitter *m_mainSplitter = nullptr;
    QWidget *m_boxFilesBrowse = nullptr;
    QWidget *m_panelViewStyleButtons = nullptr;
    QWidget *m_panelDriveBrowse = nullptr;
    QActionGroup *m_viewModeGroup = nullptr;
    bool m_shown = false;
    bool m_closed = false;
};

// SPDX-License-Identifier: MIT
#pragma once

#include "CharacterMap.h"
#include "Installer.h"
#include "MainState.h"
#include "TFormPreviewUi.h"
#include "ViewColors.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class ArchiveBrowser;
class FileOperations;
class FolderBrowser;
class FontLoader;
class FontViews;
class IniFile;
class InstalledFontsList;
class QComboBox;
class QTimer;
class QUrl;
class ReportView;
class Settings;
class TextSample;
class TFormAbout;
class TFormConfig;
class TFormFavOrg;
class TFormFontInstall;
class TFormGoTo;
class TFormLinksOrg;
class TFormNewItem;
class TFormTip;
class TipOfTheDay;
class UnicodeMap;
class TOverwritePromt;
class TZipKit;
class UserMenus;
struct CommandInputs;
struct CommandStates;

// Why a font file that failed to load is not shown, for the status bar and the message box.
QString previewFailureText(const QString &path);

// The main window: owns the controls, one object per subsystem and the dialogs, and wires them:
// the parts report what happened, the window decides what to load and show. Start-up, the view
// modes, the 50 ms timer and closing are its own.
class TFormPreview : public QMainWindow, private InstallContext, private GoToQuestion {
    Q_OBJECT
public:
    TFormPreview(MainServices services, QStringList arguments, QWidget *parent = nullptr);
    ~TFormPreview() override;

    TFormPreviewUi &ui() { return m_ui; }
    MainState &state() { return m_state; }
    ViewColors &colors() { return m_colors; }
    InstalledFontsList &installedFonts() { return *m_installedFonts; }
    TextSample &textSample() { return *m_textSample; }
    CharacterMap &characterMap() { return *m_characterMap; }
    ReportView &report() { return *m_report; }
    UnicodeMap &unicodeMap() { return *m_unicodeMap; }
    FontViews &fontViews() { return *m_fontViews; }
    FontLoader &fontLoader() { return *m_fontLoader; }
    Settings &settings() { return *m_settings; }
    FolderBrowser &folderBrowser() { return *m_folderBrowser; }
    FileOperations &fileOperations() { return *m_fileOperations; }
    Installer &installer() { return *m_installer; }
    ArchiveBrowser &archiveBrowser() { return *m_archiveBrowser; }
    TZipKit &zipKit() { return *m_zipKit; }
    UserMenus &userMenus() { return *m_userMenus; }
    IniFile &favoritesIni() { return *m_favoritesIni; }
    TipOfTheDay &tips() { return *m_tips; }
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
    void UnicodeMap2Click();
    void Waterfall1Click();
    void FilterList1Click();
    // Every list shows the rows that hold the filter's text.
    void FilterListChange(const QString &text);
    void Open1Click();
    void Config1Click();
    void TipOfTheDayClick();
    // Loads a font file as "&Load..." and the command line do.
    void loadFontFromPath(const QString &path);
    // The road of a font file once the previous font is given back: the file loaded, the views
    // following it. LoadFontFile's result: 0 shown, 2 refused.
    // faceIndex picks the face of a collection (the face chooser in the status bar offers them);
    // an explicit load also tells a failure in a message box.
    int previewFontFile(const QString &path, int faceIndex = 0, bool explicitLoad = false);
    QComboBox *faceChooser() const { return m_faceChooser; }
    int activeView() const;   // 0 Folder, 1 Fonts, 2 Archive
    // Files dropped from a file manager: several font files offered for install one by one; one
    // ZIP archive opened in its folder.
    void installDroppedFonts(const QStringList &paths);
    void openDroppedArchive(const QString &path);

    // Runs a handler; an error that escapes it is shown in a message box and the program goes on.
    void guarded(const std::function<void()> &handler);

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
    bool focusNextPrevChild(bool next) override;

private:
    // InstallContext
    std::optional<Candidate> installCandidate() const override;
    QString shownFaceName() const override;
    int extensionFilter() const override;
    // GoToQuestion: the Go To dialog.
    std::optional<GoToTarget> askGoTo() override;

    // The command line's file or folder at start-up (TFormPreviewStartup.cpp); false when the
    // window starts as without one.
    bool openStartupArguments();
    // Selects the row of a file of the listed folder, quietly: the file is already on show.
    void selectListedFile(const QString &path);

    void createDialogs();
    void createParts();
    void connectParts();
    void connectFileCommands();
    void connectViewCommands();
    void connectTextCommands();
    void connectCharacterMap();
    void connectUnicodeMap();
    void connectNavigation();
    void connectHelp();
    void openOrTell(const QUrl &url);
    void connectKeyboard();
    QList<QWidget *> tabChain() const;
    // The control of the shown page that the view keys leave the focus in.
    QWidget *pageFocusWidget() const;
    void focusShownPage();
    void showFavoritesMenu();
    // Sizes that follow the content and the screen.
    void applyLayout();
    void connectFormats();
    // Shows the faces of the collection just loaded, or hides the chooser for a single font.
    void updateFaceChooser();
    // Connects an item so that its handler runs guarded.
    void onTriggered(QAction *action, std::function<void()> handler);
    // For check items whose handler inverts the check mark itself.
    void onToggled(QAction *item, std::function<void()> handler);
    void resolveAmbiguousShortcut(QAction *action);

    void setStatusText(int panel, const QString &text);
    void showPreviewFailure(const QString &path, bool alreadyTold, bool explicitLoad);
    void setInstallCommands(std::optional<bool> install, std::optional<bool> uninstall);
    CommandInputs commandInputs() const;
    void applyCommandStates(const CommandStates &states);

    MainServices m_services;
    QStringList m_arguments;
    MainState m_state;
    ViewColors m_colors;
    TFormPreviewUi m_ui;
    std::unique_ptr<IniFile> m_favoritesIni;
    std::unique_ptr<InstalledFontsList> m_installedFonts;
    std::unique_ptr<FontLoader> m_fontLoader;
    std::unique_ptr<TextSample> m_textSample;
    std::unique_ptr<CharacterMap> m_characterMap;
    std::unique_ptr<ReportView> m_report;
    std::unique_ptr<UnicodeMap> m_unicodeMap;
    std::unique_ptr<FontViews> m_fontViews;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<FolderBrowser> m_folderBrowser;
    std::unique_ptr<FileOperations> m_fileOperations;
    std::unique_ptr<Installer> m_installer;
    std::unique_ptr<TZipKit> m_zipKit;
    std::unique_ptr<ArchiveBrowser> m_archiveBrowser;
    std::unique_ptr<UserMenus> m_userMenus;
    std::unique_ptr<TipOfTheDay> m_tips;
    QTimer *m_sysTimer = nullptr;
    QComboBox *m_faceChooser = nullptr;
    bool m_shown = false;
    bool m_closed = false;
};

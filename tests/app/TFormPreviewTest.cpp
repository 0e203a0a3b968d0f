// SPDX-License-Identifier: MIT
#include "AppError.h"
#include "CharacterMap.h"
#include "FaceFont.h"
#include "Desktop.h"
#include "FontFamilies.h"
#include "FormFixture.h"
#include "ListHelpers.h"
#include "InstalledFonts.h"
#include "ListView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace {


QKeySequence key(const char *text)
{
    return QKeySequence(QString::fromLatin1(text));
}

}

TEST(TFormPreview, FirstStartShowsTheFontsView)
{
    FormFixture f;
    f.form->show();
    // The tip of the day is due on the first start; taken back before the events run, so that it
    // does not open while the list is read, however long that takes.
    EXPECT_TRUE(f.form->tips().StartupTipPending);
    f.form->tips().StartupTipPending = false;
    // The installed list is read on a worker thread.
    f.form->installedFonts().waitUntilLoaded();
    TFormPreviewUi &c = f.form->ui();
    EXPECT_EQ(f.form->windowTitle(), QStringLiteral("Glyvanta v. 2.4"));
    EXPECT_EQ(f.form->activeView(), 1);
    EXPECT_FALSE(c.FontsList->collapsed());
    EXPECT_TRUE(c.FilesBrowse->collapsed());
    EXPECT_TRUE(c.ZipBrowse->collapsed());
    EXPECT_TRUE(c.PanelSelectExt->isHidden());
    EXPECT_EQ(c.DisksBrowse->currentText(), QStringLiteral("Fonts"));
    EXPECT_EQ(c.DisksBrowse->currentIndex(), c.DisksBrowse->count() - 1);
    EXPECT_EQ(c.EditFileName->text(), QStringLiteral("fonts"));
    EXPECT_EQ(c.SelectExt->currentText(), QStringLiteral("Font files (*.ttf;*.fon)"));
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, QStringLiteral("fonts"));
    EXPECT_FALSE(c.Install1->isEnabled());
    EXPECT_FALSE(c.BtnInst->isEnabled());
    EXPECT_TRUE(c.Uninstall1->isEnabled());
    EXPECT_TRUE(f.form->installedFonts().FontsListReady);
    EXPECT_EQ(c.StatusPanels[0]->width(), 360);
    EXPECT_EQ(c.StatusPanels[3]->width(), 75);
    // The refresh at start-up selects the first row, which shows that font.
    EXPECT_EQ(c.FontsList->selectedRow(), 0);
    EXPECT_EQ(c.StatusPanels[1]->text(), TestEnvironment::instance().testFontsFolder() + QStringLiteral("coure.fon"));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("Courier"));

    // The installed fonts of the test catalogue, sorted, one row per face.
    const ListView *list = c.FontsList;
    QStringList captions;
    for (int i = 0; i < list->count(); ++i)
        captions << list->item(i).caption;
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Courier"), QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Sans Mono"),
                                     QStringLiteral("DejaVu Serif"), QStringLiteral("Marlett"), QStringLiteral("MS Sans Serif"),
                                     QStringLiteral("Tahoma")}));
    const auto &sans = list->item(rowOf(list, QStringLiteral("DejaVu Sans")));
    EXPECT_EQ(sans.subItems[FontsListColumn::Type], QStringLiteral("TrueType"));
    EXPECT_EQ(sans.subItems[FontsListColumn::FileName], TestEnvironment::instance().testFontsFolder() + QStringLiteral("DejaVuSans.ttf"));
    EXPECT_EQ(sans.subItems[FontsListColumn::DosExt], QStringLiteral(".ttf"));
    EXPECT_TRUE(sans.subItems[FontsListColumn::Charsets].startsWith(QStringLiteral("0;238;204")));
    EXPECT_EQ(sans.image, 2);
    const auto &raster = list->item(rowOf(list, QStringLiteral("MS Sans Serif")));
    EXPECT_EQ(raster.subItems[FontsListColumn::Type], QStringLiteral("VGA res"));
    EXPECT_EQ(raster.subItems[FontsListColumn::DosExt], QStringLiteral(".fon"));
    EXPECT_EQ(raster.image, 3);
    const auto &marlett = list->item(rowOf(list, QStringLiteral("Marlett")));
    EXPECT_EQ(marlett.subItems[FontsListColumn::Charset], QStringLiteral("Symbol"));
    EXPECT_EQ(marlett.subItems[FontsListColumn::Charsets], QStringLiteral("2"));
}

TEST(TFormPreview, ClosingStoresTheCurrentFolderAsLastPath)
{
    FormFixture f;
    f.show();
    f.form->close();
    RegistryStore reread(f.paths.registryFile());
    ASSERT_EQ(reread.load(), RegistryStore::LoadResult::Loaded);
    EXPECT_EQ(reread.readString(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Glyvanta v2_2"), QStringLiteral("Last Path")), QStringLiteral("fonts"));
}

TEST(TFormPreview, ModesTakeShortcutsAwayAndGiveThemBack)
{
    FormFixture f;
    f.show();
    TFormPreview &form = *f.form;
    QAction *previewMenu = menuNamed(form, QStringLiteral("Preview1"))->menuAction();
    QAction *reportMenu = menuNamed(form, QStringLiteral("Report1"))->menuAction();
    QAction *symbolMenu = menuNamed(form, QStringLiteral("Symbol1"))->menuAction();
    QAction *formatMenu = menuNamed(form, QStringLiteral("Format1"))->menuAction();
    QAction *cut = actionNamed(form, QStringLiteral("Cut1"));
    QAction *paste = actionNamed(form, QStringLiteral("Paste1"));

    // Mode 0 at start: preview and format menus on, symbol and report off with their keys gone.
    EXPECT_TRUE(previewMenu->isEnabled());
    EXPECT_FALSE(symbolMenu->isEnabled());
    EXPECT_EQ(actionNamed(form, QStringLiteral("Copy1"))->shortcut(), QKeySequence());
    EXPECT_EQ(actionNamed(form, QStringLiteral("SaveAs1"))->shortcut(), QKeySequence());
    EXPECT_EQ(cut->shortcut(), key("Ctrl+X"));

    // An item disabled on its own keeps its key while its menu is off.
    paste->setEnabled(false);
    form.CharMap2Click();
    EXPECT_EQ(form.ui().TabsPreviewModes->currentIndex(), 1);
    EXPECT_FALSE(previewMenu->isEnabled());
    EXPECT_FALSE(reportMenu->isEnabled());
    EXPECT_TRUE(symbolMenu->isEnabled());
    EXPECT_TRUE(formatMenu->isEnabled());
    EXPECT_FALSE(cut->isEnabled());
    EXPECT_EQ(cut->shortcut(), QKeySequence());
    EXPECT_EQ(paste->shortcut(), key("Ctrl+V"));
    EXPECT_EQ(actionNamed(form, QStringLiteral("Copy1"))->shortcut(), key("Ctrl+C"));
    EXPECT_EQ(actionNamed(form, QStringLiteral("GoTo1"))->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_TRUE(actionNamed(form, QStringLiteral("CharMap2"))->isChecked());
    EXPECT_TRUE(actionNamed(form, QStringLiteral("BtnCharmap"))->isChecked());
    EXPECT_FALSE(actionNamed(form, QStringLiteral("BtnPreview"))->isChecked());
    EXPECT_FALSE(actionNamed(form, QStringLiteral("BtnLoadText"))->isEnabled());
    EXPECT_TRUE(actionNamed(form, QStringLiteral("BtnGotoLetter"))->isEnabled());

    form.Report2Click();
    EXPECT_FALSE(formatMenu->isEnabled());
    EXPECT_EQ(actionNamed(form, QStringLiteral("Bold1"))->shortcut(), QKeySequence());
    EXPECT_EQ(actionNamed(form, QStringLiteral("SaveAs1"))->shortcut(), key("Ctrl+S"));
    EXPECT_FALSE(form.ui().FontSize->isEnabled());
    EXPECT_FALSE(actionNamed(form, QStringLiteral("BtnBold"))->isEnabled());

    form.FontPreview2Click();
    EXPECT_TRUE(previewMenu->isEnabled());
    EXPECT_EQ(cut->shortcut(), key("Ctrl+X"));
    EXPECT_EQ(paste->shortcut(), key("Ctrl+V"));
    EXPECT_TRUE(paste->isEnabled());
    EXPECT_EQ(actionNamed(form, QStringLiteral("Bold1"))->shortcut(), key("Ctrl+B"));
    EXPECT_EQ(actionNamed(form, QStringLiteral("Copy1"))->shortcut(), QKeySequence());
    EXPECT_TRUE(form.ui().FontSize->isEnabled());
    EXPECT_TRUE(actionNamed(form, QStringLiteral("FontPreview2"))->isChecked());
}

TEST(TFormPreview, TimerKeepsCommandStatesCurrent)
{
    FormFixture f;
    f.show();
    TFormPreview &form = *f.form;
    TFormPreviewUi &c = form.ui();

    Desktop::setClipboardText(QStringLiteral("some text"));
    form.SysTimerTimer();
    EXPECT_TRUE(actionNamed(form, QStringLiteral("Paste1"))->isEnabled());
    EXPECT_TRUE(actionNamed(form, QStringLiteral("BtnPaste"))->isEnabled());
    form.CharMap2Click();
    form.SysTimerTimer();
    EXPECT_FALSE(actionNamed(form, QStringLiteral("Paste1"))->isEnabled());
    EXPECT_FALSE(actionNamed(form, QStringLiteral("BtnPaste"))->isEnabled());

    EXPECT_FALSE(actionNamed(form, QStringLiteral("BtnCopyBuff"))->isEnabled());
    c.CopyBuff->setText(QStringLiteral("AB"));
    form.SysTimerTimer();
    EXPECT_TRUE(actionNamed(form, QStringLiteral("BuffToClipboard1"))->isEnabled());
    EXPECT_TRUE(actionNamed(form, QStringLiteral("BtnCopyBuff"))->isEnabled());

    c.SelectCharset->clear();
    form.SysTimerTimer();
    EXPECT_FALSE(c.SelectCharset->isEnabled());
    c.SelectCharset->addItem(QStringLiteral("ANSI"));
    form.SysTimerTimer();
    EXPECT_TRUE(c.SelectCharset->isEnabled());

    // Uninstall follows the selected installed font: a known file enables it, "Unknown" does not.
    ListView *fonts = c.FontsList;
    fonts->selectRow(rowOf(fonts, QStringLiteral("DejaVu Sans")));
    form.SysTimerTimer();
    EXPECT_TRUE(c.Uninstall1->isEnabled());
    EXPECT_TRUE(c.BtnUninst->isEnabled());
    ListView::Item unknown = fonts->item(0);
    unknown.subItems[FontsListColumn::FileName] = QStringLiteral("Unknown");
    fonts->setItem(0, unknown);
    fonts->selectRow(0);
    form.SysTimerTimer();
    EXPECT_FALSE(c.Uninstall1->isEnabled());
    EXPECT_FALSE(c.BtnUninst->isEnabled());

    // Install follows the folder list's selected font file; folders and archives have " ".
    c.FontsList->setCollapsed(true);
    c.FilesBrowse->setCollapsed(false);
    c.FilesBrowse->addItem({QStringLiteral("sub"), {QStringLiteral(" ")}, 0, 4, {}});
    c.FilesBrowse->addItem({QStringLiteral("font"), {QStringLiteral(".ttf")}, 2, 6, {}});
    c.FilesBrowse->selectRow(1);
    form.SysTimerTimer();
    EXPECT_TRUE(c.Install1->isEnabled());
    EXPECT_TRUE(c.BtnInst->isEnabled());
    EXPECT_FALSE(c.Uninstall1->isEnabled());
    c.FilesBrowse->selectRow(0);
    form.SysTimerTimer();
    EXPECT_FALSE(c.Install1->isEnabled());
    EXPECT_FALSE(c.BtnInst->isEnabled());
    form.setWindowTitle(QStringLiteral("x"));
    form.SysTimerTimer();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Glyvanta v. 2.4"));
}

TEST(TFormPreview, HintsGoToTooltipAndStatusPanel)
{
    FormFixture f;
    f.show();
    TFormPreview &form = *f.form;
    QAction *install = actionNamed(form, QStringLiteral("BtnInst"));
    EXPECT_EQ(install->toolTip(), QStringLiteral("Install"));
    EXPECT_EQ(install->statusTip(), QStringLiteral("Install current font"));
    EXPECT_EQ(actionNamed(form, QStringLiteral("Open1"))->statusTip(), QStringLiteral("Load a file"));
    EXPECT_EQ(actionNamed(form, QStringLiteral("FontsWebResources1"))->statusTip(), QStringLiteral("Links to font resouces"));
    QStatusTipEvent tip(QStringLiteral("Refresh the current directory"));
    QCoreApplication::sendEvent(form.ui().FontsList, &tip);
    EXPECT_EQ(form.ui().StatusPanels[0]->text(), QStringLiteral("Refresh the current directory"));

    // The whole File menu, in order, with its separators.
    QStringList items;
    for (QAction *a : menuNamed(form, QStringLiteral("File1"))->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(items, (QStringList{QStringLiteral("&Load..."), QStringLiteral("&Refresh"), QStringLiteral("-"), QStringLiteral("&Install"),
                                  QStringLiteral("&Uninstall"), QStringLiteral("-"), QStringLiteral("Unpack..."), QStringLiteral("Unpack to here"),
                                  QStringLiteral("-"), QStringLiteral("Copy to..."), QStringLiteral("Move to..."), QStringLiteral("Delete"),
                                  QStringLiteral("-"), QStringLiteral("Properties"), QStringLiteral("-"), QStringLiteral("E&xit")}));
    EXPECT_EQ(actionNamed(form, QStringLiteral("Refresh1"))->shortcut(), key("Ctrl+Alt+O"));
    EXPECT_EQ(actionNamed(form, QStringLiteral("Install1"))->shortcut(), QKeySequence(Qt::Key_Insert));
    EXPECT_EQ(actionNamed(form, QStringLiteral("Exit1"))->shortcut(), QKeySequence(Qt::Key_F10));
}

TEST(TFormPreview, AnErrorInAHandlerIsShownAndTheProgramGoesOn)
{
    FormFixture f;
    f.show();
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->guarded([] { throw AppError::withArg(QStringLiteral("Cannot open file %s"), QStringLiteral("/x/y.txt")); });
    ASSERT_EQ(f.prompter.messages().size(), 1u);
    EXPECT_EQ(f.prompter.messages()[0].text, QStringLiteral("Cannot open file /x/y.txt"));
    EXPECT_EQ(f.prompter.messages()[0].icon, MessageIcon::Error);
    EXPECT_EQ(f.prompter.messages()[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(f.form->isVisible());
}

TEST(TFormPreview, ASelectionAndAModeSwitchWorkWhileTheInstalledListLoads)
{
    FormFixture f;
    TFormPreviewUi &c = f.form->ui();
    InstalledFontsList &installed = f.form->installedFonts();
    installed.setBatchRows(1);
    f.form->show();
    if (QTimer *timer = f.form->findChild<QTimer *>(QStringLiteral("SysTimer")))
        timer->stop();
    f.form->tips().StartupTipPending = false;
    // The window is up before the list is complete; the rows come one batch at a time.
    while (c.FontsList->count() < 2)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_TRUE(installed.loading());
    EXPECT_TRUE(c.StatusPanels[0]->text().startsWith(QStringLiteral("Listing fonts\u2026 ")));

    f.form->CharMap2Click();
    c.FontsList->selectRow(1);
    const ListView::Item chosen = c.FontsList->item(1);
    EXPECT_EQ(c.StatusPanels[1]->text(), chosen.subItems[FontsListColumn::FileName]);
    EXPECT_EQ(c.StatusPanels[3]->text(), chosen.caption);
    EXPECT_EQ(faceName(c.CharactersPreview), chosen.caption);
    EXPECT_NE(f.form->characterMap().lastCode(), 0);

    installed.waitUntilLoaded();
    EXPECT_FALSE(installed.loading());
    EXPECT_EQ(c.StatusPanels[0]->text(), QString());
    // The row chosen while the rows came is still the one chosen and shown.
    EXPECT_EQ(c.FontsList->selectedRow(), 1);
    EXPECT_EQ(c.StatusPanels[3]->text(), chosen.caption);
    EXPECT_EQ(faceName(c.Preview), chosen.caption);
    for (int row = 0; row < c.FontsList->count(); ++row)
        EXPECT_NE(c.FontsList->item(row).subItems[FontsListColumn::FileName], QStringLiteral("Unknown")) << row;
}

TEST(TFormPreview, TheWindowsOwnTextsAreDrawnInAnInstalledFamily)
{
    // The desktop's font named generically, as a desktop without settings of its own names it.
    const QFont saved = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 10));
    FormFixture f;
    f.show();
    f.form->installedFonts().waitUntilLoaded();
    // A generic name such as "Sans Serif" is no family: the toolkit would try every installed
    // family as a fallback for each text drawn in it.
    const QString family = fontconfigFamilyFor(QStringLiteral("Sans Serif"));
    ASSERT_NE(family, QStringLiteral("Sans Serif"));
    EXPECT_EQ(QApplication::font().family(), family);
    EXPECT_EQ(f.form->font().family(), family);
    EXPECT_EQ(f.form->font().pointSize(), 9);
    EXPECT_EQ(QApplication::font().pointSize(), 10);
    QApplication::setFont(saved);
}

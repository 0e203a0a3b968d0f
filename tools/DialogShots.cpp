// SPDX-License-Identifier: MIT
// Run by hand: writes a PNG of each of the program's dialogs into the given folder, so that they
// can be looked at on a machine without a display.
#include "FontCatalogue.h"
#include "FontsRegistry.h"
#include "GlyvantaApplication.h"
#include "Paths.h"
#include "QtPrompter.h"
#include "QtToolkitFonts.h"
#include "RegistryStore.h"
#include "TFormAbout.h"
#include "TFormConfig.h"
#include "TFormGoTo.h"
#include "TFormPreview.h"
#include "TipOfTheDay.h"
#include "IniFile.h"
#include "TFormTip.h"
#include "FolderBrowser.h"
#include "ArchiveBrowser.h"
#include "ListView.h"
#include "OrganizerDialogs.h"
#include "TFormFontInstall.h"
#include "TOverwritePromt.h"
#include <QLineEdit>

#include <QDir>
#include <QTabWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    GlyvantaApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    const Paths paths = Paths::fromEnvironment(QCoreApplication::applicationDirPath());
    QtPrompter prompter;
    RegistryStore registry(paths.registryFile());
    registry.load();
    QtToolkitFonts toolkitFonts;
    FontCatalogue catalogue(paths.cacheFolder, &toolkitFonts);
    FontsRegistry fontsKey(catalogue, paths.systemFontsFolder);
    TFormPreview form(MainServices{prompter, registry, catalogue, fontsKey, paths}, {});
    form.show();
    form.tips().StartupTipPending = false;
    form.FormTip->showTip(0, form.favoritesIni().readString(QStringLiteral("Tips"), QStringLiteral("0"), QString()));
    auto shoot = [&](QWidget *dialog, const QString &name) {
        dialog->show();
        QCoreApplication::processEvents();
        const QString file = out + QLatin1Char('/') + name + QStringLiteral(".png");
        std::printf("%s %s\n", dialog->grab().save(file) ? "wrote" : "could not write", qPrintable(file));
        dialog->hide();
    };
    shoot(form.FormConfig, QStringLiteral("options-preview"));
    form.FormConfig->PageControlConfig->setCurrentIndex(1);
    shoot(form.FormConfig, QStringLiteral("options-charmap"));
    shoot(form.FormTip, QStringLiteral("tip"));
    shoot(form.FormAbout, QStringLiteral("about"));
    shoot(form.FormGoTo, QStringLiteral("goto"));
    form.FormFavOrg->addRow(QStringLiteral("fonts"), QStringLiteral("fonts"));
    form.FormFavOrg->addRow(QStringLiteral("wine"), QStringLiteral("/usr/share/wine/fonts/"));
    form.FormFavOrg->selectRow(1);
    shoot(form.FormFavOrg, QStringLiteral("organize-favorites"));
    form.FormLinksOrg->addRow(QStringLiteral("Open Font Library"), QStringLiteral("https://fontlibrary.org/"));
    form.FormLinksOrg->addRow(QStringLiteral("Google Fonts"), QStringLiteral("https://fonts.google.com/"));
    shoot(form.FormLinksOrg, QStringLiteral("organize-links"));
    form.FormFontInstall->FilePath->setText(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    shoot(form.FormFontInstall, QStringLiteral("install"));
    form.OverwritePromt->setFiles(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"), QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf"));
    shoot(form.OverwritePromt, QStringLiteral("overwrite"));

    // The main window over a folder of fonts, in the four view styles.
    form.folderBrowser().GoToFolder(QStringLiteral("/usr/share/wine/fonts/"));
    const char *styles[4] = {"large-icons", "small-icons", "list", "report"};
    for (int style = 0; style < 4; ++style) {
        form.folderBrowser().setViewStyle(style);
        shoot(&form, QStringLiteral("view-") + QString::fromLatin1(styles[style]));
        form.show();
    }
    // An archive of fonts in the archive view, one entry previewed in the map.
    if (argc > 2) {
        form.archiveBrowser().OpenArchive(QString::fromLocal8Bit(argv[2]));
        form.ui().ZipBrowse->selectRow(2);
        form.CharMap2Click();
        shoot(&form, QStringLiteral("archive-view"));
    }
    form.close();
    return 0;
}

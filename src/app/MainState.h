// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class FontCatalogue;
class FontsRegistry;
class RegistryStore;
class Prompter;
struct Paths;

// The main window's own state; what the parts share lives with the part that keeps it (the
// current folder with the folder browser, the current font with font loading, ...).
struct MainState {
    QString StartFolder;
    QString FontsRegistryKey;
    QString SystemFontsFolder;
    QString ProgramFolder;
};

// The services behind the Windows facilities.
struct MainServices {
    Prompter &prompter;
    RegistryStore &registry;
    FontCatalogue &catalogue;
    FontsRegistry &fontsKey;
    const Paths &paths;
};

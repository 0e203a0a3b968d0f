// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <map>
#include <optional>

// The main window's command-state rules, as one function of what the window shows: which menus
// and buttons a view mode enables, and what the 50 ms timer keeps current. No widget is touched
// here; the window applies the answer.

// Commands, each standing for the items that always share one state.
enum class Command {
    PreviewMenu,         // "P&review" and its items (with their shortcuts)
    FormatMenu,          // "Fo&rmat"
    SymbolMenu,          // "&Symbol"
    ReportMenu,          // "Re&port"
    UnicodeMenu,         // "&Unicode"
    PreviewButtons,      // BtnLoadText, BtnClear, BtnCut, BtnCopy, BtnPaste, BtnWaterfall
    CharacterButtons,    // BtnCopyChar, BtnAddToCharBuff, BtnCopyBuff, BtnCharPreview, BtnGotoLetter
    FormatButtons,       // FontSize, BtnBold, BtnItalic, BtnUnderline, BtnColor, BtnLeft, BtnCenter, BtnRight
    UnicodeButtons,      // BtnUnicodeCopy, BtnUnicodeToBuffer
    Paste,               // "Paste" and BtnPaste
    CopyBuffer,          // both "Co&py buffer" items and BtnCopyBuff
    SelectCharset,       // the charset box
    Install,             // "&Install" and BtnInst
    Uninstall,           // "&Uninstall" and BtnUninst
    UnpackEntry,         // "Unpack..." and "Unpack to here", in the File menu and the archive popup
};

// When the rules are applied: a view mode was chosen, or the timer ticked.
enum class CommandTrigger { ModeSwitch, Tick };

struct CommandInputs {
    int mode = 0;                          // 0 "Text Sample", 1 "Characters map", 2 "Report", 3 "Unicode map"
    bool clipboardHasText = false;
    bool copyBufferEmpty = true;
    bool charsetBoxEmpty = true;
    bool folderListShown = false;          // FilesBrowse has a height
    std::optional<QString> selectedFileExtension;   // of FilesBrowse's selected row; " " for folders and archives
    bool fontsListShown = false;           // FontsList has a height
    std::optional<QString> selectedFontFile;        // the "File Name" of FontsList's selected row
    bool busy = false;                     // an archive entry is being extracted
};

struct CommandStates {
    // The commands the trigger decides; the others keep the state they have.
    std::map<Command, bool> enabled;
    // The mode whose View item is checked and whose button is down (a mode switch only).
    std::optional<int> checkedMode;

    bool operator==(const CommandStates &) const = default;
};

CommandStates commandStates(CommandTrigger trigger, const CommandInputs &inputs);

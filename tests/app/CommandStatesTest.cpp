// SPDX-License-Identifier: MIT
#include "CommandStates.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using C = Command;

CommandInputs inputs(int mode)
{
    CommandInputs in;
    in.mode = mode;
    return in;
}

struct Row {
    const char *name;
    CommandTrigger trigger;
    CommandInputs in;
    CommandStates expected;
};

// What a tick decides when nothing is selected, no text is on the clipboard and nothing is busy.
std::map<Command, bool> idleTick(std::initializer_list<std::pair<const Command, bool>> changes = {})
{
    std::map<Command, bool> states = {{C::Paste, false}, {C::CopyBuffer, false}, {C::SelectCharset, false},
                                      {C::Install, false}, {C::Uninstall, false}, {C::UnpackEntry, true}};
    for (const auto &[command, on] : changes)
        states[command] = on;
    return states;
}

template<typename Change>
CommandInputs with(int mode, Change change)
{
    CommandInputs in = inputs(mode);
    change(in);
    return in;
}

const Row kRows[] = {
    // The mode switch: each mode's menus and buttons, the checked View item; the report leaves
    // the text sample's buttons alone, and no mode touches what the timer keeps.
    {"TextSampleMode", CommandTrigger::ModeSwitch, inputs(0),
     {{{C::PreviewMenu, true}, {C::FormatMenu, true}, {C::SymbolMenu, false}, {C::ReportMenu, false},
       {C::PreviewButtons, true}, {C::FormatButtons, true}, {C::CharacterButtons, false}, {C::UnicodeMenu, false}, {C::UnicodeButtons, false}}, 0}},
    {"CharactersMapMode", CommandTrigger::ModeSwitch, inputs(1),
     {{{C::SymbolMenu, true}, {C::FormatMenu, true}, {C::PreviewMenu, false}, {C::ReportMenu, false},
       {C::CharacterButtons, true}, {C::FormatButtons, true}, {C::PreviewButtons, false}, {C::UnicodeMenu, false}, {C::UnicodeButtons, false}}, 1}},
    {"ReportMode", CommandTrigger::ModeSwitch, inputs(2),
     {{{C::ReportMenu, true}, {C::FormatMenu, false}, {C::SymbolMenu, false}, {C::PreviewMenu, false},
       {C::CharacterButtons, false}, {C::FormatButtons, false}, {C::UnicodeMenu, false}, {C::UnicodeButtons, false}}, 2}},
    {"UnicodeMapMode", CommandTrigger::ModeSwitch, inputs(3),
     {{{C::UnicodeMenu, true}, {C::UnicodeButtons, true}, {C::PreviewMenu, false}, {C::FormatMenu, false}, {C::SymbolMenu, false},
       {C::ReportMenu, false}, {C::PreviewButtons, false}, {C::CharacterButtons, false}, {C::FormatButtons, false}}, 3}},
    {"ModeSwitchIgnoresSelectionClipboardAndBusy", CommandTrigger::ModeSwitch,
     with(1, [](CommandInputs &in) { in.clipboardHasText = true; in.busy = true; in.folderListShown = true; in.selectedFileExtension = QStringLiteral(".ttf"); }),
     {{{C::SymbolMenu, true}, {C::FormatMenu, true}, {C::PreviewMenu, false}, {C::ReportMenu, false},
       {C::CharacterButtons, true}, {C::FormatButtons, true}, {C::PreviewButtons, false}, {C::UnicodeMenu, false}, {C::UnicodeButtons, false}}, 1}},

    // The timer: Paste needs text on the clipboard and the text sample.
    {"TickIdle", CommandTrigger::Tick, inputs(0), {idleTick(), std::nullopt}},
    {"PasteWithTextInTheSample", CommandTrigger::Tick, with(0, [](CommandInputs &in) { in.clipboardHasText = true; }),
     {idleTick({{C::Paste, true}}), std::nullopt}},
    {"NoPasteInTheCharactersMap", CommandTrigger::Tick, with(1, [](CommandInputs &in) { in.clipboardHasText = true; }), {idleTick(), std::nullopt}},
    {"NoPasteInTheReport", CommandTrigger::Tick, with(2, [](CommandInputs &in) { in.clipboardHasText = true; }), {idleTick(), std::nullopt}},
    {"NoPasteInTheUnicodeMap", CommandTrigger::Tick, with(3, [](CommandInputs &in) { in.clipboardHasText = true; }), {idleTick(), std::nullopt}},
    {"CopyBufferInTheUnicodeMap", CommandTrigger::Tick, with(3, [](CommandInputs &in) { in.copyBufferEmpty = false; }),
     {idleTick({{C::CopyBuffer, true}}), std::nullopt}},
    {"CopyBufferWithCharacters", CommandTrigger::Tick, with(1, [](CommandInputs &in) { in.copyBufferEmpty = false; }),
     {idleTick({{C::CopyBuffer, true}}), std::nullopt}},
    {"CharsetBoxWithItems", CommandTrigger::Tick, with(0, [](CommandInputs &in) { in.charsetBoxEmpty = false; }),
     {idleTick({{C::SelectCharset, true}}), std::nullopt}},

    // Install: a selected font file of the shown folder list.
    {"InstallASelectedFontFile", CommandTrigger::Tick,
     with(0, [](CommandInputs &in) { in.folderListShown = true; in.selectedFileExtension = QStringLiteral(".ttf"); }),
     {idleTick({{C::Install, true}}), std::nullopt}},
    {"NoInstallForAFolderOrArchive", CommandTrigger::Tick,
     with(0, [](CommandInputs &in) { in.folderListShown = true; in.selectedFileExtension = QStringLiteral(" "); }), {idleTick(), std::nullopt}},
    {"NoInstallWithoutASelection", CommandTrigger::Tick, with(0, [](CommandInputs &in) { in.folderListShown = true; }), {idleTick(), std::nullopt}},
    {"NoInstallFromAHiddenFolderList", CommandTrigger::Tick,
     with(0, [](CommandInputs &in) { in.selectedFileExtension = QStringLiteral(".fon"); }), {idleTick(), std::nullopt}},

    // Uninstall: a selected installed font whose file is known, in the shown Fonts list.
    {"UninstallAnInstalledFont", CommandTrigger::Tick,
     with(0, [](CommandInputs &in) { in.fontsListShown = true; in.selectedFontFile = QStringLiteral("DejaVuSans.ttf"); }),
     {idleTick({{C::Uninstall, true}}), std::nullopt}},
    {"NoUninstallForAnUnknownFile", CommandTrigger::Tick,
     with(0, [](CommandInputs &in) { in.fontsListShown = true; in.selectedFontFile = QStringLiteral("Unknown"); }), {idleTick(), std::nullopt}},
    {"NoUninstallFromAHiddenFontsList", CommandTrigger::Tick,
     with(0, [](CommandInputs &in) { in.selectedFontFile = QStringLiteral("DejaVuSans.ttf"); }), {idleTick(), std::nullopt}},

    // Busy: while an entry is extracted nothing installs, uninstalls or unpacks.
    {"BusyHoldsInstallUninstallAndUnpack", CommandTrigger::Tick,
     with(0, [](CommandInputs &in) {
         in.busy = true;
         in.clipboardHasText = true;
         in.folderListShown = true;
         in.selectedFileExtension = QStringLiteral(".ttf");
         in.fontsListShown = true;
         in.selectedFontFile = QStringLiteral("DejaVuSans.ttf");
     }),
     {idleTick({{C::Paste, true}, {C::UnpackEntry, false}}), std::nullopt}},
};

// Rows are named by their name alone.
void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

class CommandStatesRules : public testing::TestWithParam<Row> {};

TEST_P(CommandStatesRules, DecideExactlyTheirCommands)
{
    const Row &row = GetParam();
    const CommandStates states = commandStates(row.trigger, row.in);
    EXPECT_EQ(states.checkedMode, row.expected.checkedMode);
    EXPECT_EQ(states.enabled, row.expected.enabled);
}

INSTANTIATE_TEST_SUITE_P(All, CommandStatesRules, testing::ValuesIn(kRows), [](const auto &info) { return std::string(info.param.name); });

}

// SPDX-License-Identifier: MIT
#include "CommandStates.h"

namespace {

CommandStates modeStates(int mode)
{
    CommandStates states;
    states.checkedMode = mode;
    auto set = [&](std::initializer_list<Command> commands, bool on) {
        for (Command c : commands)
            states.enabled[c] = on;
    };
    switch (mode) {
    case 0:
        set({Command::PreviewMenu, Command::FormatMenu, Command::PreviewButtons, Command::FormatButtons}, true);
        set({Command::SymbolMenu, Command::ReportMenu, Command::CharacterButtons}, false);
        break;
    case 1:
        set({Command::SymbolMenu, Command::FormatMenu, Command::CharacterButtons, Command::FormatButtons}, true);
        set({Command::PreviewMenu, Command::ReportMenu, Command::PreviewButtons}, false);
        break;
    case 3:
        // The Unicode map has its own menu and buttons; the styles and the sample's commands do
        // not act on it.
        set({Command::UnicodeMenu, Command::UnicodeButtons}, true);
        set({Command::PreviewMenu, Command::FormatMenu, Command::SymbolMenu, Command::ReportMenu, Command::PreviewButtons,
             Command::CharacterButtons, Command::FormatButtons},
            false);
        return states;
    default:
        // The report leaves the text sample's buttons as they were.
        set({Command::ReportMenu}, true);
        set({Command::FormatMenu, Command::SymbolMenu, Command::PreviewMenu, Command::CharacterButtons, Command::FormatButtons}, false);
        break;
    }
    // The Unicode map's commands belong to its page alone.
    set({Command::UnicodeMenu, Command::UnicodeButtons}, false);
    return states;
}

CommandStates tickStates(const CommandInputs &in)
{
    CommandStates states;
    states.enabled[Command::Paste] = in.clipboardHasText && in.mode == 0;
    states.enabled[Command::CopyBuffer] = !in.copyBufferEmpty;
    states.enabled[Command::SelectCharset] = !in.charsetBoxEmpty;
    // The folder list marks folders and archives with a single blank for an extension.
    states.enabled[Command::Install] =
        !in.busy && in.folderListShown && in.selectedFileExtension && *in.selectedFileExtension != QLatin1String(" ");
    states.enabled[Command::Uninstall] =
        !in.busy && in.fontsListShown && in.selectedFontFile && *in.selectedFontFile != QLatin1String("Unknown");
    // While an entry is being extracted there is no extracted copy to unpack.
    states.enabled[Command::UnpackEntry] = !in.busy;
    return states;
}

}

CommandStates commandStates(CommandTrigger trigger, const CommandInputs &inputs)
{
    return trigger == CommandTrigger::ModeSwitch ? modeStates(inputs.mode) : tickStates(inputs);
}

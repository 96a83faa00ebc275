#include "ui/windowcommands.h"

void CommandFacts::FollowSelection(int rows, int selected, bool severalEnableRemove) {
    if (rows == 0) {
        SeeEmptyList();
        return;
    }
    oneRowFollowed = selected == 1;
    if (selected <= 1 || severalEnableRemove)
        someRowFollowed = selected >= 1;
}

CommandStates DeriveCommands(const CommandFacts& facts, const CommandContext& now) {
    CommandStates states;
    states.edit = states.up = states.down = facts.oneRowFollowed;
    states.remove = facts.someRowFollowed;
    states.saveUnicode = facts.unicodeUnsaved;
    states.saveUtf8 = facts.utf8Unsaved;
    states.undo = now.canUndo;
    states.redo = now.canRedo;
    states.copySecurity = now.selected == 1 && now.firstSelected != nullptr &&
                          now.firstSelected->SecurityStyle == permora::kStyleNtfs &&
                          now.firstSelected->Descriptor != nullptr;
    states.pasteSecurity = now.copied && now.selected > 0;
    states.copyLines = now.selected > 0;
    states.addPaths = true;
    states.replaceAccount = now.targets > 0;
    states.recover = true;
    return states;
}

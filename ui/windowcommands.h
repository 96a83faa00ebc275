#pragma once

#include "model/target.h"
#include "template_file/template_file.h"

#include <cstddef>

// What the main window's enabling rules remember. Edit, Up, Dn and Remove follow the
// selection only at certain moments (a click on the list, an add, an import, Undo), and a
// save turns off only its own button, so these facts of the past stand beside the selection
// and the template.
struct CommandFacts {
    // Exactly one row was selected when the row commands last followed the selection.
    bool oneRowFollowed = false;
    // A row was selected when Remove last followed the selection.
    bool someRowFollowed = false;
    // Something changed since the last save in each encoding.
    bool unicodeUnsaved = false;
    bool utf8Unsaved = false;

    // The list was seen empty: nothing to edit, move, remove or save.
    void SeeEmptyList() { *this = {}; }
    // The row commands take in the selection of a list of rows. With several rows selected,
    // Remove keeps what it was unless severalEnableRemove.
    void FollowSelection(int rows, int selected, bool severalEnableRemove);
    // The template changed: both saves have something to write.
    void Changed() { unicodeUnsaved = utf8Unsaved = true; }
    // The template was saved in one encoding: that save has nothing new to write.
    void Saved(permora::Encoding encoding) {
        (encoding == permora::Encoding::Unicode ? unicodeUnsaved : utf8Unsaved) = false;
    }
    // A file was imported whole: every command, whatever the template now holds.
    void ImportedWhole() {
        Changed();
        oneRowFollowed = someRowFollowed = true;
    }
};

// The moment the commands are judged at, beyond the remembered facts.
struct CommandContext {
    std::size_t selected = 0; // targets at the selected rows
    const permora::TargetObject* firstSelected = nullptr;
    int targets = 0; // in the template
    bool canUndo = false;
    bool canRedo = false;
    bool copied = false; // Copy Security took a descriptor
};

// Which buttons and which items of the list's context menu are enabled.
struct CommandStates {
    bool edit = false;
    bool up = false;
    bool down = false;
    bool remove = false;
    bool saveUnicode = false;
    bool saveUtf8 = false;
    bool undo = false;
    bool redo = false;
    bool copySecurity = false;
    bool pasteSecurity = false;
    bool copyLines = false;
    bool addPaths = false;
    bool replaceAccount = false;
    bool recover = false;
};

CommandStates DeriveCommands(const CommandFacts& facts, const CommandContext& now);

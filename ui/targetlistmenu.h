#pragma once

#include "model/template_history.h"
#include "ui/windowcommands.h"

#include <functional>

class QAction;
class QMenu;
class QWidget;

// The main window's list menu: Undo and Redo, Copy Security, Paste Security, Copy Line,
// Add Paths..., Replace Account..., Recover... and About. Each item's shortcut works with
// the menu closed, too; while it is closed every item is on and each command checks for
// itself what it can do. Opening, the items are enabled and Undo and Redo named for the
// moment.
class TargetListMenu {
public:
    // What the items run, and what runs as the menu opens (before the items are shown).
    struct Commands {
        std::function<void()> undo, redo, copySecurity, pasteSecurity, copyLines, addPaths,
            replaceAccount, recover, about, opening;
    };
    TargetListMenu(QWidget* window, const Commands& commands);

    QMenu* Menu() const { return menu_; }
    // Enables the items and names Undo and Redo after the steps they would take.
    void Show(const CommandStates& states, const permora::TemplateStep* nextUndo,
              const permora::TemplateStep* nextRedo);

private:
    QMenu* menu_; // owned by the window's widget
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* copyLine_ = nullptr;
    QAction* addPaths_ = nullptr;
    QAction* replace_ = nullptr;
    QAction* recover_ = nullptr;
};
